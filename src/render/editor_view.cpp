// Drawing the pair highlight and the cross lines into an editor window.
#include "render/editor_view.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "win/handles.h"
#include "render/editor_state.h"
#include "win/wide_text.h"
#include "render/mismatch_marks.h"
#include "text/text_width.h"

namespace tintmark {

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// The common frame of every drawing: the window's device context; while the window has the
// focus, the caret is hidden before anything is drawn or read where it stands (drawing over
// a shown caret would be inverted by its next blink), and shown again at the end. One frame
// serves all drawing of one piece of handling.
class DrawingFrame {
public:
    // caretHidden: the caret is held hidden around the whole handling already.
    DrawingFrame(HWND wnd, bool caretHidden) : wnd_(wnd), focused_(GetFocus() == wnd), dc_(wnd) {
        if (!focused_ || caretHidden) return;
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndCaret == wnd)
            caret_ = Rect{info.rcCaret.left, info.rcCaret.top, info.rcCaret.right, info.rcCaret.bottom};
        else
            caret_ = Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};  // not known: hidden for anything
    }
    ~DrawingFrame() {
        if (hidden_) ShowCaret(wnd_);
    }
    DrawingFrame(const DrawingFrame&) = delete;
    DrawingFrame& operator=(const DrawingFrame&) = delete;
    HDC dc() const { return dc_.get(); }
    bool focused() const { return focused_; }
    // About to draw or read pixels of r.
    void Touch(const Rect& r) {
        if (!focused_ || hidden_ || !Intersects(r, caret_)) return;
        HideCaret(wnd_);
        hidden_ = true;
    }

private:
    HWND wnd_;
    bool focused_;
    bool hidden_ = false;
    Rect caret_{0, 0, 0, 0};  // empty: nothing to hide
    UniqueWindowDc dc_;
};

namespace {

class CanvasMeasure final : public TextMeasure {
public:
    explicit CanvasMeasure(EditorState& p) : p_(p) {}
    int32_t Width(std::string_view text) override { return p_.Canvas ? p_.Canvas->Width1251(text) : 0; }

private:
    EditorState& p_;
};

struct BoxStyle {
    Colour bg, frame, underline, font;
    bool bold;
};

// Draws a box for the rectangle the pairing composed; drawn receives the box as drawn (its
// left edge clipped at the gutter, its right edge set by a bold text). before and after are
// told the box's area around the drawing.
template <typename Before, typename After>
void DrawBox(EditorState& p, HDC dc, const Rect& composed, Rect& drawn, const std::string& text1251,
             bool bracketPair, const BoxStyle& style, Before&& before, After&& after) {
    const std::wstring text = Cp1251ToWide(text1251);
    SelectGuard font(dc, p.Gdi.HighlightFont(p.Config.Font, style.bold));
    std::optional<int32_t> boldWidth;
    if (style.bold) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        boldWidth = size.cx;
    }
    const auto plan = PlanHighlightBox(composed, bracketPair, p.TextOriginX, boldWidth);
    drawn = composed;
    if (!plan) return;
    drawn = plan->stored;
    before(plan->stored);
    const RECT fill = ToRect(plan->fill);
    FillRect(dc, &fill, p.Gdi.Brush(style.bg));
    FrameRect(dc, &fill, p.Gdi.Brush(style.frame));
    {
        SelectGuard pen(dc, p.Gdi.Pen(style.underline));
        MoveToEx(dc, plan->fill.left, plan->underlineY, nullptr);
        LineTo(dc, plan->fill.right, plan->underlineY);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColour(style.font));
    const RECT clip = ToRect(plan->clip);
    ExtTextOutW(dc, plan->textX, plan->textY, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    after(plan->stored);
}

bool IsBracket(uint8_t kind) { return kind == kOpenBracket || kind == kCloseBracket; }

}  // namespace

