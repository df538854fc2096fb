// The folding commands of the automation interface, on the active window.
#pragma once

namespace tintmark {

class TTintmarkPlugin;

// Folds every method of the active module that can be folded.
void CollapseAll(TTintmarkPlugin& p);
// Unfolds every folded method of the active module.
void ExpandAll(TTintmarkPlugin& p);
// Before the plugin stops: every window's folded text goes back into its module (under its
// header, or else at the module's end), so that no window is left holding text no guard keeps.
void PutBackAllFoldedText(TTintmarkPlugin& p) noexcept;

}  // namespace tintmark
