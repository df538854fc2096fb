// The plugin's handling of the messages of a hooked editor window.
#pragma once

#include <windows.h>

namespace tintmark {

class PluginState;

// Handles one message of editor e: the host's own procedure runs first (for WM_PAINT and
// WM_LBUTTONUP inside the handling), and its result is returned.
LRESULT EditorMessage(PluginState& p, HWND e, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace tintmark
