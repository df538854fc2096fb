// The simulated module editor: a text view with caret, keyboard, mouse, scroll bars,
// selection, bookmarks and syntax colours in the configurator's registry settings. It
// repaints as a text editor does: only what changed, scrolling by moving pixels.
#pragma once

#include <windows.h>

#include <map>

#include "simulator.h"

namespace cfgsim {

extern const wchar_t kEditorClass[];

void RegisterEditorClass();
HWND CreateEditor(HWND parent, Document* doc);

// Changes of a document made through the host objects or the script. Each works without an
// editor too, and repaints an editor as its own editing would.
// The caret and selection move; the caret is scrolled into view and the lines whose
// selection state changed are repainted.
void EditorMoveCaret(Document* doc, TextPos start, TextPos end);
// The range is replaced; from its first line down is repainted.
void EditorReplaceRange(Document* doc, TextPos from, TextPos to, const std::u16string& text);
// Undoes the document's last change (or redoes the last undone one) and repaints its editor.
void EditorUndo(Document* doc, bool redo);
// Inserts at the caret (replacing a selection) as pasting does: from its first line down is
// repainted.
void EditorInsert(Document* doc, const std::u16string& text);
// The line's bookmark is set or cleared and its band repainted.
void EditorSetBookmark(Document* doc, int line, bool on);
// A setting of every editor changed (the margin): all of them repaint.
void EditorsSettingsChanged();

struct EditorGeometry {
    int lineHeight = 0, margin = 0, firstLine = 0, clientWidth = 0, clientHeight = 0;
};
EditorGeometry GetEditorGeometry(HWND editor);
// The client point inside the character at (line, col), half a line below its top.
POINT EditorPointOf(HWND editor, int line, int col);

// What reached the editor's own procedure (below any subclassing) and what it painted.
struct EditorStats {
    std::map<UINT, int> messages;
    int paints = 0;         // WM_PAINTs that painted something
    int invalidations = 0;  // invalidations and scrolls the editor made itself
    RECT painted{};         // bounding box of everything painted (empty: nothing)
    long paintedArea = 0;   // pixels painted, each counted once
};
EditorStats GetEditorStats(HWND editor);
void ResetEditorMessages(HWND editor);
void ResetEditorPaints(HWND editor);

}  // namespace cfgsim
