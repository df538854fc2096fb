// The simulator's document text: ranges, replacement, caret and bookmarks.
#include "text_buffer.h"

#include <gtest/gtest.h>

#include "selection_change.h"
#include "undo_history.h"

using namespace cfgsim;

TEST(TextBuffer, SplitJoinAndRanges) {
    TextBuffer b(u"a\r\nbc\ndef\r\n");
    EXPECT_EQ(b.LineCount(), 3);
    EXPECT_EQ(b.GetText(), u"a\r\nbc\r\ndef");
    EXPECT_EQ(b.RangeText({0, 0}, {2, 2}), u"a\r\nbc\r\nde");
    EXPECT_EQ(b.RangeText({1, 1}, {1, 2}), u"c");  // end column exclusive
    EXPECT_EQ(b.RangeText({1, 5}, {7, 9}), u"\r\ndef");  // clamped
    EXPECT_EQ(b.RangeText({2, 0}, {1, 0}), u"");  // end before start
    EXPECT_EQ(TextBuffer(u"").LineCount(), 1);
}

TEST(TextBuffer, ReplaceMovesTheCaretAndTheBookmarks) {
    TextBuffer b(u"one\ntwo\nthree\nfour");
    b.SetBookmark(3, true);
    b.SetBookmark(1, true);
    const TextPos end = b.ReplaceRange({0, 1}, {1, 1}, u"X\r\nY\nZ");
    EXPECT_EQ(b.GetText(), u"oX\r\nY\r\nZwo\r\nthree\r\nfour");
    EXPECT_EQ(end, (TextPos{2, 1}));
    EXPECT_EQ(b.SelStart(), end);
    EXPECT_TRUE(b.Bookmark(4));   // moved down with «four»
    EXPECT_FALSE(b.Bookmark(3));
    EXPECT_FALSE(b.Bookmark(1));  // its line was replaced
    b.ReplaceRange({0, 0}, {4, 4}, u"");
    EXPECT_EQ(b.GetText(), u"");
    EXPECT_EQ(b.NextBookmark(0), -1);
}

TEST(TextBuffer, CaretSelectionAndNextBookmark) {
    TextBuffer b(u"ab\ncd\nef");
    b.MoveCaret({2, 9}, {0, 1});
    EXPECT_EQ(b.SelStart(), (TextPos{2, 9}));  // the caret may stand past the line end
    EXPECT_EQ(b.SelFirst(), (TextPos{0, 1}));
    EXPECT_TRUE(b.HasSelection());
    b.SetBookmark(1, true);
    b.SetBookmark(2, true);
    EXPECT_EQ(b.NextBookmark(0), 1);
    EXPECT_EQ(b.NextBookmark(1), 2);
    EXPECT_EQ(b.NextBookmark(2), 1);  // wraps to the first
    b.SetBookmark(7, true);           // outside the text: ignored
    EXPECT_EQ(b.NextBookmark(2), 1);
}

TEST(TextBuffer, DecodesModules) {
    EXPECT_EQ(DecodeModule("\xCF\xF0\xEE", false), u"Про");
    EXPECT_EQ(DecodeModule("\xEF\xBB\xBF\xD0\x9F\xD1\x80", true), u"Пр");
}

TEST(TextBuffer, CaretPositionsInVirtualSpace) {
    TextBuffer b(u"ab\ncd");
    struct Case {
        TextPos in;
        bool pastEnd;
        TextPos want;
    } cases[] = {
        {{0, 7}, false, {0, 7}},   // past the line end: kept
        {{5, 1}, false, {1, 1}},   // below the last line: clamped
        {{5, 1}, true, {5, 1}},    // unless lines past the end are allowed
        {{-1, -3}, true, {0, 0}},  // never negative
        {{0, TextBuffer::kMaxColumn + 9}, false, {0, TextBuffer::kMaxColumn}},
    };
    for (const Case& c : cases) {
        b.MoveCaret(c.in, c.in, c.pastEnd);
        EXPECT_EQ(b.SelStart(), c.want) << c.in.line << " " << c.in.col;
        EXPECT_EQ(b.SelEnd(), c.want);
    }
    // Text operations stay inside the text.
    EXPECT_EQ(b.RangeText({0, 1}, {0, 9}), u"b");
    EXPECT_EQ(b.Line(3), u"");
    b.PadTo({3, 2});
    EXPECT_EQ(b.GetText(), u"ab\r\ncd\r\n\r\n  ");
    b.PadTo({0, 4});
    EXPECT_EQ(b.Line(0), u"ab  ");
    b.PadTo({0, 1});  // inside the text: nothing to pad
    EXPECT_EQ(b.Line(0), u"ab  ");
}

