// The folding commands of the automation interface, on the active window.
#pragma once

namespace tintmark {

class PluginState;
struct TCfgWndData;

// Folds every method of the active module that can be folded.
void CollapseAll(PluginState& p);
// Unfolds every folded method of the active module.
void ExpandAll(PluginState& p);
// Before the plugin stops: every window's folded text goes back into its module (under its
// header, or else at the module's end), so that no window is left holding text no guard keeps.
void PutBackAllFoldedText(PluginState& p) noexcept;
// Before a guard decision: a window that holds no folded methods but remembers texts its folds
// left has its document read; when it is exactly one of them (the editor's undo or redo folded
// it again), the bodies folded in it are kept again and the window is guarded. Nothing is asked
// of the host for any other window.
void ReadoptUndoneFolds(PluginState& p, TCfgWndData& record) noexcept;

}  // namespace tintmark
