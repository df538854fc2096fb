// Parsing of the configurator's option values and the appearance property rules.
#include "render/display_settings.h"
#include "text/text_width.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tintmark;

TEST(ParseRegistryInt, Table) {
    struct Row { const char* text; std::optional<int32_t> want; };
    const Row rows[] = {
        {"0", 0}, {"16777215", 0xFFFFFF}, {"-1", -1}, {"-2", -2}, {"+7", 7}, {"  42", 42},
        {"$FF", 255}, {"0x10", 16}, {"$FFFFFFFF", -1}, {"-2147483648", INT32_MIN}, {"2147483647", INT32_MAX},
        {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"$100000000", std::nullopt},
        {"", std::nullopt}, {"-", std::nullopt}, {"$", std::nullopt}, {"12abc", std::nullopt},
        {"42 ", std::nullopt}, {"abc", std::nullopt}, {"1.5", std::nullopt},
    };
    for (const auto& r : rows) EXPECT_EQ(ParseRegistryInt(r.text), r.want) << '"' << r.text << '"';
}

TEST(SplitBLangItems, SeparatorsAndTrailing) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitBLangItems("Courier New,-13,0,400"), (V{"Courier New", "-13", "0", "400"}));
    EXPECT_EQ(SplitBLangItems("Arial,"), (V{"Arial"}));
    EXPECT_EQ(SplitBLangItems("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitBLangItems("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitBLangItems(",x"), (V{"", "x"}));
}

TEST(ApplyBLang, Table) {
    struct Row {
        const char* value;
        const char* name;
        int32_t height;
        bool bold, italic;
    };
    const Row rows[] = {
        {"", "Courier", -13, false, false},                    // empty value: defaults
        {"Lucida Console", "Lucida Console", -13, false, false},  // face only
        {"Arial,-16,0,700", "Arial", -16, true, false},
        {"Arial,-16,1,400", "Arial", -16, false, true},          // 400 and italic 1
        {"Arial,-16,0,701", "Arial", -16, false, false},         // 701 is not bold
        {"Arial,big,2,700", "Arial", -13, true, true},           // bad height, others taken
        {"Arial,-10,x,y", "Arial", -10, false, false},
        {"Arial,-10,-1,700,1,204", "Arial", -10, true, false},   // extra items ignored
    };
    for (const auto& r : rows) {
        FontSpec f;
        ApplyBLang(r.value, f);
        EXPECT_EQ(f.Name, r.name) << r.value;
        EXPECT_EQ(f.Height, r.height) << r.value;
        EXPECT_EQ(f.Bold, r.bold) << r.value;
        EXPECT_EQ(f.Italic, r.italic) << r.value;
    }
}

TEST(ApplyOptionDefaults, BySign) {
    constexpr Colour kSys = 0x00F0E0D0;
    struct Row {
        ModuleOptions read;
        int32_t tab;
        Colour key, oper, back, book;
    };
    const Row rows[] = {
        {{}, 4, 255, 255, kWhite, 0xFF0000},                                  // nothing read
        {{8, 0x800000, 0x008000, -1, 0x00FF00}, 8, 0x800000, 0x008000, kSys, 0x00FF00},
        {{-3, -7, -9, -5, -1}, 4, 255, 255, -5, 0xFF0000},                     // -5 background stays
        {{0, 0, 0, 0, 0}, 4, 0, 0, 0, 0},                                     // tab 0 would divide by 0
        {{1, 1, 1, -2, 1}, 1, 1, 1, kWhite, 1},
        {{64, 1, 1, -2, 1}, 64, 1, 1, kWhite, 1},                             // the largest tab size kept
        {{65, 1, 1, -2, 1}, 4, 1, 1, kWhite, 1},
        {{2147483647, 1, 1, -2, 1}, 4, 1, 1, kWhite, 1},                      // x CharWidth would overflow
    };
    for (const auto& r : rows) {
        ConfiguratorSettings s;
        ApplyOptionDefaults(r.read, kSys, s);
        EXPECT_EQ(s.TabSize, r.tab);
        EXPECT_EQ(s.KeywordColor, r.key);
        EXPECT_EQ(s.OperatorColor, r.oper);
        EXPECT_EQ(s.BackgroundColor, r.back);
        EXPECT_EQ(s.DefaultBookMarkColor, r.book);
    }
}

