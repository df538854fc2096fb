// Finding the text and the editor of a configurator window, and the activation handler
// that hooks them and attaches the plugin's records.
#pragma once

#include <windows.h>

#include "win/handles.h"
#include "host_h.h"

namespace tintmark {

class PluginState;

// The text document and the editor window of a configurator window. The editor is found
// from the window's structure for text and multi-page documents whether or not there is a
// text document (a multi-page document shows text only on its page 1).
struct LocatedEditor {
    ComPtr<ITextDoc> text;
    HWND editor = nullptr;
    LONG kind = 0;  // the document's kind
};
LocatedEditor LocateEditor(HWND cfgWindow, ICfgDoc* doc);

// The OnActivateWindow event: activation hooks and attaches, deactivation takes the overlay
// off and leaves a blank gutter.
void HandleActivateWindow(PluginState& p, ICfgWindow* window, bool active);

// The editor and text document of the host's active configurator window (both empty when
// there is none).
LocatedEditor FindActiveEditor(PluginState& p);

// Measures the client x of text column 0 once, from the caret of editor e where it stands;
// nothing moves. Does nothing while e does not own the caret.
void MeasureTextOrigin(PluginState& p, HWND e, ITextDoc* doc);

}  // namespace tintmark
