// Keyword table, line scanning and the token at the caret.
#include <gtest/gtest.h>

#include <limits>

#include "analysis/keywords.h"
#include "analysis/memory_document.h"
#include "analysis/scanner.h"
#include "analysis/token.h"
#include "text/cp1251.h"

using namespace tintmark;

namespace {

KeywordTable Table() {
    KeywordTable t;
    BuildKeyWordTable(t);
    return t;
}

// The entries of a scan as "line:start-end kind" (plus " name" when set, "+fwd", "@index").
std::string Scan(const std::string& utf8, int32_t first = 0, int32_t count = 1000) {
    MemoryDocument doc = MemoryDocument::FromText(Utf8To1251(utf8));
    const KeywordTable table = Table();
    TKeyWordsMap map;
    std::string buffer;
    ScanLines(doc, first, count, table, map, buffer);
    std::string out;
    for (int32_t i = 0; i < map.Count(); ++i) {
        const TKeyWordPos& e = map[i];
        if (!out.empty()) out += "; ";
        out += std::to_string(e.Line) + ":" + std::to_string(e.StartCol) + "-" + std::to_string(e.EndCol) + " " +
               std::to_string(e.Kind);
        if (!e.Name.empty()) out += " " + Cp1251ToUtf8(e.Name) + (e.NameOnSameLine ? "" : "(next line)");
        if (e.Forward) out += " +fwd";
        if (e.WordIndex) out += " @" + std::to_string(e.WordIndex);
    }
    return out;
}

}  // namespace

TEST(KeywordTable, BuiltByTheRulesInSortedOrder) {
    const KeywordTable t = Table();
    struct Row { const char* word; int kind, direction, p1, p2; };
    const Row rows[] = {
        {"далее", 12, 2, 0, 0}, {"для", 7, 0, 9, 9}, {"если", 5, 0, 6, 6}, {"конецесли", 6, 1, 5, 5},
        {"конецпопытки", 11, 1, 10, 10}, {"конецпроцедуры", 2, 1, 1, 1}, {"конецфункции", 4, 1, 3, 3},
        {"конеццикла", 9, 1, 7, 8}, {"пока", 8, 0, 9, 9}, {"попытка", 10, 0, 11, 11}, {"процедура", 1, 0, 2, 2},
        {"функция", 3, 0, 4, 4},
    };
    ASSERT_EQ(t.KeyWordCount, 12);
    std::string list = ",";
    for (size_t i = 0; i < std::size(rows); ++i) {
        const TKeyWord& k = t.KeyWords[i];
        EXPECT_EQ(Cp1251ToUtf8(k.Word), rows[i].word);
        EXPECT_EQ(k.Kind, rows[i].kind);
        EXPECT_EQ(k.Direction, rows[i].direction);
        EXPECT_EQ(k.Partner1, rows[i].p1);
        EXPECT_EQ(k.Partner2, rows[i].p2);
        EXPECT_EQ(LookUpKeyWord(t, k.Word), static_cast<int>(i));
        list += Cp1251ToUtf8(k.Word) + ",";
    }
    EXPECT_EQ(Cp1251ToUtf8(t.KeyWordList), list);
    EXPECT_EQ(LookUpKeyWord(t, Utf8To1251("КонецЕсли")), 3);
    EXPECT_EQ(LookUpKeyWord(t, Utf8To1251("конец")), -1);
    EXPECT_EQ(LookUpKeyWord(t, ""), -1);
    EXPECT_FALSE(InKeyWordList(t, Utf8To1251("конец")));  // a part of a word is not a word
    EXPECT_EQ(KindDirection(18), 2);
    EXPECT_EQ(KindPartner1(12), 0);
}

