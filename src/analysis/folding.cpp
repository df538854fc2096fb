// Folding and unfolding plans over the lines of a module.
#include "analysis/folding.h"

#include <algorithm>
#include <set>

namespace tintmark {

Lines16 SplitLines(std::u16string_view text) {
    Lines16 out;
    size_t start = 0;
    while (true) {
        const size_t brk = text.find_first_of(u"\r\n", start);
        if (brk == std::u16string_view::npos) break;
        out.emplace_back(text.substr(start, brk - start));
        start = brk + (text[brk] == u'\r' && brk + 1 < text.size() && text[brk + 1] == u'\n' ? 2 : 1);
    }
    if (start < text.size() || out.empty()) out.emplace_back(text.substr(start));
    return out;
}

std::u16string_view LineBreakOf(std::u16string_view text) {
    const size_t brk = text.find_first_of(u"\r\n");
    if (brk == std::u16string_view::npos) return u"\r\n";
    if (text[brk] == u'\n') return u"\n";
    return brk + 1 < text.size() && text[brk + 1] == u'\n' ? u"\r\n" : u"\r";
}

std::string ScanTextOf(const Lines16& lines) {
    std::string out;
    size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    out.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += Encode1251(lines[i]);
    }
    return out;
}

CollapsePlan PlanCollapseAll(const Lines16& lines, const TKeyWordsMap& entries, regex::TPattern& headerExpr,
                             regex::TPattern& endExpr, const std::function<bool(const std::string&)>& isFolded) {
    struct Folded final : FoldedNames {
        const std::function<bool(const std::string&)>& f;
        explicit Folded(const std::function<bool(const std::string&)>& fn) : f(fn) {}
        bool Contains(const std::string& name) const override { return f(name); }
    } folded(isFolded);
    TMethMap map;
    BuildMethMap(entries, &folded, true, map);
    // Headers as unfolding will find them: a method is folded only where it can be unfolded.
    const auto headers = HeaderLines(headerExpr, entries, lines, [](const std::string&) { return true; });
    auto unfoldable = [&](const std::string& name, int32_t line) {
        bool found = false;
        for (auto [it, last] = headers.equal_range(name); it != last; ++it) {
            if (it->second == line)
                found = true;
            else if (InFoldedForm(lines, it->second, endExpr))
                return false;  // two headers in folded form afterwards: ambiguous
        }
        return found;
    };

    // One pass: the document is copied up to each header, the header kept, the body moved
    // into the kept list, and the copying goes on from the end line.
    CollapsePlan plan;
    plan.document.reserve(lines.size());
    std::set<std::string, NameLessCi> taken;
    const int32_t total = static_cast<int32_t>(lines.size());
    int32_t next = 0;  // the first line not yet copied
    for (int32_t i = 0; i + 1 < map.Count(); ++i) {
        const TMethToken& head = map[i];
        if (head.Kind != kProcedure && head.Kind != kFunction) continue;
        if (map[i + 1].Kind != head.Kind + 1) continue;
        if (taken.count(head.Name)) continue;  // a second method of that name stays as it is
        const int32_t start = head.Line, end = map[i + 1].Line;
        if (start >= end || start < next || end >= total) continue;
        // The end keyword must begin its line: after a statement, the header would not read as
        // folded afterwards.
        if (!endExpr.Exec(Encode1251(lines[static_cast<size_t>(end)]))) continue;
        if (!unfoldable(head.Name, start)) continue;
        plan.document.insert(plan.document.end(), lines.begin() + next, lines.begin() + start + 1);
        plan.folded.push_back(FoldedMethod{head.Name, Lines16(lines.begin() + start, lines.begin() + end + 1)});
        plan.removed += end - start - 1;
        taken.insert(head.Name);
        next = end;
    }
    plan.document.insert(plan.document.end(), lines.begin() + next, lines.end());
    return plan;
}

