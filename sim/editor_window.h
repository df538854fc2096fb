// The simulated module editor: a text view with caret, keyboard, mouse, scroll bars,
// selection and syntax colours in the configurator's registry settings.
#pragma once

#include <windows.h>

#include "simulator.h"

namespace cfgsim {

extern const wchar_t kEditorClass[];
constexpr int kEditorMargin = 24;  // pixels left of text column 0

void RegisterEditorClass();
HWND CreateEditor(HWND parent, Document* doc);

// Called by the host objects after the text or the selection changed.
void EditorTextChanged(Document* doc);
void EditorCaretMoved(Document* doc);

// Editor geometry for the script: the client point of (line, col), and the line height.
POINT EditorPointOf(HWND editor, int line, int col);
int EditorLineHeight(HWND editor);

}  // namespace cfgsim