TEST(SelectionChange, SpansOfALine) {
    const TextPos a{1, 2}, b{3, 4};
    EXPECT_TRUE(SelectedSpan(a, b, 0).Empty());
    EXPECT_EQ(SelectedSpan(a, b, 1), (ColumnSpan{2, ColumnSpan::kToLineEnd}));
    EXPECT_EQ(SelectedSpan(b, a, 2), (ColumnSpan{0, ColumnSpan::kToLineEnd}));
    EXPECT_EQ(SelectedSpan(a, b, 3), (ColumnSpan{0, 4}));
    EXPECT_TRUE(SelectedSpan(a, a, 1).Empty());
    EXPECT_TRUE(SelectedSpan({2, 0}, {3, 0}, 3).Empty());  // ends at the start of the line
}

TEST(SelectionChange, ChangedLines) {
    struct Case {
        const char* what;
        TextPos a0, b0, a1, b1;
        std::vector<LineRun> want;
    } cases[] = {
        {"caret move without selection", {1, 1}, {1, 1}, {7, 3}, {7, 3}, {}},
        {"selection appears on one line", {2, 1}, {2, 1}, {2, 4}, {2, 1}, {{2, 2}}},
        {"selection extended by one line", {4, 2}, {2, 1}, {5, 2}, {2, 1}, {{4, 5}}},
        {"selection extended to the start of the next line", {4, 2}, {2, 1}, {5, 0}, {2, 1}, {{4, 4}}},
        {"selection shrinks within its last line", {4, 6}, {2, 1}, {4, 3}, {2, 1}, {{4, 4}}},
        {"selection cleared", {2, 1}, {5, 2}, {5, 2}, {5, 2}, {{2, 5}}},
        {"selection moved elsewhere", {1, 0}, {1, 3}, {6, 0}, {6, 3}, {{1, 1}, {6, 6}}},
        {"same selection, ends swapped", {1, 0}, {3, 3}, {3, 3}, {1, 0}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ChangedSelectionLines(c.a0, c.b0, c.a1, c.b1), c.want) << c.what;
}

// With line ends kept, each line keeps the break it came with, set or inserted; otherwise
// the text comes back with CR LF.
TEST(TextBuffer, KeptLineEnds) {
    struct Case {
        bool keep;
        std::u16string text, insert, want;
    };
    const Case cases[] = {
        {true, u"a\nb\nc", u"", u"a\nb\nc"},
        {true, u"a\nb\rc\r\nd\n", u"", u"a\nb\rc\r\nd"},
        {true, u"a\nb\nc", u"X\r\nY", u"a\nbX\r\nY\nc"},
        {false, u"a\nb\nc", u"X\nY", u"a\r\nbX\r\nY\r\nc"},
    };
    for (const Case& c : cases) {
        cfgsim::TextBuffer b;
        b.KeepLineEnds(c.keep);
        b.SetText(c.text);
        if (!c.insert.empty()) b.ReplaceRange({1, 1}, {1, 1}, c.insert);
        EXPECT_EQ(b.GetText(), c.want);
        EXPECT_EQ(b.RangeText({0, 0}, {1, 1}), c.want.substr(0, c.want.find(u'b') + 1));
    }
}

// Characters typed one after another on a line are one step; anything else (a line break, a
// jump of the caret, a host's replacement) starts a new one; a new change drops what redo had.
TEST(UndoHistory, StepsAsAnEditorGroupsThem) {
    TextBuffer t(u"ab\ncd");
    UndoHistory h;
    auto type = [&](TextPos at, const char16_t* s, UndoHistory::Change kind = UndoHistory::Change::Typing) {
        t.MoveCaret(at, at);
        for (const char16_t* c = s; *c; ++c) {
            h.Before(t, kind);
            t.ReplaceRange(t.SelStart(), t.SelStart(), std::u16string(1, *c));
            h.After(t);
        }
    };
    type({0, 2}, u"xyz");
    type({1, 0}, u"q");
    EXPECT_EQ(t.GetText(), u"abxyz\r\nqcd");
    ASSERT_TRUE(h.Undo(t));
    EXPECT_EQ(t.GetText(), u"abxyz\r\ncd");
    ASSERT_TRUE(h.Undo(t));
    EXPECT_EQ(t.GetText(), u"ab\r\ncd");
    EXPECT_FALSE(h.Undo(t));
    ASSERT_TRUE(h.Redo(t));
    EXPECT_EQ(t.GetText(), u"abxyz\r\ncd");
    type({0, 0}, u"12", UndoHistory::Change::Other);  // two host calls: two steps, no redo left
    EXPECT_FALSE(h.Redo(t));
    ASSERT_TRUE(h.Undo(t));
    EXPECT_EQ(t.GetText(), u"1abxyz\r\ncd");
}
