// Saving and putting back the host's pixels under the marks.
#include "render/clean_copy.h"

#include <algorithm>

namespace tintmark {

namespace {

HRGN Rgn(const UniqueGdiObject& o) { return static_cast<HRGN>(o.get()); }

UniqueGdiObject Empty() { return UniqueGdiObject(CreateRectRgn(0, 0, 0, 0)); }

// r held to the client area of view.
RECT Inside(const Rect& r, const ClientView& view) {
    RECT out{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, view.width), std::min(r.bottom, view.height)};
    if (out.left >= out.right || out.top >= out.bottom) out = RECT{0, 0, 0, 0};
    return out;
}

}  // namespace

void CleanCopy::Follow(HWND wnd, const ClientView& view, HRGN suspect) {
    wnd_ = wnd;
    view_ = view;
    kept_ = Empty();
    marked_ = Empty();
    if (suspect && marked_) CombineRgn(Rgn(marked_), suspect, nullptr, RGN_COPY);
}

void CleanCopy::Sync(const ClientView& view) {
    if (view == view_) return;
    // The marks moved with the text, or did not (the host may scroll only its text area):
    // both places may show them. The copy is lost.
    const int64_t limit = int64_t{std::max(view.height, view.width)} + 1;
    const int dx = static_cast<int>(std::clamp<int64_t>(int64_t{view_.hscroll} - view.hscroll, -limit, limit));
    const int dy = static_cast<int>(
        std::clamp<int64_t>((int64_t{view_.first} - view.first) * view.lineHeight, -limit, limit));
    if ((dx != 0 || dy != 0) && marked_) {
        UniqueGdiObject moved = Empty();
        CombineRgn(Rgn(moved), Rgn(marked_), nullptr, RGN_COPY);
        OffsetRgn(Rgn(moved), dx, dy);
        CombineRgn(Rgn(marked_), Rgn(marked_), Rgn(moved), RGN_OR);
    }
    kept_ = Empty();
    view_ = view;
}

bool CleanCopy::Bitmap(HDC dc) {
    BITMAP bm{};
    if (bitmap_ && GetObjectW(bitmap_.get(), sizeof bm, &bm) && bm.bmWidth >= view_.width &&
        bm.bmHeight >= view_.height)
        return true;
    if (mem_ && memOld_) SelectObject(mem_.get(), memOld_);
    mem_.reset(CreateCompatibleDC(dc));
    bitmap_.reset(CreateCompatibleBitmap(dc, std::max(view_.width, 1), std::max(view_.height, 1)));
    if (!mem_ || !bitmap_) return false;
    memOld_ = SelectObject(mem_.get(), bitmap_.get());
    kept_ = Empty();
    return true;
}

void CleanCopy::BeforeDraw(HWND wnd, HDC dc, const ClientView& view, const Rect& r, bool keep) {
    if (wnd != wnd_ || !kept_ || !marked_) return;
    Sync(view);
    const RECT in = Inside(r, view);
    if (!keep || IsRectEmpty(&in) || !Bitmap(dc)) return;
    // What can be kept: not kept yet and showing no mark. A pixel the host is about to repaint
    // may be kept as it shows now: that paint takes it out of the copy again.
    UniqueGdiObject need(CreateRectRgnIndirect(&in));
    if (!need) return;
    CombineRgn(Rgn(need), Rgn(need), Rgn(kept_), RGN_DIFF);
    CombineRgn(Rgn(need), Rgn(need), Rgn(marked_), RGN_DIFF);
    RECT box{};
    if (GetRgnBox(Rgn(need), &box) == NULLREGION) return;
    SelectClipRgn(mem_.get(), Rgn(need));
    BitBlt(mem_.get(), box.left, box.top, box.right - box.left, box.bottom - box.top, dc, box.left, box.top, SRCCOPY);
    SelectClipRgn(mem_.get(), nullptr);
    CombineRgn(Rgn(kept_), Rgn(kept_), Rgn(need), RGN_OR);
}

void CleanCopy::AfterDraw(HWND wnd, const ClientView& view, const Rect& r) {
    if (wnd != wnd_ || !marked_) return;
    Sync(view);
    const RECT in = Inside(r, view);
    if (IsRectEmpty(&in)) return;
    UniqueGdiObject add(CreateRectRgnIndirect(&in));
    if (add) CombineRgn(Rgn(marked_), Rgn(marked_), Rgn(add), RGN_OR);
}

bool CleanCopy::PutBack(HWND wnd, HDC dc, const ClientView& view, const Rect& r) {
    if (wnd != wnd_ || !kept_ || !marked_ || !mem_) return false;
    Sync(view);
    const RECT in = Inside(r, view);
    if (IsRectEmpty(&in)) return true;
    UniqueGdiObject area(CreateRectRgnIndirect(&in));
    UniqueGdiObject missing = Empty();
    if (!area || !missing) return false;
    if (CombineRgn(Rgn(missing), Rgn(area), Rgn(kept_), RGN_DIFF) != NULLREGION) return false;
    BitBlt(dc, in.left, in.top, in.right - in.left, in.bottom - in.top, mem_.get(), in.left, in.top, SRCCOPY);
    CombineRgn(Rgn(marked_), Rgn(marked_), Rgn(area), RGN_DIFF);
    return true;
}

void CleanCopy::Repainted(HWND wnd, const ClientView& view, HRGN region, bool hostAsked) {
    if (wnd != wnd_ || !kept_ || !marked_ || !region) return;
    Sync(view);
    CombineRgn(Rgn(marked_), Rgn(marked_), region, RGN_DIFF);
    // A paint the host asked for itself follows a change of its own (text, selection, an
    // uncovered part): nothing kept is trusted any more.
    if (hostAsked) kept_ = Empty();
}

}  // namespace tintmark
