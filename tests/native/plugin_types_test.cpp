// Growing scan tables and joining kept lines.
#include "analysis/plugin_types.h"

#include <gtest/gtest.h>

using namespace tintmark;

TEST(GrowingTable, The129thEntryGrowsTo256AndKeepsTheFirst128) {
    TKeyWordsMap map;
    map.SetLength(128);
    for (int32_t i = 0; i < 128; ++i) map.Append().Line = i;
    EXPECT_EQ(map.Capacity(), 128);
    map.Append().Line = 128;
    EXPECT_EQ(map.Capacity(), 256);
    EXPECT_EQ(map.Count(), 129);
    for (int32_t i = 0; i < 129; ++i) ASSERT_EQ(map[i].Line, i);
}

TEST(GrowingTable, ResetKeepsStorageAndLengthZeroEmpties) {
    TIntArray t;
    EXPECT_EQ(t.Capacity(), 0);
    t.Append(5);  // from length 0 the first append grows by one step
    EXPECT_EQ(t.Capacity(), 128);
    t.Reset();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.Capacity(), 128);
    t.Append(7);
    EXPECT_EQ(t[0], 7);
    t.SetLength(0);
    EXPECT_EQ(t.Capacity(), 0);
    EXPECT_EQ(t.Count(), 0);
}

TEST(JoinLines, Table) {
    using L = std::vector<std::u16string>;
    EXPECT_EQ(JoinLines(L{}), u"");
    EXPECT_EQ(JoinLines(L{u""}), u"");
    EXPECT_EQ(JoinLines(L{u"a"}), u"a");
    EXPECT_EQ(JoinLines(L{u"a", u"b"}), u"a\r\nb");
    EXPECT_EQ(JoinLines(L{u"", u""}), u"\r\n");
    EXPECT_EQ(JoinLines(L{u"Процедура А()", u"\tКонецПроцедуры"}), u"Процедура А()\r\n\tКонецПроцедуры");
}
