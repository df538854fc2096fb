// The gutter's picture as geometry: background, separator, fold marks, block lines and
// bookmark marks of the visible lines, in drawing order.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/pairing.h"
#include "analysis/plugin_types.h"

namespace tintmark {

// What is drawn, in order. Lines go from (x1, y1) to (x2, y2) without the end point, in the
// pen of the fold marks; bookmarks are rounded rectangles (5 × 5 corners) filled with the
// bookmark colour and outlined with that pen.
struct GutterShape {
    enum Kind : uint8_t { Line, Bookmark } kind = Line;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const GutterShape& o) const {
        return kind == o.kind && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
    }
};

struct GutterGeometry {
    int32_t lineHeight = 0;
    int32_t textOriginX = 0;  // client x of text column 0; the gutter lies left of it
    int32_t visibleLines = 0;
    int32_t firstLine = 0;
};

struct GutterPicture {
    Rect fill;                      // background, in the gutter colour
    GutterShape separator;          // in the separator colour
    std::vector<GutterShape> marks; // fold marks, block lines, then bookmarks
};

// Mark kinds of one gutter row.
enum GutterMarkKind : uint8_t { kMinusMark = 0, kPlusMark = 1, kBookmarkMark = 2 };

// The shapes of one mark on row r (relative to the first visible line); e > 0 adds the block
// line down to row e with its foot.
void AppendGutterMark(const GutterGeometry& g, int32_t r, int32_t e, GutterMarkKind kind,
                      std::vector<GutterShape>& out);

// The whole gutter from the method map of the visible lines and the bookmarked rows.
// backgroundOnly leaves the marks out.
GutterPicture ComposeGutter(const GutterGeometry& g, const TMethMap& methods, const TIntArray& bookmarkRows,
                            bool backgroundOnly);

}  // namespace tintmark
