// The flat-style menus on a test form: defaults, the activation walk and its restoration,
// measured sizes, drawn pixels read back, the open popup with its flat frame (golden
// image), a 15-bit display, subclassed controls and the manager's theming role.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu_form.h"
#include "menus/control_hook.h"
#include "menus/item_layout.h"
#include "menus/styler_manager.h"
#include "pixels.h"

using namespace tintmark;
using namespace tintmark::menus;
using namespace tintmark::test;

namespace {

COLORREF Gdi(Rgb c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

bool OwnerDrawn(const TMenuItem& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(item.ParentHandle(), item.Position(), TRUE, &info);
    return (info.fType & MFT_OWNERDRAW) != 0;
}

// Draws one item into a memory bitmap, as the menu would, and reads it back.
struct Drawn {
    Image pixels;
    COLORREF At(int x, int y) const { return pixels.At(x, y); }
};
Drawn DrawInto(TMenuStyler& s, TMenuItem& item, RECT rect, UINT state, int width = 220, int height = 40) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    s.DrawItem(item, dc, rect, state);
    GdiFlush();
    Drawn d;
    d.pixels.Width = width;
    d.pixels.Height = height;
    d.pixels.Rgb.resize(static_cast<size_t>(width) * height * 3);
    const auto* p = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        d.pixels.Rgb[i * 3] = p[i * 4 + 2];
        d.pixels.Rgb[i * 3 + 1] = p[i * 4 + 1];
        d.pixels.Rgb[i * 3 + 2] = p[i * 4];
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return d;
}

struct StylerFixture : testing::Test {
    MenuForm form;
    std::unique_ptr<TMenuStyler> styler = std::make_unique<TMenuStyler>(*form.Model);
    void TearDown() override { styler.reset(); }
};

}  // namespace

TEST_F(StylerFixture, PublishedPropertiesStartAtTheirDefaults) {
    TMenuStyler& s = *styler;
    EXPECT_EQ(s.DimLevel, 30);
    EXPECT_EQ(s.GrayLevel, 10);
    EXPECT_EQ(s.Color(), SystemColour(COLOR_BTNFACE));
    EXPECT_FALSE(s.DrawMenuBar);
    EXPECT_EQ(s.IconBackColor(), SystemColour(COLOR_BTNFACE));
    EXPECT_EQ(s.MenuBarColor(), SystemColour(COLOR_BTNFACE));
    EXPECT_EQ(s.SelectColor(), SystemColour(COLOR_HIGHLIGHT));
    EXPECT_EQ(s.SelectBorderColor(), SystemColour(COLOR_HIGHLIGHT));
    EXPECT_EQ(s.SelectFontColor(), s.FontColor);
    EXPECT_EQ(s.DisabledColor(), SystemColour(COLOR_INACTIVECAPTION));
    EXPECT_EQ(s.SeparatorColor(), SystemColour(COLOR_BTNFACE));
    EXPECT_EQ(s.CheckedColor(), SystemColour(COLOR_HIGHLIGHT));
    EXPECT_EQ(s.IconWidth, 24);
    EXPECT_TRUE(s.DrawSelect);
    EXPECT_TRUE(s.UseSystemColors());
    EXPECT_FALSE(s.UseDimColor);
    EXPECT_FALSE(s.OverrideOwnerDraw());
    EXPECT_FALSE(s.Gradient);
    EXPECT_FALSE(s.FlatMenu);
    EXPECT_FALSE(s.AutoDetect);
    EXPECT_EQ(s.GetStyledContainers(), 1023u);
    EXPECT_EQ(s.GetStyledControls(), 0x7FFFFFu);
    EXPECT_FALSE(s.Active());
    EXPECT_FALSE(s.DisableSubclassing());
    // The font is a copy of the system's menu font.
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    LOGFONTW lf{};
    GetObjectW(s.Font(), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, m.lfMenuFont.lfFaceName);
    EXPECT_EQ(lf.lfHeight, m.lfMenuFont.lfHeight);
}

