// The registry of hooked windows and the static window procedures bound to the plugin.
#include "hook/subclass.h"

#include <map>
#include <utility>

#include "win/module.h"
#include "host/records.h"
#include "hook/window_procs.h"

namespace tintmark {

namespace {

struct Saved {
    WNDPROC proc = nullptr;
    bool left = false;  // left in place by UnhookAll: holds a module reference
};

// Kept on the heap and never freed: procedures left in place after the plugin has gone may
// still look here during process exit, after static destructors have run.
std::map<std::pair<HWND, HookKind>, Saved>& Registry() {
    static auto* registry = new std::map<std::pair<HWND, HookKind>, Saved>();
    return *registry;
}

WNDPROC ProcOf(HookKind kind) {
    switch (kind) {
        case HookKind::ConfigWindow: return ConfigWindowProc;
        case HookKind::CfgWindow: return CfgWindowProc;
        case HookKind::Editor: return EditorWindowProc;
    }
    return nullptr;
}

bool StillGuarded(HookKind kind, HWND wnd) {
    if (kind == HookKind::CfgWindow) {
        const TCfgWndData* r = FindCfgWndData(wnd);
        return r && r->HasFoldedBlocks();
    }
    for (const TCfgWndData* r : AllCfgWndData())
        if (r->HasFoldedBlocks()) return true;
    return false;
}

WNDPROC CurrentProc(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }

}  // namespace

// A window is hooked when its procedure is ours, or when ours is in its chain below another
// program's: our registry then still holds the procedure ours passes to. Installing ours a
// second time in that case would make the two procedures call each other for ever.
bool IsHooked(HWND wnd, HookKind kind) {
    return CurrentProc(wnd) == ProcOf(kind) || Registry().count({wnd, kind}) != 0;
}

bool HookWindow(HWND wnd, HookKind kind) {
    if (!wnd || !IsWindow(wnd)) return false;
    auto& registry = Registry();
    auto it = registry.find({wnd, kind});
    if (it != registry.end()) {
        // Left in the chain when the plugin stopped: it serves again as it is.
        if (it->second.left) {
            it->second.left = false;
            ModuleRelease();
        }
        return false;
    }
    if (CurrentProc(wnd) == ProcOf(kind)) return false;
    PinModule();
    SetLastError(0);
    const LONG_PTR previous =
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcOf(kind)));
    if (!previous && GetLastError() != 0) return false;
    registry[{wnd, kind}] = Saved{reinterpret_cast<WNDPROC>(previous), false};
    return true;
}

LRESULT CallSavedProc(HWND wnd, HookKind kind, UINT msg, WPARAM wp, LPARAM lp) {
    auto& registry = Registry();
    auto it = registry.find({wnd, kind});
    if (it == registry.end() || !it->second.proc) return DefWindowProcW(wnd, msg, wp, lp);
    const WNDPROC proc = it->second.proc;
    if (msg != WM_NCDESTROY) return CallWindowProcW(proc, wnd, msg, wp, lp);
    // The window is going: forget it before passing the message on.
    if (it->second.left) ModuleRelease();
    registry.erase(it);
    return CallWindowProcW(proc, wnd, msg, wp, lp);
}

int UnhookAll() {
    auto& registry = Registry();
    int stay = 0;
    for (auto it = registry.begin(); it != registry.end();) {
        const HWND wnd = it->first.first;
        if (!IsWindow(wnd)) {
            if (it->second.left) ModuleRelease();
            it = registry.erase(it);
            continue;
        }
        // A window that still holds folded text keeps its close guard (and so does the
        // configuration window while any does).
        const bool guarding = it->first.second != HookKind::Editor && StillGuarded(it->first.second, wnd);
        if (CurrentProc(wnd) == ProcOf(it->first.second) && !guarding) {
            SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.proc));
            it = registry.erase(it);
            continue;
        }
        if (!it->second.left) {
            it->second.left = true;
            ModuleAddRef();
        }
        ++stay;
        ++it;
    }
    return stay;
}

int HookedWindowCount() { return static_cast<int>(Registry().size()); }

}  // namespace tintmark
