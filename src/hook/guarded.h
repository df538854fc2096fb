// The boundary around the plugin's handling of a window message or a host event: a failure
// ends that handling only, is reported once in the configurator's message window, and the
// next message starts afresh.
#pragma once

#include <new>

#include "win/com_error.h"
#include "hook/plugin_state.h"

namespace tintmark {

template <typename F>
bool Guarded(PluginState& p, F&& body) noexcept {
    try {
        body();
        return true;
    } catch (const ComError& e) {
        p.ReportFailure(e.message());
    } catch (const std::bad_alloc&) {
        p.ReportFailure(L"out of memory");
    } catch (...) {
        p.ReportFailure(L"unexpected error");
    }
    return false;
}

}  // namespace tintmark
