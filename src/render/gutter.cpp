// Gutter data from the last scan and the host's bookmarks, drawn with GDI.
#include "render/gutter.h"

#include <algorithm>

#include "analysis/method_map.h"
#include "host/host.h"
#include "render/editor_state.h"
#include "host/records.h"
#include "render/editor_view.h"
#include "render/gutter_marks.h"
#include "render/mismatch_marks.h"

namespace tintmark {

namespace {

class FoldedBlockNames final : public FoldedNames {
public:
    explicit FoldedBlockNames(const TCfgWndData& r) : r_(r) {}
    bool Contains(const std::string& name) const override { return r_.FoldedBlocks.count(name) != 0; }

private:
    const TCfgWndData& r_;
};

}  // namespace

void RebuildGutter(EditorState& p, HWND editor, TCfgWndData& record) {
    EditorView view(p, editor, nullptr);
    const int32_t F = view.FirstVisibleLine();
    const int32_t V = view.VisibleLineCount();
    FoldedBlockNames folded(record);
    BuildMethMap(p.Analysis.KeyWordsMap, &folded, false, p.Analysis.MethMap);

    // Bookmarks are asked line by line only when the host reports one in view.
    p.BookmarkLines.Reset();
    ITextDoc* doc = record.Document.get();
    if (doc) {
        const LONG next = host::NextBookmark(doc, F);
        const int32_t last = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(F) + V,
                                                                    host::GetLineCount(doc) - 1));
        if (host::GetBookmark(doc, F) || (F <= next && next <= last))
            for (int32_t k = F; k <= last; ++k)
                if (host::GetBookmark(doc, k)) p.BookmarkLines.Append(k - F);
    }
    PaintGutter(p, editor, false);
}

void PaintGutter(EditorState& p, HWND editor, bool backgroundOnly) {
    if (!editor) return;
    EditorView view(p, editor, nullptr);
    GutterGeometry g;
    g.lineHeight = p.LineHeight;
    g.textOriginX = p.TextOriginX;
    g.visibleLines = view.VisibleLineCount();
    g.firstLine = view.FirstVisibleLine();
    const GutterPicture picture = ComposeGutter(g, p.Analysis.MethMap, p.BookmarkLines, backgroundOnly);
    if (picture.fill.right <= 0) return;  // the text origin is not known yet

    UniqueWindowDc dc(editor);
    // The host keeps painting from the separator's right neighbour on.
    SavedDcState saved(dc.get());
    IntersectClipRect(dc.get(), 0, 0, picture.fill.right, picture.fill.bottom);
    const RECT fill{picture.fill.left, picture.fill.top, picture.fill.right, picture.fill.bottom};
    FillRect(dc.get(), &fill, p.Gdi.Brush(p.Look.GutterColor));
    SelectObject(dc.get(), p.Gdi.Pen(p.Look.GutterLineColor));
    MoveToEx(dc.get(), picture.separator.x1, picture.separator.y1, nullptr);
    LineTo(dc.get(), picture.separator.x2, picture.separator.y2);
    SelectObject(dc.get(), p.Gdi.Pen(p.Look.MethodsBorderColor));
    SelectObject(dc.get(), p.Gdi.Brush(p.Look.BookMarkColor));
    for (const GutterShape& s : picture.marks) {
        if (s.kind == GutterShape::Line) {
            MoveToEx(dc.get(), s.x1, s.y1, nullptr);
            LineTo(dc.get(), s.x2, s.y2);
        } else {
            RoundRect(dc.get(), s.x1, s.y1, s.x2, s.y2, 5, 5);
        }
    }
    if (!backgroundOnly) DrawMismatchGutterMarks(p, dc.get(), g.firstLine, g.visibleLines);
}

}  // namespace tintmark
