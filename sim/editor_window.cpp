// The editor window: its procedure, creation from the registry options, and the changes
// that the host objects and the script make to its document.
#include "editor_window.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "editor_state.h"
#include "options.h"

namespace cfgsim {

const wchar_t kEditorClass[] = L"CfgSimEditor";

namespace {

POINT At(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

LRESULT CALLBACK EditorProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    Editor* e = EditorOf(wnd);
    if (!e) return DefWindowProcW(wnd, msg, wp, lp);
    ++e->messages[msg];
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
        case WM_KEYDOWN: OnKeyDown(wnd, e, wp); return 0;
        case WM_CHAR: OnChar(wnd, e, static_cast<wchar_t>(wp)); return 0;
        case WM_LBUTTONDOWN: OnButtonDown(wnd, e, wp, At(lp)); return 0;
        case WM_MOUSEMOVE: OnMouseMove(wnd, e, wp, At(lp)); return 0;
        case WM_LBUTTONUP: OnButtonUp(wnd, e); return 0;
        case WM_CAPTURECHANGED: EndDrag(wnd, e); return 0;
        case WM_TIMER:
            if (wp == Editor::kAutoscrollTimer) OnAutoscrollTimer(wnd, e);
            return 0;
        case WM_VSCROLL: OnVScroll(wnd, e, wp); return 0;
        case WM_HSCROLL: OnHScroll(wnd, e, wp); return 0;
        case WM_MOUSEWHEEL: ScrollToLine(wnd, e, e->firstLine - 3 * GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA); return 0;
        case WM_NCDESTROY:
            DeleteObject(e->font);
            DeleteObject(e->painted);
            delete e;
            SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
            return DefWindowProcW(wnd, msg, wp, lp);
        default: return DefWindowProcW(wnd, msg, wp, lp);
    }
}

// The editor of a document, when it has one.
HWND EditorWindow(Document* doc) { return doc && doc->editor && IsWindow(doc->editor) && EditorOf(doc->editor) ? doc->editor : nullptr; }

// The font as the configurator's options give it (the same logical font a plugin creates
// from them, so that both measure alike), its line height and its character advances.
void SetFont(Editor* e, const EditorOptions& o) {
    LOGFONTW lf{};
    lf.lfHeight = o.fontHeight;
    lf.lfWeight = o.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = o.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, o.fontName.c_str(), LF_FACESIZE);
    e->font = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, e->font);
    SIZE blank{};
    GetTextExtentPoint32W(dc, L" ", 1, &blank);
    e->lineHeight = std::max(1, static_cast<int>(blank.cy));
    e->blankWidth = std::max(1, static_cast<int>(blank.cx));
    e->widths.assign(Editor::kWidthTable, 0);
    for (wchar_t c = 0; c < Editor::kWidthTable; ++c) {
        SIZE sz{};
        GetTextExtentPoint32W(dc, &c, 1, &sz);
        e->widths[c] = sz.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

}  // namespace

void RegisterEditorClass() {
    // No CS_DBLCLKS: two quick clicks at one place are two clicks, as the script means them.
    WNDCLASSW wc{};
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
    SetFont(e, o);
    e->tabSize = o.tabSize;
    e->back = o.background;
    e->keyword = o.keyword;
    e->oper = o.oper;
    e->bookmark = o.bookmark;
    e->painted = CreateRectRgn(0, 0, 0, 0);
    RECT rc;
    GetClientRect(parent, &rc);
    HWND wnd = CreateWindowExW(0, kEditorClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, rc.right,
                               rc.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(e));
    UpdateScrollBars(wnd, e);
    return wnd;
}

void EditorMoveCaret(Document* doc, TextPos start, TextPos end) {
    if (HWND wnd = EditorWindow(doc))
        Select(wnd, EditorOf(wnd), start, end);
    else
        doc->text.MoveCaret(start, end);
}

