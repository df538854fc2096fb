// Pair highlighting (both variants), the chunked partner search and the method list.
#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "analysis/fixed_pitch_view.h"
#include "analysis/line_range.h"
#include "analysis/memory_document.h"
#include "analysis/method_map.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "text/cp1251.h"

using namespace tintmark;

namespace {

// A module, its analysis and an editor over it, as the plugin holds them.
struct Fixture {
    explicit Fixture(const std::string& utf8, int32_t first = 0, int32_t visible = 40)
        : doc(MemoryDocument::FromText(Utf8To1251(utf8))), view(first, visible) {
        BuildKeyWordTable(a.Keywords);
        settings.LineHeight = 16;
        settings.TextOriginX = 20;
        settings.LastCaretLine = -1;
        ScanVisible();
    }
    void ScanVisible() {
        ScanLines(doc, view.FirstVisibleLine(), SaturatedAdd(view.VisibleLineCount(), 10), a.Keywords,
                  a.KeyWordsMap, a.ScanBuffer);
    }
    // "L:S-E" of the caret token and " / L:S-E" of the partner, or "none".
    std::string Pair(int32_t line, int32_t col, bool always = false) {
        doc.MoveCaret(line, col, line, col);
        const PairOutcome o = always ? HighlightPairAlways(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair)
                                     : HighlightPair(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair);
        if (!o.marked) return "none";
        std::string out = Pos(o.caret);
        out += o.hasPartner ? " / " + Pos(o.partner) : " / -";
        return out;
    }
    std::string Navigate(int32_t line, int32_t col, NavigationMode mode) {
        doc.MoveCaret(line, col, line, col);
        PartnerPosition p;
        if (!FindPairPosition(a, doc, view, settings, mode, &p)) return "none";
        if (mode == kReportPartner) return std::to_string(p.Line) + ":" + std::to_string(p.StartCol);
        return std::to_string(doc.SelStartLine()) + ":" + std::to_string(doc.SelStartCol()) + " " +
               std::to_string(doc.SelEndLine()) + ":" + std::to_string(doc.SelEndCol());
    }
    static std::string Pos(const TKeyWordPos& e) {
        return std::to_string(e.Line) + ":" + std::to_string(e.StartCol) + "-" + std::to_string(e.EndCol);
    }

    MemoryDocument doc;
    FixedPitchView view;
    Analysis a;
    PairSettings settings;
};

}  // namespace

