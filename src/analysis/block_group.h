// Blocks with middle words: Если … ИначеЕсли … Иначе … КонецЕсли and Попытка … Исключение …
// КонецПопытки. A block's members are its opener, its middle words at its own depth and its
// closer; nested blocks keep their members, and a member never lies past a method boundary.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/pairing.h"
#include "analysis/plugin_types.h"

namespace tintmark {

// The opener and closer kinds of the block a kind belongs to when that block can have middle
// words (Если, Попытка); false for every other kind.
bool MiddleFamily(uint8_t kind, uint8_t& opener, uint8_t& closer);

// A method header, a method end or "далее": where a block of the language always ends.
bool IsMethodBoundary(uint8_t kind);

// The members of the block of entry index, in text order, index included; empty when the
// entry's kind has no middle words. The opener's closer is the one the pairing finds (its
// search does not stop at method boundaries), but middle words are taken only before one.
std::vector<int32_t> BlockMembers(const TKeyWordsMap& map, int32_t index);

// A forward search for the next member of a block, resumable over several scans like the
// pairing's: the first middle word at depth 0 (before any method boundary) or the closer.
struct MemberSearch {
    uint8_t Opener = 0;
    uint8_t Closer = 0;
    bool FromMiddle = false;  // a middle word's block never crosses a method boundary
    int32_t Depth = 0;
    bool PastBoundary = false;
};
PartnerSearch FindNextMember(const TKeyWordsMap& map, int32_t start, MemberSearch& search, int32_t& found);

}  // namespace tintmark
