// Geometry of the overlay in the text area: the boxes of the pair highlight and the cross
// lines through the caret.
#pragma once

#include <cstdint>
#include <optional>

#include "analysis/pairing.h"

namespace tintmark {

// The cross lines on screen.
struct CrossLineState {
    Rect HorizCrossRect;  // frame around the caret line
    Rect VertCrossRect;   // one pixel wide, full client height, at the caret column
    bool HorizCrossShown = false;
    bool VertCrossShown = false;
    int32_t Line = -1, Col = -1;  // the caret they were placed for
    int32_t FirstLine = 0;        // the first visible line they were placed in
    int32_t HScroll = 0;          // and the horizontal scroll position
};

// Whether the shown cross lines reach the edges of a client area of this size (they were
// placed for another size when the window was resized since).
bool CrossLinesFit(const CrossLineState& c, const Rect& client);

// How far (pixels; right and down) the text moved since something was drawn over it in a
// view with first line placedFirst and horizontal scroll position placedHScroll.
struct ViewShift {
    int32_t dx = 0, dy = 0;
    bool None() const { return dx == 0 && dy == 0; }
};
ViewShift ShiftSince(int32_t placedFirst, int32_t placedHScroll, int32_t first, int32_t hscroll, int32_t lineHeight);

// How one highlight box is drawn. All of it lies inside `stored`, the box as it is kept
// afterwards (its left edge clipped at the gutter, its right edge set by a bold text).
struct BoxPlan {
    Rect stored;
    Rect fill;              // filled with the background, then framed with the frame colour
    int32_t underlineY = 0; // underline from (fill.left, y) to (fill.right, y), end excluded
    int32_t textX = 0, textY = 0;
    Rect clip;              // the text is clipped to it
};

// The box for a stored rectangle R. A box that ends at or left of textOriginX is not drawn.
// boldTextWidth is the token's width in the bold font when the box's text is bold.
std::optional<BoxPlan> PlanHighlightBox(Rect R, bool bracketPair, int32_t textOriginX,
                                        std::optional<int32_t> boldTextWidth);

// Rectangles of the cross lines: a frame around the caret's line from the gutter's edge to
// the client's right edge, and one pixel column at the caret's x.
Rect HorizontalCrossRect(int32_t textOriginX, int32_t row, int32_t lineHeight, int32_t clientRight);
Rect VerticalCrossRect(int32_t textOriginX, int32_t caretX, int32_t clientTop, int32_t clientBottom);

// The four one-pixel edges a frame of R paints (top, bottom, left, right), for repainting
// just what a frame covered.
struct FrameEdges {
    Rect edge[4];
};
FrameEdges EdgesOf(const Rect& R);

bool Intersects(const Rect& a, const Rect& b);
Rect Offset(Rect r, int32_t dx, int32_t dy);

}  // namespace tintmark
