// The CheckBlocks command: every block keyword and bracket without a partner in the active
// module, one line each in the configurator's message window.
#pragma once

#include <cstdint>

namespace tintmark {

class PluginState;

// Checks the module of the active configurator window, writes one message line per mismatch
// and a summary line, and returns the number of mismatches (0 when there is no module).
int32_t CheckActiveModule(PluginState& p);

}  // namespace tintmark
