// The styler manager: registration and hand-over of the theming role, the forms waiting to
// be themed, and the application window's private messages.
#include "menus/styler_manager.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "menus/control_hook.h"
#include "menus/menu_styler.h"

namespace tintmark::menus {

namespace {
constexpr UINT_PTR kAppHookId = 0x544D4B41;   // "TMKA"
const wchar_t kAppClass[] = L"TintmarkMenuApplication";

TMenuStylerManager* g_manager = nullptr;

// The module this code is in (the plugin DLL, or a program that links it).
HMODULE ModuleHandle() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleHandle), &module);
    return module;
}

template <typename T>
void Remove(std::vector<T*>& list, T* value) {
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}
template <typename T>
bool Contains(const std::vector<T*>& list, T* value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

HWND CreateOwnWindow() {
    WNDCLASSW wc{};
    if (!GetClassInfoW(ModuleHandle(), kAppClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = ModuleHandle();
        wc.lpszClassName = kAppClass;
        RegisterClassW(&wc);
    }
    return CreateWindowExW(0, kAppClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleHandle(), nullptr);
}

// Whether item is still an item of a live menu (a posted message may outlive it).
bool LiveItem(const TMenuItem* item) {
    bool found = false;
    for (TForm* form : TForm::Screen())
        for (TMenu* menu : form->Menus()) menu->ForEachItem([&](TMenuItem& i) { found = found || &i == item; });
    return found;
}
}  // namespace

void UnregisterMenuClasses() {
    if (!g_manager) UnregisterClassW(kAppClass, ModuleHandle());
}

TMenuStylerManager* TMenuStylerManager::Instance() { return g_manager; }

void TMenuStylerManager::Create() {
    if (!g_manager) g_manager = new TMenuStylerManager();
}

void TMenuStylerManager::FreeIfUnused() {
    if (g_manager && g_manager->registered_.empty()) {
        delete g_manager;
        g_manager = nullptr;
    }
}

TMenuStylerManager::TMenuStylerManager() {
    ownWindow_ = CreateOwnWindow();
    SetApplicationWindow(ownWindow_);
}

TMenuStylerManager::~TMenuStylerManager() {
    SetApplicationWindow(nullptr);
    if (ownWindow_) DestroyWindow(ownWindow_);
}

void TMenuStylerManager::SetApplicationWindow(HWND window) {
    if (appWindow_) RemoveWindowSubclass(appWindow_, &TMenuStylerManager::AppHook, kAppHookId);
    appWindow_ = window;
    if (appWindow_) SetWindowSubclass(appWindow_, &TMenuStylerManager::AppHook, kAppHookId, 0);
}

LRESULT CALLBACK TMenuStylerManager::AppHook(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (g_manager) g_manager->OnApplicationMessage(msg, wp, lp);
    return DefSubclassProc(wnd, msg, wp, lp);
}

// ---- registration and the theming role ----

TMenuStyler* TMenuStylerManager::Eligible(const TMenuStyler* except) const {
    for (TMenuStyler* s : registered_)
        if (s != except && s->Active() && !s->DisableSubclassing()) return s;
    return nullptr;
}

void TMenuStylerManager::Register(TMenuStyler& styler) {
    if (Contains(registered_, &styler)) return;
    registered_.push_back(&styler);
    if (!Contains(themed_, &styler.Owner())) themed_.push_back(&styler.Owner());
    if (!theming_ && styler.Active() && !styler.DisableSubclassing()) {
        theming_ = &styler;
        QueueUnthemedForms();
    }
}

void TMenuStylerManager::QueueUnthemedForms() {
    for (TForm* form : TForm::Screen())
        if (!Contains(themed_, form) && form->Tag != kKeepOwnDrawingTag && form->Stylers().empty() &&
            !Contains(queued_, form))
            queued_.push_back(form);
}

void TMenuStylerManager::Unregister(TMenuStyler& styler) {
    Remove(registered_, &styler);
    Remove(themed_, &styler.Owner());
    if (framer_ == &styler) framer_ = nullptr;
    if (theming_ == &styler) HandOver(styler, &styler.Owner());
}

void TMenuStylerManager::SubclassingChanging(TMenuStyler& styler) {
    if (theming_ == &styler) {
        HandOver(styler, nullptr);
    } else if (!theming_ && !styler.DisableSubclassing()) {
        theming_ = Eligible(nullptr);
    }
}

void TMenuStylerManager::HandOver(TMenuStyler& from, TForm* departing) {
    TMenuStyler* next = Eligible(&from);
    auto outside = [&](HWND control) { return !departing || (control != departing->Handle() && !IsChild(departing->Handle(), control)); };
    // The forms the departing styler themed for others: their menus must not keep its handlers.
    std::vector<TForm*> foreign;
    for (TForm* form : themed_)
        if (form != departing && form->Stylers().empty()) foreign.push_back(form);
    for (TForm* form : foreign) from.Walk(*form, false, false);
    if (next) {
        // The successor takes the subclassed controls as they are, with their saved values.
        auto& hooks = from.hooks_;
        for (auto it = hooks.begin(); it != hooks.end();) {
            if (outside((*it)->Control)) {
                (*it)->Owner = next;
                next->hooks_.push_back(std::move(*it));
                it = hooks.erase(it);
            } else {
                ++it;
            }
        }
        theming_ = next;
        for (TForm* form : foreign) next->Walk(*form, true, false);
    } else {
        for (auto& hook : from.hooks_)
            if (outside(hook->Control)) hook->Restore();
        theming_ = nullptr;
        themed_.clear();
        queued_.clear();
        // Stylers still registered keep their own forms.
        for (TMenuStyler* s : registered_)
            if (!Contains(themed_, &s->Owner())) themed_.push_back(&s->Owner());
    }
}

void TMenuStylerManager::FormCreated(TForm& form) {
    if (theming_ && !Contains(queued_, &form)) queued_.push_back(&form);
}

void TMenuStylerManager::FormDestroyed(TForm& form) {
    Remove(themed_, &form);
    Remove(queued_, &form);
}

void TMenuStylerManager::ProcessQueue() {
    const auto queued = std::exchange(queued_, {});
    for (TForm* form : queued) {
        if (Contains(themed_, form) || !theming_) continue;
        if (form->Tag == kKeepOwnDrawingTag || !form->Stylers().empty()) continue;
        theming_->Walk(*form, true, true);
        themed_.push_back(form);
    }
}

void TMenuStylerManager::OnApplicationMessage(UINT msg, WPARAM wp, LPARAM lp) {
    try {
        if (msg == MsgFlatFrameByWindow) {
            FlatFrame(reinterpret_cast<HWND>(lp), wp != 0);
        } else if (msg == MsgFlatFrameByItem) {
            auto* item = reinterpret_cast<TMenuItem*>(lp);
            if (LiveItem(item)) {
                const RECT r = item->ScreenRect();
                const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                if (HWND window = WindowFromPoint(centre)) FlatFrame(window, item->RightToLeft());
            }
        }
        if (!queued_.empty()) ProcessQueue();
    } catch (...) {
    }
}

}  // namespace tintmark::menus
