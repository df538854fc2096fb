// The active editor's marks drawn again when an appearance setting changes.
#pragma once

namespace tintmark {

class PluginState;

// Takes the highlight and the cross lines of the active editor off and places them afresh
// with the current settings, and repaints its gutter. Does nothing before an editor is served.
void RedrawMarksForSettings(PluginState& p);

}  // namespace tintmark
