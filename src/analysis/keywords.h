// The keyword table of the language's block words and its look-up.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/plugin_types.h"

namespace tintmark {

// Direction and partners of a kind code, by the language's rules.
uint8_t KindDirection(uint8_t kind);
uint8_t KindPartner1(uint8_t kind);
uint8_t KindPartner2(uint8_t kind);

// Whether a kind is a middle word, and the opener and closer of the block it belongs to.
bool IsMiddleKind(uint8_t kind);

// Which words besides the twelve Russian block words the table knows. With both off the
// table is exactly the language's twelve words.
struct KeywordOptions {
    bool English = false;  // Procedure, EndIf, EndDo, ... with the kinds of their Russian twins
    bool Middle = false;   // ИначеЕсли, Иначе, Исключение (and ElsIf, Else, Except with English)
    bool operator==(const KeywordOptions& o) const { return English == o.English && Middle == o.Middle; }
    bool operator!=(const KeywordOptions& o) const { return !(*this == o); }
};

struct KeywordTable {
    TKeyWords KeyWords;       // sorted by the case-insensitive comparison
    int32_t KeyWordCount = 0;
    std::string KeyWordList;  // ",word,word,...," for a fast membership test
    KeywordOptions Options;
    // Bit n of Shapes[b] is set when a word of length n begins with the byte b: a quick
    // filter before the keyword-list test, so most identifiers fail without a string search.
    std::array<uint32_t, 256> Shapes{};
};

// Builds the table from the block words (Windows-1251, lower case) that the options name.
void BuildKeyWordTable(KeywordTable& table, KeywordOptions options = {});

// Index of the entry whose word equals word (case-insensitive), or -1.
int LookUpKeyWord(const KeywordTable& table, std::string_view word);

// Whether ",word," occurs in the keyword list (word already lower case).
bool InKeyWordList(const KeywordTable& table, std::string_view word);

// Whether a lowered word may be a keyword by its first byte and length.
inline bool MayBeKeyword(const KeywordTable& table, std::string_view w) {
    return !w.empty() && w.size() < 32 && (table.Shapes[static_cast<unsigned char>(w[0])] >> w.size() & 1u) != 0;
}

}  // namespace tintmark
