// The expression engine: the dialect construct by construct, errors with positions, the
// program format, the summaries and the engine's bounds.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "regex/folded_search.h"
#include "regex/pattern.h"
#include "regex/program.h"
#include "text/cp1251.h"

using namespace tintmark;
using namespace tintmark::regex;

namespace {

// Runs pattern on subject (both UTF-8) and describes the outcome as tmk does:
// "S E" for the match, then " | n S E" per group; "nomatch"; "error CODE".
// pair, when given, is set as the line-break pair.
std::string Outcome(const std::string& pattern, const std::string& subject, const std::string& mods = "",
                bool plugin = true, const char* pair = nullptr) {
    TPluginPattern pp;
    TPattern base;
    TPattern& p = plugin ? static_cast<TPattern&>(pp) : base;
    uint32_t bits = p.ModifierBits();
    EXPECT_TRUE(ApplyModifierString(mods, bits));
    for (int i = kModI; i <= kModX; ++i) p.WriteModifier(i, (bits & ModifierBit(i)) != 0);
    if (pair) p.SetLineBreakPair(pair);
    p.SetExpression(Utf8To1251(pattern));
    try {
        if (!p.Exec(Utf8To1251(subject))) return "nomatch";
    } catch (const EPatternError& e) {
        return "error " + std::to_string(e.Code);
    }
    std::string out = std::to_string(p.GroupStart(0)) + " " + std::to_string(p.GroupEnd(0));
    for (int n = 1; n <= kMaxGroups; ++n)
        if (p.GroupStart(n) >= 0)
            out += " | " + std::to_string(n) + " " + std::to_string(p.GroupStart(n)) + " " +
                   std::to_string(p.GroupEnd(n));
    return out;
}

std::string ErrorMessage(const std::string& pattern, const std::string& mods = "") {
    TPluginPattern p;
    uint32_t bits = p.ModifierBits();
    ApplyModifierString(mods, bits);
    for (int i = kModI; i <= kModX; ++i) p.WriteModifier(i, (bits & ModifierBit(i)) != 0);
    p.SetExpression(Utf8To1251(pattern));
    try {
        p.CompileProgram();
    } catch (const EPatternError& e) {
        return std::to_string(e.Code) + " " + e.what();
    }
    return "compiled";
}

// The program listing without the magic line, nodes separated by "; ".
std::string Dump(const std::string& pattern, const std::string& mods = "-i") {
    TPluginPattern p;
    uint32_t bits = p.ModifierBits();
    ApplyModifierString(mods, bits);
    for (int i = kModI; i <= kModX; ++i) p.WriteModifier(i, (bits & ModifierBit(i)) != 0);
    p.SetExpression(Utf8To1251(pattern));
    p.CompileProgram();
    std::string text = DumpProgram(p.Program().data(), static_cast<int32_t>(p.Program().size()));
    text = text.substr(text.find('\n') + 1);
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("; ") : c == '\t' ? std::string(" ") : std::string(1, c);
    return out.substr(0, out.size() - 2);
}

struct Row {
    const char* pattern;
    const char* mods;
    const char* subject;
    const char* want;
};

void Check(const Row* rows, size_t n, bool plugin = true) {
    for (size_t i = 0; i < n; ++i)
        EXPECT_EQ(Outcome(rows[i].pattern, rows[i].subject, rows[i].mods, plugin), rows[i].want)
            << "pattern «" << rows[i].pattern << "» mods «" << rows[i].mods << "» subject «" << rows[i].subject
            << "»";
}

}  // namespace

TEST(Regex, PluginExpressions) {
    const std::string header = "^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+";
    const std::string ender = "^\\s*((конецпроцедуры|endprocedure)|(конецфункции|endfunction))";
    EXPECT_EQ(Outcome(header, "Процедура Тест()"), "0 14 | 1 0 9 | 2 0 9 | 4 10 14");
    EXPECT_EQ(Outcome(header, "  function Ёлка_1 ("), "0 17 | 1 2 10 | 3 2 10 | 4 11 17");
    EXPECT_EQ(Outcome(ender, "КонецФункции;"), "0 12 | 1 0 12 | 3 0 12");
    EXPECT_EQ(Outcome(header, "Процедура"), "nomatch");
    EXPECT_EQ(Outcome(header, "x Процедура Тест"), "nomatch");
    EXPECT_EQ(Outcome(header, "ПРОЦЕДУРА ВЫХОД"), "0 15 | 1 0 9 | 2 0 9 | 4 10 15");
}

