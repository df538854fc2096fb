// Lines whose selection state changed.
#include "selection_change.h"

#include <algorithm>

namespace cfgsim {

ColumnSpan SelectedSpan(TextPos a, TextPos b, int32_t line) {
    if (b < a) std::swap(a, b);
    if (line < a.line || line > b.line || a == b) return {};
    ColumnSpan span;
    span.from = line == a.line ? a.col : 0;
    span.to = line == b.line ? b.col : ColumnSpan::kToLineEnd;
    if (span.Empty()) return {};
    return span;
}

std::vector<LineRun> ChangedSelectionLines(TextPos a0, TextPos b0, TextPos a1, TextPos b1) {
    std::vector<LineRun> runs;
    if (a0 == b0 && a1 == b1) return runs;
    // Only lines touched by one of the two selections can differ.
    const int32_t first = std::min({a0.line, b0.line, a1.line, b1.line});
    const int32_t last = std::max({a0.line, b0.line, a1.line, b1.line});
    for (int32_t line = first; line <= last; ++line) {
        if (SelectedSpan(a0, b0, line) == SelectedSpan(a1, b1, line)) continue;
        if (!runs.empty() && runs.back().last == line - 1)
            runs.back().last = line;
        else
            runs.push_back({line, line});
    }
    return runs;
}

}  // namespace cfgsim
