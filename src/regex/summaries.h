// Summaries of a compiled program that let the search skip hopeless start positions.
#pragma once

#include <cstdint>

#include "regex/pattern.h"

namespace tintmark::regex {

// Fills StartCharSet, FirstLiteralChar, AnchoredAtStart and RequiredLiteral of a freshly
// compiled program; startsWithRepeat is the outermost level's flag.
void ComputeSummaries(TPattern& pattern, bool startsWithRepeat);

// Adds to set (32-byte bitmap) every character at which a match from node can begin
// (code 0 for the end of the subject). From the program's start a loop node is first met
// with its counter at 0, so its exit counts only when min is 0; from inside a loop body
// (midLoop) the counter may already have reached min, so the exit always counts.
// With a budget, gives up (returning false, set incomplete) after visiting that many nodes.
bool FirstCharacters(TPattern& pattern, const uint8_t* program, int32_t node, uint8_t* set,
                     bool midLoop = false, int32_t budget = -1);

}  // namespace tintmark::regex
