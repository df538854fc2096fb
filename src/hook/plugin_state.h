// What the editor hooks and commands work from: the drawing state, the configurator, the method
// expressions, and the message window. The plugin object is one; the window procedures reach
// it through ActivePlugin.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "host_h.h"
#include "regex/pattern.h"
#include "render/editor_state.h"
#include "win/handles.h"

namespace tintmark {

class PluginState : public EditorState {
public:
    ComPtr<IConfigurator> Configurator;

    // ---- method recognition ----
    std::unique_ptr<regex::TPluginPattern> MethodHeaderExpr;
    std::unique_ptr<regex::TPluginPattern> MethodEndExpr;

    // Reports a failure of the plugin's handling in the configurator's message window, once
    // per distinct text; never throws.
    void ReportFailure(const std::wstring& text) noexcept;
    // A line in the configurator's message window (kind 2); never throws. Returns whether
    // the host took it.
    bool Message(const std::wstring& text) noexcept;

private:
    std::set<std::wstring> reportedFailures_;
};

// The plugin between its Init and Done (the host creates one), reached by the window
// procedures; null outside that time.
PluginState* ActivePlugin();
void SetActivePlugin(PluginState* p);

}  // namespace tintmark
