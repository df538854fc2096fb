// The method map (headers and ends of procedures and functions) and the header test.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/plugin_types.h"
#include "regex/pattern.h"

namespace tintmark {

// Whether a method name is folded (the configurator window's folded list).
class FoldedNames {
public:
    virtual ~FoldedNames() = default;
    virtual bool Contains(const std::string& name) const = 0;
};

// Rebuilds map from the scan entries: headers (not forward declarations; with lineStartOnly
// only those that are the first word of their line and carry their name there, with the
// name) and ends. A header whose name is folded gets kind 18.
void BuildMethMap(const TKeyWordsMap& entries, const FoldedNames* folded, bool lineStartOnly, TMethMap& map);

struct MethodHeader {
    std::string Name;
    int32_t Column = 0;
};

// Whether line n (text s) is a procedure or function header by the header expression and
// the scan entries that cover it. The entries are in line order; from is an index at or
// before line n's first entry (a caller walking the lines passes its position).
bool MatchMethodHeader(regex::TPattern& headerExpr, const TKeyWordsMap& entries, std::string_view s, int32_t n,
                       MethodHeader& out, int32_t from = 0);

}  // namespace tintmark
