// TMenuStyler: construction, properties and the activation walk.
#include "menus/menu_styler.h"

#include <algorithm>

#include "menus/control_hook.h"
#include "menus/styler_manager.h"

namespace tintmark::menus {

namespace {
bool VersionIsNT() {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&v);
#pragma GCC diagnostic pop
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool VersionIsXP() {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&v);
#pragma GCC diagnostic pop
    return v.dwMajorVersion == 5 && v.dwMinorVersion == 1;
}

HFONT CopyOf(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    return CreateFontIndirectW(&lf);
}

HFONT SystemMenuFont() {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    return CreateFontIndirectW(&m.lfMenuFont);
}
}  // namespace

SystemQueries SystemQueries::FromSystem() {
    SystemQueries q;
    q.ColourDepth = [](HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); };
    q.IsWinNT = VersionIsNT();
    q.IsWinXP = VersionIsXP();
    return q;
}

SystemQueries& DefaultSystemQueries() {
    static SystemQueries queries = SystemQueries::FromSystem();
    return queries;
}

Rgb ResolveColour(StylerColour c) {
    const COLORREF rgb = (c & 0x80000000u) ? GetSysColor(static_cast<int>(c & 0xFF)) : c;
    return MakeRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TMenuStyler::TMenuStyler(TForm& owner)
    : owner_(owner), font_(SystemMenuFont()), selectFontColor_(FontColor), system_(DefaultSystemQueries()) {
    owner_.stylers_.push_back(this);
    SetSystem(system_);
    // There is no design mode here: every styler lives in a running program.
    TMenuStylerManager::Create();
}

TMenuStyler::~TMenuStyler() {
    try {
        Walk(owner_, false, false);
        hooks_.clear();  // their controls get their procedures back
        if (auto* manager = TMenuStylerManager::Instance()) manager->Unregister(*this);
        auto& list = owner_.stylers_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        RedrawMenuBar();
        TMenuStylerManager::FreeIfUnused();
    } catch (...) {
    }
}

void TMenuStyler::Loaded() {
    if (auto* manager = TMenuStylerManager::Instance()) manager->Register(*this);
}

// ---- properties ----

void TMenuStyler::SetFont(HFONT font) {
    font_.reset(CopyOf(font));
    RedrawMenuBar();
}

void TMenuStyler::ColourChanged() { colorsStale_ = true; }
void TMenuStyler::SetColor(StylerColour c) { color_ = c; ColourChanged(); }
void TMenuStyler::SetIconBackColor(StylerColour c) { iconBackColor_ = c; ColourChanged(); }
void TMenuStyler::SetSelectColor(StylerColour c) { selectColor_ = c; ColourChanged(); }
void TMenuStyler::SetSelectBorderColor(StylerColour c) { selectBorderColor_ = c; ColourChanged(); }
void TMenuStyler::SetSelectFontColor(StylerColour c) { selectFontColor_ = c; ColourChanged(); }
void TMenuStyler::SetDisabledColor(StylerColour c) { disabledColor_ = c; ColourChanged(); }
void TMenuStyler::SetSeparatorColor(StylerColour c) { separatorColor_ = c; ColourChanged(); }
void TMenuStyler::SetCheckedColor(StylerColour c) { checkedColor_ = c; ColourChanged(); }

void TMenuStyler::SetMenuBarColor(StylerColour c) {
    menuBarColor_ = c;
    ColourChanged();
    RedrawMenuBar();
}

void TMenuStyler::SetUseSystemColors(bool v) {
    useSystemColors_ = v;
    // The working colours follow at once: the next drawing uses the other column.
    colorsStale_ = true;
    RedrawMenuBar();
}

void TMenuStyler::SetOverrideOwnerDraw(bool v) {
    overrideOwnerDraw_ = v;
    if (active_) Walk(owner_, true, false);
}

void TMenuStyler::SetStyledContainers(StyledContainers v) {
    if (active_ && v != containers_) {
        Walk(owner_, false, true);
        containers_ = v;
        Walk(owner_, true, true);
    } else {
        containers_ = v;
    }
}

void TMenuStyler::SetStyledControls(StyledControls v) {
    if (active_ && v != controls_) {
        Walk(owner_, false, true);
        controls_ = v;
        Walk(owner_, true, true);
    } else {
        controls_ = v;
    }
}

void TMenuStyler::SetActive(bool v) {
    if (v == active_) return;
    active_ = v;
    Walk(owner_, v, true);
    RedrawMenuBar();
}

void TMenuStyler::SetDisableSubclassing(bool v) {
    if (v != disableSubclassing_) {
        if (auto* manager = TMenuStylerManager::Instance()) manager->SubclassingChanging(*this);
    }
    disableSubclassing_ = v;
}

void TMenuStyler::SetSystem(SystemQueries s) {
    system_ = std::move(s);
    HDC dc = GetDC(owner_.Handle());
    colorDepthHigh_ = !system_.ColourDepth || system_.ColourDepth(dc) > 15;
    ReleaseDC(owner_.Handle(), dc);
    colorsStale_ = true;
}

const WorkingColors& TMenuStyler::Colors() {
    if (colorsStale_) DeriveWorkingColors();
    return colors_;
}

void TMenuStyler::DeriveWorkingColors() {
    ColourProperties p;
    p.Color = ResolveColour(color_);
    p.IconBackColor = ResolveColour(iconBackColor_);
    p.MenuBarColor = ResolveColour(menuBarColor_);
    p.SelectColor = ResolveColour(selectColor_);
    p.SelectBorderColor = ResolveColour(selectBorderColor_);
    p.SelectFontColor = ResolveColour(selectFontColor_);
    p.DisabledColor = ResolveColour(disabledColor_);
    p.SeparatorColor = ResolveColour(separatorColor_);
    p.CheckedColor = ResolveColour(checkedColor_);
    p.FontColor = ResolveColour(FontColor);
    p.UseSystemColors = useSystemColors_;
    p.UseDimColor = UseDimColor;
    SystemColours sys{ResolveColour(SystemColour(COLOR_BTNFACE)), ResolveColour(SystemColour(COLOR_HIGHLIGHT)),
                      ResolveColour(SystemColour(COLOR_BTNSHADOW))};
    colors_ = DeriveColors(p, sys, colorDepthHigh_);
    colorsStale_ = false;
}

void TMenuStyler::RedrawMenuBar() {
    if (owner_.Handle() && GetMenu(owner_.Handle())) ::DrawMenuBar(owner_.Handle());
}

// ---- the activation walk ----

void TMenuStyler::Walk(TForm& form, bool on, bool invalidate) {
    for (TMenu* menu : form.Menus()) {
        const bool kind = menu->MenuKind == TMenu::Kind::Main ? Has(controls_, scMainMenu) : Has(controls_, scPopupMenu);
        // Switching off removes what this styler installed, whatever the sets say now.
        if (menu->Tag == kKeepOwnDrawingTag || (on && !kind)) continue;
        WalkMenu(*menu, on);
    }
    if (on) WalkControls(form, invalidate);
    if (!on && invalidate) {
        // Hooked controls notice the change with their next message and unhook themselves.
        for (auto& hook : hooks_)
            if (IsWindow(hook->Control)) InvalidateRect(hook->Control, nullptr, TRUE);
    }
}

void TMenuStyler::WalkMenu(TMenu& menu, bool on) {
    menu.Handle();
    for (auto& item : menu.Items.Items) WalkItem(*item, on);
    if (menu.MenuKind == TMenu::Kind::Main && menu.Owner.Handle()) ::DrawMenuBar(menu.Owner.Handle());
}

void TMenuStyler::WalkItem(TMenuItem& item, bool on) {
    if (item.Tag != kKeepOwnDrawingTag) {
        if (on && (!item.Painter() || overrideOwnerDraw_)) {
            if (item.Painter() != this) item.SetPainter(this);
        } else if (!on && item.Painter() == this) {
            item.SetPainter(nullptr);
        }
    }
    for (auto& child : item.Items) WalkItem(*child, on);
}

namespace {
struct ControlWalk {
    TMenuStyler* self;
    TForm* form;
    bool invalidate;
};
}  // namespace

BOOL CALLBACK TMenuStyler::VisitControl(HWND control, LPARAM lp) {
    auto& c = *reinterpret_cast<ControlWalk*>(lp);
    const HWND parent = GetParent(control);
    const auto kind = RecognisedControl(WindowClassName(control));
    const auto container = RecognisedContainer(WindowClassName(parent), parent == c.form->Handle());
    if (kind && container && Has(c.self->controls_, *kind) && Has(c.self->containers_, *container) &&
        ControlTag(control) != kKeepOwnDrawingTag && ControlTag(parent) != kKeepOwnDrawingTag &&
        !(parent == c.form->Handle() && c.form->Tag == kKeepOwnDrawingTag))
        c.self->Hook(control, c.invalidate);
    return TRUE;
}

void TMenuStyler::WalkControls(TForm& form, bool invalidate) {
    // Every descendant: the form's controls, those on its panels and the navigators' buttons.
    ControlWalk walk{this, &form, invalidate};
    EnumChildWindows(form.Handle(), &TMenuStyler::VisitControl, reinterpret_cast<LPARAM>(&walk));
}

void TMenuStyler::Hook(HWND control, bool invalidate) {
    for (auto& hook : hooks_)
        if (hook->Control == control) return;  // not twice
    hooks_.push_back(std::make_unique<TControlHook>(*this, control));
    if (invalidate) InvalidateRect(control, nullptr, TRUE);
}

void TMenuStyler::Forget(TControlHook* hook) {
    auto it = std::find_if(hooks_.begin(), hooks_.end(), [&](const auto& h) { return h.get() == hook; });
    if (it != hooks_.end()) hooks_.erase(it);
}

void TMenuStyler::Notification(TMenuItem&) {
    // With AutoDetect an added item goes through the activation walk, which themes whole
    // menus and controls only: a lone item keeps the system's drawing until its menu is
    // walked again (Active off and on, or OverrideOwnerDraw written).
}

}  // namespace tintmark::menus
