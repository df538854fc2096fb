// The folded texts a window's folding produced, remembered until the window closes, so that a
// fold the editor's own undo or redo brings back after its text was let go is recognised:
// the document is then exactly such a text again.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "analysis/folding.h"

namespace tintmark {

// A whole document by its lines: a 64-bit hash and the length (characters plus one per line).
// Line ends do not count: the host's undo and redo give back the text as it was.
struct TextFingerprint {
    uint64_t hash = 0;
    uint64_t length = 0;
    bool operator==(const TextFingerprint& o) const { return hash == o.hash && length == o.length; }
};
TextFingerprint FingerprintOf(const Lines16& lines);

class FoldHistory {
public:
    // Texts kept per window: the last few folds (each holds its bodies, so not unbounded).
    static constexpr size_t kTexts = 8;

    // The document as a fold left it (or as an unfold found it), with the bodies folded in it.
    // The same text again joins its earlier entry (its bodies are the newer ones) and becomes
    // the newest; beyond kTexts the oldest is dropped.
    void Remember(const Lines16& document, FoldedBlockMap bodies);
    // The bodies folded in the document when it is exactly a remembered text; null otherwise.
    const FoldedBlockMap* Match(const Lines16& document) const;
    bool Empty() const { return entries_.empty(); }

private:
    struct Entry {
        TextFingerprint text;
        FoldedBlockMap bodies;
    };
    std::deque<Entry> entries_;  // oldest first
};

}  // namespace tintmark
