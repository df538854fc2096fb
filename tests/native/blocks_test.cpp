// Middle words, mismatched block keywords and English spellings: each behind its switch.
#include <gtest/gtest.h>

#include "analysis/fixed_pitch_view.h"
#include "analysis/folding.h"
#include "analysis/line_range.h"
#include "analysis/memory_document.h"
#include "analysis/method_map.h"
#include "analysis/mismatch.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "corpus_modules.h"
#include "text/cp1251.h"

using namespace tintmark;

namespace {

struct Blocks {
    Blocks(const std::string& utf8, KeywordOptions options, bool middle = false)
        : doc(MemoryDocument::FromText(Utf8To1251(utf8))), view(0, 40) {
        BuildKeyWordTable(a.Keywords, options);
        settings.LineHeight = 16;
        settings.TextOriginX = 20;
        settings.LastCaretLine = -1;
        settings.HighlightMiddle = middle;
        Rescan();
    }
    void Rescan() { ScanLines(doc, 0, 50, a.Keywords, a.KeyWordsMap, a.ScanBuffer); }
    // "L:S" of the caret token, then " L:S" of every other member in text order, or "none".
    std::string Group(int32_t line, int32_t col, bool always = false) {
        doc.MoveCaret(line, col, line, col);
        const PairOutcome o = always ? HighlightPairAlways(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair)
                                     : HighlightPair(doc, view, a.Keywords, a.KeyWordsMap, settings, a.Pair);
        if (!o.marked) return "none";
        std::string out = Pos(o.caret) + " |";
        for (const TKeyWordPos& m : o.members) out += " " + Pos(m);
        return out;
    }
    std::string Jump(int32_t line, int32_t col) {
        doc.MoveCaret(line, col, line, col);
        if (!FindPairPosition(a, doc, view, settings, kJump)) return "none";
        const std::string out = std::to_string(doc.SelStartLine()) + ":" + std::to_string(doc.SelStartCol());
        Rescan();
        return out;
    }
    std::string Mismatches() {
        std::string out;
        for (const BlockMismatch& m : CheckDocumentBlocks(doc, a.Keywords, a.KeyWordsMap, a.ScanBuffer))
            out += (out.empty() ? "" : " ") + std::to_string(m.Line) + ":" + std::to_string(m.StartCol);
        return out;
    }
    static std::string Pos(const TKeyWordPos& e) { return std::to_string(e.Line) + ":" + std::to_string(e.StartCol); }

    MemoryDocument doc;
    FixedPitchView view;
    Analysis a;
    PairSettings settings;
};

constexpr KeywordOptions kPlain{};
constexpr KeywordOptions kMiddle{false, true};
constexpr KeywordOptions kEnglish{true, false};
constexpr KeywordOptions kBoth{true, true};

const char* const kChain =
    "Если А Тогда\n"                   // 0
    "  Если Б Тогда В(); Иначе Г(); КонецЕсли;\n"  // 1: nested, keeps its members
    "ИначеЕсли Б Тогда\n"              // 2
    "  С = \"Иначе\"; // Иначе\n"      // 3: a member in a string or a comment is none
    "ИначеЕсли В Тогда\n"              // 4
    "Иначе\n"                          // 5
    "  Попытка А(); Исключение Б(); КонецПопытки;\n"  // 6
    "КонецЕсли;";                      // 7

}  // namespace

