// Building the method map and testing header lines.
#include "analysis/method_map.h"

namespace tintmark {

void BuildMethMap(const TKeyWordsMap& entries, const FoldedNames* folded, bool lineStartOnly, TMethMap& map) {
    map.Reset();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const TKeyWordPos& e = entries[i];
        if (e.Kind == kProcedure || e.Kind == kFunction) {
            if (e.Forward) continue;
            if (lineStartOnly && !(e.WordIndex == 0 && e.NameOnSameLine)) continue;
            TMethToken& t = map.Append();
            t.Kind = e.Kind;
            t.Line = e.Line;
            if (lineStartOnly)
                t.Name = e.Name;
            else
                t.Name.clear();
            if (folded && folded->Contains(e.Name)) t.Kind = kFoldedHeader;
        } else if (e.Kind == kEndProcedure || e.Kind == kEndFunction) {
            TMethToken& t = map.Append();
            t.Kind = e.Kind;
            t.Line = e.Line;
            t.Name.clear();
        }
    }
}

bool MatchMethodHeader(regex::TPattern& headerExpr, const TKeyWordsMap& entries, std::string_view s, int32_t n,
                       MethodHeader& out, int32_t from) {
    if (!headerExpr.Exec(s)) return false;
    for (int32_t i = from < 0 ? 0 : from; i < entries.Count(); ++i) {
        const TKeyWordPos& e = entries[i];
        if (e.Line > n) break;
        if (e.Line != n) continue;
        if (e.Forward) return false;
        out.Name = e.Name;
        out.Column = e.StartCol;
        return true;
    }
    return false;
}

}  // namespace tintmark
