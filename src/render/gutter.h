// The gutter left of the editor's text: rebuilding its data and painting it.
#pragma once

#include <windows.h>

namespace tintmark {

struct EditorState;
struct TCfgWndData;

// Rebuilds the method map and the bookmarked rows of the visible lines from the last scan,
// then paints the gutter.
void RebuildGutter(EditorState& p, HWND editor, TCfgWndData& record);

// Paints the gutter from the data of the last rebuild; backgroundOnly paints only its
// background and separator.
void PaintGutter(EditorState& p, HWND editor, bool backgroundOnly);

}  // namespace tintmark