TEST_F(StylerFixture, ActiveThemesEveryItemButTag999AndOffRestoresTheSystemDrawing) {
    struct OtherPainter : ItemPainter {
        void MeasureItem(TMenuItem&, HDC, int&, int&) override {}
        void DrawItem(TMenuItem&, HDC, const RECT&, UINT) override {}
    } other;
    TMenuItem& exit = *form.Exit;
    exit.SetPainter(&other);  // an item with handlers of its own
    form.Popup->Tag = 999;    // a whole menu keeps its drawing

    styler->SetActive(true);
    int themed = 0;
    form.Main->ForEachItem([&](TMenuItem& item) {
        if (&item == form.Own) {
            EXPECT_EQ(item.Painter(), nullptr);
            EXPECT_FALSE(OwnerDrawn(item));
        } else if (&item == &exit) {
            EXPECT_EQ(item.Painter(), &other);
        } else {
            EXPECT_EQ(item.Painter(), styler.get()) << std::string(item.Caption.begin(), item.Caption.end());
            EXPECT_TRUE(OwnerDrawn(item));
            ++themed;
        }
    });
    EXPECT_EQ(themed, 14);  // 3 bar items, 7 in File, 2 in Recent, 1 each in Edit and View
    form.Popup->ForEachItem([&](TMenuItem& item) { EXPECT_EQ(item.Painter(), nullptr); });

    styler->SetOverrideOwnerDraw(true);
    EXPECT_EQ(exit.Painter(), styler.get());
    EXPECT_EQ(form.Own->Painter(), nullptr) << "Tag 999 wins over OverrideOwnerDraw";

    styler->SetActive(false);
    form.Main->ForEachItem([&](TMenuItem& item) {
        EXPECT_EQ(item.Painter(), nullptr);
        EXPECT_FALSE(OwnerDrawn(item)) << "the system draws again";
    });
}

TEST_F(StylerFixture, StyledControlsDecideWhichMenusAreThemed) {
    styler->SetActive(true);
    EXPECT_EQ(form.Popup->Items.Items[0]->Painter(), styler.get());
    styler->SetStyledControls(kAllControls & ~(1u << scPopupMenu));  // re-walks off, then on
    EXPECT_EQ(form.Popup->Items.Items[0]->Painter(), nullptr);
    EXPECT_EQ(form.Open->Painter(), styler.get());
    styler->SetStyledControls(kAllControls & ~(1u << scPopupMenu));  // the same set: nothing changes
    EXPECT_EQ(form.Popup->Items.Items[0]->Painter(), nullptr);
}

TEST_F(StylerFixture, MeasuringFollowsTheFontAndSeparatorsStayFourHigh) {
    styler->SetActive(true);
    HDC dc = GetDC(form.Window);
    int w = 0, h = 0;
    styler->MeasureItem(*form.Separator, dc, w, h);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(w, 5 + 24);

    SIZE text{}, amp{};
    {
        HGDIOBJ old = SelectObject(dc, styler->Font());
        GetTextExtentPoint32W(dc, L"&Open...WWWCtrl+O", 17, &text);
        GetTextExtentPoint32W(dc, L"&", 1, &amp);
        SelectObject(dc, old);
    }
    styler->MeasureItem(*form.Open, dc, w, h);
    EXPECT_EQ(w, text.cx + 5 - amp.cx + 24);
    EXPECT_EQ(h, std::max(static_cast<int>(text.cy + (3 * text.cy + 2) / 4), 16 + 6));
    styler->MeasureItem(*form.Recent, dc, w, h);
    SIZE recent{};
    {
        HGDIOBJ old = SelectObject(dc, styler->Font());
        GetTextExtentPoint32W(dc, L"Recent", 6, &recent);
        SelectObject(dc, old);
    }
    EXPECT_EQ(w, recent.cx + 5 + 6 + 24) << "a sub-menu gets 6 more";

    // A much bigger font: items grow, a separator does not.
    LOGFONTW big{};
    big.lfHeight = -30;
    lstrcpyW(big.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&big);
    styler->SetFont(font);
    DeleteObject(font);
    int bigH = 0;
    styler->MeasureItem(*form.Wrap, dc, w, bigH);
    EXPECT_GT(bigH, 40);
    styler->MeasureItem(*form.Separator, dc, w, h);
    EXPECT_EQ(h, 4);
    ReleaseDC(form.Window, dc);

    // Inactive: the handler leaves the sizes alone.
    styler->SetActive(false);
    w = h = 7;
    HDC dc2 = GetDC(form.Window);
    styler->MeasureItem(*form.Wrap, dc2, w, h);
    ReleaseDC(form.Window, dc2);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 7);
}

