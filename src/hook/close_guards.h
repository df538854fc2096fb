// The guards that keep folded text from being lost with a window or the configurator.
#pragma once

#include <windows.h>

namespace tintmark {

class TTintmarkPlugin;

// WM_CLOSE of the configuration window: true (refused, the user told, the window with folded
// methods brought to the front) while any configurator window holds folded methods.
bool RefuseConfigurationClose(TTintmarkPlugin& p);
// WM_CLOSE of a configurator window: true (refused, the user told) while it holds folded
// methods.
bool RefuseWindowClose(TTintmarkPlugin& p, HWND cfgWindow);
// The configurator asks whether it may quit: true refuses.
bool RefuseQuit(TTintmarkPlugin& p);

}  // namespace tintmark
