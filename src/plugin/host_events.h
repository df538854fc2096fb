// The plugin's handlers of the configurator's and the other plugin's events.
#pragma once

namespace tintmark {

class TTintmarkPlugin;

// Connects the handlers to the plugin's event sinks.
void AttachEventHandlers(TTintmarkPlugin& p);

// The configuration window was created: hook it once, and try once to hear the other
// plugin's insertions.
void HandleConfigWindowCreate(TTintmarkPlugin& p);

}  // namespace tintmark