TEST_F(StylerFixture, OpenPopupMeasuresItemsAndSeparatorIsFourPixelsHigh) {
    styler->SetActive(true);
    int separatorHeight = -1, openHeight = -1;
    WhilePopupOpen(*form.Popup, 150, 150, [&](int tick) {
        if (tick == 0) {
            RECT sep{}, cut{};
            GetMenuItemRect(nullptr, form.Popup->Handle(), 2, &sep);
            GetMenuItemRect(nullptr, form.Popup->Handle(), 0, &cut);
            separatorHeight = sep.bottom - sep.top;
            openHeight = cut.bottom - cut.top;
        }
        return tick < 1;
    });
    EXPECT_EQ(separatorHeight, 4);
    EXPECT_GE(openHeight, 22);
}

TEST_F(StylerFixture, PopupItemPixels) {
    styler->SetActive(true);
    const WorkingColors c = styler->Colors();
    const RECT r{4, 0, 204, 24};

    // Selection: a box inset by one pixel at top and bottom, filled and outlined.
    Drawn sel = DrawInto(*styler, *form.Exit, r, ODS_SELECTED);
    EXPECT_EQ(sel.At(100, 1), Gdi(c.SelectBorder)) << "outline top";
    EXPECT_EQ(sel.At(4, 12), Gdi(c.SelectBorder)) << "outline left";
    EXPECT_EQ(sel.At(203, 12), Gdi(c.SelectBorder)) << "outline right";
    EXPECT_EQ(sel.At(100, 22), Gdi(c.SelectBorder)) << "outline bottom";
    EXPECT_EQ(sel.At(190, 12), Gdi(c.SelectFace)) << "fill";
    EXPECT_EQ(sel.At(100, 0), Gdi(c.MenuFace)) << "above the box";
    EXPECT_EQ(sel.At(1, 12), Gdi(c.IconFace)) << "the margin belongs to the icon column";

    // Unselected: menu face, icon column of IconWidth from the item's left.
    Drawn plain = DrawInto(*styler, *form.Exit, r, 0);
    EXPECT_EQ(plain.At(4 + 23, 2), Gdi(c.IconFace));
    EXPECT_EQ(plain.At(4 + 24, 2), Gdi(c.MenuFace));
    EXPECT_EQ(plain.At(0, 2), Gdi(c.IconFace));
    EXPECT_EQ(plain.At(210, 2), RGB(255, 255, 255)) << "nothing right of the item";

    // The check mark: a 10 x 10 box in the check colours holding five black strokes.
    Drawn check = DrawInto(*styler, *form.Wrap, r, 0);
    const menus::Rect box{4 + 7, 7, 4 + 17, 17};
    EXPECT_EQ(check.At(box.Left, box.Top), Gdi(c.CheckPen));
    EXPECT_EQ(check.At(box.Right - 1, box.Bottom - 1), Gdi(c.CheckPen));
    int black = 0;
    for (const Stroke& s : CheckMarkStrokes(box)) {
        EXPECT_EQ(check.At(s.From.X, s.From.Y), RGB(0, 0, 0)) << s.From.X << "," << s.From.Y;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 30; ++x) black += check.At(x, y) == RGB(0, 0, 0);
    }
    EXPECT_EQ(check.At(box.Left + 1, box.Top + 1), Gdi(c.CheckFace));
    Drawn checkSelected = DrawInto(*styler, *form.Wrap, r, ODS_SELECTED);
    EXPECT_EQ(checkSelected.At(box.Left + 1, box.Top + 1), Gdi(c.CheckFaceSelected));

    // Radio: a circle with a filled dot.
    Drawn radio = DrawInto(*styler, *form.Mode, r, 0);
    EXPECT_EQ(radio.At((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2), RGB(0, 0, 0));
    EXPECT_NE(radio.At(box.Left, box.Top), Gdi(c.CheckPen)) << "a circle has no corner";

    // Separator: a line at the middle, 7 pixels after the icon column.
    Drawn sep = DrawInto(*styler, *form.Separator, {4, 0, 204, 4}, 0, 220, 4);
    EXPECT_EQ(sep.At(4 + 24 + 7, 2), Gdi(c.SeparatorPen));
    EXPECT_EQ(sep.At(200, 2), Gdi(c.SeparatorPen));
    EXPECT_EQ(sep.At(4 + 24 + 6, 2), Gdi(c.MenuFace));
    EXPECT_EQ(sep.At(100, 1), Gdi(c.MenuFace));

    // Disabled text and the grey image; the enabled image is dimmed.
    Drawn disabled = DrawInto(*styler, *form.Disabled, r, ODS_GRAYED);
    bool disabledInk = false;
    for (int x = 30; x < 120; ++x)
        for (int y = 0; y < 24; ++y) disabledInk = disabledInk || disabled.At(x, y) == Gdi(c.DisabledText);
    EXPECT_TRUE(disabledInk);
    // The picture sits at (8, 4); its pixel (10, 4) is inside the square, off the diagonal.
    const COLORREF greyPixel = disabled.At(8 + 10, 4 + 4);
    EXPECT_EQ(GetRValue(greyPixel), GetGValue(greyPixel));
    EXPECT_EQ(GetGValue(greyPixel), GetBValue(greyPixel));
    Drawn open = DrawInto(*styler, *form.Open, r, 0);
    EXPECT_EQ(open.At(8 + 10, 4 + 4), Gdi(Lighten(MakeRgb(220, 0, 0), 30))) << "dimmed by DimLevel";
    EXPECT_EQ(open.At(4 + 4, 4), Gdi(c.IconFace)) << "the magenta background is transparent";

    // A selected image casts a shadow 2 pixels right and down and moves up and left.
    Drawn lifted = DrawInto(*styler, *form.Open, r, ODS_SELECTED);
    EXPECT_EQ(lifted.At(8 + 10 - 1, 4 + 4 - 1), RGB(220, 0, 0)) << "not dimmed, one pixel up and left";
    EXPECT_EQ(lifted.At(4 + 4 + 14 + 1, 4 + 14 + 1), Gdi(Darken(c.SelectFace, 50)));
}

