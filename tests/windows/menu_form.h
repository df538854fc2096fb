// A test form for the flat-style menus: a window with a menu bar and a popup menu holding
// every kind of item, an image list, and recognised controls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "menus/menu_model.h"
#include "menus/menu_styler.h"

namespace tintmark::test {

// A 16 x 16 picture: a red square with a blue diagonal on a magenta background.
HBITMAP MakePicture(COLORREF square);

struct MenuForm {
    explicit MenuForm(int x = 100, int y = 100, bool withMenus = true);
    ~MenuForm();
    HWND Window = nullptr;
    std::unique_ptr<menus::TForm> Model;
    std::unique_ptr<menus::ImageList> Images;
    std::unique_ptr<menus::TMenu> Main;
    std::unique_ptr<menus::TMenu> Popup;
    HBITMAP Pictures[2] = {};
    // Items of the bar's first popup ("File").
    menus::TMenuItem* File = nullptr;
    menus::TMenuItem* Open = nullptr;       // image 0, shortcut
    menus::TMenuItem* Wrap = nullptr;       // checked
    menus::TMenuItem* Mode = nullptr;       // radio, checked
    menus::TMenuItem* Disabled = nullptr;   // disabled, image 1
    menus::TMenuItem* Save = nullptr;       // default
    menus::TMenuItem* Separator = nullptr;
    menus::TMenuItem* Recent = nullptr;     // sub-menu
    menus::TMenuItem* Own = nullptr;        // Tag 999
    menus::TMenuItem* Exit = nullptr;
};

// Registers window classes named as the framework's controls ("TButton", "TDBLookupComboBox")
// on top of the system's button and combo box.
void RegisterFrameworkControlClasses();

// Opens menu as a popup at a screen point; during the menu loop, step(n) runs on timer ticks
// n = 0, 1, ... until it returns false, then the menu closes.
void WhilePopupOpen(menus::TMenu& menu, int x, int y, std::function<bool(int)> step);
// The same for a sub-menu of the form's menus (e.g. the bar's "File").
void WhilePopupOpen(HMENU menu, HWND owner, int x, int y, std::function<bool(int)> step);

void PressKey(WORD vk);

}  // namespace tintmark::test
