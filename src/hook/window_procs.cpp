// Entry points of the installed window procedures: the plugin's handling inside a boundary
// that nothing escapes, the host's own procedure always run.
#include "hook/window_procs.h"

#include "hook/plugin_state.h"
#include "hook/close_guards.h"
#include "hook/editor_proc.h"
#include "hook/guarded.h"
#include "hook/subclass.h"

namespace tintmark {

LRESULT CALLBACK ConfigWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    PluginState* p = ActivePlugin();
    if (p && msg == WM_CLOSE) {
        bool refused = false;
        Guarded(*p, [&] { refused = RefuseConfigurationClose(*p); });
        if (refused) return 1;
    } else if (msg == WM_CLOSE && RefuseConfigurationCloseUnattended(wnd)) {
        return 1;
    }
    return CallSavedProc(wnd, HookKind::ConfigWindow, msg, wp, lp);
}

LRESULT CALLBACK CfgWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    PluginState* p = ActivePlugin();
    if (p && msg == WM_CLOSE) {
        bool refused = false;
        Guarded(*p, [&] { refused = RefuseWindowClose(*p, wnd); });
        if (refused) return 1;
    } else if (msg == WM_CLOSE && RefuseWindowCloseUnattended(wnd)) {
        return 1;
    }
    return CallSavedProc(wnd, HookKind::CfgWindow, msg, wp, lp);
}

LRESULT CALLBACK EditorWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    PluginState* p = ActivePlugin();
    if (!p) return CallSavedProc(wnd, HookKind::Editor, msg, wp, lp);
    return EditorMessage(*p, wnd, msg, wp, lp);
}

}  // namespace tintmark
