// Folding plans: which lines folding cuts out of a module and where unfolding puts them
// back. Pure functions over the document's lines and the scan entries; the host calls, the
// fold-state files and the kept lists are the caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/method_map.h"
#include "analysis/plugin_types.h"
#include "regex/pattern.h"
#include "text/cp1251.h"

namespace tintmark {

using Lines16 = std::vector<std::u16string>;

// Method names compare case-insensitively, as the language does.
struct NameLessCi {
    bool operator()(const std::string& a, const std::string& b) const { return CompareTextCi1251(a, b) < 0; }
};
// The folded methods of one window: name -> the lines folding took out of the document,
// from the header to the end line, in the host's own UTF-16 text.
using FoldedBlockMap = std::map<std::string, Lines16, NameLessCi>;

// Splits host text at CR LF, CR or LF; a final line break adds no empty line.
Lines16 SplitLines(std::u16string_view text);
// The text's own line break: its first one (CR LF, LF or CR); CR LF when it has none.
std::u16string_view LineBreakOf(std::u16string_view text);
// The lines in Windows-1251 joined by CR LF: what the scanner reads.
std::string ScanTextOf(const Lines16& lines);

// A method that folding takes out: its name (lower case, as scanned), and its lines from
// the header to the end line inclusive, in the document's own text.
struct FoldedMethod {
    std::string name;
    Lines16 kept;
};

struct CollapsePlan {
    Lines16 document;                   // the document with the bodies cut out
    std::vector<FoldedMethod> folded;   // in text order
    int32_t removed = 0;                // lines cut out
};

// Folds every method whose header begins its line, names it there and is a header by the
// header expression (the rule unfolding uses), and whose end follows it directly in the method
// map and begins its line. A name already folded (isFolded) is left alone, and so is a second method of a name
// folded by this plan: one name, one kept body. A method is not folded when another header of
// its name stands in folded form (directly followed by an end line), since unfolding could not
// tell the two apart.
CollapsePlan PlanCollapseAll(const Lines16& lines, const TKeyWordsMap& entries, regex::TPattern& headerExpr,
                             regex::TPattern& endExpr, const std::function<bool(const std::string&)>& isFolded);

// Header lines of the document that name a method: line -> name, by the header expression
// and the scan entries of the whole document.
std::multimap<std::string, int32_t> HeaderLines(regex::TPattern& headerExpr, const TKeyWordsMap& entries,
                                                const Lines16& lines, const std::function<bool(const std::string&)>& wanted);

// Where the kept body of a folded name goes back: under its header line. With several
// headers of that name only the one in folded form (directly followed by an end line)
// qualifies; preferred, when given, must be that line. -1 when there is none or it is
// ambiguous.
int32_t RestoreLine(const std::vector<int32_t>& headers, const std::function<bool(int32_t)>& inFoldedForm,
                    int32_t preferred = -1);

// How a kept body goes back under its header.
enum class Unfold {
    Insert,        // the header is in folded form (or nothing was cut out): the body goes in
    AlreadyThere,  // the body stands under the header unchanged (the host's undo): nothing goes in
    Merge,         // other lines stand under the header: the body goes in above them
    Present,       // an edited copy of the body stands under the header: nothing goes in
};

// Which of these applies to the kept lines of a method whose header is on line header.
Unfold UnfoldKind(const Lines16& lines, int32_t header, const Lines16& kept, regex::TPattern& headerExpr,
                  regex::TPattern& endExpr);

struct UnfoldedMethod {
    std::string name;
    int32_t header = 0;  // its header line in the new document
    Unfold how = Unfold::Insert;
};

struct AmbiguousMethod {
    std::string name;
    std::vector<int32_t> headers;  // the lines of its headers
};

struct ExpandPlan {
    Lines16 document;                       // with the bodies back
    std::vector<UnfoldedMethod> restored;   // methods unfolded, in text order
    std::vector<AmbiguousMethod> ambiguous; // names with several headers, none or many in folded form
    std::vector<std::string> missing;       // names whose header is no longer in the document
};

// Puts every folded body back right after its current header line: the header as it stands
// now and everything after it stay; an unedited document comes back exactly as it was. A body
// that stands under its header already, edited, is not put in a second time while keptElsewhere
// (asked for such names only) answers that its text is safe elsewhere; otherwise it is merged.
ExpandPlan PlanExpandAll(const Lines16& lines, regex::TPattern& headerExpr, regex::TPattern& endExpr,
                         const TKeyWordsMap& entries, const FoldedBlockMap& foldedBlocks,
                         const std::function<bool(const std::string&)>& keptElsewhere = nullptr);

// The body of a kept method (its lines without the header and the end line).
Lines16 BodyOf(const Lines16& kept);

// Whether the body already stands right after the header on line header (the host put it
// back by itself, as its undo does): then it must not be inserted a second time.
bool BodyFollows(const Lines16& lines, int32_t header, const Lines16& kept);

// Whether the line after header is an end line: the header is in folded form.
bool InFoldedForm(const Lines16& lines, int32_t header, regex::TPattern& endExpr);

// Document name in fold-state file names: every character that Windows forbids in a file
// name (control characters and < > : " / \ | ? *) becomes "_"; a name whose first part would
// make the file a device (con, prn, aux, nul, com1-9, lpt1-9) gets a "_" in front.
std::u16string StateFileDocumentName(std::u16string_view docPath);
// The fold-state file's content: the kept lines in Windows-1251, each followed by CR LF.
std::string StateFileText(const Lines16& kept);

}  // namespace tintmark
