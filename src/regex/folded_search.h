// Case-insensitive search for a literal in linear time, for the required-literal filter.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tintmark::regex {

// A literal in which each character stands for its whole case class. Searching is
// Knuth-Morris-Pratt over class numbers: at most two comparisons per subject character, so
// a long literal against a long subject stays linear.
class FoldedLiteral {
public:
    // classOf maps every character to a number shared by all characters of its case class.
    void Assign(const std::string& text, const std::array<uint8_t, 256>& classOf);
    void Clear();
    // Whether the literal occurs in the NUL-terminated text.
    bool OccursIn(const uint8_t* text) const;

private:
    std::array<uint8_t, 256> classOf_{};
    std::vector<uint8_t> key_;       // the literal's class numbers
    std::vector<int32_t> fallback_;  // longest proper border of each prefix of key_
};

// The case classes of an inverter table: characters connected by inverting one of them
// share a class. Every pair that a case-insensitive comparison accepts is in one class.
std::array<uint8_t, 256> CaseClasses(const std::array<unsigned char, 256>& inverter);

}  // namespace tintmark::regex
