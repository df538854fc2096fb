// The pair navigation commands of the automation interface, on the active editor.
#pragma once

#include "analysis/navigation.h"

namespace tintmark {

class PluginState;

// Jumps to, or selects up to, the partner of the token at the caret (modes 1 to 3).
void NavigatePair(PluginState& p, NavigationMode mode);

}  // namespace tintmark
