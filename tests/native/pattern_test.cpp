// The expression object's settings, modifiers and errors.
#include "regex/pattern.h"

#include <gtest/gtest.h>

using namespace tintmark::regex;

TEST(Pattern, ModifierDefaults) {
    TPattern base;
    TPluginPattern plugin;
    struct Row { int index; bool base, plugin; };
    for (const Row r : {Row{kModI, false, true}, Row{kModR, true, true}, Row{kModS, true, true},
                        Row{kModG, true, true}, Row{kModM, false, false}, Row{kModX, false, false}}) {
        EXPECT_EQ(base.ReadModifier(r.index), r.base) << r.index;
        EXPECT_EQ(plugin.ReadModifier(r.index), r.plugin) << r.index;
    }
    EXPECT_EQ(plugin.ModifierBits(), 1u | 2u | 4u | 8u);
    EXPECT_EQ(base.LineBreakPair(), "\r\n");
    EXPECT_EQ(base.SpaceCharacters(), " \t\n\r\f");
}

TEST(Pattern, BadModifierIndexIsAnUnknownError) {
    TPattern p;
    for (int index : {0, 7, -1}) {
        try {
            p.WriteModifier(index, true);
            FAIL() << index;
        } catch (const EPatternError& e) {
            EXPECT_EQ(e.Code, kBadModifierIndex);
            EXPECT_STREQ(e.what(), "Unknown error");  // no position for codes from 1000 on
            EXPECT_EQ(e.CompilePos, 0);
        }
    }
    EXPECT_EQ(p.LastErrorCode(), kBadModifierIndex);
    EXPECT_THROW(p.ReadModifier(7), EPatternError);
}

TEST(Pattern, ModifierStrings) {
    struct Row { const char* letters; uint32_t from; bool ok; uint32_t want; };
    const Row rows[] = {
        {"i", 0, true, 1}, {"-i", 15, true, 14}, {"i-s", 4, true, 1}, {"IMX", 0, true, 1 | 16 | 32},
        {"", 5, true, 5}, {"-", 5, true, 5}, {"ig-rs", 6, true, 9}, {"q", 5, false, 5}, {"i-z", 0, false, 0},
    };
    for (const auto& r : rows) {
        uint32_t bits = r.from;
        EXPECT_EQ(ApplyModifierString(r.letters, bits), r.ok) << r.letters;
        EXPECT_EQ(bits, r.want) << r.letters;
    }
}

TEST(Pattern, LineBreakPair) {
    TPattern p;
    p.SetLineBreakPair("");
    EXPECT_EQ(p.LineBreakPair(), "");
    p.SetLineBreakPair("\n\r");
    EXPECT_EQ(p.LineBreakPair(), "\n\r");
    for (const char* bad : {"x", "xx", "abc"}) {
        try {
            p.SetLineBreakPair(bad);
            FAIL() << bad;
        } catch (const EPatternError& e) {
            EXPECT_EQ(e.Code, kBadLineBreakPair);
            EXPECT_STREQ(e.what(),
                         "TPattern(comp): line break pair must hold two different characters or none (pos 0)");
        }
    }
    EXPECT_EQ(p.LineBreakPair(), "\n\r");  // a refused value changes nothing
}

TEST(Pattern, ExpressionAssignment) {
    TPattern p;
    EXPECT_FALSE(p.HasExpression());
    p.SetExpression("a+");
    EXPECT_EQ(p.Expression(), "a+");
    p.SetExpression(std::string_view("ab\0cd", 5));  // the first NUL ends the text
    EXPECT_EQ(p.Expression(), "ab");
    p.SetExpression("");
    EXPECT_FALSE(p.HasExpression());
    EXPECT_FALSE(p.IsCompiled());
}

TEST(Pattern, ErrorTextsAndSwapCase) {
    EXPECT_EQ(PatternErrorText(113), "TPattern(comp): unmatched []");
    EXPECT_EQ(PatternErrorText(110), "TPattern(comp): trailing \\ inside []");
    EXPECT_EQ(PatternErrorText(1014), "TPattern(exec): loop stack exceeded");
    EXPECT_EQ(PatternErrorText(117), "Unknown error");
    EXPECT_EQ(PatternErrorText(1013), "Unknown error");
    struct Row { unsigned char c, other; };
    for (const Row r : {Row{'a', 'A'}, Row{'Z', 'z'}, Row{0xE0, 0xC0}, Row{0xDF, 0xFF}, Row{0xB8, 0xA8},
                        Row{0xA8, 0xB8}, Row{'1', '1'}, Row{'_', '_'}})
        EXPECT_EQ(TPattern::DefaultSwapCase(r.c), r.other) << int(r.c);
}
