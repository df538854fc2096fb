// Undo and redo in the editor: the document's text as it was, the view following its caret.
#include <climits>

#include "editor_state.h"
#include "editor_window.h"

namespace cfgsim {

void EditorUndo(Document* doc, bool redo) {
    if (!(redo ? doc->history.Redo(doc->text) : doc->history.Undo(doc->text))) return;
    HWND wnd = doc->editor;
    Editor* e = wnd && IsWindow(wnd) ? EditorOf(wnd) : nullptr;
    if (!e) return;
    UpdateScrollBars(wnd, e);
    if (e->firstLine > doc->text.LineCount() - 1) ScrollToLine(wnd, e, doc->text.LineCount() - 1);
    EnsureCaretVisible(wnd, e);
    InvalidateLines(wnd, e, 0, INT_MAX);
    PlaceCaret(wnd, e);
}

}  // namespace cfgsim