TEST(Scanner, Table) {
    struct Row { const char* text; const char* want; };
    const Row rows[] = {
        {"КонецЕсли конецесли КОНЕЦЕСЛИ", "0:0-8 6; 0:10-18 6 @1; 0:20-28 6 @2"},
        {"А = 1; // Если (", ""},
        {"С = \"Если (\"; Если", "0:14-17 5 @1"},
        {"С = \"// Если\" + \"\"\"\" Если", "0:21-24 5 @1"},
        {"// \"Если\nЕсли", "1:0-3 5"},
        {"С = \"начало\n|Если ( \"Если", "1:9-12 5"},
        {"1если если1", "0:1-4 5"},
        {"ВсёЕсли", ""},                       // «ё» is a letter: one word, no keyword
        {"Всё Если ЁЕсли", "0:4-7 5 @1"},
        {"Процедура ЁлкаЁ()", "0:0-8 1 ёлкаё; 0:15-15 16 @2; 0:16-16 17 @2"},  // «Ё» is lowered too
        {"Процедура Тест() Далее", "0:0-8 1 тест +fwd; 0:14-14 16 @2; 0:15-15 17 @2; 0:17-21 12 @2"},
        {"Процедура\n  Тест()", "0:0-8 1 тест(next line); 1:6-6 16 @1; 1:7-7 17 @1"},
        {"Функция (А)", "0:0-6 3; 0:8-8 16 @1; 0:10-10 17 @2"},  // a bracket first: no name
        {"Процедура А() КонецПроцедуры Далее", "0:0-8 1 а +fwd; 0:11-11 16 @2; 0:12-12 17 @2; 0:14-27 2 @2; 0:29-33 12 @3"},
        {"\tДля\tК", "0:1-3 7"},
        {"А(Б)", "0:1-1 16 @1; 0:3-3 17 @2"},
        {"", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(Scan(r.text), r.want) << r.text;
}

TEST(Scanner, RangesAreClamped) {
    const char* text = "Если\nПока\nДля\nКонецЦикла";
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    struct Row { int32_t first, count; const char* want; };
    const Row rows[] = {
        {1, 2, "1:0-3 8; 2:0-2 7"},
        {-5, 2, "0:0-3 5; 1:0-3 8"},  // the first line is clamped before the count
        {2, 100, "2:0-2 7; 3:0-9 9"},
        {10, 5, ""},                  // past the last line: the range is empty
        // The last line first + count - 1 does not wrap round 32 bits.
        {1, kMax, "1:0-3 8; 2:0-2 7; 3:0-9 9"},
        {3, kMax, "3:0-9 9"},
        {kMax, kMax, ""},
        {0, -1, "0:0-3 5"},           // a negative count: the clamp keeps line 0
        {0, kMin, "0:0-3 5"},
        {2, -1, ""},
    };
    for (const Row& r : rows) EXPECT_EQ(Scan(text, r.first, r.count), r.want) << r.first << " " << r.count;
}

TEST(InLineComment, TheScannersCommentRule) {
    struct Row { const char* line; int32_t c; bool want; };
    const Row rows[] = {
        {"А = 1; // Ф(1)", 12, true},
        {"А = 1; // Ф(1)", 7, false},              // the caret before the comment
        {"А = 1; // Ф(1)", 8, false},              // between the two slashes
        {"А = 1; // Ф(1)", 9, true},
        {"Сообщить(\"http://x\"); Ф(1)", 25, false},  // "//" inside a literal
        {"Сообщить(\"http://x\"); // Ф(1)", 28, true},
        {"С = \"а\"\"//\"\"б\"; Ф(1)", 19, false},    // doubled quotes: still inside
        {"|http://x\"; Ф(1)", 15, false},           // a continuation line of a literal
        {"С = \"http://x", 13, false},              // an unclosed literal runs to the end
        {"А / Б / В", 9, false},
        {"//", 2, true},
        {"//", 1, false},
        {"Ф(1) //", 100, true},                     // a caret past the end sees the whole line
        {"", 0, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(InLineComment(Utf8To1251(r.line), r.c), r.want) << r.line << " @" << r.c;
}

TEST(Scanner, GrowsPastTheInitialCapacityAndReusesIt) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "(";
    MemoryDocument doc = MemoryDocument::FromText(text);
    const KeywordTable table = Table();
    TKeyWordsMap map;
    map.SetLength(128);
    std::string buffer;
    ScanLines(doc, 0, 1, table, map, buffer);
    EXPECT_EQ(map.Count(), 300);
    EXPECT_EQ(map.Capacity(), 384);
    EXPECT_EQ(map[299].StartCol, 299);
    MemoryDocument small = MemoryDocument::FromText("()");
    ScanLines(small, 0, 1, table, map, buffer);
    EXPECT_EQ(map.Count(), 2);
    EXPECT_EQ(map.Capacity(), 384);
}

TEST(TokenAtCaret, Table) {
    struct Row { const char* line; int c; const char* token; const char* left; const char* right; };
    const Row rows[] = {
        {"Если А(Б) Тогда", 7, "(", "(", ""},
        {"Если А(Б) Тогда", 8, ")", "", ")"},
        {"Если А(Б) Тогда", 2, "Если", "Ес", "ли"},
        {"Если А(Б) Тогда", 0, "Если", "", "Если"},
        {"Если А(Б) Тогда", 4, "Если", "Если", ""},
        {"Если А(Б) Тогда", 15, "Тогда", "Тогда", ""},
        {"((", 1, "(", "(", ""},       // between two "(": the left one
        {"))", 1, ")", "", ")"},       // between two ")": the right one
        {"()", 1, "(", "(", ""},       // between "(" and ")": the "("
        {")(", 1, "", "", ""},         // between ")" and "(": no token
        {"(", 0, "(", "(", ""},        // c = 0 looks at the first character
        {"a  b", 2, "", "", ""},
        {"x.y", 1, "x", "x", ""},
        {"КонецЦикла;", 5, "КонецЦикла", "Конец", "Цикла"},
    };
    for (const auto& r : rows) {
        const CaretToken t = TokenAtCaret(Utf8To1251(r.line), r.c);
        EXPECT_EQ(Cp1251ToUtf8(t.token), r.token) << r.line << " @" << r.c;
        EXPECT_EQ(Cp1251ToUtf8(t.left), r.left) << r.line << " @" << r.c;
        EXPECT_EQ(Cp1251ToUtf8(t.right), r.right) << r.line << " @" << r.c;
    }
    EXPECT_EQ(TokenAtCaret("abc", 4).token, "");  // outside the line: nothing
    EXPECT_EQ(TokenAtCaret("", 0).token, "");
}
