// The mismatch marks of the active editor.
#include "render/mismatch_marks.h"

#include <algorithm>

#include "analysis/mismatch.h"
#include "win/handles.h"
#include "render/editor_state.h"
#include "render/editor_view.h"
#include "render/overlay_geometry.h"

namespace tintmark {

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void FrameBox(EditorState& p, HDC dc, const MismatchBox& b) {
    const auto plan = PlanHighlightBox(b.Box, b.Bracket, p.TextOriginX, std::nullopt);
    if (!plan) return;
    const RECT r = ToRect(plan->fill);
    FrameRect(dc, &r, p.Gdi.Brush(p.Look.MismatchColor));
}

bool TouchesPairBoxes(const PairState& s, const Rect& r) {
    if (s.CaretTokenShown && Intersects(s.CaretTokenRect, r)) return true;
    if (s.PairTokenShown && Intersects(s.PairTokenRect, r)) return true;
    if (s.MembersShown)
        for (const MemberBox& m : s.Members)
            if (Intersects(m.Box, r)) return true;
    return false;
}

std::vector<MismatchBox> Compose(EditorState& p, EditorView& view, TextDocument& doc, int32_t first,
                                 int32_t hscroll) {
    MismatchMarks& m = p.Mismatch;
    const int32_t last = first + view.VisibleLineCount();
    const std::vector<BlockMismatch> found =
        MismatchesInLines(doc, p.Analysis.Keywords, first, last, m.Scan, m.Buffer);
    std::vector<MismatchBox> boxes;
    const PairSettings settings = p.PairingSettings();
    std::string text;
    for (const BlockMismatch& b : found) {
        TKeyWordPos e;
        e.Line = b.Line;
        e.StartCol = b.StartCol;
        e.EndCol = b.EndCol;
        // Drawn shifted left by the scroll position, as the pair boxes are.
        const Rect r = TokenRect(doc, view, settings, hscroll, e, text);
        boxes.push_back(MismatchBox{r, b.Line, b.Kind == kOpenBracket || b.Kind == kCloseBracket});
    }
    return boxes;
}

}  // namespace

bool PaintMismatchMarks(EditorState& p, EditorView& view, TextDocument& doc, bool recompute) {
    MismatchMarks& m = p.Mismatch;
    const HWND wnd = view.Window();
    if (p.Look.MismatchColor == 0) {
        const bool had = !m.Boxes.empty();
        EraseMismatchMarks(p, wnd);
        m.Valid = false;
        return had;
    }
    const int32_t first = view.FirstVisibleLine();
    const int32_t hscroll = view.HorizontalScrollPos();
    const int32_t lines = doc.LineCount();
    bool gutterChanged = false;
    if (recompute || !m.Valid || m.FirstLine != first || m.HScroll != hscroll || m.LineCount != lines) {
        std::vector<MismatchBox> boxes = Compose(p, view, doc, first, hscroll);
        // Boxes placed in another view moved with the text by whole lines.
        const int32_t d = static_cast<int32_t>((int64_t{m.FirstLine} - first) * p.LineHeight);
        std::vector<int32_t> oldLines, newLines;
        for (const MismatchBox& b : m.Boxes) oldLines.push_back(b.Line);
        for (const MismatchBox& b : boxes) newLines.push_back(b.Line);
        gutterChanged = oldLines != newLines || m.FirstLine != first;
        if (m.Shown)
            for (const MismatchBox& old : m.Boxes) {
                MismatchBox moved = old;
                moved.Box = Offset(old.Box, 0, d);
                if (m.HScroll != hscroll || std::find(boxes.begin(), boxes.end(), moved) == boxes.end()) {
                    const RECT r = ToRect(moved.Box);
                    InvalidateRect(wnd, &r, FALSE);
                }
            }
        m.Boxes = std::move(boxes);
        m.Valid = true;
        m.FirstLine = first;
        m.HScroll = hscroll;
        m.LineCount = lines;
    }
    m.Shown = true;
    if (m.Boxes.empty()) return gutterChanged;

    UniqueWindowDc dc(wnd);
    const bool focused = GetFocus() == wnd;
    if (focused) HideCaret(wnd);
    bool underPairBoxes = false;
    for (const MismatchBox& b : m.Boxes) {
        FrameBox(p, dc.get(), b);
        underPairBoxes = underPairBoxes || TouchesPairBoxes(p.Analysis.Pair, b.Box);
    }
    if (focused) ShowCaret(wnd);
    // The pair highlight lies above the marks.
    if (underPairBoxes) view.DrawPairHighlight(p.Analysis.Pair);
    return gutterChanged;
}

void EraseMismatchMarks(EditorState& p, HWND editor) {
    MismatchMarks& m = p.Mismatch;
    if (m.Shown && editor) {
        // The frames moved with the text by whole lines when the view scrolled since.
        EditorView view(p, editor, nullptr);
        const int32_t d = static_cast<int32_t>((int64_t{m.FirstLine} - view.FirstVisibleLine()) * p.LineHeight);
        for (const MismatchBox& b : m.Boxes) {
            const RECT r = ToRect(Offset(b.Box, 0, d));
            InvalidateRect(editor, &r, FALSE);
        }
    }
    m.Shown = false;
    m.Boxes.clear();
    m.Valid = false;
}

void DrawMismatchBoxes(EditorState& p, HDC dc, int32_t firstLine, int32_t hscroll) {
    const MismatchMarks& m = p.Mismatch;
    if (!m.Shown || p.Look.MismatchColor == 0 || m.FirstLine != firstLine || m.HScroll != hscroll) return;
    for (const MismatchBox& b : m.Boxes) FrameBox(p, dc, b);
}

void DrawMismatchGutterMarks(EditorState& p, HDC dc, int32_t firstLine, int32_t visibleLines) {
    const MismatchMarks& m = p.Mismatch;
    if (!m.Valid || p.Look.MismatchColor == 0) return;
    HBRUSH brush = p.Gdi.Brush(p.Look.MismatchColor);
    for (const MismatchBox& b : m.Boxes) {
        const int32_t row = b.Line - firstLine;
        if (row < 0 || row > visibleLines) continue;
        const RECT r = ToRect(MismatchGutterRect(p.TextOriginX, p.LineHeight, row));
        FillRect(dc, &r, brush);
    }
}

}  // namespace tintmark
