// Block keywords and brackets without a partner: an unclosed Если inside its method, a stray
// КонецЦикла, a ")" without its "(", a method header without its end, a middle word outside
// its block.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/document.h"
#include "analysis/keywords.h"
#include "analysis/plugin_types.h"

namespace tintmark {

// Indices of the entries of map that have no partner, in text order. Method headers and
// ends follow the pairing's rules (a header's search stops at the next header or "далее", an
// end's at the previous end or "далее"; a forward declaration needs no end). Blocks, middle
// words and brackets are matched within their method, each family on its own, as the
// pairing's depth counting does.
std::vector<int32_t> FindMismatches(const TKeyWordsMap& map);

struct BlockMismatch {
    int32_t Line = 0;
    int32_t StartCol = 0;
    int32_t EndCol = 0;  // inclusive
    uint8_t Kind = 0;
};

// The mismatches of the whole document.
std::vector<BlockMismatch> CheckDocumentBlocks(TextDocument& doc, const KeywordTable& table, TKeyWordsMap& map,
                                               std::string& buffer);

// The mismatches on lines first .. last: the scan reaches out to the method boundaries
// around them (in steps of 50 lines, doubling), so that a block is judged within its whole
// method.
std::vector<BlockMismatch> MismatchesInLines(TextDocument& doc, const KeywordTable& table, int32_t first,
                                             int32_t last, TKeyWordsMap& map, std::string& buffer);

// What a mismatched token lacks, in Windows-1251: "КонецЕсли", "Для или Пока", ")", ...;
// English spellings for an English word.
std::string MissingPartnerText(uint8_t kind, bool english);

// One message line (Windows-1251): "Строка 12: Если — нет КонецЕсли" (lines from 1, as the
// configurator numbers them); word is the token as written.
std::string MismatchMessage(const BlockMismatch& m, std::string_view word);
// The closing line: "Проверка блоков: несоответствий нет" or "…: несоответствий 3".
std::string MismatchSummary(size_t count);

}  // namespace tintmark
