// The host's own pixels under the plugin's marks in one editor, kept when a mark is drawn, so
// that taking the mark off puts them back instead of having the host repaint them.
#pragma once

#include <windows.h>

#include "win/handles.h"
#include "render/overlay_geometry.h"

namespace tintmark {

// The view the pixels belong to: they move when the view scrolls and are lost with its size.
struct ClientView {
    int32_t first = 0, hscroll = 0, width = 0, height = 0;
    int32_t lineHeight = 0;
    bool operator==(const ClientView& o) const {
        return first == o.first && hscroll == o.hscroll && width == o.width && height == o.height;
    }
    bool operator!=(const ClientView& o) const { return !(*this == o); }
};

// Two regions of the editor's client area: where the screen may show marks (marked), and
// where the copy holds what the host draws there now (kept). A pixel is kept only from a
// screen that shows no mark there; the copy is given up when the host paints on its own
// account (the text may have changed) or the view moves.
class CleanCopy {
public:
    // Before a mark is drawn over r (keep: the window has the focus, so that its pixels are
    // its own): keeps the pixels of r that can be kept and are not yet.
    void BeforeDraw(HWND wnd, HDC dc, const ClientView& view, const Rect& r, bool keep);
    // After a mark was drawn over r.
    void AfterDraw(HWND wnd, const ClientView& view, const Rect& r);
    // Puts back the kept pixels of r and counts r as showing no mark; false (nothing done)
    // unless every pixel of r inside the client area is kept.
    bool PutBack(HWND wnd, HDC dc, const ClientView& view, const Rect& r);
    // The host painted region: no mark shows there. After the plugin's own erasing only
    // (hostAsked false) the text is unchanged and the copy stays.
    void Repainted(HWND wnd, const ClientView& view, HRGN region, bool hostAsked);
    // The window's marks are where suspect says (its marks state was kept elsewhere).
    void Follow(HWND wnd, const ClientView& view, HRGN suspect);

    bool Tracks(HWND wnd) const { return wnd_ == wnd; }

private:
    // Brings the regions into view: pixels moved with a scroll, the copy is lost.
    void Sync(const ClientView& view);
    bool Bitmap(HDC dc);

    HWND wnd_ = nullptr;
    ClientView view_;
    UniqueGdiObject bitmap_;  // declared before the memory DC, which is deleted first
    UniqueMemoryDc mem_;
    HGDIOBJ memOld_ = nullptr;
    UniqueGdiObject kept_, marked_;
};

}  // namespace tintmark
