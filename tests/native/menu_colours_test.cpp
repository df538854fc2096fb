// Colour functions of the flat-style menus and the working colours of DeriveColors.
#include "menus/colour_math.h"
#include "menus/working_colors.h"

#include <gtest/gtest.h>

using namespace tintmark::menus;

namespace {
constexpr Rgb RGB(int r, int g, int b) { return MakeRgb(r, g, b); }

std::string Hex(Rgb c) {
    char b[32];
    snprintf(b, sizeof b, "RGB(%d, %d, %d)", RedOf(c), GreenOf(c), BlueOf(c));
    return b;
}
}  // namespace

TEST(MenuColours, LightenDarkenGreyTable) {
    struct Row { const char* what; Rgb got, want; };
    const Row rows[] = {
        {"lighten black 50 rounds the half up", Lighten(RGB(0, 0, 0), 50), RGB(128, 128, 128)},
        {"lighten black 100 is white", Lighten(RGB(0, 0, 0), 100), RGB(255, 255, 255)},
        {"percent is capped at 100", Lighten(RGB(0, 0, 0), 150), RGB(255, 255, 255)},
        {"lighten per channel", Lighten(RGB(100, 150, 200), 30), RGB(147, 182, 217)},
        {"white stays white", Lighten(RGB(255, 255, 255), 50), RGB(255, 255, 255)},
        {"2.55 rounds to 3", Lighten(RGB(0, 0, 0), 1), RGB(3, 3, 3)},
        {"lighten 0 keeps the colour", Lighten(RGB(10, 20, 30), 0), RGB(10, 20, 30)},
        {"darken: green loses two less", Darken(RGB(100, 100, 100), 10), RGB(90, 92, 90)},
        {"darken clamps at 0", Darken(RGB(5, 0, 250), 10), RGB(0, 0, 240)},
        {"darken 0 raises green", Darken(RGB(0, 0, 0), 0), RGB(0, 2, 0)},
        {"darken clamps at 255", Darken(RGB(255, 255, 255), 0), RGB(255, 255, 255)},
        {"negative darken lightens", Darken(RGB(200, 1, 3), -60), RGB(255, 63, 63)},
        {"grey adds the level", GreyOf(RGB(0, 0, 0), 10), RGB(10, 10, 10)},
        {"grey is capped at 240", GreyOf(RGB(255, 255, 255), 10), RGB(240, 240, 240)},
        {"grey divides in integers", GreyOf(RGB(10, 20, 31), 0), RGB(20, 20, 20)},
        {"grey capped with a big level", GreyOf(RGB(100, 101, 102), 200), RGB(240, 240, 240)},
    };
    for (const auto& r : rows) EXPECT_EQ(Hex(r.got), Hex(r.want)) << r.what;
}

TEST(MenuColours, BarTextContrastTable) {
    const Rgb font = RGB(1, 2, 3);
    struct Row { Rgb face, want; };
    const Row rows[] = {
        {RGB(150, 0, 151), font},                  // (red + blue) / 2 = 150.5 > 150
        {RGB(150, 0, 150), RGB(245, 230, 245)},   // exactly 150 is dark: lightened by 90
        {RGB(0, 201, 0), font},                    // green above 200
        {RGB(0, 200, 0), RGB(230, 250, 230)},      // green 200 is dark: lightened by 90
        {RGB(0, 0, 0), RGB(230, 230, 230)},
        {RGB(255, 255, 255), font},
    };
    for (const auto& r : rows) EXPECT_EQ(Hex(BarTextContrast(r.face, font)), Hex(r.want)) << Hex(r.face);
}