Rect ClientRect(HWND wnd) {
    RECT rc{};
    GetClientRect(wnd, &rc);
    return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

EditorView::EditorView(EditorState& plugin, HWND editor, TextDocument* doc)
    : p_(plugin), wnd_(editor), doc_(doc) {}

EditorView::~EditorView() = default;

DrawingFrame& EditorView::Frame() {
    if (!frame_) frame_ = std::make_unique<DrawingFrame>(wnd_, p_.CaretHiddenIn == wnd_);
    return *frame_;
}

int32_t EditorView::FirstVisibleLine() { return GetScrollPos(wnd_, SB_VERT); }

int32_t EditorView::VisibleLineCount() { return ClientRect(wnd_).bottom / std::max(1, p_.LineHeight); }

int32_t EditorView::HorizontalScrollPos() { return GetScrollPos(wnd_, SB_HORZ); }

int32_t EditorView::TextWidth(std::string_view text) { return CanvasMeasure(p_).Width(text); }

int32_t EditorView::ExpandedTextWidth(std::string_view text) {
    CanvasMeasure measure(p_);
    return tintmark::ExpandedTextWidth(text, measure, p_.Config.TabSize, p_.TabWidth, p_.CharWidth, scratch_);
}

void EditorView::Invalidate(const Rect& r) { p_.Damage.Invalidate(wnd_, r); }

ClientView EditorView::View() {
    const Rect K = ClientRect(wnd_);
    return ClientView{FirstVisibleLine(), HorizontalScrollPos(), K.right, K.bottom, p_.LineHeight};
}

void EditorView::Track() {
    if (p_.Clean.Tracks(wnd_)) return;
    // Where the marks of the plugin's state stand now: the screen may show them there.
    UniqueGdiObject shown(CreateRectRgn(0, 0, 0, 0));
    auto add = [&](const Rect& r) {
        UniqueGdiObject one(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        if (shown && one) CombineRgn(static_cast<HRGN>(shown.get()), static_cast<HRGN>(shown.get()),
                                     static_cast<HRGN>(one.get()), RGN_OR);
    };
    const CrossLineState& c = p_.Cross;
    const ViewShift dc = ShiftSince(c.FirstLine, c.HScroll);
    if (c.HorizCrossShown) add(Offset(c.HorizCrossRect, 0, dc.dy));
    if (c.VertCrossShown) add(Offset(c.VertCrossRect, dc.dx, 0));
    const PairState& s = p_.Analysis.Pair;
    const ViewShift db = ShiftSince(s.ViewFirstLine, s.ViewHScroll);
    if (s.CaretTokenShown) add(Offset(s.CaretTokenRect, db.dx, db.dy));
    if (s.PairTokenShown) add(Offset(s.PairTokenRect, db.dx, db.dy));
    if (s.MembersShown)
        for (const MemberBox& m : s.Members) add(Offset(m.Box, db.dx, db.dy));
    p_.Clean.Follow(wnd_, View(), static_cast<HRGN>(shown.get()));
}

void EditorView::BeforeDraw(const Rect& r) {
    Track();
    DrawingFrame& f = Frame();
    f.Touch(r);
    p_.Clean.BeforeDraw(wnd_, f.dc(), View(), r, f.focused());
}

void EditorView::AfterDraw(const Rect& r) { p_.Clean.AfterDraw(wnd_, View(), r); }

void EditorView::EraseAreas(const std::vector<Rect>& areas, bool boxes) {
    if (areas.empty()) return;
    Track();
    DrawingFrame& f = Frame();
    std::vector<Rect> putBack;
    for (const Rect& r : areas) {
        if (f.focused()) f.Touch(r);
        if (f.focused() && p_.Clean.PutBack(wnd_, f.dc(), View(), r))
            putBack.push_back(r);
        else
            Invalidate(r);
    }
    // Marks still shown that lay under or over what was put back are drawn again.
    if (!putBack.empty()) RedrawMarksIn(putBack, boxes);
}

std::vector<Rect> EditorView::FrameEdgesNow(const Rect& r, ViewShift shift) {
    const FrameEdges at = EdgesOf(Offset(r, 0, shift.dy));
    std::vector<Rect> out(std::begin(at.edge), std::end(at.edge));
    if (shift.dx != 0) {
        // A sideways scroll moved the frame's ends with the text.
        const FrameEdges moved = EdgesOf(Offset(r, shift.dx, shift.dy));
        out.push_back(moved.edge[2]);
        out.push_back(moved.edge[3]);
    }
    return out;
}

ViewShift EditorView::ShiftSince(int32_t placedFirstLine, int32_t placedHScroll) {
    return tintmark::ShiftSince(placedFirstLine, placedHScroll, FirstVisibleLine(), HorizontalScrollPos(),
                                p_.LineHeight);
}

// The boxes moved with the text when the view scrolled since they were drawn.
void EditorView::ErasePairHighlight(const PairState& s) {
    const ViewShift d = ShiftSince(s.ViewFirstLine, s.ViewHScroll);
    std::vector<Rect> boxes;
    if (s.CaretTokenShown) boxes.push_back(Offset(s.CaretTokenRect, d.dx, d.dy));
    if (s.PairTokenShown) boxes.push_back(Offset(s.PairTokenRect, d.dx, d.dy));
    if (s.MembersShown)
        for (const MemberBox& m : s.Members) boxes.push_back(Offset(m.Box, d.dx, d.dy));
    EraseAreas(boxes, false);
}

void EditorView::EraseHighlight() { tintmark::ErasePairHighlight(*this, p_.Analysis.Pair); }

void EditorView::RebaseBoxes(PairState& s) {
    const ViewShift d = ShiftSince(s.ViewFirstLine, s.ViewHScroll);
    if (d.None()) return;
    for (Rect* r : {&s.CaretTokenComposed, &s.PairTokenComposed, &s.CaretTokenRect, &s.PairTokenRect})
        *r = Offset(*r, d.dx, d.dy);
    for (MemberBox& m : s.Members) {
        m.Composed = Offset(m.Composed, d.dx, d.dy);
        m.Box = Offset(m.Box, d.dx, d.dy);
    }
    s.ViewFirstLine = FirstVisibleLine();
    s.ViewHScroll = HorizontalScrollPos();
}

void EditorView::DrawPairHighlight(PairState& s) {
    DrawBoxes(s, s.CaretTokenShown, s.PairTokenShown || s.MembersShown);
}

// The further members of a block with middle words go with the partner.
void EditorView::DrawBoxes(PairState& s, bool caret, bool pair) {
    caret = caret && s.CaretTokenShown;
    const bool members = pair && s.MembersShown && !s.Members.empty();
    pair = pair && s.PairTokenShown;
    if (!caret && !pair && !members) return;
    RebaseBoxes(s);
    DrawingFrame& frame = Frame();
    const bool bracket = IsBracket(s.CaretTokenKind);
    const Appearance& a = p_.Look;
    auto before = [&](const Rect& r) { BeforeDraw(r); };
    auto after = [&](const Rect& r) { AfterDraw(r); };
    if (caret)
        DrawBox(p_, frame.dc(), s.CaretTokenComposed, s.CaretTokenRect, s.CaretTokenText, bracket,
                {a.OpenBracketBgColor, a.OpenBracketFrameColor, a.OpenBracketUnderLineColor,
                 a.OpenBracketFontColor, a.OpenBracketFontBold},
                before, after);
    const BoxStyle close{a.CloseBracketBgColor, a.CloseBracketFrameColor, a.CloseBracketUnderLineColor,
                         a.CloseBracketFontColor, a.CloseBracketFontBold};
    if (pair) DrawBox(p_, frame.dc(), s.PairTokenComposed, s.PairTokenRect, s.PairTokenText, bracket, close, before, after);
    if (members)
        for (MemberBox& m : s.Members) DrawBox(p_, frame.dc(), m.Composed, m.Box, m.Text, false, close, before, after);
}

bool EditorView::PairGroupHit(const PairState& s, const std::function<bool(const Rect&)>& hit) {
    if (s.PairTokenShown && hit(s.PairTokenRect)) return true;
    if (s.MembersShown)
        for (const MemberBox& m : s.Members)
            if (hit(m.Box)) return true;
    return false;
}

void EditorView::DrawLines(bool frame, bool column) {
    const CrossLineState& c = p_.Cross;
    frame = frame && c.HorizCrossShown;
    column = column && c.VertCrossShown;
    if (!frame && !column) return;
    DrawingFrame& f = Frame();
    HBRUSH brush = p_.Gdi.Brush(p_.Look.CrossLinesColor);
    if (frame) {
        // The frame's band: what lies inside its edges is kept too, which is no harm.
        BeforeDraw(c.HorizCrossRect);
        const RECT r = ToRect(c.HorizCrossRect);
        FrameRect(f.dc(), &r, brush);
        for (const Rect& e : EdgesOf(c.HorizCrossRect).edge) AfterDraw(e);
    }
    if (column) {
        BeforeDraw(c.VertCrossRect);
        const RECT r = ToRect(c.VertCrossRect);
        FrameRect(f.dc(), &r, brush);
        AfterDraw(c.VertCrossRect);
    }
}

void EditorView::RedrawMarksIn(const std::vector<Rect>& areas, bool boxes) {
    CrossLineState& c = p_.Cross;
    PairState& s = p_.Analysis.Pair;
    RebaseCrossLines(c);
    auto any = [&](auto&& hit) {
        for (const Rect& a : areas)
            if (hit(a)) return true;
        return false;
    };
    auto frameHit = [&](const Rect& r) {
        for (const Rect& e : EdgesOf(c.HorizCrossRect).edge)
            if (Intersects(e, r)) return true;
        return false;
    };
    const bool frame = c.HorizCrossShown && any(frameHit);
    const bool column = c.VertCrossShown && any([&](const Rect& a) { return Intersects(c.VertCrossRect, a); });
    DrawLines(frame, column);
    // The mismatch frames lie above the lines: those where pixels were put back or a line was
    // drawn again are drawn again (a frame drawn twice is the same frame).
    const std::vector<Rect> frames = MismatchFramesNow();
    bool framesDrawn = false;
    for (const Rect& f : frames)
        framesDrawn = framesDrawn || any([&](const Rect& a) { return Intersects(f, a); }) || (frame && frameHit(f)) ||
                      (column && Intersects(f, c.VertCrossRect));
    if (framesDrawn) DrawMismatchBoxes(p_, Frame().dc(), FirstVisibleLine(), HorizontalScrollPos());
    if (!boxes && !framesDrawn) return;
    // A box lies above the lines and frames: one that a redrawn line or frame crosses is drawn
    // again too.
    RebaseBoxes(s);
    auto boxHit = [&](const Rect& r) {
        if (framesDrawn)
            for (const Rect& f : frames)
                if (Intersects(r, f)) return true;
        if (!boxes) return false;
        return any([&](const Rect& a) { return Intersects(r, a); }) || (frame && frameHit(r)) ||
               (column && Intersects(r, c.VertCrossRect));
    };
    DrawBoxes(s, s.CaretTokenShown && boxHit(s.CaretTokenRect), PairGroupHit(s, boxHit));
}

void EditorView::RebaseCrossLines(CrossLineState& c) {
    const ViewShift d = ShiftSince(c.FirstLine, c.HScroll);
    if (d.None()) return;
    // A sideways scroll moved the column line and the frame's ends with the text; the column
    // line belongs where it was, the frame's ends at the client's edges.
    if (d.dx != 0) {
        if (c.VertCrossShown) Invalidate(Offset(c.VertCrossRect, d.dx, 0));
        if (c.HorizCrossShown) {
            const FrameEdges moved = EdgesOf(Offset(c.HorizCrossRect, d.dx, d.dy));
            Invalidate(moved.edge[2]);
            Invalidate(moved.edge[3]);
        }
    }
    c.HorizCrossRect = Offset(c.HorizCrossRect, 0, d.dy);
    c.FirstLine = FirstVisibleLine();
    c.HScroll = HorizontalScrollPos();
}

void EditorView::DrawCrossLines() {
    CrossLineState& c = p_.Cross;
    if (!c.HorizCrossShown && !c.VertCrossShown) return;
    RebaseCrossLines(c);
    DrawLines(true, true);
    // The boxes lie above the lines, whichever was drawn last: those the lines cross are drawn
    // again.
    std::vector<Rect> lines;
    if (c.HorizCrossShown) {
        const FrameEdges e = EdgesOf(c.HorizCrossRect);
        lines.assign(std::begin(e.edge), std::end(e.edge));
    }
    if (c.VertCrossShown) lines.push_back(c.VertCrossRect);
    // The mismatch frames lie above the lines and below the boxes.
    const std::vector<Rect> frames = MismatchFramesNow();
    DrawMismatchBoxes(p_, Frame().dc(), FirstVisibleLine(), HorizontalScrollPos());
    lines.insert(lines.end(), frames.begin(), frames.end());
    PairState& pair = p_.Analysis.Pair;
    RebaseBoxes(pair);
    auto crossed = [&](const Rect& r) {
        for (const Rect& l : lines)
            if (Intersects(l, r)) return true;
        return false;
    };
    DrawBoxes(pair, pair.CaretTokenShown && crossed(pair.CaretTokenRect), PairGroupHit(pair, crossed));
}

std::vector<Rect> EditorView::MismatchFramesNow() {
    std::vector<Rect> out;
    const MismatchMarks& m = p_.Mismatch;
    if (!m.Shown || p_.Look.MismatchColor == 0 || m.FirstLine != FirstVisibleLine() || m.HScroll != HorizontalScrollPos())
        return out;
    for (const MismatchBox& b : m.Boxes) out.push_back(b.Box);
    return out;
}

void EditorView::UpdateCrossLines() {
    const Appearance& a = p_.Look;
    if (!a.EnableHorizCrossLine && !a.EnableVertCrossLine) return;
    if (!doc_) return;
    TextDocument& doc = *doc_;
    const int32_t L = doc.SelStartLine();
    if (L > doc.LineCount() - 1) return;
    const int32_t C = doc.SelStartCol();
    const std::string s = doc.Line(L);
    const int32_t F = FirstVisibleLine();
    const int32_t V = VisibleLineCount();
    const size_t prefix = C < 0 ? 0 : std::min(static_cast<size_t>(C), s.size());
    const int32_t x = ExpandedTextWidth(std::string_view(s).substr(0, prefix));
    const Rect K = ClientRect(wnd_);
    CrossLineState& c = p_.Cross;
    c.Line = L;
    c.Col = C;
    // A line that moves is taken off the screen first, so that no old line stays behind;
    // what was drawn moved with the text if the view scrolled since.
    const ViewShift d = ShiftSince(c.FirstLine, c.HScroll);
    c.FirstLine = F;
    c.HScroll = HorizontalScrollPos();
    std::vector<Rect> gone;
    const bool visible = static_cast<int64_t>(F) <= L && static_cast<int64_t>(L) <= static_cast<int64_t>(F) + V;
    const Rect frame = HorizontalCrossRect(p_.TextOriginX, L - F, p_.LineHeight, K.right);
    if (a.EnableHorizCrossLine && c.HorizCrossShown) {
        if (!visible || frame != Offset(c.HorizCrossRect, 0, d.dy)) {
            c.HorizCrossShown = false;
            gone = FrameEdgesNow(c.HorizCrossRect, d);
        } else if (d.dx != 0) {
            const FrameEdges moved = EdgesOf(Offset(c.HorizCrossRect, d.dx, d.dy));
            gone.push_back(moved.edge[2]);
            gone.push_back(moved.edge[3]);
        }
    }
    const Rect column = VerticalCrossRect(p_.TextOriginX, x, K.top, K.bottom);
    if (a.EnableVertCrossLine && c.VertCrossShown && column != Offset(c.VertCrossRect, d.dx, 0)) {
        c.VertCrossShown = false;
        gone.push_back(Offset(c.VertCrossRect, d.dx, 0));
    }
    EraseAreas(gone, true);
    if (a.EnableHorizCrossLine && visible) {
        c.HorizCrossRect = frame;
        c.HorizCrossShown = true;
    }
    if (a.EnableVertCrossLine) {
        c.VertCrossRect = column;
        c.VertCrossShown = true;
    }
    DrawCrossLines();
}

void EditorView::EraseCrossLines() {
    CrossLineState& c = p_.Cross;
    const ViewShift d = ShiftSince(c.FirstLine, c.HScroll);
    std::vector<Rect> gone;
    if (c.HorizCrossShown) gone = FrameEdgesNow(c.HorizCrossRect, d);
    if (c.VertCrossShown) gone.push_back(Offset(c.VertCrossRect, d.dx, 0));
    c.HorizCrossShown = false;
    c.VertCrossShown = false;
    EraseAreas(gone, true);
}

bool EditorView::CrossLinesMissing(int32_t caretLine) {
    const Appearance& a = p_.Look;
    const CrossLineState& c = p_.Cross;
    if (a.EnableVertCrossLine && !c.VertCrossShown) return true;
    if (!a.EnableHorizCrossLine || c.HorizCrossShown) return false;
    const int32_t F = FirstVisibleLine();
    return caretLine >= F && int64_t{caretLine} <= int64_t{F} + VisibleLineCount();
}

void EditorView::RedoHighlightAfterHostPaint(bool always) {
    PairState& now = p_.Analysis.Pair;
    const PairState before = now;
    now.CaretTokenShown = false;
    now.PairTokenShown = false;
    Highlight(always);
    const ViewShift d = ShiftSince(before.ViewFirstLine, before.ViewHScroll);
    auto drawnAgain = [&](const Rect& r) {
        return (now.CaretTokenShown && now.CaretTokenRect == r) || (now.PairTokenShown && now.PairTokenRect == r);
    };
    std::vector<Rect> gone;
    for (const auto& [shown, rect] : {std::pair{before.CaretTokenShown, before.CaretTokenRect},
                                      std::pair{before.PairTokenShown, before.PairTokenRect}})
        if (shown && !drawnAgain(Offset(rect, d.dx, d.dy))) gone.push_back(Offset(rect, d.dx, d.dy));
    EraseAreas(gone, true);
}

void EditorView::Highlight(bool always) {
    if (!doc_) return;
    Analysis& an = p_.Analysis;
    const PairSettings settings = p_.PairingSettings();
    if (always)
        HighlightPairAlways(*doc_, *this, an.Keywords, an.KeyWordsMap, settings, an.Pair);
    else
        HighlightPair(*doc_, *this, an.Keywords, an.KeyWordsMap, settings, an.Pair);
}

}  // namespace tintmark
