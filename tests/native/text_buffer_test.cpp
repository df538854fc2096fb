// The simulator's document text: ranges, replacement, caret and bookmarks.
#include "text_buffer.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(b.SelStart(), (TextPos{2, 2}));
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
