// Which lines look different after the selection changed: the editor repaints only those.
// Portable, so that it is tested natively.
#pragma once

#include <cstdint>
#include <vector>

#include "text_buffer.h"

namespace cfgsim {

// The columns [from, to) of a line that a selection covers; to is kToLineEnd when the
// selection runs on past the line's end (into the next line).
struct ColumnSpan {
    static constexpr int32_t kToLineEnd = INT32_MAX;
    int32_t from = 0, to = 0;
    bool Empty() const { return from >= to; }
    bool operator==(const ColumnSpan& o) const { return (Empty() && o.Empty()) || (from == o.from && to == o.to); }
};

// The span of line covered by the selection between a and b (in either order).
ColumnSpan SelectedSpan(TextPos a, TextPos b, int32_t line);

// A run of lines, first and last included.
struct LineRun {
    int32_t first = 0, last = 0;
    bool operator==(const LineRun& o) const { return first == o.first && last == o.last; }
};

// The lines whose selected span differs between the selection a0..b0 and a1..b1, as runs
// in line order. A caret move without a selection on either side changes no line.
std::vector<LineRun> ChangedSelectionLines(TextPos a0, TextPos b0, TextPos a1, TextPos b1);

}  // namespace cfgsim
