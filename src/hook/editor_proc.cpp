// The editor window procedure: the host edits, the plugin follows the caret, clicks and
// scrolling with its highlight, cross lines, gutter actions and Shift- and Ctrl-clicks.
#include "hook/editor_proc.h"

#include "analysis/method_map.h"
#include "analysis/scanner.h"
#include "host/host.h"
#include "host/host_document.h"
#include "host/records.h"
#include "hook/folding_commands.h"
#include "hook/folding_entry.h"
#include "hook/activation.h"
#include "hook/guarded.h"
#include "hook/subclass.h"
#include "render/editor_view.h"
#include "render/paint_editor.h"

namespace tintmark {

namespace {

constexpr LONG kCtrlClickCommand = 22503;

LRESULT CallHost(HWND e, UINT msg, WPARAM wp, LPARAM lp) { return CallSavedProc(e, HookKind::Editor, msg, wp, lp); }

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

int32_t CursorScreenY() {
    POINT pt{};
    GetCursorPos(&pt);
    return pt.y;
}

// The caret stays in the highlighted token: same line, and a column at which the token rule
// still gives this token: right after "(", right before ")", on a keyword or right after it.
// Only a token that is actually marked counts.
bool StaysInToken(const PluginState& p, int32_t line, int32_t col) {
    const PairState& s = p.Analysis.Pair;
    if (!s.CaretTokenShown || line != p.LastCaretLine) return false;
    if (s.CaretTokenKind == kOpenBracket) return int64_t{col} == int64_t{s.CaretTokenStartCol} + 1;
    if (s.CaretTokenKind == kCloseBracket) return col == s.CaretTokenStartCol;
    return s.CaretTokenStartCol <= col && int64_t{col} <= int64_t{s.CaretTokenEndCol} + 1;
}

// After a caret move by a key (byKey) or a click.
void Refresh(PluginState& p, EditorView& view, int32_t line, int32_t col, bool byKey) {
    const bool lineChanged = p.LastCaretLine != line;
    // With automatic highlighting off, what ShowPairBracket marked goes as in the plain mode.
    const bool always = p.Look.HighlightModeAlways && !p.Look.DisableAutoHighlight;
    if (always) {
        if (byKey && lineChanged) view.EraseCrossLines();
        view.Highlight(true);
    } else if (!StaysInToken(p, line, col)) {
        view.EraseHighlight();
        if (!byKey || lineChanged) view.EraseCrossLines();
        view.UpdateCrossLines();
        view.Highlight(false);
    }
    // The cross lines follow the caret also where the highlight stays or the pairing did not
    // place them, and come back where a selection took them off.
    const CrossLineState& c = p.Cross;
    // Only the column line depends on the caret's column.
    if ((p.Look.EnableHorizCrossLine || p.Look.EnableVertCrossLine) &&
        (c.Line != line || (p.Look.EnableVertCrossLine && c.Col != col) || view.CrossLinesMissing(line)))
        view.UpdateCrossLines();
}

// Keys that change the text, after the host handled them. The editor's undo or redo may give
// back a text this window's folding left, whose bodies were let go since: they are kept again
// at once. Typing marks the window, so that a folded text reached by typing (a body deleted on
// purpose) is not taken for one given back.
void NoteTextKey(PluginState& p, TCfgWndData* record, UINT msg, WPARAM key) {
    if (!record || record->FoldedTexts.Empty()) return;
    const bool ctrl = KeyHeld(VK_CONTROL);
    const bool undo = (msg == WM_KEYDOWN && ctrl && (key == 'Z' || key == 'Y')) || (msg == WM_SYSKEYDOWN && key == VK_BACK);
    if (undo) {
        record->TypedSinceFoldText = false;
        ReadoptUndoneFolds(p, *record);
        return;
    }
    const bool typed = (msg == WM_CHAR && (key >= 0x20 || key == '\b' || key == '\r' || key == '\t')) ||
                       (msg == WM_KEYDOWN && (key == VK_DELETE || (ctrl && (key == 'V' || key == 'X')) ||
                                              (KeyHeld(VK_SHIFT) && key == VK_INSERT)));
    if (typed) record->TypedSinceFoldText = true;
}

bool PaintPending(HWND e) { return GetUpdateRect(e, nullptr, FALSE) != FALSE; }

void OnKeyDown(PluginState& p, HWND e, WPARAM key) {
    const bool navigation = key >= VK_END && key <= VK_DOWN;
    const bool modifier = key >= VK_SHIFT && key <= VK_MENU;
    p.LastKeyWasEdit = !navigation && !modifier;
    TCfgWndData* record = CfgWndDataOfEditor(e);
    NoteTextKey(p, record, WM_KEYDOWN, key);
    if (!record || !record->Document) return;
    HostTextDocument doc(record->Document.get());
    const int32_t line = doc.SelStartLine(), col = doc.SelStartCol();
    // Other keys (Page Up and Page Down among them) leave the marks to the paint of what the
    // host changed; where a key moved only the caret and nothing will be painted (a page key
    // at either end of the text, a jump to a bookmark in view), the marks follow the caret as
    // after an arrow key.
    const bool moved = line != p.LastCaretLine || col != p.LastCaretCol;
    const bool refresh = navigation || (!modifier && moved && !PaintPending(e));
    if (refresh && !doc.HasSelection()) {
        EditorView view(p, e, &doc);
        Refresh(p, view, line, col, true);
    }
    if (!modifier) {
        p.LastCaretLine = line;
        p.LastCaretCol = col;
    }
}

void OnButtonDown(PluginState& p, HWND e, LPARAM lp) {
    TCfgWndData* record = CfgWndDataOfEditor(e);
    if (!record || !record->Document) return;
    HostTextDocument doc(record->Document.get());
    const int32_t x = LOWORD(lp);
    const int32_t line = doc.SelStartLine(), col = doc.SelStartCol();
    if (x < p.TextOriginX) {
        if (line > doc.LineCount() - 1) return;
        p.GutterPressY = CursorScreenY();
        HideCaret(e);
        p.GutterPressed = true;
        doc.MoveCaret(line, 0, line, 0);
        return;
    }
    if (KeyHeld(VK_CONTROL)) {
        host::RunCommand(p.Configurator.get(), kCtrlClickCommand);
        // The command ran where the click put the caret and may have moved it on: the marks
        // follow the caret wherever it now stands.
        doc.Forget();
        if (doc.HasSelection()) return;
        const int32_t now = doc.SelStartLine(), nowCol = doc.SelStartCol();
        EditorView view(p, e, &doc);
        Refresh(p, view, now, nowCol, false);
        p.LastCaretLine = now;
        p.LastCaretCol = nowCol;
        return;
    }
    EditorView view(p, e, &doc);
    bool selection = doc.HasSelection();
    const int32_t first = view.FirstVisibleLine();
    if (KeyHeld(VK_SHIFT) && !selection) {
        // The host only moved the caret: select from the remembered caret to the click, in
        // text order, and undo any scrolling the selection caused.
        if (p.LastCaretLine < line || (p.LastCaretLine == line && p.LastCaretCol < col))
            doc.MoveCaret(p.LastCaretLine, p.LastCaretCol, line, col);
        else
            doc.MoveCaret(line, col, p.LastCaretLine, p.LastCaretCol);
        SendMessageW(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, first), 0);
        selection = true;
    } else if (!selection) {
        Refresh(p, view, line, col, false);
    }
    if (!selection) {
        p.LastCaretLine = line;
        p.LastCaretCol = col;
    }
}

// The release of a press in the gutter: fold or unfold a method header, else toggle the
// line's bookmark. Returns false when it stopped early.
bool GutterRelease(PluginState& p, HWND e, TCfgWndData& record, HostTextDocument& doc) {
    const int32_t line = doc.SelStartLine();
    if (line > doc.LineCount() - 1) return false;
    if (CursorScreenY() != p.GutterPressY) return false;
    const std::string s = doc.Line(line);
    // The header test reads the scan entries of the line: scan the view afresh, since a
    // navigation command may have left another range in the list.
    EditorView view(p, e, &doc);
    ScanLines(doc, view.FirstVisibleLine(), view.VisibleLineCount() + 10, p.Analysis.Keywords,
              p.Analysis.KeyWordsMap, p.Analysis.ScanBuffer);
    MethodHeader header;
    if (p.MethodHeaderExpr && MatchMethodHeader(*p.MethodHeaderExpr, p.Analysis.KeyWordsMap, s, line, header)) {
        GutterFoldClick(p, e, record, doc, line, header);
    } else {
        ITextDoc* d = record.Document.get();
        host::SetBookmark(d, line, !host::GetBookmark(d, line));
    }
    doc.MoveCaret(line, 0, line, 0);
    return true;
}

// Ends a press in the gutter: the caret shows again, whatever happens next.
bool EndGutterPress(PluginState& p, HWND e) {
    if (!p.GutterPressed) return false;
    p.GutterPressed = false;
    ShowCaret(e);
    return true;
}

LRESULT OnButtonUp(PluginState& p, HWND e, WPARAM wp, LPARAM lp) {
    if (KeyHeld(VK_SHIFT) || KeyHeld(VK_CONTROL)) {
        // The Shift-selection and the Ctrl command of the press stand; the host does not
        // see this release.
        ReleaseCapture();
        EndGutterPress(p, e);
        return 0;
    }
    const LRESULT result = CallHost(e, WM_LBUTTONUP, wp, lp);
    // Only a release that ends a press in the gutter acts there (not one that ends a drag
    // which wandered into it).
    const bool pressedInGutter = EndGutterPress(p, e);
    Guarded(p, [&] {
        TCfgWndData* record = CfgWndDataOfEditor(e);
        if (!record || !record->Document) return;
        HostTextDocument doc(record->Document.get());
        const int32_t x = LOWORD(lp);
        const bool inGutter = pressedInGutter && x < p.TextOriginX;
        const bool acted = inGutter && GutterRelease(p, e, *record, doc);
        doc.Forget();
        if (inGutter && !doc.HasSelection()) {
            // The press put the caret at the start of the clicked line: the highlight and the
            // cross lines follow it, whatever the release did.
            EditorView view(p, e, &doc);
            Refresh(p, view, doc.SelStartLine(), doc.SelStartCol(), false);
        }
        if (inGutter && !acted) return;
        if (!doc.HasSelection()) {
            p.LastCaretLine = doc.SelStartLine();
            p.LastCaretCol = doc.SelStartCol();
        }
    });
    return result;
}

// The cross lines reach from edge to edge of the client area: after a resize they are placed
// for the new size (a shrinking window gets no paint that would do it).
void OnSize(PluginState& p, HWND e) {
    const CrossLineState& c = p.Cross;
    if (!c.HorizCrossShown && !c.VertCrossShown) return;
    TCfgWndData* record = CfgWndDataOfEditor(e);
    if (!record || !record->Document || record->CfgWindowHandle != p.ActiveCfgWindowHandle) return;
    if (CrossLinesFit(c, ClientRect(e))) return;
    HostTextDocument doc(record->Document.get());
    EditorView view(p, e, &doc);
    view.UpdateCrossLines();
}

LRESULT OnPaint(PluginState& p, HWND e, WPARAM wp, LPARAM lp) {
    bool hostDone = false;
    LRESULT result = 0;
    const auto host = [&] {
        hostDone = true;
        result = CallHost(e, WM_PAINT, wp, lp);
        return result;
    };
    Guarded(p, [&] { PaintEditor(p, e, host); });
    if (!hostDone) return host();
    return result;
}

}  // namespace

