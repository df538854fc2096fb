// The small menu framework the styler works on, mapped onto Win32: forms (windows with a
// Tag and the components they own), main and popup menus (HMENUs) whose items carry their
// caption, shortcut text, state, image and Tag, image lists (HIMAGELIST), and owner-draw
// handlers that the form routes WM_MEASUREITEM and WM_DRAWITEM to.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "menus/image_effects.h"

namespace tintmark::menus {

class TForm;
class TMenu;
class TMenuItem;
class TMenuStyler;

// The measure and draw handlers of an owner-drawn item.
class ItemPainter {
public:
    virtual ~ItemPainter() = default;
    virtual void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height) = 0;
    virtual void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) = 0;
};

// Images of one size (an HIMAGELIST with masks).
class ImageList {
public:
    ImageList(int width, int height);
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    // Adds an image; pixels of the colour of its bottom-left pixel are transparent.
    int Add(HBITMAP bitmap);
    HIMAGELIST Handle() const { return list_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;
    // The image's colours and which pixels it paints.
    Pixels ImagePixels(int index) const;

private:
    HIMAGELIST list_;
    int width_, height_;
};

// The colours of a bitmap; the colour of its bottom-left pixel is transparent.
Pixels BitmapPixels(HBITMAP bitmap);

class TMenuItem {
public:
    std::wstring Caption;  // "-" is a separator
    std::wstring ShortCut;  // shortcut text, e.g. "Ctrl+S"
    bool Checked = false;
    bool RadioItem = false;
    bool Enabled = true;
    bool Default = false;
    int ImageIndex = -1;
    HBITMAP Bitmap = nullptr;  // the item's own image (kept by the caller)
    int Tag = 0;
    ImageList* SubMenuImages = nullptr;  // images of this item's sub-items

    TMenuItem* Parent = nullptr;
    TMenu* Menu = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> Items;

    // Adds a sub-item (before the menu is built, or followed by TMenu::Rebuild).
    TMenuItem& Add(const std::wstring& caption, const std::wstring& shortCut = L"");
    bool IsSeparator() const;
    bool IsBarItem() const;
    bool RightToLeft() const;
    UINT Command() const { return command_; }

    // The owner-draw handlers; null: the system draws the item.
    ItemPainter* Painter() const { return painter_; }
    void SetPainter(ItemPainter* painter);

    // The Win32 menu holding the item, its position there, and its own sub-menu.
    HMENU ParentHandle() const;
    UINT Position() const;
    HMENU SubMenu() const { return subMenu_; }
    // The item's rectangle on the screen while its menu is shown (empty otherwise).
    RECT ScreenRect() const;

private:
    friend class TMenu;
    ItemPainter* painter_ = nullptr;
    UINT command_ = 0;
    HMENU subMenu_ = nullptr;
};

class TMenu {
public:
    enum class Kind { Main, Popup };
    TMenu(TForm& owner, Kind kind);
    ~TMenu();
    TMenu(const TMenu&) = delete;
    TMenu& operator=(const TMenu&) = delete;

    TForm& Owner;
    const Kind MenuKind;
    TMenuItem Items;  // the root: the bar's items, or the popup's
    ImageList* Images = nullptr;
    int Tag = 0;
    bool RightToLeft = false;

    // The Win32 menu (built on first use); a main menu is the form window's menu bar.
    HMENU Handle();
    void Rebuild();
    // Shows a popup menu at a screen point and returns the chosen command (0: none).
    UINT Popup(int x, int y);
    // Calls f for every item, depth first.
    template <typename F>
    void ForEachItem(F&& f) { Walk(Items, f); }

private:
    template <typename F>
    static void Walk(TMenuItem& item, F& f) {
        for (auto& child : item.Items) {
            f(*child);
            Walk(*child, f);
        }
    }
    void Build(TMenuItem& parent, HMENU into);
    void Destroy();
    HMENU handle_ = nullptr;
};

// Owner-draw flags and text of an item as its menu shows it.
MENUITEMINFOW ItemInfo(const TMenuItem& item, std::wstring& text);

// A form: a window of the application, its Tag and the components it owns.
class TForm {
public:
    explicit TForm(HWND window);
    ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return window_; }
    int Tag = 0;
    TMenu* MainMenu() const;
    const std::vector<TMenu*>& Menus() const { return menus_; }
    const std::vector<TMenuStyler*>& Stylers() const { return stylers_; }

    // The form's components are all there (streaming done): the stylers register.
    void Loaded();

    // Every form of the application.
    static const std::vector<TForm*>& Screen();
    static TForm* FromHandle(HWND window);

private:
    friend class TMenu;
    friend class TMenuStyler;
    friend class TMenuItem;
    void Notify(TMenuItem& added);
    static LRESULT CALLBACK Subclass(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    HWND window_;
    std::vector<TMenu*> menus_;
    std::vector<TMenuStyler*> stylers_;
};

// The Tag of a control window (a window property; 0 when none was set).
int ControlTag(HWND control);
void SetControlTag(HWND control, int tag);

// The framework class name of a window (its window class name), in 8-bit ASCII.
std::string WindowClassName(HWND wnd);

}  // namespace tintmark::menus
