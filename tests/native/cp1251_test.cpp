// Windows-1251 case mapping and conversions.
#include "text/cp1251.h"

#include <gtest/gtest.h>

using namespace tintmark;

TEST(Cp1251, CasePairs) {
    struct Row { unsigned char upper, lower; };
    const Row rows[] = {
        {'A', 'a'}, {'Z', 'z'}, {0xC0, 0xE0} /* А а */, {0xDF, 0xFF} /* Я я */, {0xA8, 0xB8} /* Ё ё */,
        {0x80, 0x90} /* Ђ ђ */, {0xB2, 0xB3} /* І і */, {0xA5, 0xB4} /* Ґ ґ */, {0xAA, 0xBA} /* Є є */,
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Lower1251(r.upper), r.lower);
        EXPECT_EQ(Upper1251(r.lower), r.upper);
    }
    for (unsigned char c : {'1', '(', ' ', static_cast<char>(0xB5), static_cast<char>(0x98)})
        EXPECT_EQ(Lower1251(c), c);
}

TEST(Cp1251, RoundTripsAndUnmappable) {
    const std::string text = Utf8To1251("КонецПроцедуры Ёё №");
    EXPECT_EQ(text.size(), 19u);
    EXPECT_EQ(Cp1251ToUtf8(text), "КонецПроцедуры Ёё №");
    EXPECT_EQ(Utf8To1251("日本"), "??");
    EXPECT_EQ(Utf8To1251("\xD0"), "?");  // cut sequence
    EXPECT_EQ(Encode1251(Decode1251(text)), text);
    EXPECT_EQ(CompareTextCi1251(Utf8To1251("ПРОЦЕДУРА"), Utf8To1251("процедура")), 0);
    EXPECT_LT(CompareTextCi1251("abc", "abd"), 0);
    EXPECT_GT(CompareTextCi1251("abcd", "ABC"), 0);
}

// Code units Windows-1251 cannot hold become one "?" each; a surrogate pair is one character,
// and a lone surrogate never takes the character after it with it.
TEST(Cp1251, UnmappableUnitsAndSurrogates) {
    struct Row { std::u16string in; std::string want; };
    const Row rows[] = {
        {u"\u0080", "?"},                // no byte of the code page is U+0080 (0x80 is Ђ)
        {u"\u0402", "\x80"},
        {u"\u0098", "\x98"},            // the code page's unused byte stands for itself
        {u"a\U0001F600b", "a?b"},        // a pair: one character
        {u"\xDC00" u"A", "?A"},              // a lone low surrogate
        {u"\xD800" u"A", "?A"},              // a lone high surrogate
        {u"A\xD800", "A?"},
    };
    for (const Row& r : rows) EXPECT_EQ(Encode1251(r.in), r.want) << r.want;
}
