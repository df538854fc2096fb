// Measuring and layout rules of themed menu items, image effects and the recognised classes.
#include "menus/image_effects.h"
#include "menus/item_layout.h"
#include "menus/item_measure.h"
#include "menus/styled_sets.h"

#include <gtest/gtest.h>

using namespace tintmark::menus;

namespace {
// A fixed-pitch font: 7 pixels a character ("&" 5), 13 high.
struct FixedMetrics : TextMetrics {
    int Width(std::wstring_view t) override {
        int w = 0;
        for (wchar_t c : t) w += c == L'&' ? 5 : 7;
        return w;
    }
    int Height(std::wstring_view) override { return height; }
    int height = 13;
};
}  // namespace

TEST(MenuMeasure, ImageSourceTable) {
    struct Row { bool sub, menu; int index; bool bitmap; ImageSource want; };
    const Row rows[] = {
        {true, true, 0, true, ImageSource::ParentSubMenuImages},
        {false, true, 3, true, ImageSource::MenuImages},
        {false, false, 3, true, ImageSource::OwnBitmap},
        {true, true, -1, true, ImageSource::OwnBitmap},   // index -1: lists are not asked
        {true, true, -1, false, ImageSource::None},
        {false, false, 2, false, ImageSource::None},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ChooseImageSource(r.sub, r.menu, r.index, r.bitmap), r.want) << r.sub << r.menu << r.index;
}

TEST(MenuMeasure, MeasuredText) {
    EXPECT_EQ(MeasuredText(L"Open", L""), L"Open");
    EXPECT_EQ(MeasuredText(L"Open", L"Ctrl+O"), L"OpenWWWCtrl+O");
    EXPECT_EQ(MeasuredText(L"-", L""), L"");
    EXPECT_EQ(MeasuredText(L"-", L"F1"), L"WWWF1");
}

TEST(MenuMeasure, SizesTable) {
    struct Row {
        const char* what;
        MeasureInput in;
        int fontHeight;
        ItemSize want;
    };
    auto in = [](const wchar_t* caption, const wchar_t* shortcut, bool bar, bool sub, bool image, int w, int h) {
        MeasureInput m;
        m.Caption = caption;
        m.ShortCut = shortcut;
        m.BarItem = bar;
        m.HasSubItems = sub;
        m.HasImage = image;
        m.ImageWidth = w;
        m.ImageHeight = h;
        return m;
    };
    const Row rows[] = {
        // 4 chars = 28 + 5, + icon column 24; height 13 + round(9.75) = 23
        {"plain popup item", in(L"Open", L"", false, false, false, 0, 0), 13, {57, 23}},
        {"ampersand is not counted", in(L"&Open", L"", false, false, false, 0, 0), 13, {57, 23}},
        {"shortcut measured with WWW", in(L"Open", L"F2", false, false, false, 0, 0), 13, {57 + 35, 23}},
        {"sub-menu gets 6 more", in(L"Open", L"", false, true, false, 0, 0), 13, {63, 23}},
        {"bar item has no column", in(L"File", L"", true, true, false, 0, 0), 13, {33, 23}},
        {"bar item with image adds its width", in(L"File", L"", true, false, true, 16, 16), 13, {49, 23}},
        {"narrow image: the column counts", in(L"Open", L"", false, false, true, 16, 16), 13, {57, 23}},
        {"wide image widens", in(L"Open", L"", false, false, true, 32, 30), 13, {65, 36}},
        {"tall image: image height + 6", in(L"Open", L"", false, false, true, 16, 20), 13, {57, 26}},
        {"separator is 4 high", in(L"-", L"", false, false, false, 0, 0), 13, {29, 4}},
        {"separator stays 4 in a big font", in(L"-", L"", false, false, false, 0, 0), 40, {29, 4}},
        {"separator stays 4 with an image", in(L"-", L"", false, false, true, 16, 30), 13, {29, 4}},
        {"height 14: 14 + round(10.5)", in(L"Open", L"", false, false, false, 0, 0), 14, {57, 25}},
        {"height 16: 16 + 12", in(L"Open", L"", false, false, false, 0, 0), 16, {57, 28}},
    };
    for (const auto& r : rows) {
        FixedMetrics m;
        m.height = r.fontHeight;
        const ItemSize got = MeasureItem(r.in, m);
        EXPECT_EQ(got.Width, r.want.Width) << r.what;
        EXPECT_EQ(got.Height, r.want.Height) << r.what;
    }
}

