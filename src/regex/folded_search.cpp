// Case-insensitive literal search (Knuth-Morris-Pratt over case classes).
#include "regex/folded_search.h"

namespace tintmark::regex {

std::array<uint8_t, 256> CaseClasses(const std::array<unsigned char, 256>& inverter) {
    // Union-find over the 256 characters; every class is named by its smallest member.
    std::array<uint8_t, 256> parent{};
    for (int c = 0; c < 256; ++c) parent[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
    auto root = [&](int c) {
        while (parent[static_cast<size_t>(c)] != c) c = parent[static_cast<size_t>(c)];
        return c;
    };
    for (int c = 0; c < 256; ++c) {
        const int a = root(c), b = root(inverter[static_cast<size_t>(c)]);
        if (a != b) parent[static_cast<size_t>(a < b ? b : a)] = static_cast<uint8_t>(a < b ? a : b);
    }
    std::array<uint8_t, 256> classOf{};
    for (int c = 0; c < 256; ++c) classOf[static_cast<size_t>(c)] = static_cast<uint8_t>(root(c));
    return classOf;
}

void FoldedLiteral::Assign(const std::string& text, const std::array<uint8_t, 256>& classOf) {
    classOf_ = classOf;
    key_.clear();
    for (char c : text) key_.push_back(classOf[static_cast<unsigned char>(c)]);
    fallback_.assign(key_.size(), 0);
    for (size_t i = 1, k = 0; i < key_.size(); ++i) {
        while (k > 0 && key_[i] != key_[k]) k = static_cast<size_t>(fallback_[k - 1]);
        if (key_[i] == key_[k]) ++k;
        fallback_[i] = static_cast<int32_t>(k);
    }
}

void FoldedLiteral::Clear() {
    key_.clear();
    fallback_.clear();
}

bool FoldedLiteral::OccursIn(const uint8_t* text) const {
    if (key_.empty()) return true;
    size_t k = 0;  // characters of the literal matched so far
    for (; *text; ++text) {
        const uint8_t c = classOf_[*text];
        while (k > 0 && c != key_[k]) k = static_cast<size_t>(fallback_[k - 1]);
        if (c == key_[k] && ++k == key_.size()) return true;
    }
    return false;
}

}  // namespace tintmark::regex
