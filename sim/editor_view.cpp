// The editor's view: geometry, scrolling by moving pixels, invalidation of what changed,
// the caret and the selection.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "editor_state.h"
#include "selection_change.h"

namespace cfgsim {

Editor* EditorOf(HWND wnd) { return reinterpret_cast<Editor*>(GetWindowLongPtrW(wnd, GWLP_USERDATA)); }

int Margin() { return Simulator::Get().editor.margin; }

int ClientWidth(HWND wnd) {
    RECT rc;
    GetClientRect(wnd, &rc);
    return rc.right;
}

int ClientHeight(HWND wnd) {
    RECT rc;
    GetClientRect(wnd, &rc);
    return rc.bottom;
}

int VisibleLines(HWND wnd, const Editor* e) { return std::max(1, ClientHeight(wnd) / e->lineHeight); }

std::wstring LineText(const Editor* e, int line) {
    const std::u16string& s = e->doc->text.Line(line);
    return std::wstring(s.begin(), s.end());
}

int CharWidth(HDC dc, const Editor* e, wchar_t c) {
    if (c < Editor::kWidthTable && !e->widths.empty()) return e->widths[c];
    SIZE sz{};
    GetTextExtentPoint32W(dc, &c, 1, &sz);
    return sz.cx;
}

int Advance(HDC dc, const Editor* e, int x, wchar_t c) {
    if (c != L'\t') return x + CharWidth(dc, e, c);
    const int tab = std::max(1, e->blankWidth * e->tabSize);
    return (x / tab + 1) * tab;
}

int ColumnX(HDC dc, const Editor* e, const std::wstring& s, int col) {
    const int n = std::min(col, static_cast<int>(s.size()));
    int x = 0;
    for (int i = 0; i < n; ++i) x = Advance(dc, e, x, s[static_cast<size_t>(i)]);
    return x + std::max(0, col - n) * e->blankWidth;
}

int ColumnAt(HDC dc, const Editor* e, const std::wstring& s, int x) {
    if (x <= 0) return 0;
    int left = 0;
    for (int col = 0; col < static_cast<int>(s.size()); ++col) {
        const int right = ColumnX(dc, e, s, col + 1);
        if (x < (left + right) / 2) return col;
        left = right;
    }
    const int blank = std::max(1, e->blankWidth);
    return static_cast<int>(s.size()) + (x - left + blank / 2) / blank;
}

FontDc::FontDc(HWND wnd, const Editor* e) : wnd_(wnd), dc_(GetDC(wnd)), old_(SelectObject(dc_, e->font)) {}

FontDc::~FontDc() {
    SelectObject(dc_, old_);
    ReleaseDC(wnd_, dc_);
}

void UpdateScrollBars(HWND wnd, Editor* e) {
    // The bars stay visible (disabled when there is nothing to scroll), so that the client
    // area keeps its size.
    // The range lets every first line the editor scrolls to (up to the last line at the
    // top) be the bar's position: the position is what tells the first visible line.
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    si.nPage = static_cast<UINT>(VisibleLines(wnd, e));
    si.nMax = std::max(0, e->doc->text.LineCount() - 1) + static_cast<int>(si.nPage) - 1;
    si.nPos = e->firstLine;
    SetScrollInfo(wnd, SB_VERT, &si, TRUE);
    SCROLLINFO sh{sizeof sh, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 2000, 0, 0, 0};
    sh.nPage = static_cast<UINT>(std::max(1, ClientWidth(wnd) - Margin()));
    sh.nPos = e->hscroll;
    SetScrollInfo(wnd, SB_HORZ, &sh, TRUE);
}

void PlaceCaret(HWND wnd, Editor* e) {
    if (GetFocus() != wnd) return;
    const TextPos p = e->doc->text.SelStart();
    FontDc dc(wnd, e);
    const int x = Margin() + ColumnX(dc.get(), e, LineText(e, p.line), p.col) - e->hscroll;
    SetCaretPos(x, (p.line - e->firstLine) * e->lineHeight);
}

namespace {
// Scrolls the pixels of area by (dx, dy) and invalidates what is uncovered. What was
// invalid before moves with the pixels (the system would also leave it invalid where it was).
void ScrollArea(HWND wnd, Editor* e, RECT area, int dx, int dy) {
    HRGN pending = CreateRectRgn(0, 0, 0, 0);
    const bool hadPending = GetUpdateRgn(wnd, pending, FALSE) > NULLREGION;
    if (hadPending) ValidateRgn(wnd, pending);
    if (std::abs(dy) >= area.bottom - area.top || std::abs(dx) >= area.right - area.left)
        InvalidateRect(wnd, &area, FALSE);
    else
        ScrollWindowEx(wnd, dx, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
    ++e->invalidations;
    if (hadPending) {
        HRGN inside = CreateRectRgnIndirect(&area);
        HRGN moved = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(moved, pending, inside, RGN_AND);
        OffsetRgn(moved, dx, dy);
        CombineRgn(pending, pending, inside, RGN_DIFF);
        CombineRgn(pending, pending, moved, RGN_OR);
        InvalidateRgn(wnd, pending, FALSE);
        DeleteObject(inside);
        DeleteObject(moved);
    }
    DeleteObject(pending);
}
}  // namespace

void ScrollToLine(HWND wnd, Editor* e, int first) {
    first = std::max(0, std::min(first, std::max(0, e->doc->text.LineCount() - 1)));
    if (first == e->firstLine) return;
    const int dy = (e->firstLine - first) * e->lineHeight;
    e->firstLine = first;
    UpdateScrollBars(wnd, e);
    ScrollArea(wnd, e, RECT{0, 0, ClientWidth(wnd), ClientHeight(wnd)}, 0, dy);
    PlaceCaret(wnd, e);
}

void ScrollToX(HWND wnd, Editor* e, int x) {
    x = std::max(0, std::min(x, 2000));
    if (x == e->hscroll) return;
    const int dx = e->hscroll - x;
    e->hscroll = x;
    UpdateScrollBars(wnd, e);
    ScrollArea(wnd, e, RECT{Margin(), 0, ClientWidth(wnd), ClientHeight(wnd)}, dx, 0);
    PlaceCaret(wnd, e);
}

void EnsureCaretVisible(HWND wnd, Editor* e) {
    const TextPos p = e->doc->text.SelStart();
    const int visible = VisibleLines(wnd, e);
    if (p.line < e->firstLine)
        ScrollToLine(wnd, e, p.line);
    else if (p.line >= e->firstLine + visible)
        ScrollToLine(wnd, e, p.line - visible + 1);
    // Horizontally by whole quarters of the text area.
    int x;
    {
        FontDc dc(wnd, e);
        x = ColumnX(dc.get(), e, LineText(e, p.line), p.col);
    }
    const int width = std::max(e->blankWidth * 4, ClientWidth(wnd) - Margin());
    if (x < e->hscroll)
        ScrollToX(wnd, e, std::max(0, x - width / 4));
    else if (x > e->hscroll + width - e->blankWidth)
        ScrollToX(wnd, e, x - width + width / 4);
}

void InvalidateLines(HWND wnd, Editor* e, int first, int last) {
    const int visible = VisibleLines(wnd, e) + 1;
    first = std::max(first, e->firstLine);
    const long long lastShown = static_cast<long long>(e->firstLine) + visible - 1;
    if (first > lastShown || last < first) return;
    const int top = (first - e->firstLine) * e->lineHeight;
    const int bottom = last >= lastShown ? ClientHeight(wnd) : (last - e->firstLine + 1) * e->lineHeight;
    RECT band{0, top, ClientWidth(wnd), bottom};
    InvalidateRect(wnd, &band, FALSE);
    ++e->invalidations;
}

void Select(HWND wnd, Editor* e, TextPos start, TextPos end, bool pastEnd) {
    TextBuffer& t = e->doc->text;
    const TextPos a0 = t.SelStart(), b0 = t.SelEnd();
    t.MoveCaret(start, end, pastEnd);
    EnsureCaretVisible(wnd, e);
    for (const LineRun& run : ChangedSelectionLines(a0, b0, t.SelStart(), t.SelEnd()))
        InvalidateLines(wnd, e, run.first, run.last);
    PlaceCaret(wnd, e);
}

void ReplaceSelection(HWND wnd, Editor* e, const std::u16string& text, bool typing) {
    TextBuffer& t = e->doc->text;
    const int linesBefore = t.LineCount();
    const bool typed = typing && text.size() == 1 && text != u"\r" && text != u"\n";
    e->doc->history.Before(t, typed ? UndoHistory::Change::Typing : UndoHistory::Change::Other);
    if (!t.HasSelection()) t.PadTo(t.SelStart());
    const TextPos from = t.ClampPos(t.SelFirst()), to = t.ClampPos(t.SelLast());
    const bool oneLine = typing && from.line == to.line && text.find_first_of(u"\r\n") == std::u16string::npos &&
                         t.LineCount() == linesBefore;
    t.ReplaceRange(from, to, text);
    e->doc->history.After(t);
    UpdateScrollBars(wnd, e);
    EnsureCaretVisible(wnd, e);
    InvalidateLines(wnd, e, from.line, oneLine ? from.line : INT_MAX);
    PlaceCaret(wnd, e);
}

}  // namespace cfgsim
