// Gutter geometry: where the marks of the visible methods and bookmarks go.
#include "render/gutter_marks.h"

namespace tintmark {

void AppendGutterMark(const GutterGeometry& g, int32_t r, int32_t e, GutterMarkKind kind,
                      std::vector<GutterShape>& out) {
    const int32_t c = g.textOriginX / 2 - 3;
    const int32_t m = r * g.lineHeight + g.lineHeight / 2;
    switch (kind) {
        case kMinusMark:
            out.push_back({GutterShape::Line, c - 3, m, c + 4, m});
            break;
        case kPlusMark:
            out.push_back({GutterShape::Line, c - 3, m, c + 4, m});
            out.push_back({GutterShape::Line, c, m - 3, c, m + 4});
            break;
        case kBookmarkMark:
            out.push_back({GutterShape::Bookmark, c - 5, m - 5, c + 6, m + 5});
            break;
    }
    if (e > 0) {
        const int32_t foot = e * g.lineHeight + 8;
        out.push_back({GutterShape::Line, c, m + 8, c, foot});
        out.push_back({GutterShape::Line, c, foot, c + 4, foot});
    }
}

GutterPicture ComposeGutter(const GutterGeometry& g, const TMethMap& methods, const TIntArray& bookmarkRows,
                            bool backgroundOnly) {
    GutterPicture p;
    const int32_t height = (g.visibleLines + 1) * g.lineHeight;
    p.fill = Rect{0, 0, g.textOriginX - 1, height};
    p.separator = {GutterShape::Line, g.textOriginX - 2, 0, g.textOriginX - 2, height};
    if (backgroundOnly) return p;

    const int32_t n = methods.Count();
    if (n == 0) {
        // Nothing begins or ends in view: one block line through the whole gutter.
        AppendGutterMark(g, -1, g.visibleLines + 1, kMinusMark, p.marks);
    }
    for (int32_t i = 0; i < n; ++i) {
        const TMethToken& t = methods[i];
        const int32_t r = t.Line - g.firstLine;
        switch (t.Kind) {
            case kProcedure:
            case kFunction:
                if (i == n - 1) {
                    AppendGutterMark(g, r, g.visibleLines + 1, kMinusMark, p.marks);
                } else if (methods[i + 1].Kind == t.Kind + 1) {
                    const int32_t end = methods[i + 1].Line - g.firstLine;
                    AppendGutterMark(g, r, end > r ? end : 0, kMinusMark, p.marks);
                }
                break;
            case kEndProcedure:
            case kEndFunction:
                if (i == 0) AppendGutterMark(g, -1, r, kMinusMark, p.marks);
                break;
            case kFoldedHeader:
                AppendGutterMark(g, r, 0, kPlusMark, p.marks);
                break;
            default:
                break;
        }
    }
    for (int32_t b = 0; b < bookmarkRows.Count(); ++b) AppendGutterMark(g, bookmarkRows[b], 0, kBookmarkMark, p.marks);
    return p;
}

}  // namespace tintmark
