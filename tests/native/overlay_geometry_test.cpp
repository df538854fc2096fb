// Geometry of the gutter marks, the highlight boxes, the cross lines and the document-name
// rules, against hand-worked examples.
#include <gtest/gtest.h>

#include "analysis/document_name.h"
#include "render/gutter_marks.h"
#include "render/overlay_geometry.h"

using namespace tintmark;

namespace {

using S = GutterShape;

TMethMap Methods(std::initializer_list<std::pair<uint8_t, int32_t>> entries) {
    TMethMap m;
    m.SetLength(128);
    for (auto [kind, line] : entries) {
        TMethToken& t = m.Append();
        t.Kind = kind;
        t.Line = line;
    }
    return m;
}

TIntArray Rows(std::initializer_list<int32_t> rows) {
    TIntArray a;
    for (int32_t r : rows) a.Append(r);
    return a;
}

// Line height 16 and text origin 20: the mark column is x = 7.
const GutterGeometry kWorked{16, 20, 20, 100};

}  // namespace

TEST(GutterMarks, WorkedGeometryOfHeaderEndAndBookmark) {
    // A header on relative line 2 whose end is on relative line 5; a bookmark on line 0.
    const GutterPicture p = ComposeGutter(kWorked, Methods({{kProcedure, 102}, {kEndProcedure, 105}}), Rows({0}), false);
    EXPECT_EQ(p.fill, (Rect{0, 0, 19, 21 * 16}));  // x = 0..18 filled
    EXPECT_EQ(p.separator, (S{S::Line, 18, 0, 18, 21 * 16}));
    const std::vector<S> want = {
        {S::Line, 4, 40, 11, 40},   // minus: x = 4..10 at y = 40
        {S::Line, 7, 48, 7, 88},    // block line y = 48..87
        {S::Line, 7, 88, 11, 88},   // foot y = 88 on x = 7..10
        {S::Bookmark, 2, 3, 13, 13},
    };
    EXPECT_EQ(p.marks, want);
}

