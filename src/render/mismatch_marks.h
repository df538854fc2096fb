// Drawing the marks of block keywords and brackets without a partner: a frame in the
// mismatch colour around each such token in view and a bar in the gutter on its line. They
// lie above the cross lines and below the pair highlight.
#pragma once

#include <windows.h>

#include "analysis/document.h"
#include "analysis/pairing.h"

namespace tintmark {

struct EditorState;
class EditorView;

// After the host painted: works out the marks afresh when asked (recompute) or when the view
// moved since they were placed, has the editor repaint boxes that went, draws every box (a
// frame drawn again is the same frame; the host may have painted more than it was asked to
// before the paint) and puts the pair boxes back on top. Returns whether the gutter's marks
// changed. Without a mismatch colour it takes the marks away.
bool PaintMismatchMarks(EditorState& p, EditorView& view, TextDocument& doc, bool recompute);

// Takes the boxes off the screen (the editor repaints what they covered) and forgets them.
void EraseMismatchMarks(EditorState& p, HWND editor);

// Draws the shown boxes again on a device context of the editor (after the cross lines);
// boxes placed for another view (scrolled since) wait for the paint that places them anew.
void DrawMismatchBoxes(EditorState& p, HDC dc, int32_t firstLine, int32_t hscroll);

// The gutter marks of the mismatches in view on the gutter's device context.
void DrawMismatchGutterMarks(EditorState& p, HDC dc, int32_t firstLine, int32_t visibleLines);

}  // namespace tintmark
