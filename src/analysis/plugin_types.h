// Element types of the plugin's keyword table and growing scan tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tintmark {

// Kind codes of tokens, shared by scanning, pairing, folding and painting.
enum TokenKind : uint8_t {
    kProcedure = 1, kEndProcedure = 2, kFunction = 3, kEndFunction = 4,
    kIf = 5, kEndIf = 6, kFor = 7, kWhile = 8, kEndDo = 9,
    kTry = 10, kEndTry = 11, kForward = 12,
    // Middle words of a block (only in a table built with them): neutral like "далее".
    kElseIf = 13, kElse = 14, kExcept = 15,
    kOpenBracket = 16, kCloseBracket = 17,
    kFoldedHeader = 18,  // method map only: the header of a folded method
};

// Direction classes.
enum TokenDirection : uint8_t { kOpener = 0, kCloser = 1, kNeutral = 2 };

struct TKeyWord {
    uint8_t Kind = 0;
    uint8_t Direction = 0;
    uint8_t Partner1 = 0;
    uint8_t Partner2 = 0;
    std::string Word;  // lower case, Windows-1251
};

// One recognised token of the last scan.
struct TKeyWordPos {
    int32_t Line = 0;
    int32_t StartCol = 0;
    int32_t EndCol = 0;  // column of the last character; equals StartCol for a bracket
    uint8_t Kind = 0;
    uint8_t Direction = 0;
    uint8_t Partner1 = 0;
    uint8_t Partner2 = 0;
    std::string Name;  // method name for heading kinds, else empty
    bool Forward = false;
    int32_t WordIndex = 0;
    bool NameOnSameLine = false;
};

// One entry of the method map.
struct TMethToken {
    uint8_t Kind = 0;
    std::string Name;
    int32_t Line = 0;
};

// A scan table: an array whose length is its capacity, with a separate count.
// Capacity grows in steps of 128; a new scan resets the count and keeps the array,
// so steady-state scanning reuses the same storage.
template <typename T>
class GrowingTable {
public:
    static constexpr int32_t kStep = 128;

    // Sets the array's length (and so its capacity); counts above it are cut.
    void SetLength(int32_t length) {
        items_.resize(static_cast<size_t>(length));
        if (count_ > length) count_ = length;
    }
    void Reset() { count_ = 0; }

    // Slot for the next entry; the caller fills it.
    T& Append() {
        if (Capacity() < count_ + 1) SetLength(Capacity() + kStep);
        return items_[static_cast<size_t>(count_++)];
    }
    void Append(const T& value) { Append() = value; }

    int32_t Count() const { return count_; }
    int32_t Capacity() const { return static_cast<int32_t>(items_.size()); }
    T& operator[](int32_t i) { return items_[static_cast<size_t>(i)]; }
    const T& operator[](int32_t i) const { return items_[static_cast<size_t>(i)]; }

private:
    std::vector<T> items_;
    int32_t count_ = 0;
};

using TKeyWords = std::vector<TKeyWord>;
using TKeyWordsMap = GrowingTable<TKeyWordPos>;
using TMethMap = GrowingTable<TMethToken>;
using TIntArray = GrowingTable<int32_t>;

// Joins lines with CR LF between consecutive lines and none after the last.
// Lines are the host's own UTF-16 text, so a folded method comes back unchanged.
std::u16string JoinLines(const std::vector<std::u16string>& lines);
// The same with another line break between the lines (a document's own).
std::u16string JoinLines(const std::vector<std::u16string>& lines, std::u16string_view lineBreak);

}  // namespace tintmark