TEST(DeriveMetrics, MeasuredSizesOrFallbacksFromTheFontHeight) {
    struct Row {
        int32_t fontHeight, blankWidth, blankHeight, tabSize;
        int32_t line, width, tab;
    };
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    const Row rows[] = {
        {-13, 8, 15, 4, 15, 8, 32},            // measured
        {-13, 0, 0, 4, 15, 7, 28},             // measuring failed: from the character height
        {-13, -1, -1, 4, 15, 7, 28},
        {20, 0, 0, 2, 20, 12, 24},             // a positive height is the cell height
        {0, 0, 0, 4, 15, 7, 28},               // no height: that of the default font
        {kMin, 0, 0, 4, 1166, 600, 2400},      // absurd heights are bounded
        {kMax, 0, 0, 4, 1000, 600, 2400},
        {-13, 9, 0, 8, 15, 9, 72},             // only the failed half falls back
        {-13, kMax / 2, 15, 64, 15, kMax / 2, kMax},  // the tab width is held to 32 bits
    };
    for (const Row& r : rows) {
        FontSpec font;
        font.Height = r.fontHeight;
        const DisplayMetrics m = DeriveMetrics(font, r.blankWidth, r.blankHeight, r.tabSize);
        EXPECT_EQ(m.LineHeight, r.line) << r.fontHeight << " " << r.blankWidth << "x" << r.blankHeight;
        EXPECT_EQ(m.CharWidth, r.width) << r.fontHeight << " " << r.blankWidth << "x" << r.blankHeight;
        EXPECT_EQ(m.TabWidth, r.tab) << r.fontHeight << " " << r.blankWidth << "x" << r.blankHeight;
        EXPECT_GT(m.LineHeight, 0);
    }
}

TEST(PutColour, ZeroStoresTheFallbackAtTheTimeOfTheCall) {
    ConfiguratorSettings cfg;
    cfg.BackgroundColor = 0xFFFFFF;
    cfg.KeywordColor = 0x0000FF;
    cfg.DefaultBookMarkColor = 0xFF0000;
    Appearance a;
    PutColour(a, &Appearance::GutterColor, ColourFallback::Background, 0, cfg);
    PutColour(a, &Appearance::OpenBracketFontColor, ColourFallback::Keyword, 0, cfg);
    PutColour(a, &Appearance::BookMarkColor, ColourFallback::BookMark, 0, cfg);
    PutColour(a, &Appearance::CrossLinesColor, ColourFallback::None, 0, cfg);
    PutColour(a, &Appearance::MethodsBorderColor, ColourFallback::Background, 0x123456, cfg);
    EXPECT_EQ(a.GutterColor, 0xFFFFFF);
    EXPECT_EQ(a.OpenBracketFontColor, 0x0000FF);
    EXPECT_EQ(a.BookMarkColor, 0xFF0000);
    EXPECT_EQ(a.CrossLinesColor, 0);
    EXPECT_EQ(a.MethodsBorderColor, 0x123456);
    cfg.BackgroundColor = 0x010101;  // a later change does not reach a stored value
    EXPECT_EQ(a.GutterColor, 0xFFFFFF);
}

TEST(PutSwitch, DisableAutoHighlightCouplesWithHighlightModeAlways) {
    Appearance a;
    PutSwitch(a, &Appearance::HighlightModeAlways, true);
    PutSwitch(a, &Appearance::DisableAutoHighlight, true);
    EXPECT_TRUE(a.DisableAutoHighlight);
    EXPECT_FALSE(a.HighlightModeAlways);
    PutSwitch(a, &Appearance::HighlightModeAlways, true);
    EXPECT_TRUE(a.HighlightModeAlways);
    EXPECT_TRUE(a.DisableAutoHighlight);
    PutSwitch(a, &Appearance::DisableAutoHighlight, false);  // turning it off leaves the mode
    EXPECT_TRUE(a.HighlightModeAlways);
}

namespace {
struct Fixed8 : TextMeasure {
    int32_t Width(std::string_view text) override { return static_cast<int32_t>(text.size()) * 8; }
};
}  // namespace

TEST(ExpandedTextWidth, TabsAdvanceToTheNextStop) {
    Fixed8 m;
    std::string scratch;
    struct Row { const char* text; int32_t blanks; };
    const Row rows[] = {{"abc\t", 4}, {"abcd\t", 8}, {"\t\t", 8}, {"abc", 3}, {"a\tb", 5}, {"", 0},
                        {"abcde\tx", 9}};
    for (const auto& r : rows)
        EXPECT_EQ(ExpandedTextWidth(r.text, m, 4, 32, 8, scratch), r.blanks * 8) << r.text;
    EXPECT_EQ(ExpandedTextWidth(std::string_view("ab\0\t", 4), m, 4, 32, 8, scratch), 16);  // stops at a zero
    EXPECT_EQ(ExpandedTextWidth("ab\t", m, 0, 0, 8, scratch), 16);  // no tab size: no division by zero
}
