// The editor's keyboard, mouse and scroll bar messages. The caret may stand in virtual
// space: past the end of its line, and (when the setting allows) below the last line.
#include <algorithm>

#include "editor_state.h"
#include "editor_window.h"

namespace cfgsim {

namespace {
bool Down(int vk) { return GetKeyState(vk) < 0; }

// The text position under a client point.
TextPos PosAt(HWND wnd, Editor* e, POINT p) {
    const TextBuffer& t = e->doc->text;
    int line = e->firstLine + std::max(0, static_cast<int>(p.y)) / e->lineHeight;
    if (!Simulator::Get().editor.linesPastEnd) line = std::min(line, t.LineCount() - 1);
    FontDc dc(wnd, e);
    return {line, ColumnAt(dc.get(), e, LineText(e, line), p.x - Margin() + e->hscroll)};
}

bool PastEnd() { return Simulator::Get().editor.linesPastEnd; }

// Deletes the character after the caret, or joins the next line (padding first when the
// caret stands past the line end).
void DeleteForward(HWND wnd, Editor* e) {
    TextBuffer& t = e->doc->text;
    const TextPos p = t.SelStart();
    if (p.line >= t.LineCount()) return;
    if (p.col < t.LineLength(p.line)) {
        t.MoveCaret(p, {p.line, p.col + 1});
    } else {
        if (p.line + 1 >= t.LineCount()) return;
        t.PadTo(p);
        t.MoveCaret(p, {p.line + 1, 0});
    }
    ReplaceSelection(wnd, e, u"");
}

// Deletes the character before the caret or joins the previous line; in virtual space the
// caret only steps left.
void DeleteBackward(HWND wnd, Editor* e) {
    TextBuffer& t = e->doc->text;
    const TextPos p = t.SelStart();
    if (p.line >= t.LineCount() || p.col > t.LineLength(p.line)) {
        if (p.col > 0) Select(wnd, e, {p.line, p.col - 1}, {p.line, p.col - 1}, true);
        return;
    }
    if (p.col == 0 && p.line == 0) return;
    const TextPos q = p.col > 0 ? TextPos{p.line, p.col - 1} : TextPos{p.line - 1, t.LineLength(p.line - 1)};
    t.MoveCaret(p, q);
    ReplaceSelection(wnd, e, u"");
}
}  // namespace

void OnKeyDown(HWND wnd, Editor* e, WPARAM key) {
    TextBuffer& t = e->doc->text;
    const bool shift = Down(VK_SHIFT), ctrl = Down(VK_CONTROL);
    TextPos p = t.SelStart();
    const int page = VisibleLines(wnd, e);
    const int last = t.LineCount() - 1;
    switch (key) {
        case VK_LEFT:
            if (p.col > 0) --p.col;
            else if (p.line > 0) p = {p.line - 1, t.LineLength(p.line - 1)};
            break;
        case VK_RIGHT:
            if (p.col < t.LineLength(p.line)) ++p.col;
            else if (p.line < last) p = {p.line + 1, 0};
            break;
        case VK_UP: p.line = std::max(0, p.line - 1); break;                 // the column stays
        case VK_DOWN: p.line = std::min(std::max(last, p.line), p.line + 1); break;
        case VK_PRIOR:
            p.line = std::max(0, p.line - page);
            ScrollToLine(wnd, e, e->firstLine - page);
            break;
        case VK_NEXT:
            p.line = std::min(std::max(last, p.line), p.line + page);
            ScrollToLine(wnd, e, e->firstLine + page);
            break;
        case VK_HOME: p = ctrl ? TextPos{0, 0} : TextPos{p.line, 0}; break;
        case VK_END: p = ctrl ? TextPos{last, t.LineLength(last)} : TextPos{p.line, t.LineLength(p.line)}; break;
        case 'Z':
        case 'Y':
            // Ctrl+Z undoes the last step, Ctrl+Y redoes it.
            if (ctrl && !shift) EditorUndo(e->doc, key == 'Y');
            return;
        case VK_DELETE:
            if (t.HasSelection()) ReplaceSelection(wnd, e, u"");
            else DeleteForward(wnd, e);
            return;
        default: return;
    }
    Select(wnd, e, p, shift ? t.SelEnd() : p, true);
}

void OnChar(HWND wnd, Editor* e, wchar_t c) {
    if (c == L'\b') {
        if (e->doc->text.HasSelection()) ReplaceSelection(wnd, e, u"");
        else DeleteBackward(wnd, e);
    } else if (c == L'\r') {
        ReplaceSelection(wnd, e, u"\r\n");
    } else if (c == L'\t' || c >= 0x20) {
        ReplaceSelection(wnd, e, std::u16string(1, static_cast<char16_t>(c)));
    }
}

void OnButtonDown(HWND wnd, Editor* e, WPARAM flags, POINT p) {
    SetFocus(wnd);
    const TextBuffer& t = e->doc->text;
    const TextPos at = PosAt(wnd, e, p);
    // Shift extends a selection that exists; without one the click only moves the caret.
    // Ctrl makes no difference to the editor.
    if ((flags & MK_SHIFT) && t.HasSelection())
        Select(wnd, e, at, t.SelEnd(), PastEnd());
    else
        Select(wnd, e, at, at, PastEnd());
    e->dragging = true;
    e->pastX = e->pastY = 0;
    SetCapture(wnd);
    SetTimer(wnd, Editor::kAutoscrollTimer, Editor::kAutoscrollMs, nullptr);
}

// As a Win32 edit control: the pointer is confined to the text area for the selection, and
// where it lies past an edge is remembered for the autoscroll timer, which alone scrolls.
void OnMouseMove(HWND wnd, Editor* e, WPARAM flags, POINT p) {
    if (!e->dragging || !(flags & MK_LBUTTON)) return;
    const int bottom = VisibleLines(wnd, e) * e->lineHeight - 1, right = ClientWidth(wnd) - 1;
    const POINT confined{std::clamp(static_cast<int>(p.x), Margin(), std::max(Margin(), right)),
                         std::clamp(static_cast<int>(p.y), 0, std::max(0, bottom))};
    e->pastX = p.x < confined.x ? -1 : p.x > confined.x ? 1 : 0;
    e->pastY = p.y < confined.y ? -1 : p.y > confined.y ? 1 : 0;
    Select(wnd, e, PosAt(wnd, e, confined), e->doc->text.SelEnd(), PastEnd());
}

// One step of the autoscroll: the selection's moving end goes a line (or a character) on past
// the edge the pointer is beyond, and the view follows it by a line (or sideways).
void OnAutoscrollTimer(HWND wnd, Editor* e) {
    if (!e->dragging || (e->pastX == 0 && e->pastY == 0)) return;
    const TextBuffer& t = e->doc->text;
    TextPos p = t.SelStart();
    if (e->pastY > 0) p.line = std::min(p.line + 1, std::max(0, t.LineCount() - 1));
    if (e->pastY < 0) p.line = std::max(0, p.line - 1);
    if (e->pastX > 0) p.col += 1;
    if (e->pastX < 0) p.col = std::max(0, p.col - 1);
    Select(wnd, e, p, t.SelEnd(), PastEnd());
}

void EndDrag(HWND wnd, Editor* e) {
    e->dragging = false;
    e->pastX = e->pastY = 0;
    KillTimer(wnd, Editor::kAutoscrollTimer);
}

void OnButtonUp(HWND wnd, Editor* e) {
    EndDrag(wnd, e);
    ReleaseCapture();
}

void OnVScroll(HWND wnd, Editor* e, WPARAM request) {
    int first = e->firstLine;
    switch (LOWORD(request)) {
        case SB_LINEUP: --first; break;
        case SB_LINEDOWN: ++first; break;
        case SB_PAGEUP: first -= VisibleLines(wnd, e); break;
        case SB_PAGEDOWN: first += VisibleLines(wnd, e); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: first = HIWORD(request); break;
        case SB_TOP: first = 0; break;
        case SB_BOTTOM: first = e->doc->text.LineCount(); break;
        default: break;
    }
    ScrollToLine(wnd, e, first);
}

void OnHScroll(HWND wnd, Editor* e, WPARAM request) {
    int x = e->hscroll;
    switch (LOWORD(request)) {
        case SB_LINELEFT: x -= e->blankWidth; break;
        case SB_LINERIGHT: x += e->blankWidth; break;
        case SB_PAGELEFT: x -= ClientWidth(wnd) - Margin(); break;
        case SB_PAGERIGHT: x += ClientWidth(wnd) - Margin(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: x = HIWORD(request); break;
        default: break;
    }
    ScrollToX(wnd, e, x);
}

}  // namespace cfgsim
