// tmk scan, token, pair, jump, methods, header, check: the analysis core on a module file.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "analysis/fixed_pitch_view.h"
#include "analysis/line_range.h"
#include "analysis/memory_document.h"
#include "analysis/method_map.h"
#include "analysis/mismatch.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "analysis/token.h"
#include "commands.h"
#include "text/cp1251.h"

namespace tintmark::tmk {

namespace {

// Options of the analysis commands and the positional arguments left.
struct Parsed {
    bool utf8 = false;
    bool always = false;
    bool lineStart = false;
    bool english = false;
    bool middle = false;
    int32_t first = 0;
    std::optional<int32_t> count;  // not given: to the end of the document
    int32_t visible = 40;
    int32_t mode = 0;
    std::vector<std::string> rest;
};

int32_t Number(const std::string& text, const char* what) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < -2147483647L || v > 2147483647L)
        throw UsageError{std::string(what) + " must be a number: " + text};
    return static_cast<int32_t>(v);
}

Parsed Parse(const Args& args) {
    Parsed p;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) {
            if (++i >= args.size()) throw UsageError{a + " needs a value"};
            return Number(args[i], what);
        };
        if (a == "--utf8") p.utf8 = true;
        else if (a == "--always") p.always = true;
        else if (a == "--line-start") p.lineStart = true;
        else if (a == "--english") p.english = true;
        else if (a == "--middle") p.middle = true;
        else if (a == "--first") p.first = value("--first");
        else if (a == "--count") p.count = value("--count");
        else if (a == "--visible") p.visible = value("--visible");
        else if (a == "--mode") p.mode = value("--mode");
        else if (a.size() > 2 && a.compare(0, 2, "--") == 0) throw UsageError{"unknown option " + a};
        else p.rest.push_back(a);
    }
    return p;
}

// Reads a module file; a UTF-8 file may start with a byte order mark, which is no text.
MemoryDocument Load(const std::string& path, bool utf8) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw FileError{"cannot read " + path + ": it is a directory"};
    std::string text;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw FileError{"cannot read " + path};
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) throw FileError{"cannot read " + path};
    } catch (const std::exception&) {  // a read error of the stream library
        throw FileError{"cannot read " + path};
    }
    if (!utf8) return MemoryDocument::FromText(text);
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (std::string_view(text).substr(0, kBom.size()) == kBom) text.erase(0, kBom.size());
    return MemoryDocument::FromText(Utf8To1251(text));
}

void Need(const Parsed& p, size_t n, const char* what) {
    if (p.rest.size() != n) throw UsageError{std::string("expected ") + what};
}

std::string U(const std::string& s) { return Cp1251ToUtf8(s); }

// A fresh analysis with its keyword table, and the settings of a 16-pixel line.
struct Session {
    explicit Session(const Parsed& p, bool middleWords = false) {
        BuildKeyWordTable(a.Keywords, KeywordOptions{p.english, p.middle || middleWords});
        settings.LineHeight = 16;
        settings.LastCaretLine = -1;
        settings.HighlightMiddle = p.middle;
    }
    Analysis a;
    PairSettings settings;
};

void ScanWhole(Analysis& a, MemoryDocument& doc) {
    ScanLines(doc, 0, doc.LineCount(), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
}

int Scan(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 1, "FILE");
    MemoryDocument doc = Load(p.rest[0], p.utf8);
    Session session(p);
    Analysis& a = session.a;
    ScanLines(doc, p.first, p.count.value_or(doc.LineCount()), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    for (int32_t i = 0; i < a.KeyWordsMap.Count(); ++i) {
        const TKeyWordPos& e = a.KeyWordsMap[i];
        std::printf("%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n", e.Line, e.StartCol, e.EndCol, e.Kind, e.Direction,
                    e.Partner1, e.Partner2, e.Forward ? 1 : 0, e.WordIndex, e.NameOnSameLine ? 1 : 0,
                    U(e.Name).c_str());
    }
    return 0;
}

int Token(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 2, "TEXT COL");
    const std::string text = Utf8To1251(p.rest[0]);
    const int32_t col = Number(p.rest[1], "COL");
    if (text.empty()) throw UsageError{"TEXT must not be empty"};
    if (col < 0 || col > static_cast<int32_t>(text.size())) throw UsageError{"COL outside the text"};
    const CaretToken t = TokenAtCaret(text, col);
    std::printf("%s\t%s\t%s\n", U(t.token).c_str(), U(t.left).c_str(), U(t.right).c_str());
    return 0;
}

