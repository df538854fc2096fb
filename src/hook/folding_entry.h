// Folding and unfolding of one method by a click in the gutter on its header line.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tintmark {

class PluginState;
class HostTextDocument;
struct TCfgWndData;
struct MethodHeader;

// The header on line of editor e was clicked: unfolds the method when it is folded in this
// window, folds it otherwise.
void GutterFoldClick(PluginState& p, HWND e, TCfgWndData& record, HostTextDocument& doc, int32_t line,
                     const MethodHeader& header);

}  // namespace tintmark