TEST_F(StylerFixture, SelectedBarItemHasTheSteppedShadow) {
    styler->SetActive(true);
    const WorkingColors c = styler->Colors();
    const RECT r{0, 0, 40, 20};
    Drawn bar = DrawInto(*styler, *form.File, r, ODS_SELECTED, 60, 24);
    const int R = 40, T = 0, B = 20;
    const Rgb base = c.BarFace;
    struct Px { int x, y; Rgb want; const char* what; };
    const Px rows[] = {
        {0, 0, c.SelectBorder, "outline top-left"},
        {R - 8, 10, c.SelectBorder, "outline ends 8 pixels in"},
        {5, 10, c.SelectFace, "selection fill"},
        {R - 1, T, Darken(base, 10), "first step"},
        {R - 1, B - 1, Darken(base, 10), "first step, bottom"},
        {R - 3, B - 1, Darken(base, 30), "second step"},
        {R - 4, B - 1, Darken(base, 60), "third step"},
        {R - 7, B - 1, Darken(base, 100), "fourth step"},
        {R - 2, T + 1, base, "corner line in the face colour"},
        {R - 1, T + 3, base, "corner line down"},
        {R - 6, T + 6, Darken(base, 40), "inner corner"},
        {R - 4, T + 7, Darken(base, 30), "step edge"},
    };
    for (const auto& p : rows) EXPECT_EQ(bar.At(p.x, p.y), Gdi(p.want)) << p.what;

    // Few colours: the simple strip in the bar colour.
    SystemQueries fifteen = styler->System();
    fifteen.ColourDepth = [](HDC) { return 15; };
    styler->SetSystem(fifteen);
    Drawn simple = DrawInto(*styler, *form.File, r, ODS_SELECTED, 60, 24);
    const Rgb bc = ResolveColour(styler->MenuBarColor());
    EXPECT_EQ(simple.At(R - 3, 10), Gdi(styler->Colors().SelectBorder));
    EXPECT_EQ(simple.At(R - 1, T), Gdi(bc));
    EXPECT_EQ(simple.At(R - 1, B - 1), Gdi(Darken(bc, 70)));
}

