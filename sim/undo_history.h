// The editor's undo and redo: every change of a document's text is a step that holds the text
// as it was before; typing characters one after another on one line makes one step, as an
// editor groups it. Portable, so that its grouping is tested natively.
#pragma once

#include <vector>

#include "text_buffer.h"

namespace cfgsim {

class UndoHistory {
public:
    enum class Change { Typing, Other };
    // Called before t changes; a typed character that continues the typing of the last step
    // joins that step.
    void Before(const TextBuffer& t, Change kind);
    // Called after the change: where the next typed character would continue it.
    void After(const TextBuffer& t);
    // Puts the text back as it was before the last step (after the last undone one); false
    // when there is none.
    bool Undo(TextBuffer& t);
    bool Redo(TextBuffer& t);

private:
    std::vector<TextBuffer> undo_, redo_;
    bool typing_ = false;
    TextPos typedTo_;
};

}  // namespace cfgsim