std::multimap<std::string, int32_t> HeaderLines(regex::TPattern& headerExpr, const TKeyWordsMap& entries,
                                                const Lines16& lines,
                                                const std::function<bool(const std::string&)>& wanted) {
    std::multimap<std::string, int32_t> out;
    // The entries are in line order: the first entry of each line is found by walking once.
    int32_t i = 0;
    const int32_t n = entries.Count();
    while (i < n) {
        const TKeyWordPos& e = entries[i];
        const int32_t line = e.Line;
        if (!e.Forward && !e.Name.empty() && line >= 0 && line < static_cast<int32_t>(lines.size()) && wanted(e.Name)) {
            MethodHeader header;
            const std::string s = Encode1251(lines[static_cast<size_t>(line)]);
            if (MatchMethodHeader(headerExpr, entries, s, line, header, i) && !header.Name.empty())
                out.emplace(header.Name, line);
        }
        while (i < n && entries[i].Line == line) ++i;
    }
    return out;
}

int32_t RestoreLine(const std::vector<int32_t>& headers, const std::function<bool(int32_t)>& inFoldedForm,
                    int32_t preferred) {
    std::vector<int32_t> candidates = headers;
    if (candidates.size() > 1) {
        candidates.clear();
        for (int32_t h : headers)
            if (inFoldedForm(h)) candidates.push_back(h);
    }
    if (candidates.size() != 1) return -1;
    if (preferred >= 0 && preferred != candidates.front()) return -1;
    return candidates.front();
}

bool BodyFollows(const Lines16& lines, int32_t header, const Lines16& kept) {
    if (kept.size() <= 2) return false;
    const size_t body = kept.size() - 2;
    const size_t from = static_cast<size_t>(header) + 1;
    if (header < 0 || from + body > lines.size()) return false;
    return std::equal(kept.begin() + 1, kept.end() - 1, lines.begin() + static_cast<std::ptrdiff_t>(from));
}

bool InFoldedForm(const Lines16& lines, int32_t header, regex::TPattern& endExpr) {
    return header >= 0 && header + 1 < static_cast<int32_t>(lines.size()) &&
           endExpr.Exec(Encode1251(lines[static_cast<size_t>(header) + 1]));
}

Lines16 BodyOf(const Lines16& kept) {
    if (kept.size() <= 2) return {};
    return Lines16(kept.begin() + 1, kept.end() - 1);
}

namespace {

std::u16string_view Trimmed(std::u16string_view s) {
    const size_t a = s.find_first_not_of(u" \t");
    if (a == std::u16string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(u" \t") - a + 1);
}

// Whether the lines under header, down to the next end or header line, are an edited copy
// of the body: at least half of the body's non-blank lines stand there (blanks around a line
// ignored).
bool EditedBodyFollows(const Lines16& lines, int32_t header, const Lines16& kept, regex::TPattern& headerExpr,
                       regex::TPattern& endExpr) {
    std::multiset<std::u16string_view> under;
    for (size_t k = static_cast<size_t>(header) + 1; k < lines.size(); ++k) {
        const std::string s = Encode1251(lines[k]);
        if (endExpr.Exec(s) || headerExpr.Exec(s)) break;
        if (!Trimmed(lines[k]).empty()) under.insert(Trimmed(lines[k]));
    }
    size_t wanted = 0, found = 0;
    for (size_t k = 1; k + 1 < kept.size(); ++k) {
        const std::u16string_view t = Trimmed(kept[k]);
        if (t.empty()) continue;
        ++wanted;
        auto it = under.find(t);
        if (it != under.end()) {
            ++found;
            under.erase(it);
        }
    }
    return wanted > 0 && found * 2 >= wanted;
}

}  // namespace

Unfold UnfoldKind(const Lines16& lines, int32_t header, const Lines16& kept, regex::TPattern& headerExpr,
                  regex::TPattern& endExpr) {
    if (kept.size() <= 2 || InFoldedForm(lines, header, endExpr)) return Unfold::Insert;
    if (BodyFollows(lines, header, kept)) return Unfold::AlreadyThere;
    return EditedBodyFollows(lines, header, kept, headerExpr, endExpr) ? Unfold::Present : Unfold::Merge;
}