// Every drawing rule against colours worked out by hand from explicit settings (not through
// the component's own colour functions): Darken(c, d) is red - d, green - d + 2, blue - d;
// Lighten(c, p) adds (255 - x) * p / 100 to each channel, halves rounded up.
TEST_F(StylerFixture, DrawingRulesGiveHandComputedColours) {
    styler->SetUseSystemColors(false);
    styler->SetColor(RGB(250, 240, 230));
    styler->SetIconBackColor(RGB(200, 210, 220));
    styler->SetMenuBarColor(RGB(200, 180, 160));
    styler->SetSelectColor(RGB(100, 150, 200));
    styler->SetActive(true);

    // The stepped shadow of a selected bar item (R = 40, T = 0, B = 20), c = (200, 180, 160).
    const COLORREF c = RGB(200, 180, 160), d10 = RGB(190, 172, 150), d30 = RGB(170, 152, 130),
                   d40 = RGB(160, 142, 120), d60 = RGB(140, 122, 100), d100 = RGB(100, 82, 60);
    Drawn bar = DrawInto(*styler, *form.File, RECT{0, 0, 40, 20}, ODS_SELECTED, 60, 24);
    struct Px { int x, y; COLORREF want; const char* what; };
    const Px shadow[] = {
        {39, 0, d10, "first step"},          {37, 19, d30, "second step"},
        {36, 19, d60, "third step"},         {33, 19, d100, "fourth step"},
        {38, 1, c, "corner line across"},    {39, 5, c, "corner line down"},
        {37, 2, c, "small corner, top"},     {38, 2, c, "small corner, turn"},
        {38, 3, c, "small corner, bottom"},  {37, 3, d10, "Darken 10 line starts its way down"},
        {35, 3, d10, "Darken 10 line across the second step"},
        {37, 4, d10, "Darken 10 line down"}, {37, 6, d10, "Darken 10 line, foot"},
        {36, 4, d10, "Darken 10 line back up"},
        {36, 6, d30, "Darken 30 line over it"}, {35, 5, d30, "Darken 30 line start"},
        {34, 6, d40, "Darken 40 line"},      {34, 4, d30, "second step fill"},
    };
    for (const Px& p : shadow) EXPECT_EQ(bar.At(p.x, p.y), p.want) << p.what << " at " << p.x << "," << p.y;

    // A dimmed image: Lighten((220, 0, 0), 30); a selected one casts Darken(SelectFace, 50).
    const RECT r{4, 0, 204, 24};
    EXPECT_EQ(DrawInto(*styler, *form.Open, r, 0).At(8 + 10, 4 + 4), RGB(231, 77, 77));
    EXPECT_EQ(DrawInto(*styler, *form.Open, r, ODS_SELECTED).At(4 + 4 + 14 + 1, 4 + 14 + 1), RGB(50, 102, 150));

    // The gradient icon column: Lighten(IconFace, 30) ten columns in, capped at 96.
    styler->Gradient = true;
    Drawn gradient = DrawInto(*styler, *form.Exit, r, 0);
    EXPECT_EQ(gradient.At(10, 3), RGB(217, 224, 231));
    EXPECT_EQ(gradient.At(150, 3), RGB(253, 253, 254));
    styler->Gradient = false;

    // Few colours: the simple strip of a selected bar item, Darken(MenuBarColor, 70).
    SystemQueries fifteen = styler->System();
    fifteen.ColourDepth = [](HDC) { return 15; };
    styler->SetSystem(fifteen);
    Drawn simple = DrawInto(*styler, *form.File, RECT{0, 0, 40, 20}, ODS_SELECTED, 60, 24);
    EXPECT_EQ(simple.At(39, 19), RGB(130, 112, 90));
    EXPECT_EQ(simple.At(39, 0), c);
}

