// The WM_PAINT handling of a hooked editor window.
#pragma once

#include <windows.h>

#include <functional>

namespace tintmark {

struct EditorState;

// Paints the editor W: callHost runs the host's own editor procedure with the WM_PAINT
// message; its result is returned.
LRESULT PaintEditor(EditorState& p, HWND W, const std::function<LRESULT()>& callHost);

}  // namespace tintmark
