// The folding commands of the automation interface, on the active window.
#pragma once

namespace tintmark {

class TTintmarkPlugin;

// Folds every method of the active module that can be folded.
void CollapseAll(TTintmarkPlugin& p);
// Unfolds every folded method of the active module.
void ExpandAll(TTintmarkPlugin& p);

}  // namespace tintmark