TEST(MenuLayout, PopupItemLeftToRight) {
    LayoutInput in;
    in.Item = {3, 30, 203, 53};  // 200 x 23
    const ItemLayout l = LayoutItem(in);
    EXPECT_EQ(l.Canvas, (Rect{-1, 30, 203, 53}));  // covers the 4-pixel margin
    EXPECT_EQ(l.IconColumn, (Rect{-1, 30, 27, 53}));
    EXPECT_EQ(l.CheckBox, (Rect{10, 36, 20, 46}));  // 10 x 10 centred in the column
    EXPECT_EQ(l.TextArea, (Rect{30, 30, 203, 53}));  // 3 pixels after the column
    EXPECT_EQ(l.ShortCutArea.Right, 193);
    EXPECT_EQ(l.SeparatorFrom, (Point{34, 41}));  // 7 pixels after the column
    EXPECT_EQ(l.SeparatorTo, (Point{203, 41}));

    in.HasImage = true;
    in.ImageWidth = 16;
    in.ImageHeight = 16;
    const ItemLayout img = LayoutItem(in);
    EXPECT_EQ(img.ImageAt, (Point{7, 33}));  // centred
    EXPECT_EQ(img.CheckBox, (Rect{4, 32, 24, 51}));  // column less 1, 2, 3, 2

    in.ImageWidth = 30;  // wider than the column: the column widens, text 4 after the image
    const ItemLayout wide = LayoutItem(in);
    EXPECT_EQ(wide.ImageAt.X, 3);
    EXPECT_EQ(wide.CheckBox.Right, 3 + 30 - 3);
    EXPECT_EQ(wide.TextArea.Left, 3 + 30 + 4 + 3);
}

TEST(MenuLayout, RightToLeftMirrorsThePopupItem) {
    LayoutInput in;
    in.Item = {0, 0, 100, 20};
    in.RightToLeft = true;
    in.HasImage = true;
    in.ImageWidth = 16;
    in.ImageHeight = 16;
    const ItemLayout l = LayoutItem(in);
    EXPECT_EQ(l.Canvas, (Rect{0, 0, 104, 20}));
    EXPECT_EQ(l.IconColumn, (Rect{76, 0, 104, 20}));
    EXPECT_EQ(l.ImageAt, (Point{80, 2}));
    EXPECT_EQ(l.TextArea, (Rect{0, 0, 73, 20}));
    EXPECT_EQ(l.ShortCutArea.Left, 10);
    EXPECT_EQ(l.SeparatorFrom, (Point{0, 10}));
    EXPECT_EQ(l.SeparatorTo, (Point{69, 10}));  // pixels 0..68 mirror 31..99
}

TEST(MenuLayout, BarItem) {
    LayoutInput in;
    in.Item = {10, 0, 50, 19};
    in.BarItem = true;
    const ItemLayout l = LayoutItem(in);
    EXPECT_EQ(l.Canvas, (Rect{10, 0, 50, 20}));  // one pixel lower
    EXPECT_TRUE(l.IconColumn.Empty());
    EXPECT_EQ(l.TextArea.Left, 10 + 4 + 3);
}

TEST(MenuLayout, SelectionBoxAndTextCentre) {
    EXPECT_EQ(PopupSelectionBox({3, 10, 100, 30}, false, false), (Rect{3, 11, 100, 29}));
    EXPECT_EQ(PopupSelectionBox({3, 10, 100, 30}, true, false), (Rect{3, 11, 99, 29}));
    EXPECT_EQ(PopupSelectionBox({3, 10, 100, 30}, true, true), (Rect{4, 11, 100, 29}));
    EXPECT_EQ(CentredTextTop({0, 10, 50, 33}, 13), 15);
}

TEST(MenuLayout, GradientLevels) {
    struct Row { int column, want; };
    const Row rows[] = {{0, 0}, {1, 3}, {28, 84}, {29, 87}, {30, 88}, {38, 96}, {39, 96}, {500, 96}};
    for (const auto& r : rows) EXPECT_EQ(GradientLevel(r.column, 24), r.want) << r.column;
    EXPECT_EQ(GradientLevel(20, 10), 45 + 5);
}

TEST(MenuLayout, CheckMarkFiveStrokes) {
    const auto s = CheckMarkStrokes({10, 20, 20, 30});
    const std::vector<Stroke> want = {{{11, 25}, {14, 28}}, {{12, 25}, {14, 27}}, {{12, 24}, {15, 27}},
                                      {{14, 27}, {22, 19}}, {{14, 28}, {18, 23}}};
    EXPECT_EQ(s, want);
    EXPECT_EQ(RadioDot({10, 20, 20, 30}), (Rect{12, 22, 18, 28}));
}

