// The flat frame of popup menu windows: a one-pixel frame, the icon column carried to it,
// and (except on XP) a two-pixel shadow in a window region.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <set>

#include "win/handles.h"
#include "menus/menu_styler.h"
#include "menus/styler_manager.h"

namespace tintmark::menus {

namespace {
constexpr UINT_PTR kMenuHookId = 0x544D4B4D;  // "TMKM"
constexpr UINT kGetMenuHandle = 0x01E1;         // MN_GETHMENU

COLORREF Gdi(Rgb c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

void Fill(HDC dc, const RECT& r, Rgb c) {
    UniqueGdiObject brush(CreateSolidBrush(Gdi(c)));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

// The popup menu windows that have the flat frame now.
std::set<HWND>& FlatMenus() {
    static std::set<HWND> windows;
    return windows;
}

bool IsFlatMenu(HWND wnd) { return wnd && FlatMenus().count(wnd) != 0; }

// The region: the window less 2 pixels at the right and bottom, with the same rectangle
// moved 2 pixels right and down.
HRGN ShadowRegion(int w, int h) {
    HRGN region = CreateRectRgn(0, 0, w - 2, h - 2);
    HRGN moved = CreateRectRgn(2, 2, w, h);
    CombineRgn(region, region, moved, RGN_OR);
    DeleteObject(moved);
    return region;
}

// Whether the window lacks a region or has one whose box is more than 5 pixels off.
bool RegionNeeded(HWND wnd, int w, int h) {
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    const int type = GetWindowRgn(wnd, current);
    RECT box{};
    if (type != ERROR) GetRgnBox(current, &box);
    DeleteObject(current);
    if (type == ERROR) return true;
    return std::abs(box.left) > 5 || std::abs(box.top) > 5 || std::abs(box.right - w) > 5 || std::abs(box.bottom - h) > 5;
}
}  // namespace

LRESULT CALLBACK TMenuStylerManager::MenuWindowHook(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ERASEBKGND) return 1;  // erasing is reported done: the items paint it all
    if ((msg == WM_SHOWWINDOW && !wp) || msg == WM_CLOSE || msg == WM_DESTROY) {
        RECT r;
        GetWindowRect(wnd, &r);
        SetWindowRgn(wnd, nullptr, FALSE);
        RemoveWindowSubclass(wnd, &TMenuStylerManager::MenuWindowHook, kMenuHookId);
        FlatMenus().erase(wnd);
        // The menu our shadow fell on paints itself again.
        for (POINT p : {POINT{r.right + 2, r.top}, POINT{r.right + 2, r.bottom}}) {
            HWND under = WindowFromPoint(p);
            if (under != wnd && IsFlatMenu(under)) {
                RedrawWindow(under, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
                break;
            }
        }
    }
    return DefSubclassProc(wnd, msg, wp, lp);
}

void TMenuStylerManager::FlatFrame(HWND wnd, bool) {
    if (framing_ || !framer_ || !IsWindow(wnd)) return;
    framing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{framing_};
    const WorkingColors& c = framer_->Colors();
    const bool xp = framer_->System().IsWinXP;
    if (!IsFlatMenu(wnd)) {
        SetWindowSubclass(wnd, &TMenuStylerManager::MenuWindowHook, kMenuHookId, 0);
        FlatMenus().insert(wnd);
    }

    RECT wr;
    GetWindowRect(wnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    // Where the items begin inside the window: the icon column runs out to the frame.
    int itemsLeft = 3;
    if (HMENU menu = reinterpret_cast<HMENU>(SendMessageW(wnd, kGetMenuHandle, 0, 0))) {
        RECT first;
        if (GetMenuItemRect(nullptr, menu, 0, &first)) itemsLeft = first.left - wr.left;
    }

    HDC dc = GetWindowDC(wnd);
    const int right = xp ? w : w - 2, bottom = xp ? h : h - 2;
    if (!xp) {
        if (RegionNeeded(wnd, w, h)) SetWindowRgn(wnd, ShadowRegion(w, h), TRUE);
        Fill(dc, {w - 2, 2, w, h}, c.FrameShadow);
        Fill(dc, {2, h - 2, w, h}, c.FrameShadow);
    }
    UniqueGdiObject outer(CreateSolidBrush(Gdi(c.FrameOuter)));
    RECT frame{0, 0, right, bottom};
    FrameRect(dc, &frame, static_cast<HBRUSH>(outer.get()));
    // The icon column runs on from where the items start out to the frame.
    if (itemsLeft > 1) Fill(dc, {1, 1, itemsLeft, bottom - 1}, c.IconFace);
    // Rows 1 and 2 repeat the first row of the items (row 3).
    for (int row : {1, 2}) BitBlt(dc, 1, row, right - 2, 1, dc, 1, 3, SRCCOPY);
    if (xp) {
        for (int row : {bottom - 3, bottom - 2}) BitBlt(dc, 1, row, right - 2, 1, dc, 1, bottom - 4, SRCCOPY);
        Fill(dc, {right - 3, 1, right - 1, bottom - 1}, c.MenuFace);
    }
    ReleaseDC(wnd, dc);
}

}  // namespace tintmark::menus