// The table of working colours, all four columns: properties or system colours, and a
// display of 16 bits and more or of fewer.
TEST(DeriveColors, FourColumnTable) {
    ColourProperties p;
    p.Color = RGB(1, 1, 1);
    p.IconBackColor = RGB(2, 2, 2);
    p.MenuBarColor = RGB(3, 3, 3);
    p.SelectColor = RGB(49, 106, 197);
    p.SelectBorderColor = RGB(5, 5, 5);
    p.SelectFontColor = RGB(6, 6, 6);
    p.DisabledColor = RGB(7, 7, 7);
    p.SeparatorColor = RGB(8, 8, 8);
    p.CheckedColor = RGB(9, 9, 9);
    p.FontColor = RGB(11, 11, 11);
    SystemColours sys{RGB(212, 208, 200), RGB(10, 36, 106), RGB(128, 128, 128)};

    const Rgb white = RGB(255, 255, 255), silver = RGB(192, 192, 192);
    const Rgb shadow = sys.ButtonShadow, face = sys.ButtonFace, highlight = sys.Highlight;
    struct Row {
        const char* name;
        Rgb WorkingColors::*field;
        Rgb offHigh, offLow, onHigh, onLow;
    };
    using W = WorkingColors;
    const Row rows[] = {
        {"MenuFace", &W::MenuFace, p.Color, p.Color, RGB(249, 248, 247), white},
        {"IconFace", &W::IconFace, p.IconBackColor, p.IconBackColor, RGB(219, 216, 209), face},
        {"SelectFace", &W::SelectFace, p.SelectColor, p.SelectColor, RGB(177, 185, 207), white},
        {"SelectBorder", &W::SelectBorder, p.SelectBorderColor, p.SelectBorderColor, highlight, highlight},
        {"SelectText", &W::SelectText, p.SelectFontColor, p.SelectFontColor, p.FontColor, p.FontColor},
        {"CheckFace", &W::CheckFace, p.SelectColor, white, RGB(206, 211, 225), white},
        {"CheckFaceSelected", &W::CheckFaceSelected, p.SelectColor, silver, RGB(133, 146, 181), white},
        {"CheckPen", &W::CheckPen, p.CheckedColor, p.CheckedColor, highlight, highlight},
        {"BarFace", &W::BarFace, p.MenuBarColor, p.MenuBarColor, face, face},
        {"DisabledText", &W::DisabledText, p.DisabledColor, p.DisabledColor, RGB(141, 141, 141), shadow},
        {"SeparatorPen", &W::SeparatorPen, p.SeparatorColor, p.SeparatorColor, RGB(160, 160, 160), shadow},
        {"FrameOuter", &W::FrameOuter, RGB(122, 120, 110), shadow, RGB(122, 120, 110), shadow},
        {"FrameShadow", &W::FrameShadow, RGB(136, 134, 124), shadow, RGB(136, 134, 124), shadow},
    };
    struct Column { bool system, high; Rgb Row::*want; const char* name; };
    const Column columns[] = {{false, true, &Row::offHigh, "off, 16-bit"},
                              {false, false, &Row::offLow, "off, fewer colours"},
                              {true, true, &Row::onHigh, "on, 16-bit"},
                              {true, false, &Row::onLow, "on, fewer colours"}};
    for (const auto& c : columns) {
        p.UseSystemColors = c.system;
        const WorkingColors w = DeriveColors(p, sys, c.high);
        for (const auto& r : rows) EXPECT_EQ(Hex(w.*r.field), Hex(r.*c.want)) << r.name << ", " << c.name;
    }
}

TEST(DeriveColors, DimColourLightensTheSelectionFillsOnlyWithManyColours) {
    ColourProperties p;
    p.UseSystemColors = false;
    p.UseDimColor = true;
    p.SelectColor = RGB(49, 106, 197);
    const SystemColours sys{RGB(212, 208, 200), RGB(10, 36, 106), RGB(128, 128, 128)};
    const WorkingColors high = DeriveColors(p, sys, true);
    EXPECT_EQ(Hex(high.SelectFace), Hex(RGB(189, 207, 236)));
    EXPECT_EQ(Hex(high.CheckFace), Hex(RGB(214, 225, 243)));
    EXPECT_EQ(Hex(high.CheckFaceSelected), Hex(RGB(152, 181, 226)));
    const WorkingColors low = DeriveColors(p, sys, false);
    EXPECT_EQ(Hex(low.SelectFace), Hex(p.SelectColor));
    EXPECT_EQ(Hex(low.CheckFace), Hex(RGB(255, 255, 255)));
    EXPECT_EQ(Hex(low.CheckFaceSelected), Hex(RGB(192, 192, 192)));
}