TEST(GutterMarks, MarksByWhatIsInView) {
    struct Case {
        const char* name;
        TMethMap methods;
        std::vector<S> want;
    };
    const Case cases[] = {
        {"nothing in view: one block line through the gutter", Methods({}),
         {{S::Line, 4, -8, 11, -8}, {S::Line, 7, 0, 7, 21 * 16 + 8}, {S::Line, 7, 21 * 16 + 8, 11, 21 * 16 + 8}}},
        {"view starts inside a method: line from the top to the end", Methods({{kEndFunction, 103}}),
         {{S::Line, 4, -8, 11, -8}, {S::Line, 7, 0, 7, 56}, {S::Line, 7, 56, 11, 56}}},
        {"last header runs past the bottom", Methods({{kFunction, 101}}),
         {{S::Line, 4, 24, 11, 24}, {S::Line, 7, 32, 7, 21 * 16 + 8}, {S::Line, 7, 21 * 16 + 8, 11, 21 * 16 + 8}}},
        {"header followed by a header gets no mark", Methods({{kProcedure, 100}, {kFunction, 104}, {kEndFunction, 106}}),
         {{S::Line, 4, 72, 11, 72}, {S::Line, 7, 80, 7, 104}, {S::Line, 7, 104, 11, 104}}},
        {"header and end of another kind: no mark", Methods({{kProcedure, 100}, {kEndFunction, 101}}), {}},
        {"folded header: a plus and no block line", Methods({{kFoldedHeader, 101}, {kEndProcedure, 102}}),
         {{S::Line, 4, 24, 11, 24}, {S::Line, 7, 21, 7, 28}}},
        {"header and end on one row: no block line", Methods({{kProcedure, 101}, {kEndProcedure, 101}}),
         {{S::Line, 4, 24, 11, 24}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeGutter(kWorked, c.methods, Rows({}), false).marks, c.want) << c.name;
}

TEST(GutterMarks, BookmarkWithoutMethodsAndBackgroundOnly) {
    const GutterPicture p = ComposeGutter(kWorked, Methods({{kProcedure, 101}, {kEndProcedure, 103}}), Rows({4}), true);
    EXPECT_TRUE(p.marks.empty());
    EXPECT_EQ(p.fill.right, 19);
}

TEST(HighlightBox, WorkedKeywordBox) {
    const auto p = PlanHighlightBox(Rect{51, 32, 85, 49}, false, 20, std::nullopt);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->fill, (Rect{51, 32, 85, 49}));  // filled and framed over x = 51..84, y = 32..48
    EXPECT_EQ(p->underlineY, 48);
    EXPECT_EQ(p->textX, 52);
    EXPECT_EQ(p->textY, 32);
    EXPECT_EQ(p->stored, (Rect{51, 32, 85, 49}));
}

TEST(HighlightBox, BracketsBoldAndTheGutterEdge) {
    struct Case {
        const char* name;
        Rect in;
        bool bracket;
        std::optional<int32_t> bold;
        bool drawn;
        Rect stored, fill;
        int32_t textX;
    };
    const Case cases[] = {
        {"bracket: fill one pixel right, text where a keyword's is", {51, 32, 61, 49}, true, {}, true,
         {51, 32, 61, 49}, {52, 32, 61, 49}, 52},
        {"bold: right edge from the bold width, text one pixel left", {51, 32, 85, 49}, false, 40, true,
         {51, 32, 90, 49}, {51, 32, 90, 49}, 50},
        {"partly under the gutter: drawn from the text origin, text at its own place", {10, 0, 40, 17}, false, {},
         true, {20, 0, 40, 17}, {20, 0, 40, 17}, 11},
        {"one pixel left of the origin is no clipping", {19, 0, 40, 17}, false, {}, true, {19, 0, 40, 17},
         {19, 0, 40, 17}, 20},
        {"at or left of the text origin: not drawn", {0, 0, 20, 17}, false, {}, false, {}, {}, 0},
    };
    for (const Case& c : cases) {
        const auto p = PlanHighlightBox(c.in, c.bracket, 20, c.bold);
        ASSERT_EQ(p.has_value(), c.drawn) << c.name;
        if (!p) continue;
        EXPECT_EQ(p->stored, c.stored) << c.name;
        EXPECT_EQ(p->fill, c.fill) << c.name;
        EXPECT_EQ(p->clip, c.fill) << c.name;
        EXPECT_EQ(p->textX, c.textX) << c.name;
        EXPECT_EQ(p->underlineY, c.in.bottom - 1) << c.name;
    }
}

TEST(CrossLines, RectanglesAndFrameEdges) {
    EXPECT_EQ(HorizontalCrossRect(20, 3, 16, 600), (Rect{19, 48, 600, 65}));
    EXPECT_EQ(VerticalCrossRect(20, 40, 0, 400), (Rect{60, 0, 61, 400}));
    const FrameEdges e = EdgesOf(Rect{19, 48, 600, 65});
    EXPECT_EQ(e.edge[0], (Rect{19, 48, 600, 49}));
    EXPECT_EQ(e.edge[1], (Rect{19, 64, 600, 65}));
    EXPECT_EQ(e.edge[2], (Rect{19, 48, 20, 65}));
    EXPECT_EQ(e.edge[3], (Rect{599, 48, 600, 65}));
    EXPECT_TRUE(Intersects(Rect{0, 0, 10, 10}, Rect{9, 9, 20, 20}));
    EXPECT_FALSE(Intersects(Rect{0, 0, 10, 10}, Rect{10, 0, 20, 10}));
    EXPECT_FALSE(Intersects(Rect{0, 0, 10, 10}, Rect{5, 5, 5, 8}));  // empty
}

// Marks drawn in one view and looked at in another: the text moved up when the view scrolled
// down, left when it scrolled right; lines placed for another client size no longer fit.
TEST(CrossLines, ViewShiftAndFit) {
    struct Row { int32_t placedFirst, placedH, first, h, dx, dy; };
    const Row rows[] = {{10, 0, 12, 8, -8, -32}, {12, 8, 10, 0, 8, 32}, {5, 30, 5, 30, 0, 0}};
    for (const Row& r : rows) {
        const ViewShift d = ShiftSince(r.placedFirst, r.placedH, r.first, r.h, 16);
        EXPECT_EQ(d.dx, r.dx);
        EXPECT_EQ(d.dy, r.dy);
    }
    EXPECT_EQ(ShiftSince(0, 0, 0x7FFFFFFF, 0, 16).dy, INT32_MIN) << "saturated, not wrapped";
    CrossLineState c;
    c.HorizCrossRect = HorizontalCrossRect(20, 3, 16, 600);
    c.VertCrossRect = VerticalCrossRect(20, 40, 0, 400);
    c.HorizCrossShown = c.VertCrossShown = true;
    EXPECT_TRUE(CrossLinesFit(c, Rect{0, 0, 600, 400}));
    EXPECT_FALSE(CrossLinesFit(c, Rect{0, 0, 800, 400}));
    EXPECT_FALSE(CrossLinesFit(c, Rect{0, 0, 600, 500}));
    c.VertCrossShown = false;
    EXPECT_TRUE(CrossLinesFit(c, Rect{0, 0, 600, 500})) << "only the frame is shown";
}

TEST(DocumentName, ExcludedExtensions) {
    struct Case {
        const char16_t* name;
        bool excluded;
    };
    const Case cases[] = {
        {u"script.vbs", true},  {u"page.htm", true},      {u"a.ht", true},        {u"a.p", true},
        {u"a.h", true},         {u"Module.JS", false},    {u"Module.txt", false}, {u"Module", false},
        {u"Module.", false},    {u"C:\\dir.vbs\\Module", false}, {u"C:\\dir\\x.js", true},
        {u"Глобальный модуль", false},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(IsExcludedDocumentName(cases[i].name), cases[i].excluded) << "case " << i;
    EXPECT_EQ(NameExtension(u"C:\\a.b\\c"), u"");
    EXPECT_EQ(NameExtension(u"x.tar.gz"), u".gz");
}
