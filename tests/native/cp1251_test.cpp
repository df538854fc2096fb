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