TEST(HighlightPair, BracketsAndTieBreaks) {
    Fixture f("А(Б(В))\nА((Б))\nФ()Если А Тогда\nКонецЕсли");
    struct Row { int line, col; const char* want; };
    const Row rows[] = {
        {0, 2, "0:1-1 / 0:6-6"},  // right after the first "(": the last ")"
        {0, 5, "0:5-5 / 0:3-3"},  // right before the first ")": the inner "("
        {1, 2, "1:1-1 / 1:5-5"},  // between two "(": the left one
        {1, 5, "1:5-5 / 1:1-1"},  // between two ")": the right one
        {1, 3, "1:2-2 / 1:4-4"},  // between "(" and the word: the "("
        {0, 0, "none"},           // on «А»: not a pairable token
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(f.Pair(rows[i].line, rows[i].col), rows[i].want) << rows[i].line << ":" << rows[i].col;
    // A bracket that ends right before a keyword does not stand in for it.
    EXPECT_EQ(f.Pair(2, 3), "2:3-6 / 3:0-8");
    EXPECT_EQ(f.Pair(2, 2), "2:1-1 / 2:2-2");
}

TEST(HighlightPair, Blocks) {
    Fixture f(
        "Для К = 1 По 2 Цикл\n"       // 0
        "  Пока Истина Цикл\n"        // 1
        "  КонецЦикла;\n"             // 2
        "КонецЦикла;\n"               // 3
        "Процедура А() Далее\n"       // 4
        "Процедура Б()\n"             // 5
        "  Функция В()\n"             // 6
        "КонецПроцедуры\n"            // 7
        "// Если (\n"                 // 8
        "Если А Тогда Б = 1; КонецЕсли");  // 9
    EXPECT_EQ(f.Pair(3, 3), "3:0-9 / 0:0-2");     // the outer loop end marks «Для»
    EXPECT_EQ(f.Pair(2, 5), "2:2-11 / 1:2-5");
    EXPECT_EQ(f.Pair(4, 2), "4:0-8 / -");         // a forward declaration has no partner
    EXPECT_EQ(f.Pair(5, 2), "5:0-8 / -");         // the search stops at the stray «Функция»
    EXPECT_EQ(f.Pair(7, 3), "7:0-13 / 5:0-8");    // backward, «Функция» is another family
    EXPECT_EQ(f.Pair(8, 9), "none");              // a bracket in a comment: nothing
    EXPECT_EQ(f.Pair(8, 9, true), "none");        // no entry for it: nothing marked
    EXPECT_EQ(f.Pair(9, 15, true), "9:0-3 / 9:20-28");  // between the keywords: the «Если»
}

TEST(HighlightPair, PartnerOutsideTheScannedLinesAndDisabling) {
    std::string text = "Если А Тогда\n";
    for (int i = 0; i < 60; ++i) text += "Б = 1;\n";
    text += "КонецЕсли";
    Fixture f(text, 0, 20);
    EXPECT_EQ(f.Pair(0, 1), "0:0-3 / -");
    f.settings.DisableAutoHighlight = true;
    EXPECT_EQ(f.Pair(0, 1), "none");
    EXPECT_EQ(f.Pair(0, 1, true), "none");
}

TEST(HighlightPair, OnlyACommentOutsideLiteralsSwitchesItOff) {
    Fixture f(
        "Сообщить(\"http://x\"); Ф(1)\n"  // 0
        "А = 1; // Ф(1)\n"                 // 1
        "|http://x\"; Ф(1)\n"              // 2: continuation of a literal
        "Ф(\"//\", 1)");                    // 3
    struct Row { int line, col; const char* want; };
    const Row rows[] = {
        {0, 24, "0:23-23 / 0:25-25"},  // after the URL
        {0, 9, "0:8-8 / 0:19-19"},
        {1, 12, "none"},               // in the comment
        {2, 14, "2:13-13 / 2:15-15"},
        {3, 9, "3:9-9 / 3:1-1"},       // right before the ")" after the literal
    };
    for (const Row& r : rows) EXPECT_EQ(f.Pair(r.line, r.col), r.want) << r.line << ":" << r.col;
}

TEST(HighlightPair, RectanglesFollowTabsAndTheHorizontalOffset) {
    Fixture f("\tЕсли А(Б) Тогда\n\tКонецЕсли", 0, 40);
    f.Pair(0, 3);  // inside «Если», after «Ес»
    // x of the caret: a tab (4 blanks of 8 px) and two characters; the token starts 2 before.
    EXPECT_EQ(f.a.Pair.CaretTokenRect, (Rect{20 + 32 - 1, 0, 20 + 32 + 32 + 1, 17}));
    EXPECT_EQ(f.a.Pair.PairTokenRect, (Rect{20 + 32 - 1, 16, 20 + 32 + 72 + 1, 33}));
    EXPECT_TRUE(f.a.Pair.CaretTokenShown && f.a.Pair.PairTokenShown);
    EXPECT_EQ(Cp1251ToUtf8(f.a.Pair.PairTokenText), "КонецЕсли");
    EXPECT_EQ(f.a.Pair.CaretTokenStartCol, 1);
    EXPECT_EQ(f.a.Pair.CaretTokenEndCol, 4);
    // A "(" at column 0 is the token with the caret before it too: the box stands on it.
    Fixture g("(А)");
    for (const int32_t col : {0, 1}) {
        EXPECT_EQ(g.Pair(0, col), "0:0-0 / 0:2-2");
        EXPECT_EQ(g.a.Pair.CaretTokenRect, (Rect{20 - 1, 0, 20 + 8 + 1, 17})) << col;
        EXPECT_EQ(g.Pair(0, col, true), "0:0-0 / 0:2-2");
        EXPECT_EQ(g.a.Pair.CaretTokenRect, (Rect{20 - 1, 0, 20 + 8 + 1, 17})) << col << " always";
    }
    // Scrolled right: everything moves left by the scroll position, also a scroll of no more
    // than the text origin, and whether or not a scroll message came (the same view gives the
    // same boxes however it got there).
    for (const int32_t hscroll : {70, 8, 20}) {
        for (const bool message : {false, true}) {
            f.view.hscroll = hscroll;
            f.a.Pair.HScrolled = message;
            f.Pair(0, 3);
            EXPECT_EQ(f.a.Pair.HScrollPos, hscroll);
            EXPECT_EQ(f.a.Pair.ViewHScroll, hscroll);
            EXPECT_EQ(f.a.Pair.CaretTokenRect.left, 20 + 32 - 1 - hscroll) << hscroll << " " << message;
            EXPECT_EQ(f.a.Pair.PairTokenRect.left, 20 + 32 - 1 - hscroll) << hscroll << " " << message;
        }
    }
}

// The partly visible line below the whole lines (F + V) counts as in view; the next does not.
TEST(HighlightPair, ThePartlyVisibleLastLineCounts) {
    std::string text;
    for (int i = 0; i < 7; ++i) text += "Ф(1);\n";
    Fixture f(text, 1, 3);  // lines 1 to 3 whole, line 4 partly
    struct Row { int line; bool always; const char* want; };
    const Row rows[] = {{4, false, "4:1-1 / 4:3-3"}, {4, true, "4:1-1 / 4:3-3"}, {5, false, "none"},
                        {5, true, "none"},           {0, false, "none"}};
    for (const Row& r : rows) EXPECT_EQ(f.Pair(r.line, 2, r.always), r.want) << r.line << " " << r.always;
}

TEST(HighlightPairAlways, EnclosingTokenAndRedrawDecisions) {
    Fixture f(
        "Если А Тогда\n"          // 0
        "  Б = Ф(1);\n"           // 1
        "  В = 2;\n"              // 2
        "КонецЕсли;\n"            // 3
        "Г = 3;");                // 4
    EXPECT_EQ(f.Pair(2, 3, true), "3:0-8 / 0:0-3");  // after a closer, before a closer: the closer
    f.view.calls.clear();
    f.settings.LastCaretLine = 2;
    EXPECT_EQ(f.Pair(2, 4, true), "3:0-8 / 0:0-3");  // same highlight, same line: left as it is
    EXPECT_TRUE(f.view.calls.empty());
    f.view.calls.clear();
    EXPECT_EQ(f.Pair(4, 1, true), "none");           // after the last entry's line: the mark goes
    EXPECT_EQ(f.view.calls, (std::vector<std::string>{"erase", "cross"}));
    EXPECT_FALSE(f.a.Pair.CaretTokenShown || f.a.Pair.PairTokenShown);
    EXPECT_EQ(f.Pair(1, 2, true), "0:0-3 / 3:0-8");  // before «Ф(»: the enclosing «Если»
    EXPECT_EQ(f.Pair(1, 8, true), "1:7-7 / 1:9-9");  // on the bracket itself
    // At an entry's start column (the caret between «Ф» and «(») the entry counts as left of
    // the caret: the «(» is the nearest opener, not the «Если».
    EXPECT_EQ(f.Pair(1, 7, true), "1:7-7 / 1:9-9");
}

// Drawing a bold box changes the stored rectangle; the same highlight must still count as
// unchanged, or every paint would erase and redraw it again.
TEST(HighlightPairAlways, BoxesWidenedByDrawingAreNotChanges) {
    Fixture f("Если А Тогда\n  В = 2;\nКонецЕсли;");
    f.view.widenOnDraw = 5;
    f.settings.LastCaretLine = 1;
    EXPECT_EQ(f.Pair(1, 4, true), "0:0-3 / 2:0-8");
    f.view.calls.clear();
    EXPECT_EQ(f.Pair(1, 5, true), "0:0-3 / 2:0-8");
    EXPECT_TRUE(f.view.calls.empty());
    // The boxes as drawn are kept, to be erased whole later.
    EXPECT_EQ(f.a.Pair.CaretTokenRect.right, f.a.Pair.CaretTokenComposed.right + 5);
    // Taken off (a selection, say), the same highlight is drawn again.
    ErasePairHighlight(f.view, f.a.Pair);
    f.view.calls.clear();
    EXPECT_EQ(f.Pair(1, 5, true), "0:0-3 / 2:0-8");
    EXPECT_EQ(f.view.calls, (std::vector<std::string>{"draw"}));
}

// Whether the highlight changed is told in the view of the call: boxes placed before the
// view scrolled moved with their text; a partner box that has no partner any more is a change.
TEST(HighlightPairAlways, ChangesAreToldInTheCurrentView) {
    Fixture f("Если А Тогда\n  В = 2;\n  Г = 3;\nКонецЕсли;");
    f.settings.LastCaretLine = 1;
    EXPECT_EQ(f.Pair(1, 4, true), "0:0-3 / 3:0-8");
    f.view.SetFirstVisibleLine(1);
    f.view.calls.clear();
    EXPECT_EQ(f.Pair(1, 5, true), "0:0-3 / 3:0-8");
    EXPECT_TRUE(f.view.calls.empty());  // the boxes moved with their text
    EXPECT_EQ(f.a.Pair.CaretTokenRect.top, -16);
    EXPECT_EQ(f.a.Pair.ViewFirstLine, 1);

    Fixture g("Если А Тогда\n  В = 2;\n  Г = 3;\nКонецЦикла;");
    f.view.SetFirstVisibleLine(0);
    EXPECT_EQ(f.Pair(1, 4, true), "0:0-3 / 3:0-8");
    g.a.Pair = f.a.Pair;  // the same editor after «КонецЕсли» was typed over
    g.settings.LastCaretLine = 1;
    EXPECT_EQ(g.Pair(1, 4, true), "0:0-3 / -");
    EXPECT_EQ(g.view.calls, (std::vector<std::string>{"erase", "update", "draw"}));
    EXPECT_FALSE(g.a.Pair.PairTokenShown);
}

TEST(FindPairPosition, ModesAndChunks) {
    Fixture f("Ф(А, Г(Б))\nПроцедура П()\n  А = 1;\nКонецПроцедуры\nХ = ()");
    EXPECT_EQ(f.Navigate(0, 2, kJump), "0:9 0:9");       // right before the last ")"
    EXPECT_EQ(f.Navigate(0, 9, kJump), "0:2 0:2");       // and back, right after the "("
    f.a.Pair = PairState{};
    f.view.calls.clear();
    EXPECT_EQ(f.Navigate(1, 0, kSelectPairBlock), "1:0 3:14");
    // The selection starts on the token: its pair is marked afresh.
    EXPECT_EQ(f.view.calls, (std::vector<std::string>{"erase", "draw"}));
    EXPECT_TRUE(f.a.Pair.CaretTokenShown && f.a.Pair.PairTokenShown);
    EXPECT_EQ(f.a.Pair.PairTokenRect.top, 3 * 16);
    EXPECT_EQ(f.Navigate(1, 0, kSelectInnerBlock), "1:9 3:0");
    EXPECT_EQ(f.Navigate(3, 3, kSelectPairBlock), "1:0 3:14");
    EXPECT_EQ(f.Navigate(3, 3, kSelectInnerBlock), "1:9 3:0");
    EXPECT_EQ(f.Navigate(4, 5, kSelectInnerBlock), "4:5 4:5");  // «()»: an empty selection
    EXPECT_EQ(f.Navigate(0, 0, kJump), "none");

    std::string text = "Если А Тогда\n";
    for (int i = 0; i < 300; ++i) text += "Б = 1;\n";
    text += "КонецЕсли;";
    Fixture g(text);
    EXPECT_EQ(g.Navigate(301, 2, kJump), "0:0 0:0");      // several chunks backward
    EXPECT_EQ(g.Navigate(0, 2, kReportPartner), "301:0");  // and forward

    std::string lines;
    for (int i = 0; i < 100; ++i) lines += i == 10 ? "Пока А Цикл\n" : i == 99 ? "КонецЦикла" : "Б = 1;\n";
    Fixture h(lines);
    EXPECT_EQ(h.Navigate(99, 0, kReportPartner), "10:0");  // the second backward chunk is 0 .. 49

    Fixture u("Процедура А()\nПроцедура Б()\nКонецПроцедуры");
    EXPECT_EQ(u.Navigate(0, 0, kJump), "none");  // stops at the next header
    EXPECT_EQ(u.doc.SelStartLine(), 0);
}

namespace {
constexpr int32_t kMaxLine = std::numeric_limits<int32_t>::max();

// A document of 2147483647 lines, empty but for a few: line numbers near the 32-bit end.
class SparseDocument : public TextDocument {
public:
    std::map<int32_t, std::string> lines;
    int32_t LineCount() override { return kMaxLine; }
    int32_t LineLength(int32_t line) override {
        const auto it = lines.find(line);
        return it == lines.end() ? 0 : static_cast<int32_t>(it->second.size());
    }
    void RangeTextInto(int32_t line1, int32_t col1, int32_t line2, int32_t col2, std::string& out) override {
        out.clear();
        const int64_t from = std::max(line1, 0), to = std::min(line2, kMaxLine - 1);
        if (to - from > 100000) {  // a wrapped range: refuse rather than build gigabytes
            ADD_FAILURE() << "range " << line1 << ".." << line2;
            return;
        }
        for (int64_t l = from; l <= to; ++l) {
            const auto it = lines.find(static_cast<int32_t>(l));
            std::string s = it == lines.end() ? std::string() : it->second;
            if (l == to) s = s.substr(0, static_cast<size_t>(std::clamp<int32_t>(col2, 0, static_cast<int32_t>(s.size()))));
            if (l == from) s = s.substr(static_cast<size_t>(std::clamp<int32_t>(col1, 0, static_cast<int32_t>(s.size()))));
            if (l > from) out += "\r\n";
            out += s;
        }
    }
    int32_t SelStartLine() override { return l1_; }
    int32_t SelStartCol() override { return c1_; }
    int32_t SelEndLine() override { return l2_; }
    int32_t SelEndCol() override { return c2_; }
    void MoveCaret(int32_t l1, int32_t c1, int32_t l2, int32_t c2) override {
        l1_ = l1;
        c1_ = c1;
        l2_ = l2;
        c2_ = c2;
    }

private:
    int32_t l1_ = 0, c1_ = 0, l2_ = 0, c2_ = 0;
};
}  // namespace

TEST(LineRanges, AVisibleRangePast32BitsStillHoldsTheCaretLine) {
    Fixture f("А\nБ\nЕсли А Тогда\nКонецЕсли", 2, kMaxLine);  // F + V lies beyond 32 bits
    EXPECT_EQ(f.Pair(2, 1), "2:0-3 / 3:0-8");
    EXPECT_EQ(f.Pair(3, 1, true), "3:0-8 / 2:0-3");
    EXPECT_EQ(f.Pair(1, 0), "none");  // above the first visible line
}

TEST(LineRanges, ChunkedSearchNearTheLast32BitLine) {
    struct Row { int32_t line, col; const char* want; };
    const Row rows[] = {
        {kMaxLine - 60, 1, "2147483645:0"},  // forward over a second chunk that reaches the end
        {kMaxLine - 2, 3, "2147483587:0"},   // and back
        {kMaxLine - 20, 5, "2147483645:11"},  // a bracket pair within the last chunk
        {kMaxLine - 2, 11, "2147483627:4"},
    };
    for (const Row& r : rows) {
        SparseDocument doc;
        doc.lines[kMaxLine - 60] = Utf8To1251("Если А Тогда");
        doc.lines[kMaxLine - 20] = Utf8To1251("Ф = (1 +");
        doc.lines[kMaxLine - 2] = Utf8To1251("КонецЕсли 2);");
        Analysis a;
        BuildKeyWordTable(a.Keywords);
        PairSettings settings;
        settings.LineHeight = 16;
        FixedPitchView view(kMaxLine - 70, 20);
        doc.MoveCaret(r.line, r.col, r.line, r.col);
        PartnerPosition p;
        std::string got = "none";
        if (FindPairPosition(a, doc, view, settings, kReportPartner, &p))
            got = std::to_string(p.Line) + ":" + std::to_string(p.StartCol);
        EXPECT_EQ(got, r.want) << r.line << ":" << r.col;
    }
}

namespace {
struct NameSet : FoldedNames {
    std::vector<std::string> names;
    bool Contains(const std::string& name) const override {
        for (const auto& n : names)
            if (CompareTextCi1251(n, name) == 0) return true;
        return false;
    }
};
}  // namespace

TEST(MethodMap, GutterAndLineStartMapsAndTheHeaderTest) {
    Fixture f(
        "Процедура А() Далее\n"                  // 0
        "  Функция Сумма(А, Б) Экспорт\n"       // 1
        "  КонецФункции\n"                       // 2
        "Перем А; Процедура Б()\n"               // 3
        "КонецПроцедуры\n"                       // 4
        "Процедура\n"                            // 5
        "   В()\n"                               // 6
        "КонецПроцедуры\n"                       // 7
        "КонецПроцедуры\n"                       // 8
        "procedure Г()", 0, 100);
    auto dump = [&](const TMethMap& m) {
        std::string out;
        for (int32_t i = 0; i < m.Count(); ++i)
            out += (out.empty() ? "" : "; ") + std::to_string(m[i].Kind) + "@" + std::to_string(m[i].Line) +
                   (m[i].Name.empty() ? "" : " " + Cp1251ToUtf8(m[i].Name));
        return out;
    };
    BuildMethMap(f.a.KeyWordsMap, nullptr, false, f.a.MethMap);
    EXPECT_EQ(dump(f.a.MethMap), "3@1; 4@2; 1@3; 2@4; 1@5; 2@7; 2@8");
    BuildMethMap(f.a.KeyWordsMap, nullptr, true, f.a.MethMap);
    EXPECT_EQ(dump(f.a.MethMap), "3@1 сумма; 4@2; 2@4; 2@7; 2@8");
    NameSet folded;
    folded.names = {Utf8To1251("СУММА")};
    BuildMethMap(f.a.KeyWordsMap, &folded, false, f.a.MethMap);
    EXPECT_EQ(dump(f.a.MethMap), "18@1; 4@2; 1@3; 2@4; 1@5; 2@7; 2@8");

    regex::TPluginPattern expr;
    expr.SetExpression(Utf8To1251("^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+"));
    auto header = [&](int32_t line) {
        MethodHeader h;
        if (!MatchMethodHeader(expr, f.a.KeyWordsMap, f.doc.Line(line), line, h)) return std::string("none");
        return Cp1251ToUtf8(h.Name) + " " + std::to_string(h.Column);
    };
    EXPECT_EQ(header(0), "none");      // a forward declaration
    EXPECT_EQ(header(1), "сумма 2");
    EXPECT_EQ(header(3), "none");      // the keyword is not at the line start
    EXPECT_EQ(header(9), " 11");       // English: the first entry of the line is the "("
}