LRESULT EditorMessage(PluginState& p, HWND e, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: return OnPaint(p, e, wp, lp);
        case WM_LBUTTONUP: return OnButtonUp(p, e, wp, lp);
        default: break;
    }
    if (msg == WM_KEYDOWN && wp >= VK_PRIOR && wp <= VK_DOWN && GetFocus() == e) {
        // A key that moves the caret: the caret stays hidden while the host moves it and the
        // marks follow, so that it is taken off and put on the screen once.
        const bool hidden = HideCaret(e) != FALSE;
        if (hidden) p.CaretHiddenIn = e;
        const LRESULT result = CallHost(e, msg, wp, lp);
        Guarded(p, [&] { OnKeyDown(p, e, wp); });
        if (hidden) {
            p.CaretHiddenIn = nullptr;
            ShowCaret(e);
        }
        return result;
    }
    const LRESULT result = CallHost(e, msg, wp, lp);
    switch (msg) {
        case WM_KEYDOWN: Guarded(p, [&] { OnKeyDown(p, e, wp); }); break;
        case WM_SYSKEYDOWN:
        case WM_CHAR: Guarded(p, [&] { NoteTextKey(p, CfgWndDataOfEditor(e), msg, wp); }); break;
        case WM_HSCROLL: p.Analysis.Pair.HScrolled = true; break;
        case WM_LBUTTONDOWN: Guarded(p, [&] { OnButtonDown(p, e, lp); }); break;
        case WM_SIZE: Guarded(p, [&] { OnSize(p, e); }); break;
        case WM_SETFOCUS:
            // The text origin is measured from the editor's own caret, which it has from now:
            // an editor that had no caret at activation is measured here and drawn afresh.
            if (p.TextOriginX == 0)
                Guarded(p, [&] {
                    TCfgWndData* record = CfgWndDataOfEditor(e);
                    if (!record || !record->Document) return;
                    MeasureTextOrigin(p, e, record->Document.get());
                    if (p.TextOriginX != 0) InvalidateRect(e, nullptr, FALSE);
                });
            break;
        default: break;
    }
    return result;
}

}  // namespace tintmark