void EditorReplaceRange(Document* doc, TextPos from, TextPos to, const std::u16string& text) {
    TextBuffer& t = doc->text;
    from = t.ClampPos(from);
    to = t.ClampPos(to);
    if (to < from) std::swap(from, to);
    const TextPos a0 = t.SelStart(), b0 = t.SelEnd();
    doc->history.Before(t, UndoHistory::Change::Other);  // each host call one step
    t.ReplaceRange(from, to, text);
    doc->history.After(t);
    HWND wnd = EditorWindow(doc);
    if (!wnd) return;
    Editor* e = EditorOf(wnd);
    UpdateScrollBars(wnd, e);
    if (e->firstLine > t.LineCount() - 1) ScrollToLine(wnd, e, t.LineCount() - 1);
    InvalidateLines(wnd, e, from.line, INT_MAX);
    // The caret went to the end of the new text: a selection it had is gone.
    const TextPos a1 = t.SelStart();
    t.MoveCaret(a0, b0);
    Select(wnd, e, a1, a1);
}

void EditorInsert(Document* doc, const std::u16string& text) {
    if (HWND wnd = EditorWindow(doc)) {
        ReplaceSelection(wnd, EditorOf(wnd), text, false);
        return;
    }
    TextBuffer& t = doc->text;
    doc->history.Before(t, UndoHistory::Change::Other);
    if (!t.HasSelection()) t.PadTo(t.SelStart());
    t.ReplaceRange(t.ClampPos(t.SelFirst()), t.ClampPos(t.SelLast()), text);
    doc->history.After(t);
}

void EditorSetBookmark(Document* doc, int line, bool on) {
    doc->text.SetBookmark(line, on);
    if (HWND wnd = EditorWindow(doc)) InvalidateLines(wnd, EditorOf(wnd), line, line);
}

void EditorsSettingsChanged() {
    for (auto& d : Simulator::Get().documents)
        if (HWND wnd = EditorWindow(d.get())) {
            Editor* e = EditorOf(wnd);
            UpdateScrollBars(wnd, e);
            InvalidateRect(wnd, nullptr, FALSE);
            ++e->invalidations;
            PlaceCaret(wnd, e);
        }
}

EditorGeometry GetEditorGeometry(HWND editor) {
    EditorGeometry g;
    Editor* e = EditorOf(editor);
    if (!e) return g;
    g.lineHeight = e->lineHeight;
    g.margin = Margin();
    g.firstLine = e->firstLine;
    g.clientWidth = ClientWidth(editor);
    g.clientHeight = ClientHeight(editor);
    return g;
}

POINT EditorPointOf(HWND editor, int line, int col) {
    Editor* e = EditorOf(editor);
    if (!e) return {0, 0};
    FontDc dc(editor, e);
    const std::wstring s = LineText(e, line);
    const int x = Margin() + ColumnX(dc.get(), e, s, col) - e->hscroll;
    return {x + 1, (line - e->firstLine) * e->lineHeight + e->lineHeight / 2};
}

EditorStats GetEditorStats(HWND editor) {
    EditorStats s;
    Editor* e = EditorOf(editor);
    if (!e) return s;
    s.messages = e->messages;
    s.paints = e->paints;
    s.invalidations = e->invalidations;
    GetRgnBox(e->painted, &s.painted);
    const DWORD size = GetRegionData(e->painted, 0, nullptr);
    std::vector<char> data(size);
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    if (size && GetRegionData(e->painted, size, rgn)) {
        const RECT* r = reinterpret_cast<const RECT*>(rgn->Buffer);
        for (DWORD i = 0; i < rgn->rdh.nCount; ++i) s.paintedArea += (r[i].right - r[i].left) * (r[i].bottom - r[i].top);
    }
    return s;
}

void ResetEditorMessages(HWND editor) {
    if (Editor* e = EditorOf(editor)) e->messages.clear();
}

void ResetEditorPaints(HWND editor) {
    if (Editor* e = EditorOf(editor)) {
        e->paints = 0;
        e->invalidations = 0;
        SetRectRgn(e->painted, 0, 0, 0, 0);
    }
}

}  // namespace cfgsim
