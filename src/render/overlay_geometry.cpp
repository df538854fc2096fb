// Highlight boxes and cross-line rectangles.
#include "render/overlay_geometry.h"

#include "analysis/line_range.h"

namespace tintmark {

std::optional<BoxPlan> PlanHighlightBox(Rect R, bool bracketPair, int32_t textOriginX,
                                        std::optional<int32_t> boldTextWidth) {
    if (R.right <= textOriginX) return std::nullopt;
    BoxPlan p;
    int32_t x0 = R.left;
    // The box never reaches into the gutter; its text keeps its own position, clipped.
    if (R.left < textOriginX - 1) R.left = textOriginX;
    if (boldTextWidth) {
        R.right = R.left + *boldTextWidth - 1;
        x0 -= 2;
    }
    p.stored = R;
    p.fill = R;
    // A bracket's box starts one pixel right of its stored edge, so that it does not touch a
    // neighbour's box.
    if (bracketPair) p.fill.left += 1;
    p.underlineY = R.bottom - 1;
    p.textX = x0 + 1;
    p.textY = R.top;
    p.clip = p.fill;
    return p;
}

Rect HorizontalCrossRect(int32_t textOriginX, int32_t row, int32_t lineHeight, int32_t clientRight) {
    const int32_t top = row * lineHeight;
    return Rect{textOriginX - 1, top, clientRight, top + lineHeight + 1};
}

Rect VerticalCrossRect(int32_t textOriginX, int32_t caretX, int32_t clientTop, int32_t clientBottom) {
    return Rect{textOriginX + caretX, clientTop, textOriginX + caretX + 1, clientBottom};
}

FrameEdges EdgesOf(const Rect& R) {
    return FrameEdges{{Rect{R.left, R.top, R.right, R.top + 1}, Rect{R.left, R.bottom - 1, R.right, R.bottom},
                       Rect{R.left, R.top, R.left + 1, R.bottom}, Rect{R.right - 1, R.top, R.right, R.bottom}}};
}

bool Intersects(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom && a.left < a.right &&
           a.top < a.bottom && b.left < b.right && b.top < b.bottom;
}

bool CrossLinesFit(const CrossLineState& c, const Rect& client) {
    return (!c.HorizCrossShown || c.HorizCrossRect.right == client.right) &&
           (!c.VertCrossShown || (c.VertCrossRect.top == client.top && c.VertCrossRect.bottom == client.bottom));
}

ViewShift ShiftSince(int32_t placedFirst, int32_t placedHScroll, int32_t first, int32_t hscroll, int32_t lineHeight) {
    return ViewShift{Saturated(int64_t{placedHScroll} - hscroll), Saturated((int64_t{placedFirst} - first) * lineHeight)};
}

Rect Offset(Rect r, int32_t dx, int32_t dy) {
    return Rect{Saturated(int64_t{r.left} + dx), Saturated(int64_t{r.top} + dy), Saturated(int64_t{r.right} + dx),
                Saturated(int64_t{r.bottom} + dy)};
}

}  // namespace tintmark
