// Window procedures installed on the host's windows, with the previous procedure kept per
// window. The procedures are static functions of this module: nothing is generated at run
// time, and a window that keeps one of them after the plugin has gone still works.
#pragma once

#include <windows.h>

namespace tintmark {

enum class HookKind { ConfigWindow, CfgWindow, Editor };

// Installs the kind's procedure on wnd unless wnd's current procedure is it already
// ("already hooked"). Returns whether it was installed now.
bool HookWindow(HWND wnd, HookKind kind);
bool IsHooked(HWND wnd, HookKind kind);

// Calls the procedure that wnd had before ours (DefWindowProc when none is known).
LRESULT CallSavedProc(HWND wnd, HookKind kind, UINT msg, WPARAM wp, LPARAM lp);

// Puts the saved procedure back on every window whose current procedure is still ours. Where
// another procedure sits on top of ours, ours stays and passes every message on; the module
// then stays loaded until that window is gone. Returns how many stay.
int UnhookAll();

// Number of windows that carry one of our procedures.
int HookedWindowCount();

}  // namespace tintmark