TEST(Keywords, OptionsAddWordsWithTheKindsOfTheirTwins) {
    struct Row { KeywordOptions options; int count; const char* word; int kind; };
    const Row rows[] = {
        {kPlain, 12, "EndIf", -1},      {kPlain, 12, "Иначе", -1},     {kEnglish, 24, "ENDIF", 6},
        {kEnglish, 24, "procedure", 1}, {kEnglish, 24, "EndDo", 9},     {kEnglish, 24, "While", 8},
        {kEnglish, 24, "Forward", 12},  {kEnglish, 24, "Else", -1},     {kMiddle, 15, "ИначеЕсли", 13},
        {kMiddle, 15, "иначе", 14},     {kMiddle, 15, "Исключение", 15}, {kMiddle, 15, "ElsIf", -1},
        {kBoth, 30, "ElsIf", 13},       {kBoth, 30, "else", 14},         {kBoth, 30, "EXCEPT", 15},
        {kBoth, 30, "EndTry", 11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        KeywordTable t;
        BuildKeyWordTable(t, r.options);
        EXPECT_EQ(t.KeyWordCount, r.count);
        const int i = LookUpKeyWord(t, Utf8To1251(r.word));
        EXPECT_EQ(i < 0 ? -1 : t.KeyWords[static_cast<size_t>(i)].Kind, r.kind);
        if (i >= 0) {
            EXPECT_EQ(t.KeyWords[static_cast<size_t>(i)].Direction, KindDirection(static_cast<uint8_t>(r.kind)));
        }
    }
}

TEST(Scanner, EnglishWordsAreKeywordsOnlyWithTheSwitch) {
    const std::string text = "Procedure А() Forward\nIf Б Then EndIf; // EndIf\nС = \"EndDo\"; Иначе";
    for (const auto& [options, want] : std::vector<std::pair<KeywordOptions, std::string>>{
             {kPlain, "16 17"}, {kEnglish, "1 16 17 12 5 6"}, {kBoth, "1 16 17 12 5 6 14"}}) {
        MemoryDocument doc = MemoryDocument::FromText(Utf8To1251(text));
        KeywordTable t;
        BuildKeyWordTable(t, options);
        TKeyWordsMap map;
        std::string buffer;
        ScanLines(doc, 0, 10, t, map, buffer);
        std::string kinds;
        for (int32_t i = 0; i < map.Count(); ++i) kinds += (i ? " " : "") + std::to_string(map[i].Kind);
        EXPECT_EQ(kinds, want);
        if (options.English) {
            EXPECT_TRUE(map[0].Forward);
        }
    }
}

TEST(MiddleWords, GroupsFromEveryMember) {
    Blocks b(kChain, kMiddle, true);
    struct Row { int line, col; bool always; const char* want; };
    const Row rows[] = {
        {0, 1, false, "0:0 | 2:0 4:0 5:0 7:0"},
        {2, 3, false, "2:0 | 0:0 4:0 5:0 7:0"},
        {5, 0, false, "5:0 | 0:0 2:0 4:0 7:0"},
        {7, 0, false, "7:0 | 0:0 2:0 4:0 5:0"},
        {1, 21, false, "1:20 | 1:2 1:31"},          // the nested Иначе
        {1, 4, false, "1:2 | 1:20 1:31"},
        {6, 20, false, "6:15 | 6:2 6:31"},          // Исключение
        {3, 8, false, "none"},                     // in a string
        {5, 3, true, "5:0 | 0:0 2:0 4:0 7:0"},     // the always mode on a member
        {3, 1, true, "0:0 | 2:0 4:0 5:0 7:0"},     // and inside a branch: the enclosing block
    };
    for (const Row& r : rows) EXPECT_EQ(b.Group(r.line, r.col, r.always), r.want) << r.line << ":" << r.col;

    std::string many = "Если А = 0 Тогда\n";
    for (int i = 1; i <= 30; ++i) many += "ИначеЕсли А = " + std::to_string(i) + " Тогда\n";
    many += "КонецЕсли;";
    Blocks c(many, kMiddle, true);

    for (int from = 0; from <= 31; ++from) {
        // Each member jumps to the next one in text order, the end back to the start.
        EXPECT_EQ(c.Jump(from, 1), from == 31 ? "0:0" : std::to_string(from + 1) + ":0");
    }
    EXPECT_EQ(c.Group(15, 2).substr(0, 7), "15:0 | ");
}

TEST(MiddleWords, SwitchOffKeepsThePlainPairing) {
    Blocks plain(kChain, kPlain, false);
    Blocks words(kChain, kMiddle, false);  // the words are known, the switch is off
    for (const auto& [line, col] : std::vector<std::pair<int, int>>{{0, 1}, {7, 0}, {1, 4}, {5, 2}, {3, 1}, {6, 20}}) {
        EXPECT_EQ(plain.Group(line, col), words.Group(line, col));
        EXPECT_EQ(plain.Group(line, col, true), words.Group(line, col, true));
    }
    EXPECT_EQ(plain.Group(0, 1), "0:0 | 7:0");
    EXPECT_EQ(words.Jump(0, 1), "7:0");
    EXPECT_EQ(words.Jump(5, 1), "none");
}

TEST(MiddleWords, AMemberNeverComesFromAnotherMethod) {
    Blocks b("Процедура А()\n  Если Б Тогда\nКонецПроцедуры\nПроцедура В()\n  Иначе\n  КонецЕсли;\nКонецПроцедуры",
             kMiddle, true);
    EXPECT_EQ(b.Group(1, 3), "1:2 | 5:2");  // the pairing's partner, but no Иначе from В
    EXPECT_EQ(b.Group(4, 3), "4:2 | 5:2");
    EXPECT_EQ(b.Jump(4, 3), "5:2");
}

TEST(Mismatches, OnePerKind) {
    struct Row { const char* text; const char* want; };
    const Row rows[] = {
        {"Процедура А()\n  Если Б Тогда\nКонецПроцедуры", "1:2"},           // unclosed Если in its method
        {"Процедура А()\n  КонецЦикла;\nКонецПроцедуры", "1:2"},            // stray loop end
        {"А = Б);\nВ = (Г;", "0:5 1:4"},                                     // ")" and "("
        {"Процедура А()\nПроцедура Б()\nКонецПроцедуры", "0:0"},             // header without its end
        {"КонецФункции\nФункция А()\nКонецФункции", "0:0"},                 // end without its header
        {"Процедура А()\nКонецФункции", "0:0 1:0"},                         // ends of another kind
        {"Если А Тогда\nИначе\nКонецЕсли;\nИначе\nИсключение", "3:0 4:0"},  // middle words outside
        {"Попытка\n  А();\nИсключение\nКонецПопытки;\nКонецПопытки;", "4:0"},
        {"Пока А Цикл\n  Для Б = 1 По 2 Цикл\n  КонецЦикла;\nКонецЦикла;", ""},
        {"Процедура А() Далее\nФункция Б(В = \"(\") // )\n  Возврат 1;\nКонецФункции", ""},
        {"Если А Тогда\nПроцедура Б()\nКонецПроцедуры\nКонецЕсли;", "0:0 3:0"},  // blocks end at methods
    };
    for (const Row& r : rows) EXPECT_EQ(Blocks(r.text, kMiddle).Mismatches(), r.want) << r.text;
}

TEST(Mismatches, EnglishAndMixedModules) {
    const char* text = "Procedure А()\n  If Б Then\n    Пока В Цикл\n    EndDo;\n  Иначе\n  EndIf;\nEndProcedure";
    EXPECT_EQ(Blocks(text, kBoth).Mismatches(), "");
    EXPECT_EQ(Blocks(text, kMiddle).Mismatches(), "2:4 4:2");  // English words unknown: Пока, Иначе
    Blocks e(text, kBoth, true);
    EXPECT_EQ(e.Group(4, 3), "4:2 | 1:2 5:2");
    EXPECT_EQ(e.Jump(1, 3), "4:2");
    EXPECT_EQ(e.Group(3, 5), "3:4 | 2:4");
}

TEST(Mismatches, InLinesJudgeTheWholeMethodAroundThem) {
    std::string text = "Процедура А()\n  Если Б Тогда\n";
    for (int i = 0; i < 200; ++i) text += "    В = (1);\n";
    text += "  КонецЕсли;\n  КонецЦикла;\nКонецПроцедуры\nПроцедура Г()\n  Если Д Тогда\nКонецПроцедуры";
    Blocks b(text, kMiddle);
    // Lines 100 .. 140 show nothing wrong, though their Если and КонецЕсли lie far outside.
    EXPECT_TRUE(MismatchesInLines(b.doc, b.a.Keywords, 100, 140, b.a.KeyWordsMap, b.a.ScanBuffer).empty());
    const auto near = MismatchesInLines(b.doc, b.a.Keywords, 195, 210, b.a.KeyWordsMap, b.a.ScanBuffer);
    ASSERT_EQ(near.size(), 2u);
    EXPECT_EQ(near[0].Line, 203);  // КонецЦикла
    EXPECT_EQ(near[1].Line, 206);  // the unclosed Если of Г
    EXPECT_EQ(b.Mismatches(), "203:2 206:2");
}

TEST(Mismatches, MessagesInRussian) {
    const BlockMismatch m{11, 2, 5, kIf};
    EXPECT_EQ(Cp1251ToUtf8(MismatchMessage(m, Utf8To1251("Если"))), "Строка 12: Если — нет КонецЕсли");
    EXPECT_EQ(Cp1251ToUtf8(MismatchMessage(BlockMismatch{0, 0, 4, kEndDo}, "EndDo")), "Строка 1: EndDo — нет For or While");
    EXPECT_EQ(Cp1251ToUtf8(MismatchMessage(BlockMismatch{2, 0, 0, kCloseBracket}, ")")), "Строка 3: ) — нет (");
    EXPECT_EQ(Cp1251ToUtf8(MismatchSummary(0)), "Проверка блоков: несоответствий нет");
    EXPECT_EQ(Cp1251ToUtf8(MismatchSummary(3)), "Проверка блоков: несоответствий 3");
}

// The corpus is code that the configurator compiles: with English spellings known it has no
// mismatch, and without them every one reported is a block closed by an English word.
TEST(Mismatches, CorpusModules) {
    const auto modules = CorpusModules();
    if (modules.empty()) GTEST_SKIP() << "no corpus at " << TINTMARK_CORPUS_DIR;
    size_t withoutEnglish = 0;
    for (const auto& [name, text] : modules) {
        SCOPED_TRACE(name);
        MemoryDocument doc = MemoryDocument::FromText(text);
        Analysis a;
        BuildKeyWordTable(a.Keywords, kBoth);
        EXPECT_TRUE(CheckDocumentBlocks(doc, a.Keywords, a.KeyWordsMap, a.ScanBuffer).empty());
        BuildKeyWordTable(a.Keywords, kMiddle);
        for (const BlockMismatch& m : CheckDocumentBlocks(doc, a.Keywords, a.KeyWordsMap, a.ScanBuffer)) {
            ++withoutEnglish;
            EXPECT_TRUE(m.Kind == kWhile || m.Kind == kFor) << "line " << m.Line;  // ended by EndDo
        }
    }
    EXPECT_EQ(modules.size(), 48u);
    EXPECT_EQ(withoutEnglish, 5u);
}
