// The window procedures the plugin installs: the configuration window's, a configurator
// window's and an editor's. Each reaches the plugin object while it is running and passes
// every message on unchanged when it is not.
#pragma once

#include <windows.h>

namespace tintmark {

LRESULT CALLBACK ConfigWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK CfgWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK EditorWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace tintmark
