// The keyword table of the language's block words and its look-up.
#pragma once

#include <string>
#include <string_view>

#include "analysis/plugin_types.h"

namespace tintmark {

// Direction and partners of a kind code, by the language's rules.
uint8_t KindDirection(uint8_t kind);
uint8_t KindPartner1(uint8_t kind);
uint8_t KindPartner2(uint8_t kind);

struct KeywordTable {
    TKeyWords KeyWords;       // sorted by the case-insensitive comparison
    int32_t KeyWordCount = 0;
    std::string KeyWordList;  // ",word,word,...," for a fast membership test
};

// Builds the table from the twelve block words (Windows-1251, lower case).
void BuildKeyWordTable(KeywordTable& table);

// Index of the entry whose word equals word (case-insensitive), or -1.
int LookUpKeyWord(const KeywordTable& table, std::string_view word);

// Whether ",word," occurs in the keyword list (word already lower case).
bool InKeyWordList(const KeywordTable& table, std::string_view word);

}  // namespace tintmark
