// The line scanner: block keywords and round brackets of a range of lines, in text order.
#pragma once

#include <string>
#include <string_view>

#include "analysis/document.h"
#include "analysis/keywords.h"
#include "analysis/plugin_types.h"

namespace tintmark {

// Rebuilds map from lines first .. first + count - 1 of doc (clamped to the document).
// buffer is scratch storage for the range text, kept by the caller between scans.
void ScanLines(TextDocument& doc, int32_t first, int32_t count, const KeywordTable& table, TKeyWordsMap& map,
               std::string& buffer);

// Scans Windows-1251 text whose first line is document line first; the words in it are
// lowered in place as they are read (the rest is left as it is).
void ScanText(char* text, size_t length, int32_t first, const KeywordTable& table, TKeyWordsMap& map);

// Whether a comment begins within the first c characters of line by the scanner's rule: a
// "//" outside string literals ("..." and a literal opened by "|").
bool InLineComment(std::string_view line, int32_t c);

}  // namespace tintmark