TEST(MenuLayout, BarSelectionStepsAndSimpleStrip) {
    const Rect r{0, 0, 40, 20};
    const auto stepped = BarSelectionShape(r, false);
    ASSERT_EQ(stepped.size(), 10u);
    EXPECT_EQ(stepped[0].Line.Points, (std::vector<Point>{{0, 19}, {0, 0}, {32, 0}, {32, 20}}));
    EXPECT_EQ(stepped[0].Tone, -1);
    struct Fill { Rect area; int tone; };
    const Fill fills[] = {{{33, 0, 40, 20}, 10}, {{33, 3, 38, 20}, 30}, {{33, 5, 37, 20}, 60}, {{33, 6, 35, 20}, 100}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(stepped[static_cast<size_t>(i + 1)].Fill);
        EXPECT_EQ(stepped[static_cast<size_t>(i + 1)].Area, fills[i].area) << i;
        EXPECT_EQ(stepped[static_cast<size_t>(i + 1)].Tone, fills[i].tone) << i;
    }
    EXPECT_EQ(stepped[9].Line.Points, (std::vector<Point>{{34, 5}, {34, 7}}));
    EXPECT_EQ(stepped[9].Tone, 40);

    const auto simple = BarSelectionShape(r, true);
    ASSERT_EQ(simple.size(), 3u);
    EXPECT_EQ(simple[0].Line.Points, (std::vector<Point>{{0, 19}, {0, 0}, {37, 0}, {37, 20}}));
    EXPECT_EQ(simple[1].Area, (Rect{38, 0, 40, 2}));
    EXPECT_EQ(simple[1].Tone, 0);
    EXPECT_EQ(simple[2].Area, (Rect{38, 2, 40, 20}));
    EXPECT_EQ(simple[2].Tone, 70);
}

TEST(MenuImages, DimGreyShadowAndMask) {
    Pixels img;
    img.Width = 2;
    img.Height = 2;
    img.Colour = {MakeRgb(0, 0, 0), MakeRgb(200, 100, 50), MakeRgb(255, 0, 255), MakeRgb(10, 10, 10)};
    img.Opaque = {1, 1, 1, 1};

    Pixels dim = img;
    DimImage(dim, 30);
    EXPECT_EQ(dim.Colour[0], MakeRgb(77, 77, 77));
    EXPECT_EQ(dim.Colour[1], MakeRgb(217, 147, 112));

    Pixels grey = img;
    GreyImage(grey, 10);
    // (200 + 100 + 50) / 3 + 10 = 126, lightened by 40: 126 + round(51.6) = 178
    EXPECT_EQ(grey.Colour[1], MakeRgb(178, 178, 178));
    EXPECT_EQ(grey.Colour[0], MakeRgb(108, 108, 108));  // 10 lightened by 40

    // Bottom-left (255, 0, 255) is the background.
    EXPECT_EQ(ShadowMask(img), (std::vector<uint8_t>{1, 1, 0, 1}));
    img.Opaque[1] = 0;  // transparent pixels cast no shadow
    EXPECT_EQ(ShadowMask(img), (std::vector<uint8_t>{1, 0, 0, 1}));

    Pixels bitmap = img;
    bitmap.Colour[1] = MakeRgb(255, 0, 255);
    MaskByBottomLeft(bitmap);
    EXPECT_EQ(bitmap.Opaque, (std::vector<uint8_t>{1, 0, 0, 1}));
}

TEST(MenuClasses, RecognisedKindsAndContainers) {
    struct Row { const char* cls; std::optional<TStyledControl> kind; };
    const Row rows[] = {{"TMaskEdit", scMaskEdit}, {"TDBEdit", scMaskEdit}, {"TBitBtn", scBitBtn},
                        {"TButton", scButton}, {"TDBNavigator", scButton}, {"TDBLookupComboBox", scButton},
                        {"TUpDown", scUpDown}, {"TEdit", std::nullopt}, {"Button", std::nullopt},
                        {"tbutton", std::nullopt}};
    for (const auto& r : rows) EXPECT_EQ(RecognisedControl(r.cls), r.kind) << r.cls;
    EXPECT_EQ(RecognisedContainer("anything", true), sccForm);
    EXPECT_EQ(RecognisedContainer("TdxTabSheet", false), sccTabSheet);
    EXPECT_EQ(RecognisedContainer("TDBCtrlPanel", false), sccFrame);
    EXPECT_EQ(RecognisedContainer("TPanel", false), std::nullopt);
    EXPECT_EQ(kAllContainers, 1023u);
    EXPECT_EQ(kAllControls, 0x7FFFFFu);
    EXPECT_TRUE(Has(kAllControls, scHotKey));
    EXPECT_FALSE(Has(kAllControls, scHotKey + 1));
}