ExpandPlan PlanExpandAll(const Lines16& lines, regex::TPattern& headerExpr, regex::TPattern& endExpr,
                         const TKeyWordsMap& entries, const FoldedBlockMap& foldedBlocks,
                         const std::function<bool(const std::string&)>& keptElsewhere) {
    const auto headers =
        HeaderLines(headerExpr, entries, lines, [&](const std::string& name) { return foldedBlocks.count(name) != 0; });
    auto inFoldedForm = [&](int32_t h) { return InFoldedForm(lines, h, endExpr); };
    ExpandPlan plan;
    struct Restore {
        const std::string* name;
        const Lines16* kept;
        Unfold how;
    };
    std::map<int32_t, Restore> restoreAt;
    for (const auto& [name, kept] : foldedBlocks) {
        std::vector<int32_t> at;
        for (auto [it, last] = headers.equal_range(name); it != last; ++it) at.push_back(it->second);
        if (at.empty()) {
            plan.missing.push_back(name);
            continue;
        }
        const int32_t line = RestoreLine(at, inFoldedForm);
        if (line < 0) {
            std::sort(at.begin(), at.end());
            plan.ambiguous.push_back(AmbiguousMethod{name, at});
            continue;
        }
        Unfold how = UnfoldKind(lines, line, kept, headerExpr, endExpr);
        if (how == Unfold::Present && !(keptElsewhere && keptElsewhere(name))) how = Unfold::Merge;
        restoreAt[line] = Restore{&name, &kept, how};
    }
    plan.document.reserve(lines.size());
    for (size_t k = 0; k < lines.size(); ++k) {
        plan.document.push_back(lines[k]);
        auto it = restoreAt.find(static_cast<int32_t>(k));
        if (it == restoreAt.end()) continue;
        const Restore& r = it->second;
        plan.restored.push_back(UnfoldedMethod{*r.name, static_cast<int32_t>(plan.document.size()) - 1, r.how});
        if (r.how == Unfold::Insert || r.how == Unfold::Merge)
            if (r.kept->size() > 2) plan.document.insert(plan.document.end(), r.kept->begin() + 1, r.kept->end() - 1);
    }
    return plan;
}

namespace {

// Whether a file name would name a device: its part before the first dot, blanks after it
// ignored, is a reserved device name.
bool IsDeviceName(std::u16string_view name) {
    static constexpr std::u16string_view kDevices[] = {u"con", u"prn", u"aux", u"nul", u"conin$", u"conout$"};
    std::u16string stem(name.substr(0, name.find(u'.')));
    while (!stem.empty() && stem.back() == u' ') stem.pop_back();
    for (char16_t& c : stem)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    for (std::u16string_view d : kDevices)
        if (stem == d) return true;
    // com1..com9, lpt1..lpt9 and the superscript digits Windows takes as well
    if (stem.size() == 4 && (stem.compare(0, 3, u"com") == 0 || stem.compare(0, 3, u"lpt") == 0)) {
        const char16_t n = stem[3];
        return (n >= u'1' && n <= u'9') || n == u'\u00b9' || n == u'\u00b2' || n == u'\u00b3';
    }
    return false;
}

}  // namespace

std::u16string StateFileDocumentName(std::u16string_view docPath) {
    static constexpr std::u16string_view kForbidden = u"<>:\"/\\|?*";
    std::u16string out(docPath);
    for (char16_t& c : out)
        if (c < 0x20 || kForbidden.find(c) != std::u16string_view::npos) c = u'_';
    // The file name begins with the document name: one that is a device's would write nowhere.
    if (out.find(u'.') != std::u16string::npos && IsDeviceName(out)) out = u"_" + out;
    return out;
}

std::string StateFileText(const Lines16& kept) {
    std::string out;
    for (const auto& line : kept) {
        out += Encode1251(line);
        out += "\r\n";
    }
    return out;
}

}  // namespace tintmark