TEST(Regex, LiteralsAndCase) {
    const Row rows[] = {
        {"abc", "", "xxabcx", "2 5"},
        {"abc", "", "xxABCx", "2 5"},          // i on in the plugin's class
        {"abc", "-i", "xxABCx", "nomatch"},
        {"(?i)abc", "-i", "ABC", "0 3"},
        {"a(?i)b", "-i", "aB", "0 2"},
        {"a(?i)b", "-i", "AB", "nomatch"},
        {"(a(?i)b)c", "-i", "aBC", "nomatch"},
        {"(a(?i)b)c", "-i", "aBc", "0 3 | 1 0 2"},
        {"(?-i)a", "", "A", "nomatch"},
        {"(?)a", "", "a", "0 1"},
        {"a(?#note)b", "", "ab", "0 2"},
        {"ёлка", "", "ЁЛКА", "0 4"},
        {"a]b}", "", "a]b}", "0 4"},
        {"\\.", "", "a.", "1 2"},
        {"\\x41\\x{42}\\x{0043}", "-i", "ABC", "0 3"},
        {"\\t\\n\\r\\f\\a\\e", "", "\t\n\r\f\a\x1b", "0 6"},
        {"\\q", "", "q", "0 1"},
        {"\\x00", "", "a", "nomatch"},
    };
    Check(rows, std::size(rows));
}

TEST(Regex, AnchorsDotAndLines) {
    const Row rows[] = {
        {"^b", "", "ab", "nomatch"},
        {"^b", "m", "a\r\nb", "3 4"},
        {"^$", "m", "a\r\n", "3 3"},
        {"a$", "m", "a\r\nb", "0 1"},
        {"\\r$", "m", "a\r\nb", "nomatch"},  // $ never between CR and LF
        {"^\\n", "m", "a\r\nb", "nomatch"},  // no line start between CR and LF
        {"^b", "m", "a\nb", "2 3"},
        {"a$", "", "a\n", "nomatch"},        // a final line break is nothing special
        {"\\Aa", "m", "b\na", "nomatch"},
        {"a\\Z", "m", "a\nb", "nomatch"},
        {"a.b", "-s", "a\nb", "nomatch"},
        {"a.b", "", "a\nb", "0 3"},
        {"a.b", "-s", "a\rb", "nomatch"},
        {"a.", "", "a", "nomatch"},
        {"\\bfoo\\b", "", "a foo b", "2 5"},
        {"\\bfoo\\b", "", "afoo", "nomatch"},
        {"\\Boo", "", "foo", "1 3"},
        {"\\d+\\D", "", "ab123c", "2 6"},
        {"\\w+", "", "  ab_9 ", "2 6"},
        {"\\W+", "", "ab  cd", "2 4"},
        {"\\s+", "", "a \t\r\nb", "1 5"},
        {"\\S+", "", "  xy ", "2 4"},
        {"\\w", "", "ж", "nomatch"},      // \w takes its set as it stands
    };
    Check(rows, std::size(rows));
}

