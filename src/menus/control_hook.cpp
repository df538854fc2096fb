// Subclassed controls of a themed form: their paint state, the frame of the lookup combo
// box, and the way back to the control's own drawing.
#include "menus/control_hook.h"

#include <windows.h>
#include <commctrl.h>

#include "win/handles.h"
#include "menus/menu_styler.h"
#include "menus/styled_sets.h"

namespace tintmark::menus {

namespace {
constexpr UINT_PTR kHookId = 0x544D4B48;  // "TMKH"

COLORREF Gdi(Rgb c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

void Fill(HDC dc, const RECT& r, COLORREF c) {
    UniqueGdiObject brush(CreateSolidBrush(c));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void Frame(HDC dc, const RECT& r, COLORREF c) {
    UniqueGdiObject brush(CreateSolidBrush(c));
    FrameRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}
}  // namespace

TControlHook::TControlHook(TMenuStyler& owner, HWND control)
    : Control(control),
      Owner(&owner),
      SavedExStyle(GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE),
      SavedStyle(GetWindowLongPtrW(control, GWL_STYLE) & WS_BORDER),
      drawsFrame_(DrawsFrame(WindowClassName(control))) {
    subclassed_ = SetWindowSubclass(control, &TControlHook::Proc, kHookId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

TControlHook::~TControlHook() { Restore(); }

void TControlHook::Restore() {
    if (!subclassed_) return;
    subclassed_ = false;
    if (!IsWindow(Control)) return;
    RemoveWindowSubclass(Control, &TControlHook::Proc, kHookId);
    const LONG_PTR ex = (GetWindowLongPtrW(Control, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE)) | SavedExStyle;
    const LONG_PTR style = (GetWindowLongPtrW(Control, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER)) | SavedStyle;
    SetWindowLongPtrW(Control, GWL_EXSTYLE, ex);
    SetWindowLongPtrW(Control, GWL_STYLE, style);
    SetWindowPos(Control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(Control, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

LRESULT CALLBACK TControlHook::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* hook = reinterpret_cast<TControlHook*>(data);
    bool forget = false;
    LRESULT result = 0;
    try {
        result = hook->Handle(msg, wp, lp, forget);
    } catch (...) {
        result = DefSubclassProc(wnd, msg, wp, lp);
    }
    if (forget) hook->Owner->Forget(hook);  // frees the hook; nothing of it is used after
    return result;
}

LRESULT TControlHook::Handle(UINT msg, WPARAM wp, LPARAM lp, bool& forget) {
    // The lookup combo box's frame is ours: its frame-paint message is answered as done.
    const LRESULT result = msg == WM_NCPAINT && drawsFrame_ ? 0 : DefSubclassProc(Control, msg, wp, lp);
    if (!Owner->Active()) {
        Restore();
        forget = true;
        return result;
    }
    LastMessage = msg;
    bool repaint = false;
    switch (msg) {
        case WM_SETFOCUS: Focused = true; repaint = true; break;
        case WM_KILLFOCUS: Focused = false; repaint = true; break;
        case WM_PAINT: FrameRepaintPending = false; repaint = true; break;
        case BM_SETCHECK:
        case BM_SETSTATE: repaint = true; break;
        case WM_KEYDOWN:
            if (wp == VK_SPACE) { SpaceDown = true; repaint = true; }
            break;
        case WM_KEYUP:
            if (wp == VK_SPACE) { SpaceDown = false; repaint = true; }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a double click is a press too
            MouseDown = true; repaint = true; break;
        case WM_LBUTTONUP: MouseDown = false; repaint = true; break;
        case WM_MOUSEMOVE:
            if (!Hovered) {
                Hovered = true;
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Control, 0};
                TrackMouseEvent(&t);
                repaint = true;
            }
            break;
        case WM_MOUSELEAVE: Hovered = false; repaint = true; break;
        // Changes that the next paint must show with a fresh frame.
        case WM_ENABLE:
        case WM_SETFONT:
        case WM_SETTEXT:
        case WM_STYLECHANGED:
        case WM_SIZE: FrameRepaintPending = true; break;
        case WM_NCDESTROY:
            subclassed_ = false;
            RemoveWindowSubclass(Control, &TControlHook::Proc, kHookId);
            forget = !FrameRepaintPending;
            return result;
        default: break;
    }
    if (repaint) DrawFrame();
    return result;
}

void TControlHook::DrawFrame() {
    if (!drawsFrame_ || !IsWindow(Control)) return;
    const LONG_PTR ex = GetWindowLongPtrW(Control, GWL_EXSTYLE);
    if (ex & WS_EX_CLIENTEDGE) {  // the 3-D look goes first
        SetWindowLongPtrW(Control, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
        SetWindowPos(Control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    const WorkingColors& c = Owner->Colors();
    RECT r;
    GetWindowRect(Control, &r);
    OffsetRect(&r, -r.left, -r.top);
    const bool enabled = IsWindowEnabled(Control) != FALSE;
    const bool dropped = SendMessageW(Control, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const bool highlighted = Hovered || dropped;
    const COLORREF controlColour = GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    const COLORREF surrounding = GetSysColor(COLOR_BTNFACE);

    HDC dc = GetWindowDC(Control);
    Frame(dc, r, highlighted ? Gdi(c.SelectBorder) : surrounding);
    RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    Frame(dc, inner, controlColour);
    const bool simple = (GetWindowLongPtrW(Control, GWL_STYLE) & 3) == CBS_SIMPLE;
    if (!simple) {
        const bool rtl = (ex & WS_EX_LAYOUTRTL) || (ex & WS_EX_RIGHT);
        const int width = GetSystemMetrics(SM_CXHTHUMB) + 1 + ((highlighted || Focused) ? 1 : 0);
        RECT button = rtl ? RECT{inner.left + 1, inner.top + 1, inner.left + 1 + width, inner.bottom - 1}
                          : RECT{inner.right - 1 - width, inner.top + 1, inner.right - 1, inner.bottom - 1};
        RECT strip = rtl ? RECT{button.right, button.top, button.right + 5, button.bottom}
                         : RECT{button.left - 5, button.top, button.left, button.bottom};
        Fill(dc, strip, controlColour);
        if (dropped) {
            Fill(dc, button, Gdi(c.CheckFaceSelected));
            Frame(dc, button, Gdi(c.SelectBorder));
        } else {
            Fill(dc, button, highlighted ? Gdi(c.SelectFace) : Focused ? Gdi(c.CheckFace) : GetSysColor(COLOR_BTNFACE));
        }
        const COLORREF arrow = enabled && !dropped ? RGB(0, 0, 0) : RGB(255, 255, 255);
        UniqueGdiObject pen(CreatePen(PS_SOLID, 1, arrow));
        SelectGuard select(dc, pen.get());
        const int cx = (button.left + button.right) / 2;
        for (int row = 0; row < 3; ++row) {
            const int half = 2 - row;
            MoveToEx(dc, cx - half, r.top + 8 + row, nullptr);
            LineTo(dc, cx + half + 1, r.top + 8 + row);
        }
    }
    ReleaseDC(Control, dc);
}

}  // namespace tintmark::menus
