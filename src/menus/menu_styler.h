// TMenuStyler: the component that draws a form's menus in the flat style and subclasses
// the form's recognised controls to draw their frames.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "win/handles.h"
#include "menus/menu_model.h"
#include "menus/styled_sets.h"
#include "menus/working_colors.h"

namespace tintmark::menus {

class TControlHook;

// What the styler asks of the system; tests replace it to simulate a display or a version.
struct SystemQueries {
    std::function<int(HDC)> ColourDepth;  // bits per pixel of a device
    bool IsWinNT = true;
    bool IsWinXP = false;
    static SystemQueries FromSystem();
};
// The queries new stylers start with (the system's unless replaced).
SystemQueries& DefaultSystemQueries();

// A colour property: an RGB value, or a system colour (top bit set, index in the low byte).
using StylerColour = COLORREF;
constexpr StylerColour SystemColour(int index) { return 0x80000000u | static_cast<COLORREF>(index); }
Rgb ResolveColour(StylerColour c);

class TMenuStyler final : public ItemPainter {
public:
    explicit TMenuStyler(TForm& owner);
    ~TMenuStyler() override;
    TMenuStyler(const TMenuStyler&) = delete;
    TMenuStyler& operator=(const TMenuStyler&) = delete;

    TForm& Owner() const { return owner_; }
    void Loaded();  // after streaming: registers with the manager

    // ---- published properties ----
    int DimLevel = 30;
    int GrayLevel = 10;
    HFONT Font() const { return static_cast<HFONT>(font_.get()); }
    void SetFont(HFONT font);  // copies the font
    StylerColour FontColor = SystemColour(COLOR_MENUTEXT);
    StylerColour Color() const { return color_; }
    void SetColor(StylerColour c);
    bool DrawMenuBar = false;
    StylerColour IconBackColor() const { return iconBackColor_; }
    void SetIconBackColor(StylerColour c);
    StylerColour MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(StylerColour c);
    StylerColour SelectColor() const { return selectColor_; }
    void SetSelectColor(StylerColour c);
    StylerColour SelectBorderColor() const { return selectBorderColor_; }
    void SetSelectBorderColor(StylerColour c);
    StylerColour SelectFontColor() const { return selectFontColor_; }
    void SetSelectFontColor(StylerColour c);
    StylerColour DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(StylerColour c);
    StylerColour SeparatorColor() const { return separatorColor_; }
    void SetSeparatorColor(StylerColour c);
    StylerColour CheckedColor() const { return checkedColor_; }
    void SetCheckedColor(StylerColour c);
    int IconWidth = 24;
    bool DrawSelect = true;
    bool UseSystemColors() const { return useSystemColors_; }
    void SetUseSystemColors(bool v);
    bool UseDimColor = false;
    bool OverrideOwnerDraw() const { return overrideOwnerDraw_; }
    void SetOverrideOwnerDraw(bool v);
    bool Gradient = false;
    bool FlatMenu = false;
    bool AutoDetect = false;
    StyledContainers GetStyledContainers() const { return containers_; }
    void SetStyledContainers(StyledContainers v);
    StyledControls GetStyledControls() const { return controls_; }
    void SetStyledControls(StyledControls v);
    bool Active() const { return active_; }
    void SetActive(bool v);
    bool DisableSubclassing() const { return disableSubclassing_; }
    void SetDisableSubclassing(bool v);

    // ---- state ----
    bool ColorDepthHigh() const { return colorDepthHigh_; }
    bool ColorsStale() const { return colorsStale_; }
    const WorkingColors& Colors();  // re-derived first when stale
    const SystemQueries& System() const { return system_; }
    void SetSystem(SystemQueries s);  // re-reads the colour depth

    // ---- the activation walk ----
    // Installs (on) or removes (off) the handlers on the menus of form and subclasses its
    // recognised controls (on only), invalidating the controls it touches when asked.
    void Walk(TForm& form, bool on, bool invalidate);
    const std::vector<std::unique_ptr<TControlHook>>& Hooks() const { return hooks_; }

    // ---- ItemPainter ----
    void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height) override;
    void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) override;

    // A menu item was added to the form.
    void Notification(TMenuItem& added);

private:
    friend class TMenuStylerManager;
    friend class TControlHook;
    void DeriveWorkingColors();
    void ColourChanged();
    void RedrawMenuBar();
    void WalkMenu(TMenu& menu, bool on);
    void WalkItem(TMenuItem& item, bool on);
    void WalkControls(TForm& form, bool invalidate);
    static BOOL CALLBACK VisitControl(HWND control, LPARAM walk);
    void Hook(HWND control, bool invalidate);
    void Forget(TControlHook* hook);
    void PaintItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state);

    TForm& owner_;
    UniqueGdiObject font_;
    StylerColour color_ = SystemColour(COLOR_BTNFACE);
    StylerColour iconBackColor_ = SystemColour(COLOR_BTNFACE);
    StylerColour menuBarColor_ = SystemColour(COLOR_BTNFACE);
    StylerColour selectColor_ = SystemColour(COLOR_HIGHLIGHT);
    StylerColour selectBorderColor_ = SystemColour(COLOR_HIGHLIGHT);
    StylerColour selectFontColor_;
    StylerColour disabledColor_ = SystemColour(COLOR_INACTIVECAPTION);
    StylerColour separatorColor_ = SystemColour(COLOR_BTNFACE);
    StylerColour checkedColor_ = SystemColour(COLOR_HIGHLIGHT);
    bool useSystemColors_ = true;
    bool overrideOwnerDraw_ = false;
    StyledContainers containers_ = kAllContainers;
    StyledControls controls_ = kAllControls;
    bool active_ = false;
    bool disableSubclassing_ = false;
    bool registered_ = false;

    SystemQueries system_;
    bool colorDepthHigh_ = true;
    bool colorsStale_ = true;
    WorkingColors colors_;
    std::vector<std::unique_ptr<TControlHook>> hooks_;
};

}  // namespace tintmark::menus
