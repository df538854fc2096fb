// The editor window: painting, caret, keyboard, mouse and scrolling over a Document.
#include "editor_window.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "options.h"

namespace cfgsim {

const wchar_t kEditorClass[] = L"CfgSimEditor";

namespace {

// Per-window state, kept in the window's user data.
struct Editor {
    Document* doc = nullptr;
    HFONT font = nullptr;
    int lineHeight = 16;
    int tabSize = 4;
    COLORREF back = RGB(255, 255, 255), text = RGB(0, 0, 0), keyword = RGB(0, 0, 255), oper = RGB(255, 0, 0);
    int firstLine = 0;   // the vertical scroll position: whole lines
    int hscroll = 0;     // pixels
    bool dragging = false;
};

Editor* Get(HWND wnd) { return reinterpret_cast<Editor*>(GetWindowLongPtrW(wnd, GWLP_USERDATA)); }

const wchar_t* const kKeywords[] = {
    L"процедура", L"конецпроцедуры", L"функция", L"конецфункции", L"если", L"тогда", L"иначеесли", L"иначе",
    L"конецесли", L"для", L"по", L"цикл", L"конеццикла", L"пока", L"попытка", L"исключение", L"конецпопытки",
    L"возврат", L"перем", L"экспорт", L"далее", L"знач", L"и", L"или", L"не", L"прервать", L"продолжить",
    L"каждого", L"из", L"новый"};

bool IsKeyword(const std::wstring& word) {
    std::wstring lower = word;
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    for (const wchar_t* k : kKeywords)
        if (lower == k) return true;
    return false;
}

bool IsWordChar(wchar_t c) { return c == L'_' || IsCharAlphaNumericW(c); }

std::wstring LineText(Editor* e, int line) {
    const std::u16string& s = e->doc->text.Line(line);
    return std::wstring(s.begin(), s.end());
}

int VisibleLines(HWND wnd, Editor* e) {
    RECT rc;
    GetClientRect(wnd, &rc);
    return std::max(1, static_cast<int>(rc.bottom / e->lineHeight));
}

// x (pixels from text column 0) of column col, tabs expanded.
int ColumnX(HDC dc, Editor* e, const std::wstring& s, int col) {
    int x = 0;
    SIZE blank;
    GetTextExtentPoint32W(dc, L" ", 1, &blank);
    const int tab = blank.cx * e->tabSize;
    for (int i = 0; i < col && i < static_cast<int>(s.size()); ++i) {
        if (s[static_cast<size_t>(i)] == L'\t') {
            x = (x / tab + 1) * tab;
        } else {
            SIZE sz;
            GetTextExtentPoint32W(dc, &s[static_cast<size_t>(i)], 1, &sz);
            x += sz.cx;
        }
    }
    if (col > static_cast<int>(s.size())) x += (col - static_cast<int>(s.size())) * blank.cx;
    return x;
}

// The column nearest to x (pixels from text column 0).
int ColumnAt(HDC dc, Editor* e, const std::wstring& s, int x) {
    for (int col = 0; col < static_cast<int>(s.size()); ++col) {
        const int a = ColumnX(dc, e, s, col), b = ColumnX(dc, e, s, col + 1);
        if (x < (a + b) / 2) return col;
    }
    return static_cast<int>(s.size());
}

class FontDc {
public:
    FontDc(HWND wnd, Editor* e) : wnd_(wnd), dc_(GetDC(wnd)), old_(SelectObject(dc_, e->font)) {}
    ~FontDc() {
        SelectObject(dc_, old_);
        ReleaseDC(wnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
    HGDIOBJ old_;
};

void UpdateScrollBars(HWND wnd, Editor* e) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = std::max(0, e->doc->text.LineCount() - 1);
    si.nPage = static_cast<UINT>(VisibleLines(wnd, e));
    si.nPos = e->firstLine;
    SetScrollInfo(wnd, SB_VERT, &si, TRUE);
    SCROLLINFO sh{sizeof sh, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 2000, 0, 0, 0};
    RECT rc;
    GetClientRect(wnd, &rc);
    sh.nPage = static_cast<UINT>(rc.right);
    sh.nPos = e->hscroll;
    SetScrollInfo(wnd, SB_HORZ, &sh, TRUE);
}

void PlaceCaret(HWND wnd, Editor* e) {
    if (GetFocus() != wnd) return;
    const TextPos p = e->doc->text.SelStart();
    FontDc dc(wnd, e);
    const int x = kEditorMargin + ColumnX(dc.get(), e, LineText(e, p.line), p.col) - e->hscroll;
    SetCaretPos(x, (p.line - e->firstLine) * e->lineHeight);
}

void ScrollTo(HWND wnd, Editor* e, int first) {
    first = std::max(0, std::min(first, std::max(0, e->doc->text.LineCount() - 1)));
    if (first == e->firstLine) return;
    e->firstLine = first;
    UpdateScrollBars(wnd, e);
    InvalidateRect(wnd, nullptr, TRUE);
    PlaceCaret(wnd, e);
}

void EnsureCaretVisible(HWND wnd, Editor* e) {
    const int line = e->doc->text.SelStart().line;
    const int visible = VisibleLines(wnd, e);
    if (line < e->firstLine)
        ScrollTo(wnd, e, line);
    else if (line >= e->firstLine + visible)
        ScrollTo(wnd, e, line - visible + 1);
}

// Moves the caret; with extend the selection's other end stays.
void MoveTo(HWND wnd, Editor* e, TextPos p, bool extend) {
    TextBuffer& t = e->doc->text;
    p = t.ClampPos(p);
    t.MoveCaret(p, extend ? t.SelEnd() : p);
    EnsureCaretVisible(wnd, e);
    InvalidateRect(wnd, nullptr, FALSE);
    PlaceCaret(wnd, e);
}

void Insert(HWND wnd, Editor* e, const std::u16string& text) {
    TextBuffer& t = e->doc->text;
    t.ReplaceRange(t.SelFirst(), t.SelLast(), text);
    UpdateScrollBars(wnd, e);
    EnsureCaretVisible(wnd, e);
    InvalidateRect(wnd, nullptr, TRUE);
    PlaceCaret(wnd, e);
}

void OnKey(HWND wnd, Editor* e, WPARAM key) {
    TextBuffer& t = e->doc->text;
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    TextPos p = t.SelStart();
    const int page = VisibleLines(wnd, e);
    switch (key) {
        case VK_LEFT:
            if (p.col > 0) --p.col;
            else if (p.line > 0) p = {p.line - 1, t.LineLength(p.line - 1)};
            break;
        case VK_RIGHT:
            if (p.col < t.LineLength(p.line)) ++p.col;
            else if (p.line < t.LineCount() - 1) p = {p.line + 1, 0};
            break;
        case VK_UP: --p.line; break;
        case VK_DOWN: ++p.line; break;
        case VK_PRIOR: p.line -= page; ScrollTo(wnd, e, e->firstLine - page); break;
        case VK_NEXT: p.line += page; ScrollTo(wnd, e, e->firstLine + page); break;
        case VK_HOME: p = ctrl ? TextPos{0, 0} : TextPos{p.line, 0}; break;
        case VK_END: p = ctrl ? TextPos{t.LineCount() - 1, t.LineLength(t.LineCount() - 1)} : TextPos{p.line, t.LineLength(p.line)}; break;
        case VK_DELETE: {
            if (!t.HasSelection()) {
                TextPos q = p.col < t.LineLength(p.line) ? TextPos{p.line, p.col + 1}
                                                         : TextPos{p.line + 1, 0};
                t.MoveCaret(p, t.ClampPos(q));
            }
            Insert(wnd, e, u"");
            return;
        }
        default: return;
    }
    MoveTo(wnd, e, p, shift);
}

void OnChar(HWND wnd, Editor* e, wchar_t c) {
    TextBuffer& t = e->doc->text;
    if (c == L'\b') {
        if (!t.HasSelection()) {
            const TextPos p = t.SelStart();
            if (p.col == 0 && p.line == 0) return;
            const TextPos q = p.col > 0 ? TextPos{p.line, p.col - 1} : TextPos{p.line - 1, t.LineLength(p.line - 1)};
            t.MoveCaret(p, q);
        }
        Insert(wnd, e, u"");
    } else if (c == L'\r') {
        Insert(wnd, e, u"\r\n");
    } else if (c == L'\t' || c >= 0x20) {
        Insert(wnd, e, std::u16string(1, static_cast<char16_t>(c)));
    }
}

TextPos PosAt(HWND wnd, Editor* e, int x, int y) {
    const int line = std::min(e->firstLine + std::max(0, y) / e->lineHeight, e->doc->text.LineCount() - 1);
    FontDc dc(wnd, e);
    return {line, ColumnAt(dc.get(), e, LineText(e, line), x - kEditorMargin + e->hscroll)};
}

void Paint(HWND wnd, Editor* e) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT rc;
    GetClientRect(wnd, &rc);
    HBRUSH back = CreateSolidBrush(e->back);
    FillRect(dc, &ps.rcPaint, back);
    DeleteObject(back);
    HGDIOBJ oldFont = SelectObject(dc, e->font);
    SetBkMode(dc, TRANSPARENT);
    const TextBuffer& t = e->doc->text;
    const TextPos selA = t.SelFirst(), selB = t.SelLast();
    const int visible = VisibleLines(wnd, e) + 1;
    for (int row = 0; row < visible; ++row) {
        const int line = e->firstLine + row;
        if (line >= t.LineCount()) break;
        const int top = row * e->lineHeight;
        RECT lineRect{0, top, rc.right, top + e->lineHeight};
        RECT dummy;
        if (!IntersectRect(&dummy, &lineRect, &ps.rcPaint)) continue;
        const std::wstring s = LineText(e, line);
        size_t i = 0;
        while (i < s.size()) {
            size_t j = i + 1;
            COLORREF colour = e->text;
            if (IsWordChar(s[i])) {
                while (j < s.size() && IsWordChar(s[j])) ++j;
                if (IsKeyword(s.substr(i, j - i))) colour = e->keyword;
            } else if (std::wcschr(L"()[];,=+-*/<>%", s[i])) {
                colour = e->oper;
            } else if (s[i] == L'/' ) {
                colour = e->text;
            }
            for (size_t k = i; k < j; ++k) {
                if (s[k] == L'\t') continue;
                const int x = kEditorMargin + ColumnX(dc, e, s, static_cast<int>(k)) - e->hscroll;
                const bool selected = TextPos{line, static_cast<int>(k)} < selB &&
                                      !(TextPos{line, static_cast<int>(k)} < selA);
                if (selected) {
                    SIZE sz;
                    GetTextExtentPoint32W(dc, &s[k], 1, &sz);
                    RECT sr{x, top, x + sz.cx, top + e->lineHeight};
                    FillRect(dc, &sr, GetSysColorBrush(COLOR_HIGHLIGHT));
                    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                } else {
                    SetTextColor(dc, colour);
                }
                if (x + 40 > 0) TextOutW(dc, x, top, &s[k], 1);
            }
            i = j;
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(wnd, &ps);
}

LRESULT CALLBACK EditorProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    Editor* e = Get(wnd);
    if (!e) return DefWindowProcW(wnd, msg, wp, lp);
    switch (msg) {
        case WM_PAINT: Paint(wnd, e); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SETFOCUS:
            CreateCaret(wnd, nullptr, 2, e->lineHeight);
            PlaceCaret(wnd, e);
            ShowCaret(wnd);
            return 0;
        case WM_KILLFOCUS: DestroyCaret(); return 0;
        case WM_SIZE: UpdateScrollBars(wnd, e); return 0;
        case WM_KEYDOWN: OnKey(wnd, e, wp); return 0;
        case WM_CHAR: OnChar(wnd, e, static_cast<wchar_t>(wp)); return 0;
        case WM_LBUTTONDOWN: {
            SetFocus(wnd);
            const TextPos p = PosAt(wnd, e, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
            MoveTo(wnd, e, p, (wp & MK_SHIFT) != 0);
            e->dragging = true;
            SetCapture(wnd);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (e->dragging && (wp & MK_LBUTTON))
                MoveTo(wnd, e, PosAt(wnd, e, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))), true);
            return 0;
        case WM_LBUTTONUP:
            e->dragging = false;
            ReleaseCapture();
            return 0;
        case WM_VSCROLL: {
            int first = e->firstLine;
            switch (LOWORD(wp)) {
                case SB_LINEUP: --first; break;
                case SB_LINEDOWN: ++first; break;
                case SB_PAGEUP: first -= VisibleLines(wnd, e); break;
                case SB_PAGEDOWN: first += VisibleLines(wnd, e); break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: first = HIWORD(wp); break;
                case SB_TOP: first = 0; break;
                case SB_BOTTOM: first = e->doc->text.LineCount(); break;
                default: break;
            }
            ScrollTo(wnd, e, first);
            return 0;
        }
        case WM_HSCROLL: {
            int pos = e->hscroll;
            switch (LOWORD(wp)) {
                case SB_LINELEFT: pos -= 8; break;
                case SB_LINERIGHT: pos += 8; break;
                case SB_PAGELEFT: pos -= 200; break;
                case SB_PAGERIGHT: pos += 200; break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: pos = HIWORD(wp); break;
                default: break;
            }
            e->hscroll = std::max(0, std::min(pos, 2000));
            UpdateScrollBars(wnd, e);
            InvalidateRect(wnd, nullptr, TRUE);
            PlaceCaret(wnd, e);
            return 0;
        }
        case WM_MOUSEWHEEL:
            ScrollTo(wnd, e, e->firstLine - 3 * GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA);
            return 0;
        case WM_NCDESTROY:
            DeleteObject(e->font);
            delete e;
            SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
            return DefWindowProcW(wnd, msg, wp, lp);
        default: return DefWindowProcW(wnd, msg, wp, lp);
    }
}

Editor* EditorOf(Document* doc) { return doc && doc->editor && IsWindow(doc->editor) ? Get(doc->editor) : nullptr; }

}  // namespace

void RegisterEditorClass() {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = EditorProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    wc.lpszClassName = kEditorClass;
    RegisterClassW(&wc);
}

HWND CreateEditor(HWND parent, Document* doc) {
    auto* e = new Editor;
    e->doc = doc;
    const EditorOptions o = ReadEditorOptions();
    e->font = CreateFontW(o.fontHeight, 0, 0, 0, o.bold ? FW_BOLD : FW_NORMAL, o.italic, 0, 0, DEFAULT_CHARSET, 0, 0,
                          0, FIXED_PITCH, o.fontName.c_str());
    e->tabSize = o.tabSize;
    e->back = o.background;
    e->keyword = o.keyword;
    e->oper = o.oper;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, e->font);
    SIZE sz;
    GetTextExtentPoint32W(dc, L" ", 1, &sz);
    e->lineHeight = std::max(1, static_cast<int>(sz.cy));
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    RECT rc;
    GetClientRect(parent, &rc);
    HWND wnd = CreateWindowExW(0, kEditorClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, rc.right,
                               rc.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(e));
    UpdateScrollBars(wnd, e);
    return wnd;
}

void EditorTextChanged(Document* doc) {
    if (Editor* e = EditorOf(doc)) {
        UpdateScrollBars(doc->editor, e);
        InvalidateRect(doc->editor, nullptr, TRUE);
        PlaceCaret(doc->editor, e);
    }
}

void EditorCaretMoved(Document* doc) {
    if (Editor* e = EditorOf(doc)) {
        EnsureCaretVisible(doc->editor, e);
        InvalidateRect(doc->editor, nullptr, FALSE);
        PlaceCaret(doc->editor, e);
    }
}

POINT EditorPointOf(HWND editor, int line, int col) {
    Editor* e = Get(editor);
    if (!e) return {0, 0};
    FontDc dc(editor, e);
    const int x = kEditorMargin + ColumnX(dc.get(), e, LineText(e, line), col) - e->hscroll;
    return {x + 1, (line - e->firstLine) * e->lineHeight + e->lineHeight / 2};
}

int EditorLineHeight(HWND editor) {
    Editor* e = Get(editor);
    return e ? e->lineHeight : 0;
}

}  // namespace cfgsim