TEST_F(StylerFixture, FifteenBitDisplayGivesTheWhiteMenu) {
    SystemQueries fifteen = styler->System();
    fifteen.ColourDepth = [](HDC) { return 15; };
    styler->SetSystem(fifteen);
    EXPECT_FALSE(styler->ColorDepthHigh());
    styler->Gradient = true;  // no gradient with few colours
    styler->SetActive(true);
    const WorkingColors c = styler->Colors();
    EXPECT_EQ(c.MenuFace, kWhiteRgb);
    EXPECT_EQ(c.SelectFace, kWhiteRgb);
    const RECT r{4, 0, 204, 24};
    Drawn plain = DrawInto(*styler, *form.Exit, r, 0);
    EXPECT_EQ(plain.At(150, 3), RGB(255, 255, 255));
    EXPECT_EQ(plain.At(10, 3), GetSysColor(COLOR_BTNFACE)) << "the icon column in button face";
    Drawn sel = DrawInto(*styler, *form.Exit, r, ODS_SELECTED);
    EXPECT_EQ(sel.At(150, 12), RGB(255, 255, 255)) << "white selection";
    EXPECT_EQ(sel.At(150, 1), GetSysColor(COLOR_HIGHLIGHT));
    // The undimmed image with few colours.
    Drawn open = DrawInto(*styler, *form.Open, r, 0);
    EXPECT_EQ(open.At(8 + 10, 4 + 4), RGB(220, 0, 0));

    SystemQueries sixteen = fifteen;
    sixteen.ColourDepth = [](HDC) { return 16; };
    styler->SetSystem(sixteen);
    EXPECT_TRUE(styler->ColorDepthHigh());
    Drawn gradient = DrawInto(*styler, *form.Exit, r, 0);
    EXPECT_EQ(gradient.At(0, 3), Gdi(styler->Colors().IconFace)) << "k = 0 at the icon side";
    EXPECT_EQ(gradient.At(10, 3), Gdi(Lighten(styler->Colors().IconFace, 30)));
    EXPECT_EQ(gradient.At(150, 3), Gdi(Lighten(styler->Colors().IconFace, 96)));
}

TEST_F(StylerFixture, OpenPopupWithTheFlatFrame) {
    styler->FlatMenu = true;
    styler->SetActive(true);
    const WorkingColors c = styler->Colors();
    std::string golden = "not captured";
    RECT window{};
    bool region = false;
    COLORREF frame = 0, shadow = 0, corner = 0;
    std::vector<COLORREF> iconMargin;
    WhilePopupOpen(*form.Popup, 150, 150, [&](int tick) {
        if (tick == 0) PressKey(VK_DOWN);  // select the first item
        if (tick == 3) {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (!menu) return false;
            GetWindowRect(menu, &window);
            HRGN rgn = CreateRectRgn(0, 0, 0, 0);
            region = GetWindowRgn(menu, rgn) != ERROR;
            DeleteObject(rgn);
            Image shot = CaptureScreen(window);
            // The region leaves out the top-right and bottom-left 2 x 2 corners: what shows
            // there is not the menu's, so the comparison does not look at it.
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    for (auto [px, py] : {std::pair{shot.Width - 2 + x, y}, std::pair{x, shot.Height - 2 + y}})
                        for (int k = 0; k < 3; ++k)
                            shot.Rgb[(static_cast<size_t>(py) * shot.Width + px) * 3 + k] = 0;
            frame = shot.At(0, 5);
            shadow = shot.At(shot.Width - 1, shot.Height / 2);
            // Columns 1 and 2, between the frame and the items, on an item row, a separator
            // row and the bottom margin.
            for (int y : {5, shot.Height / 2, shot.Height - 4})
                for (int x : {1, 2}) iconMargin.push_back(shot.At(x, y));
            corner = shot.At(shot.Width - 1, 0);
            golden = CompareWithGolden(shot, "popup_flat_frame");
            return false;
        }
        return true;
    });
    EXPECT_TRUE(region) << "the window has the shadow region";
    EXPECT_EQ(frame, Gdi(c.FrameOuter));
    EXPECT_EQ(shadow, Gdi(c.FrameShadow));
    // Worked out by hand from the system's button face: the frame is Darken(face, 90), the
    // shadow Darken(face, 76), the icon column out to the frame Lighten(face, 16).
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto darken = [](int x, int d) { return std::clamp(x - d, 0, 255); };
    auto lighten = [](int x, int p) { return x + ((255 - x) * p + 50) / 100; };
    const int fr = GetRValue(face), fg = GetGValue(face), fb = GetBValue(face);
    EXPECT_EQ(frame, RGB(darken(fr, 90), darken(fg, 88), darken(fb, 90)));
    EXPECT_EQ(shadow, RGB(darken(fr, 76), darken(fg, 74), darken(fb, 76)));
    for (COLORREF px : iconMargin) EXPECT_EQ(px, RGB(lighten(fr, 16), lighten(fg, 16), lighten(fb, 16)));
    EXPECT_NE(corner, Gdi(c.FrameShadow)) << "the top-right corner is outside the region";
    EXPECT_EQ(golden, "");
}