// A line-break pair of two ordinary characters: the dot (without s) does not take its first
// character where the second follows, and the pair ends a line for ^ and $ (with m).
TEST(Regex, DotAndAnchorsAroundAnotherLineBreakPair) {
    const Row rows[] = {
        {"x.", "-s", "xab", "nomatch"},  // "a" starts the pair
        {"x.", "-s", "xac", "0 2"},      // "a" without its "b" is an ordinary character
        {"x.", "-s", "xba", "0 2"},
        {"x.", "", "xab", "0 2"},        // with s the dot takes it
        {".b", "-s", "ab", "nomatch"},
        {"^c", "m", "abc", "2 3"},
        {"x$", "m", "xab", "0 1"},
        {"x$", "m", "xac", "nomatch"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Outcome(r.pattern, r.subject, r.mods, true, "ab"), r.want) << r.pattern << " " << r.mods << " "
                                                                            << r.subject;
}

TEST(Regex, AlternationGroupsAndBackReferences) {
    const Row rows[] = {
        {"(a|ab)(c|bcd)(d*)", "", "abcd", "0 4 | 1 0 1 | 2 1 4 | 3 4 4"},
        {"ab|", "", "zz", "0 0"},
        {"a|b|c", "", "xc", "1 2"},
        {"(a)+", "", "aaa", "0 3 | 1 2 3"},
        {"(a+)b\\1", "", "aabaa", "0 5 | 1 0 2"},
        {"(a)\\1", "", "aA", "0 2 | 1 0 1"},          // under i the reference folds case
        {"(a)\\1", "-i", "aA", "nomatch"},
        {"(a)|\\1b", "", "b", "nomatch"},              // a group that took no part matches nothing
        {"(a*)\\1*b", "", "b", "0 1 | 1 0 0"},         // an empty group repeated: no endless count
        {"(ab)\\1{2}", "", "ababab", "0 6 | 1 0 2"},
        {"()", "", "x", "0 0 | 1 0 0"},
    };
    Check(rows, std::size(rows));
}

TEST(Regex, Quantifiers) {
    const Row rows[] = {
        {"a+?", "", "aaa", "0 1"},
        {"a*?b", "", "aaab", "0 4"},
        {"a*ab", "", "aaab", "0 4"},
        {"a*", "", "", "0 0"},
        {"x*", "", "", "0 0"},
        {"a{2,3}", "", "aaaa", "0 3"},
        {"a{2,3}?", "", "aaaa", "0 2"},
        {"a{2}", "", "a", "nomatch"},
        {"a{2,}", "", "aaaaa", "0 5"},
        {"a{,3}", "", "a{,3}", "0 5"},
        {"a{2", "", "a{2", "0 3"},
        {"x{2", "", "xx{2", "1 4"},
        {"(ab)*", "", "ababx", "0 4 | 1 2 4"},
        {"(ab)*?", "", "abab", "0 0"},
        {"(ab)+?", "", "abab", "0 2 | 1 0 2"},
        {"(ab){2,3}", "", "abababab", "0 6 | 1 4 6"},
        {"(ab){2,3}?", "", "abababab", "0 4 | 1 2 4"},
        {"(ab)?c", "", "abc", "0 3 | 1 0 2"},
        {"(ab)??c", "", "abc", "0 3 | 1 0 2"},
        {"[xy]?z", "", "yz", "0 2"},
        {"[xy]??y", "", "y", "0 1"},
        {"(a*)?", "", "aa", "0 2 | 1 0 2"},
        {"a+", "-g", "aaa", "0 1"},                  // without g every quantifier is lazy
        {"a+?", "-g", "aaa", "0 1"},
        {"[а-я]+", "-i", "ёлка", "0 4"},
        {"[а-я]+", "-i-r", "ёлка", "1 4"},
        {"[А-Я]+", "-i", "ЁЖ", "0 2"},
        {"[а-Я]+", "-i", "ёЁ", "0 2"},
        {"(?x) a b # comment\n c", "", "abc", "0 3"},
        {"(?x)[ ]", "", "a b", "1 2"},
        {"(?x)a\\ b", "", "a b", "0 3"},
    };
    Check(rows, std::size(rows));
}

// Cases a comparison with std::regex once found.
TEST(Regex, FormerFaults) {
    const Row rows[] = {
        // A loop that follows another reuses its counter slot; failing back must restore it.
        {"(([ab])*[ab]){2}(a{2}){1,3}?[ab]*", "-i", "bcaabaabba", "2 10 | 1 4 5 | 2 2 3 | 3 5 7"},
        {"(([ab])*[ab]){2}(aa){1}", "-i", "bcaabaabba", "2 7 | 1 4 5 | 2 2 3 | 3 5 7"},
        // After a lazy repeat inside a loop body the loop may end: its exit is a follow.
        {"a?c(((ccc[^a]))aa|[ab]([^a]{1,3}?){2,})|[^a]{0,2}", "-i", "acacbbaacbbb", "0 6 | 1 2 6 | 4 5 6"},
        // A back-reference to its own group while the group is entered again: the group's span
        // is not complete (start after end), so it stands for the empty text and the position
        // never moves backwards (it crashed, matched backwards, or gave a group ending before
        // its start).
        {"(x(a|\\2{9999999})){2}", "", "xax", "0 3 | 1 2 3 | 2 3 3"},
        {"(x(a|\\2{99}))+", "", "xax", "0 3 | 1 2 3 | 2 3 3"},
        {"(x(a|\\2)){2}", "", "xax", "0 3 | 1 2 3 | 2 3 3"},
        {"(x(a|\\2)+)+", "", "xaxa", "0 4 | 1 2 4 | 2 4 4"},
        {"(a\\1)", "", "a", "0 1 | 1 0 1"},               // first entry: not complete either
        {"(a|\\1b)+", "", "abab", "0 4 | 1 3 4"},        // entered again at its old end: empty too
        // A loop pass that consumes nothing ends the loop (it recursed to error 1016).
        {"(a*)(\\1)*", "", "b", "0 0 | 1 0 0 | 2 0 0"},
        {"(a*)(\\1)+", "", "b", "0 0 | 1 0 0 | 2 0 0"},
        {"(a*)(\\1){2,}", "", "b", "0 0 | 1 0 0 | 2 0 0"},
        {"(a*)(\\1){2,}?", "", "b", "0 0 | 1 0 0 | 2 0 0"},
        {"(a*)(\\1)*?", "", "b", "0 0 | 1 0 0"},
        {"(a*)x(\\1)*y", "", "xy", "0 2 | 1 0 0 | 2 1 1"},
        {"(a*)(\\1|b)*", "", "bb", "0 0 | 1 0 0 | 2 0 0"},  // the empty pass comes first and ends it
        {"(a*)(b|\\1)*c", "", "bbc", "0 3 | 1 0 0 | 2 2 2"}, // passes that consume go on
        {"(a*)(\\1){3}x", "", "x", "0 1 | 1 0 0 | 2 0 0"},  // required passes too: they repeat it
        // Under i the required literal is searched for in either case (the filter was dropped).
        {".*X", "", "aax", "0 3"},
        {".*ЁЛКА", "", "ёлка", "0 4"},
        {"a*AAB", "", "xaAaB", "1 5"},
        {"(ab)*C", "", "ababc", "0 5 | 1 2 4"},
    };
    Check(rows, std::size(rows));
}

TEST(Regex, BracketSets) {
    const Row rows[] = {
        {"[abc]+", "-i", "xcabz", "1 4"},
        {"[^abc]+", "-i", "abxyc", "2 4"},
        {"[]a]+", "-i", "x]a]", "1 4"},
        {"[^]a]+", "-i", "]]xy", "2 4"},
        {"[a-c-e]+", "-i", "b-e", "0 3"},
        {"[-a]+", "-i", "-a", "0 2"},
        {"[a-]+", "-i", "a-", "0 2"},
        {"[\\d-z]+", "-i", "1-z", "0 3"},
        {"[a-\\x63]+", "-i", "abc", "0 3"},
        {"[\\]\\\\]+", "-i", "]\\", "0 2"},
        {"[\\D\\S\\W]+", "-i", "DSW", "0 3"},
        {"[\\s]+", "-i", "a \tb", "1 3"},
        {"[a]", "", "A", "0 1"},
        {"[\\x00a]", "-i", "a", "0 1"},             // code 0 is dropped from a set
        {"[^a]", "-i", "", "nomatch"},              // never the end of the subject
    };
    Check(rows, std::size(rows));
}

TEST(Regex, CompileErrorsWithPositions) {
    struct E { const char* pattern; const char* mods; const char* want; };
    const E rows[] = {
        {"[abc", "", "113 TPattern(comp): unmatched [] (pos 4)"},
        {"[", "", "113 TPattern(comp): unmatched [] (pos 1)"},
        {"(a", "", "103 TPattern(comp): unmatched parenthesis (pos 2)"},
        {"a)", "", "104 TPattern(comp): unmatched parenthesis (pos 1)"},
        {"\\", "", "116 TPattern(comp): trailing \\ (pos 1)"},
        {"(a*)*", "", "106 TPattern(comp): operand of *, + or {} could match empty (pos 4)"},
        {"^{x", "", "106 TPattern(comp): operand of *, + or {} could match empty (pos 1)"},
        {"a *", "x", "106 TPattern(comp): operand of *, + or {} could match empty (pos 2)"},
        {"x{1,2}{3}", "", "107 TPattern(comp): nested quantifier (pos 6)"},
        {"a**", "", "107 TPattern(comp): nested quantifier (pos 2)"},
        {"\\xg1", "", "108 TPattern(comp): bad hex digit (pos 2)"},
        {"[z-a]", "", "109 TPattern(comp): invalid range in [] (pos 4)"},
        {"[а-Я]", "-r", "109 TPattern(comp): invalid range in [] (pos 4)"},
        {"[a\\", "", "110 TPattern(comp): trailing \\ inside [] (pos 3)"},
        {"\\x4", "", "111 TPattern(comp): no hex code after \\x (pos 3)"},
        {"\\x{41", "", "111 TPattern(comp): no hex code after \\x (pos 5)"},
        {"\\x{100}", "", "112 TPattern(comp): hex code after \\x is too big (pos 5)"},
        {"*a", "", "115 TPattern(comp): quantifier follows nothing (pos 1)"},
        {"a|+", "", "115 TPattern(comp): quantifier follows nothing (pos 3)"},
        {"a{123456789}", "", "122 TPattern(comp): brace count too big (pos 11)"},
        {"a{3,2}", "", "124 TPattern(comp): brace minimum greater than maximum (pos 6)"},
        {"(?#x", "", "125 TPattern(comp): unclosed (?#comment) (pos 4)"},
        {"(?q)", "", "127 TPattern(comp): unrecognized modifier (pos 3)"},
        {"(?i", "", "127 TPattern(comp): unrecognized modifier (pos 3)"},
        {"(a*)?", "", "compiled"},
        {"(b{0,2}){2,}", "", "106 TPattern(comp): operand of *, + or {} could match empty (pos 8)"},
        {"(b{1,2}){2,}", "", "compiled"},
        {"{", "", "compiled"},
    };
    for (const auto& r : rows) EXPECT_EQ(ErrorMessage(r.pattern, r.mods), r.want) << r.pattern;
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += "(a)";
    EXPECT_EQ(ErrorMessage(fifteen), "102 TPattern(comp): too many groups (pos 43)");
}

TEST(Regex, RunTimeChecks) {
    TPluginPattern p;
    EXPECT_THROW(p.CompileProgram(), EPatternError);
    EXPECT_EQ(p.LastErrorCode(), kNoExpressionAssigned);
    p.SetExpression("a");
    try {
        p.ExecFrom(1);
        FAIL();
    } catch (const EPatternError& e) {
        EXPECT_EQ(e.Code, kNoSubject);
        EXPECT_STREQ(e.what(), "TPattern(exec): no subject given");
    }
    EXPECT_TRUE(p.Exec("ba"));
    EXPECT_THROW(p.ExecFrom(0), EPatternError);
    EXPECT_TRUE(p.ExecFrom(2));
    EXPECT_FALSE(p.ExecFrom(3));
    EXPECT_FALSE(p.ExecFrom(4));  // past the length plus one
    EXPECT_EQ(p.GroupStart(0), -1);
    // A failed compilation leaves the object usable.
    p.SetExpression("(");
    EXPECT_THROW(p.Exec("x"), EPatternError);
    EXPECT_FALSE(p.IsCompiled());
    p.SetExpression("x");
    EXPECT_TRUE(p.Exec("x"));
    // Changing a modifier recompiles at the next run.
    p.SetExpression("X");
    EXPECT_TRUE(p.Exec("x"));
    p.WriteModifier(kModI, false);
    EXPECT_FALSE(p.Exec("x"));
}

TEST(Regex, LoopNestingIsBoundedAtRunTime) {
    // Counted loops on groups, all entered before the innermost character is read.
    std::string eleven = "a";
    for (int i = 0; i < 11; ++i) eleven = "(" + eleven + "){1,2}";
    TPluginPattern p;
    p.SetExpression(eleven);
    p.CompileProgram();  // compiles: the bound is a run-time one
    try {
        p.Exec("a");
        FAIL();
    } catch (const EPatternError& e) {
        EXPECT_EQ(e.Code, kLoopStackExceeded);
    }
    std::string ten = "a";
    for (int i = 0; i < 10; ++i) ten = "(" + ten + "){1,2}";
    p.SetExpression(ten);
    EXPECT_TRUE(p.Exec("a"));
}

TEST(Regex, DeepBacktrackingAndLongRunsEndWithTheEnginesOwnErrors) {
    auto times = [](const std::string& unit, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += unit;
        return s;
    };
    // The choices a run can go back to wait on the heap, not on the thread's stack: loops
    // over groups take lines of 100,000 characters (they ended with 1016 at a few hundred).
    const struct {
        const char* pattern;
        std::string subject;
    } longLines[] = {
        {"(ab)*c", times("ab", 50000) + "c"},
        {"(a|b)*", times("ab", 50000)},
        {"(\\w+\\s?)*", times("ab ", 33333) + "a"},
        {"^(\\w+\\s?)*$", times("a", 100000)},
        {"(ab){2,}?c", times("ab", 50000) + "c"},
    };
    for (const auto& row : longLines) {
        TPluginPattern p;
        p.SetExpression(row.pattern);
        ASSERT_TRUE(p.Exec(row.subject)) << row.pattern;
        EXPECT_EQ(p.GroupStart(0), 0) << row.pattern;
        EXPECT_EQ(p.GroupEnd(0), static_cast<int32_t>(row.subject.size())) << row.pattern;
    }
    // When they would need more memory than the bound, the run ends with 1016.
    TPluginPattern p;
    EXPECT_EQ(p.BacktrackMemory(), TPattern::kDefaultBacktrackMemory);
    p.SetBacktrackMemory(64 * 1024);
    p.SetExpression("(a|b)*");
    try {
        p.Exec(times("ab", 50000));
        FAIL();
    } catch (const EPatternError& e) {
        EXPECT_EQ(e.Code, kMatchTooDeep);
        EXPECT_STREQ(e.what(), "TPattern(exec): backtracking nested too deeply");
    }
    EXPECT_TRUE(p.Exec(times("ab", 200)));  // a shorter line fits; the object stays usable
    p.SetBacktrackMemory(0);
    EXPECT_EQ(p.BacktrackMemory(), 4096);
    p.SetBacktrackMemory(int64_t{1} << 40);
    EXPECT_EQ(p.BacktrackMemory(), int64_t{1} << 30);
    // Exponential backtracking stops at the step limit instead of hanging.
    p.SetStepLimit(1000000);
    p.SetExpression("(a|aa)+b");
    try {
        p.Exec("b" + std::string(60, 'a'));
        FAIL();
    } catch (const EPatternError& e) {
        EXPECT_EQ(e.Code, kStepLimitExceeded);
        EXPECT_STREQ(e.what(), "TPattern(exec): step limit exceeded");
    }
    // Counting repeats are flat: a 16 MB line is fine.
    p.SetStepLimit(TPattern::kDefaultStepLimit);
    p.SetExpression("^\\s*a+b");
    std::string big(16 * 1024 * 1024, 'a');
    big += 'b';
    EXPECT_TRUE(p.Exec(big));
    EXPECT_EQ(p.GroupEnd(0), static_cast<int32_t>(big.size()));
}

// The step limit bounds time: comparing a long literal or a group's text counts every
// character compared (it counted one step per node, whatever the length).
TEST(Regex, StepLimitIsASettingAndCountsCharactersCompared) {
    // Each visits far fewer nodes than the limit but compares more characters than it.
    struct Case {
        std::string pattern;
        std::string subject;
        int64_t limit;
    };
    const Case cases[] = {
        // A 1,000-character literal tried at 2,000 places: ~2,000,000 characters, ~6,000 nodes.
        {std::string(999, 'a') + "b", std::string(3000, 'a'), 1000000},
        // A 500-character group text repeated: ~4,400,000 characters, ~25,000 nodes.
        {"(a{500})\\1*c", "c" + std::string(3000, 'a'), 1000000},
        // A greedy group backed off one count at a time, its text compared each time:
        // ~40,000,000 characters, ~2,000,000 nodes.
        {"(a+)\\1b", "b" + std::string(1000, 'a'), 10000000},
    };
    for (const auto& c : cases) {
        TPluginPattern p;
        EXPECT_EQ(p.StepLimit(), TPattern::kDefaultStepLimit);
        p.SetExpression(c.pattern);
        EXPECT_FALSE(p.Exec(c.subject)) << c.pattern;  // within the default limit
        p.SetStepLimit(c.limit);
        try {
            p.Exec(c.subject);
            ADD_FAILURE() << c.pattern << " ran within " << c.limit << " steps";
        } catch (const EPatternError& e) {
            EXPECT_EQ(e.Code, kStepLimitExceeded) << c.pattern;
        }
    }
    TPluginPattern p;
    p.SetStepLimit(-5);
    EXPECT_EQ(p.StepLimit(), 1);
    p.SetExpression("x");
    EXPECT_THROW(p.Exec("x"), EPatternError);  // a run takes more than one step
    p.SetStepLimit(TPattern::kDefaultStepLimit);
    EXPECT_TRUE(p.Exec("x"));
}

// Case-insensitive filters: the required literal keeps filtering under i.
TEST(Regex, CaseInsensitiveRequiredLiteralFilters) {
    TPluginPattern p;
    p.SetExpression(".*x");
    p.SetStepLimit(1000000);  // without the filter every start position would scan the line
    EXPECT_FALSE(p.Exec(std::string(1024 * 1024, 'y')));
    p.SetStepLimit(TPattern::kDefaultStepLimit);
    const std::string subject = std::string(1024 * 1024, 'y') + "X";
    EXPECT_TRUE(p.Exec(subject));
    EXPECT_EQ(p.GroupEnd(0), static_cast<int32_t>(subject.size()));
}

// The case-insensitive literal search against a plain one on random texts.
TEST(Regex, FoldedLiteralSearchAgreesWithANaiveSearch) {
    std::array<unsigned char, 256> inverter{};
    for (int c = 0; c < 256; ++c)
        inverter[static_cast<size_t>(c)] = TPattern::DefaultSwapCase(static_cast<unsigned char>(c));
    const std::array<uint8_t, 256> classes = CaseClasses(inverter);
    for (int c = 0; c < 256; ++c) EXPECT_EQ(classes[static_cast<size_t>(c)], classes[inverter[static_cast<size_t>(c)]]);
    EXPECT_NE(classes['a'], classes['b']);
    EXPECT_EQ(classes[0xB8], classes[0xA8]);  // ё, Ё
    const std::string alphabet = "aAb\xB8\xA8";
    std::mt19937 rng(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 3000; ++round) {
        std::string text, literal;
        for (int i = pick(0, 24); i > 0; --i) text += alphabet[static_cast<size_t>(pick(0, 4))];
        for (int i = pick(1, 5); i > 0; --i) literal += alphabet[static_cast<size_t>(pick(0, 4))];
        bool naive = false;
        for (size_t at = 0; at + literal.size() <= text.size() && !naive; ++at) {
            naive = true;
            for (size_t j = 0; j < literal.size(); ++j)
                naive = naive && classes[static_cast<unsigned char>(text[at + j])] ==
                                     classes[static_cast<unsigned char>(literal[j])];
        }
        FoldedLiteral folded;
        folded.Assign(literal, classes);
        ASSERT_EQ(folded.OccursIn(reinterpret_cast<const uint8_t*>(text.c_str())), naive)
            << "«" << literal << "» in «" << text << "»";
    }
}

TEST(RegexProgram, Layouts) {
    struct D { const char* pattern; const char* want; };
    const D rows[] = {
        {"abc*", "1 Alternative next 26; 6 Literal next 14 \"ab\"; 14 Star next 26; 19 Literal next - \"c\"; "
                 "26 End next -"},
        {"a+?", "1 Alternative next 18; 6 PlusLazy next 18; 11 Literal next - \"a\"; 18 End next -"},
        {"a{2,3}", "1 Alternative next 26; 6 RepeatRange next 26 2..3; 19 Literal next - \"a\"; 26 End next -"},
        {"[xy]??", "1 Alternative next 27; 6 RepeatRangeLazy next 27 0..1; 19 InSet3 next - \"xyy\"; "
                   "27 End next -"},
        {"[xy]?", "1 Alternative next 29; 6 Alternative next 19; 11 InSet3 next 24 \"xyy\"; "
                  "19 Alternative next 24; 24 Empty next 29; 29 End next -"},
        {"(ab)*", "1 Alternative next 49; 6 Alternative next 39; 11 GroupOpen next 16 1; "
                  "16 Alternative next 29; 21 Literal next 29 \"ab\"; 29 GroupClose next 34 1; "
                  "34 JumpBack next 6; 39 Alternative next 44; 44 Empty next 49; 49 End next -"},
        {"(ab)*?", "1 Alternative next 51; 6 LoopEntry next 34; 11 GroupOpen next 16 1; "
                   "16 Alternative next 29; 21 Literal next 29 \"ab\"; 29 GroupClose next 34 1; "
                   "34 LoopLazy next 51 0..2147483646 body 11; 51 End next -"},
        {"(ab){2,3}", "1 Alternative next 51; 6 LoopEntry next 34; 11 GroupOpen next 16 1; "
                      "16 Alternative next 29; 21 Literal next 29 \"ab\"; 29 GroupClose next 34 1; "
                      "34 Loop next 51 2..3 body 11; 51 End next -"},
        {"(ab)+", "1 Alternative next 49; 6 GroupOpen next 11 1; 11 Alternative next 24; "
                  "16 Literal next 24 \"ab\"; 24 GroupClose next 29 1; 29 Alternative next 39; "
                  "34 JumpBack next 6; 39 Alternative next 44; 44 Empty next 49; 49 End next -"},
        {"[abc]", "1 Alternative next 14; 6 InSet3 next 14 \"abc\"; 14 End next -"},
        {"[ab]", "1 Alternative next 14; 6 InSet3 next 14 \"abb\"; 14 End next -"},
        {"x{2", "1 Alternative next 21; 6 Literal next 13 \"x\"; 13 Literal next 21 \"{2\"; 21 End next -"},
        {"x{,2}", "1 Alternative next 23; 6 Literal next 13 \"x\"; 13 Literal next 23 \"{,2}\"; 23 End next -"},
        {"\\1", "1 Alternative next 12; 6 BackRef next 12 1; 12 End next -"},
        {"a|b", "1 Alternative next 13; 6 Literal next 25 \"a\"; 13 Alternative next 25; "
                "18 Literal next 25 \"b\"; 25 End next -"},
    };
    for (const auto& r : rows) EXPECT_EQ(Dump(r.pattern), r.want) << r.pattern;
    EXPECT_EQ(Dump("[a]", ""), "1 Alternative next 14; 6 InSet3 next 14 \"Aaa\"; 14 End next -");
    EXPECT_EQ(Dump("[^abcd]"),
              "1 Alternative next 43; 6 InSet256 next 43 "
              "FFFFFFFFFFFFFFFFFFFFFFFFE1FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF; 43 End next -");
}

TEST(RegexProgram, Summaries) {
    auto compiled = [](const char* pattern, const char* mods = "-i") {
        auto p = std::make_unique<TPluginPattern>();
        uint32_t bits = p->ModifierBits();
        ApplyModifierString(mods, bits);
        for (int i = kModI; i <= kModX; ++i) p->WriteModifier(i, (bits & ModifierBit(i)) != 0);
        p->SetExpression(pattern);
        p->CompileProgram();
        return p;
    };
    auto p = compiled("^abc");
    EXPECT_TRUE(p->AnchoredAtStart());
    EXPECT_EQ(p->FirstLiteralChar(), 0);
    p = compiled("abc|d");
    EXPECT_FALSE(p->AnchoredAtStart());
    EXPECT_EQ(p->FirstLiteralChar(), 0);
    EXPECT_TRUE(p->StartCharSetHas('a') && p->StartCharSetHas('d') && !p->StartCharSetHas('b'));
    p = compiled("abc");
    EXPECT_EQ(p->FirstLiteralChar(), 'a');
    p = compiled("a*foo");
    EXPECT_EQ(p->RequiredLiteral(), "foo");
    EXPECT_FALSE(p->RequiredLiteralFolded());
    p = compiled("a*foo", "");
    EXPECT_EQ(p->RequiredLiteral(), "foo");
    EXPECT_TRUE(p->RequiredLiteralFolded());
    p = compiled("a*(?i)x(?-i)foo", "-i");  // the longest, exact or not
    EXPECT_EQ(p->RequiredLiteral(), "foo");
    EXPECT_FALSE(p->RequiredLiteralFolded());
    p = compiled("(?m)$");
    EXPECT_TRUE(p->StartCharSetHas(0) && p->StartCharSetHas('\r') && p->StartCharSetHas('\n'));
    EXPECT_FALSE(p->StartCharSetHas('a'));
    p = compiled("abc", "");
    EXPECT_TRUE(p->StartCharSetHas('a') && p->StartCharSetHas('A'));
    p = compiled("\\d?x");
    EXPECT_TRUE(p->StartCharSetHas('5') && p->StartCharSetHas('x') && !p->StartCharSetHas('y'));
    p = compiled("(\\b)??x");  // an empty loop body: the analysis still ends
    EXPECT_TRUE(p->StartCharSetHas('x'));
}
