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

namespace {

// The text goes back to the last state of from; the present one is kept on to.
bool Step(std::vector<TextBuffer>& from, std::vector<TextBuffer>& to, TextBuffer& t) {
    if (from.empty()) return false;
    to.push_back(t);
    t = std::move(from.back());
    from.pop_back();
    return true;
}

}  // namespace

bool UndoHistory::Undo(TextBuffer& t) {
    typing_ = false;
    return Step(undo_, redo_, t);
}

bool UndoHistory::Redo(TextBuffer& t) {
    typing_ = false;
    return Step(redo_, undo_, t);
}

}  // namespace cfgsim
