// The guards that keep folded text from being lost with a window or the configurator.
#pragma once

#include <windows.h>

namespace tintmark {

class PluginState;

// WM_CLOSE of the configuration window: true (refused, the user told, the window with folded
// methods brought to the front) while any configurator window holds folded methods.
bool RefuseConfigurationClose(PluginState& p);
// WM_CLOSE of a configurator window: true (refused, the user told) while it holds folded
// methods.
bool RefuseWindowClose(PluginState& p, HWND cfgWindow);
// The same guards after the plugin has stopped (its text could not be put back): they rely on
// the records alone.
bool RefuseConfigurationCloseUnattended(HWND configWindow) noexcept;
bool RefuseWindowCloseUnattended(HWND cfgWindow) noexcept;
// The configurator asks whether it may quit: true refuses.
bool RefuseQuit(PluginState& p);

}  // namespace tintmark
