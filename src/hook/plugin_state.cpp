// The message window's lines and the plugin the window procedures reach.
#include "hook/plugin_state.h"

#include "host/host.h"

namespace tintmark {

namespace {
constexpr size_t kMaxReportedFailures = 32;
PluginState* g_plugin = nullptr;
}  // namespace

PluginState* ActivePlugin() { return g_plugin; }
void SetActivePlugin(PluginState* p) { g_plugin = p; }

void PluginState::ReportFailure(const std::wstring& text) noexcept {
    try {
        if (!Configurator || reportedFailures_.count(text) || reportedFailures_.size() >= kMaxReportedFailures) return;
        reportedFailures_.insert(text);
        host::ShowMessageLine(Configurator.get(), L"Tintmark: " + text, 2);
    } catch (...) {
    }
}

bool PluginState::Message(const std::wstring& text) noexcept {
    try {
        if (!Configurator) return false;
        host::ShowMessageLine(Configurator.get(), text, 2);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace tintmark
