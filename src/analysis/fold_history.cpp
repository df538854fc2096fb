// Fingerprints of folded documents and the per-window list of them.
#include "analysis/fold_history.h"

#include <algorithm>
#include <utility>

namespace tintmark {

TextFingerprint FingerprintOf(const Lines16& lines) {
    // FNV-1a over both bytes of every character, a line break (never inside a line) after each.
    uint64_t h = 14695981039346656037ull;
    auto add = [&h](char16_t c) {
        h = (h ^ static_cast<uint8_t>(c & 0xFF)) * 1099511628211ull;
        h = (h ^ static_cast<uint8_t>(c >> 8)) * 1099511628211ull;
    };
    uint64_t length = 0;
    for (const auto& line : lines) {
        for (char16_t c : line) add(c);
        add(u'\n');
        length += line.size() + 1;
    }
    return {h, length};
}

void FoldHistory::Remember(const Lines16& document, FoldedBlockMap bodies) {
    if (bodies.empty()) return;
    const TextFingerprint text = FingerprintOf(document);
    Entry entry{text, std::move(bodies)};
    auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.text == text; });
    if (same != entries_.end()) {
        for (auto& [name, kept] : same->bodies) entry.bodies.emplace(name, std::move(kept));
        entries_.erase(same);
    }
    entries_.push_back(std::move(entry));
    while (entries_.size() > kTexts) entries_.pop_front();
}

const FoldedBlockMap* FoldHistory::Match(const Lines16& document) const {
    if (entries_.empty()) return nullptr;
    const TextFingerprint text = FingerprintOf(document);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->text == text) return &it->bodies;
    return nullptr;
}

}  // namespace tintmark