// Every kind of item in one open popup: image with shortcut, check, radio, disabled image,
// default, separator, sub-menu, an item with Tag 999 drawn by the system, and a selection.
TEST_F(StylerFixture, OpenFileMenuWithEveryKindOfItem) {
    styler->FlatMenu = true;
    styler->SetActive(true);
    std::string golden = "not captured";
    WhilePopupOpen(form.File->SubMenu(), form.Window, 150, 150, [&](int tick) {
        if (tick == 0) PressKey(VK_DOWN);
        if (tick == 3) {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (!menu) return false;
            RECT window;
            GetWindowRect(menu, &window);
            Image shot = CaptureScreen(window);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    for (auto [px, py] : {std::pair{shot.Width - 2 + x, y}, std::pair{x, shot.Height - 2 + y}})
                        for (int k = 0; k < 3; ++k)
                            shot.Rgb[(static_cast<size_t>(py) * shot.Width + px) * 3 + k] = 0;
            golden = CompareWithGolden(shot, "file_menu_every_item");
            return false;
        }
        return true;
    });
    EXPECT_EQ(golden, "");
}

TEST(MenuControls, RecognisedControlsAreSubclassedAndRestored) {
    RegisterFrameworkControlClasses();
    MenuForm form(100, 100, false);
    HWND combo = CreateWindowExW(WS_EX_CLIENTEDGE, L"TDBLookupComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                 10, 10, 150, 200, form.Window, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExW(WS_EX_CLIENTEDGE, L"TButton", L"ok", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 60, 80,
                                  24, form.Window, nullptr, nullptr, nullptr);
    HWND kept = CreateWindowExW(0, L"TButton", L"kept", WS_CHILD | WS_VISIBLE, 10, 100, 80, 24, form.Window, nullptr,
                                nullptr, nullptr);
    SetControlTag(kept, 999);
    HWND plain = CreateWindowExW(0, L"BUTTON", L"plain", WS_CHILD | WS_VISIBLE, 10, 140, 80, 24, form.Window, nullptr,
                                 nullptr, nullptr);
    (void)plain;
    const LONG_PTR comboEx = GetWindowLongPtrW(combo, GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
    {
        TMenuStyler styler(*form.Model);
        styler.SetActive(true);
        ASSERT_EQ(styler.Hooks().size(), 2u);
        EXPECT_EQ(styler.Hooks()[0]->Control, combo);
        EXPECT_EQ(styler.Hooks()[1]->Control, button);
        Pump(100);
        // The lookup combo box loses its 3-D look and gets the flat frame.
        EXPECT_EQ(GetWindowLongPtrW(combo, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        Pump(50);
        const Image shot = CaptureWindow(combo);
        EXPECT_EQ(shot.At(0, 0), GetSysColor(COLOR_BTNFACE)) << "outer edge in the surrounding colour";
        EXPECT_EQ(shot.At(1, 1), GetSysColor(COLOR_WINDOW)) << "inner edge in the control's colour";
        // Focus: the drop-down button in CheckFace.
        SetFocus(combo);
        Pump(50);
        const Image focused = CaptureWindow(combo);
        const int buttonX = shot.Width - 2 - GetSystemMetrics(SM_CXHTHUMB) / 2;
        EXPECT_EQ(focused.At(buttonX, 3), Gdi(styler.Colors().CheckFace));
        EXPECT_EQ(focused.At(buttonX - 1, 9), RGB(0, 0, 0)) << "the arrow";

        styler.SetActive(false);  // the controls notice with their next message
        Pump(100);
        EXPECT_TRUE(styler.Hooks().empty());
        EXPECT_EQ(GetWindowLongPtrW(combo, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, comboEx) << "3-D look restored";
        EXPECT_NE(GetWindowLongPtrW(button, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_NE(GetWindowLongPtrW(button, GWL_STYLE) & WS_BORDER, 0);
        styler.SetActive(true);
        EXPECT_EQ(styler.Hooks().size(), 2u);
    }
    // The styler went: its controls have their procedures back and keep working.
    SendMessageW(combo, WM_PAINT, 0, 0);
    EXPECT_EQ(GetWindowLongPtrW(combo, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, comboEx);
    EXPECT_NE(GetWindowLongPtrW(button, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST(MenuManager, RegistrationThemesOtherFormsAndHandsOver) {
    MenuForm a(60, 60), b(80, 80), c(100, 100), kept(120, 120);
    kept.Model->Tag = 999;
    auto sa = std::make_unique<TMenuStyler>(*a.Model);
    auto sb = std::make_unique<TMenuStyler>(*b.Model);
    TMenuStylerManager* m = TMenuStylerManager::Instance();
    ASSERT_NE(m, nullptr);

    // Created in code and switched on: no registration, no theming of other forms.
    sa->SetActive(true);
    EXPECT_TRUE(m->Registered().empty());
    EXPECT_EQ(m->Theming(), nullptr);

    sa->Loaded();
    sb->SetActive(true);
    sb->Loaded();
    ASSERT_EQ(m->Registered().size(), 2u);
    EXPECT_EQ(m->Theming(), sa.get());
    ASSERT_EQ(m->QueuedForms().size(), 1u) << "only the form without styler and without Tag 999";
    EXPECT_EQ(m->QueuedForms()[0], c.Model.get());
    SendMessageW(m->ApplicationWindow(), WM_NULL, 0, 0);  // any message themes the queue
    EXPECT_TRUE(m->QueuedForms().empty());
    EXPECT_EQ(c.Open->Painter(), sa.get());
    EXPECT_EQ(kept.Open->Painter(), nullptr);

    // A form created now waits for the next message.
    MenuForm late(140, 140);
    ASSERT_EQ(m->QueuedForms().size(), 1u);
    SendMessageW(m->ApplicationWindow(), WM_NULL, 0, 0);
    EXPECT_EQ(late.Open->Painter(), sa.get());

    // The theming styler goes: the next eligible one takes over the other forms.
    sa.reset();
    EXPECT_EQ(m->Theming(), sb.get());
    EXPECT_EQ(c.Open->Painter(), sb.get());
    EXPECT_EQ(late.Open->Painter(), sb.get());

    // With no successor the other forms get the system's drawing back.
    sb.reset();
    EXPECT_EQ(TMenuStylerManager::Instance(), nullptr) << "the last registered styler frees the manager";
    EXPECT_EQ(c.Open->Painter(), nullptr);
    EXPECT_EQ(late.Open->Painter(), nullptr);
}

TEST(MenuManager, DisableSubclassingPassesTheRoleOn) {
    MenuForm a(60, 60), b(80, 80);
    auto sa = std::make_unique<TMenuStyler>(*a.Model);
    auto sb = std::make_unique<TMenuStyler>(*b.Model);
    sa->SetActive(true);
    sb->SetActive(true);
    sa->Loaded();
    sb->Loaded();
    TMenuStylerManager* m = TMenuStylerManager::Instance();
    EXPECT_EQ(m->Theming(), sa.get());
    sa->SetDisableSubclassing(true);
    EXPECT_EQ(m->Theming(), sb.get());
    sa->SetDisableSubclassing(true);  // no change, no reassignment
    EXPECT_EQ(m->Theming(), sb.get());
    sb.reset();
    sa.reset();
}

TEST_F(StylerFixture, ItemsAddedLaterKeepTheSystemDrawingUntilTheMenuIsWalked) {
    styler->AutoDetect = true;
    styler->SetActive(true);
    TMenuItem& added = form.File->Add(L"Added later");
    form.Main->Rebuild();
    EXPECT_EQ(added.Painter(), nullptr);
    styler->SetOverrideOwnerDraw(false);  // walks the menus again
    EXPECT_EQ(added.Painter(), styler.get());
}