int Pair(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 3, "FILE LINE COL");
    MemoryDocument doc = Load(p.rest[0], p.utf8);
    const int32_t line = Number(p.rest[1], "LINE"), col = Number(p.rest[2], "COL");
    Session session(p);
    Analysis& a = session.a;
    const PairSettings& settings = session.settings;
    ScanLines(doc, p.first, SaturatedAdd(p.visible, 10), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    doc.MoveCaret(line, col, line, col);
    FixedPitchView view(p.first, p.visible);
    const PairOutcome out = p.always ? HighlightPairAlways(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair)
                                     : HighlightPair(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair);
    if (!out.marked) {
        std::puts("none");
        return 0;
    }
    std::printf("caret\t%d\t%d\t%d\t%d\n", out.caret.Line, a.Pair.CaretTokenStartCol, a.Pair.CaretTokenEndCol,
                a.Pair.CaretTokenKind);
    if (out.members.empty()) std::puts("partner\tnone");
    for (const TKeyWordPos& m : out.members)
        std::printf("partner\t%d\t%d\t%d\t%d\n", m.Line, m.StartCol, m.EndCol, m.Kind);
    return 0;
}

int Jump(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 3, "FILE LINE COL");
    if (p.mode < 1 || p.mode > 4) throw UsageError{"--mode must be 1, 2, 3 or 4"};
    MemoryDocument doc = Load(p.rest[0], p.utf8);
    const int32_t line = Number(p.rest[1], "LINE"), col = Number(p.rest[2], "COL");
    Session session(p);
    doc.MoveCaret(line, col, line, col);
    FixedPitchView view(0, 40);
    PartnerPosition partner;
    if (!FindPairPosition(session.a, doc, view, session.settings, static_cast<NavigationMode>(p.mode), &partner)) {
        std::puts("none");
        return 0;
    }
    if (p.mode == kJump)
        std::printf("caret\t%d\t%d\n", doc.SelStartLine(), doc.SelStartCol());
    else if (p.mode == kReportPartner)
        std::printf("partner\t%d\t%d\n", partner.Line, partner.StartCol);
    else
        std::printf("select\t%d\t%d\t%d\t%d\n", doc.SelStartLine(), doc.SelStartCol(), doc.SelEndLine(),
                    doc.SelEndCol());
    return 0;
}

int Methods(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 1, "FILE");
    MemoryDocument doc = Load(p.rest[0], p.utf8);
    Session session(p);
    Analysis& a = session.a;
    ScanWhole(a, doc);
    BuildMethMap(a.KeyWordsMap, nullptr, p.lineStart, a.MethMap);
    for (int32_t i = 0; i < a.MethMap.Count(); ++i)
        std::printf("%d\t%d\t%s\n", a.MethMap[i].Kind, a.MethMap[i].Line, U(a.MethMap[i].Name).c_str());
    return 0;
}

int Header(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 2, "FILE LINE");
    MemoryDocument doc = Load(p.rest[0], p.utf8);
    const int32_t line = Number(p.rest[1], "LINE");
    Session session(p);
    Analysis& a = session.a;
    ScanWhole(a, doc);
    regex::TPluginPattern expr;
    expr.SetExpression(Utf8To1251("^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+"));
    MethodHeader h;
    const std::string text = line >= 0 && line < doc.LineCount() ? doc.Line(line) : std::string();
    if (MatchMethodHeader(expr, a.KeyWordsMap, text, line, h))
        std::printf("header\t%s\t%d\n", U(h.Name).c_str(), h.Column);
    else
        std::puts("none");
    return 0;
}

// Every block keyword and bracket without a partner; middle words are always known here.
int Check(const Args& args) {
    const Parsed p = Parse(args);
    Need(p, 1, "FILE");
    MemoryDocument doc = Load(p.rest[0], p.utf8);
    Session session(p, true);
    Analysis& a = session.a;
    const std::vector<BlockMismatch> found = CheckDocumentBlocks(doc, a.Keywords, a.KeyWordsMap, a.ScanBuffer);
    for (const BlockMismatch& m : found) std::printf("mismatch\t%d\t%d\t%d\n", m.Line, m.StartCol, m.EndCol);
    std::printf("total\t%zu\n", found.size());
    return 0;
}

}  // namespace

int RunAnalysis(const std::string& command, const Args& args) {
    if (command == "scan") return Scan(args);
    if (command == "token") return Token(args);
    if (command == "pair") return Pair(args);
    if (command == "jump") return Jump(args);
    if (command == "methods") return Methods(args);
    if (command == "header") return Header(args);
    if (command == "check") return Check(args);
    throw UsageError{"unknown command: " + command};
}

}  // namespace tintmark::tmk
