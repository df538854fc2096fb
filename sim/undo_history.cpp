// Undo and redo steps of a document's text.
#include "undo_history.h"

namespace cfgsim {

void UndoHistory::Before(const TextBuffer& t, Change kind) {
    const bool continues = kind == Change::Typing && typing_ && !undo_.empty() && !t.HasSelection() &&
                           t.SelStart() == typedTo_;
    if (!continues) undo_.push_back(t);
    redo_.clear();
    typing_ = kind == Change::Typing;
}

void UndoHistory::After(const TextBuffer& t) { typedTo_ = t.SelStart(); }

bool UndoHistory::Undo(TextBuffer& t) {
    if (undo_.empty()) return false;
    redo_.push_back(t);
    t = std::move(undo_.back());
    undo_.pop_back();
    typing_ = false;
    return true;
}

bool UndoHistory::Redo(TextBuffer& t) {
    if (redo_.empty()) return false;
    undo_.push_back(t);
    t = std::move(redo_.back());
    redo_.pop_back();
    typing_ = false;
    return true;
}

}  // namespace cfgsim
