// Run list, line colour table and comment spans: insertion past the end, growth, the stretched tail.
#include "coloring/ColorArray.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorArray, InsertPastEndCountsCallsNotEntries) {
    CColorArray runs;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(runs.AddColor(0x10 + i, i + 1), 1);
    runs.InsertAt(5, 0x77, 9);
    EXPECT_EQ(runs.GetSize(), 6);
    EXPECT_EQ(runs.GetColorNumber(), 4);
    EXPECT_EQ(runs.GetAt(3), 0u);
    EXPECT_EQ(runs.GetAt(4), 0u);
    EXPECT_EQ(runs.GetColorPos(4), 0);
    EXPECT_EQ(runs.GetAt(5), 0x77u);
    EXPECT_EQ(runs.GetColorPos(5), 9);
    EXPECT_EQ(runs[5], 0x77u);
    runs.InsertAt(1, 0x55, 4);
    EXPECT_EQ(runs.GetSize(), 7);
    EXPECT_EQ(runs.GetAt(1), 0x55u);
    EXPECT_EQ(runs.GetAt(2), 0x11u);
    EXPECT_EQ(runs.GetAt(6), 0x77u);
}

TEST(ColorArray, SetSizeKeepsRunCountResetClearsIt) {
    CColorArray runs;
    runs.StartPos() = 4;
    runs.AddColor(1, 5);
    runs.AddColor(2, 6);
    runs.SetSize(0);
    EXPECT_EQ(runs.GetSize(), 0);
    EXPECT_EQ(runs.GetColorNumber(), 2);
    EXPECT_EQ(runs.GetStoredCount(), 0);
    runs.AddColor(3, 7);
    runs.Reset();
    EXPECT_EQ(runs.GetColorNumber(), 0);
    EXPECT_EQ(runs.GetSize(), 0);
    EXPECT_EQ(runs.StartPos(), 4);
}

TEST(ColorArray, StretchedTailCostsNoMemoryButReadsAsZero) {
    CColorArray runs;
    runs.AddColor(0x1, 3);
    runs.AddColor(0x2, 8);
    runs.SetSize(50 * 1000 * 1000);
    EXPECT_EQ(runs.GetSize(), 50 * 1000 * 1000);
    EXPECT_EQ(runs.GetStoredCount(), 2);
    EXPECT_EQ(runs.GetAt(1), 0x2u);
    EXPECT_EQ(runs.GetAt(49999999), 0u);
    runs.InsertAt(30 * 1000 * 1000, 0x9, 4);
    EXPECT_EQ(runs.GetSize(), 50 * 1000 * 1000 + 1);
    EXPECT_EQ(runs.GetStoredCount(), 3);
    EXPECT_EQ(runs.GetAt(30 * 1000 * 1000), 0x9u);
    EXPECT_EQ(runs.GetColorPos(30 * 1000 * 1000), 4);
    // Shrinking below the tail entry drops it; growing again shows zeros.
    runs.SetSize(10);
    runs.SetSize(40 * 1000 * 1000);
    EXPECT_EQ(runs.GetAt(30 * 1000 * 1000), 0u);
}

TEST(ColorArray, OutOfRangeIndexesGiveClearResults) {
    CColorArray runs;
    runs.AddColor(5, 1);
    EXPECT_EQ(runs.GetAt(-1), 0u);
    EXPECT_EQ(runs.GetAt(1), 0u);
    EXPECT_EQ(runs.SetColor(3, 1, 1), 0);
    EXPECT_EQ(runs.SetColor(0, 7, 2), 1);
    EXPECT_EQ(runs.GetColorPos(0), 2);
    int& scratch = runs.GetColorPos(99);
    EXPECT_EQ(scratch, 0);
    scratch = 12;
    EXPECT_EQ(runs.GetColorPos(99), 0);
    runs.RemoveAt(4, 2);
    runs.RemoveAt(-1, 1);
    EXPECT_EQ(runs.GetColorNumber(), 1);
    runs.InsertAt(-3, 1, 1);
    EXPECT_EQ(runs.GetSize(), 1);
}

TEST(ColorArray, CopyCarriesEverything) {
    CColorArray runs;
    runs.StartPos() = 3;
    runs.AddColor(1, 4);
    runs.SetSize(100);
    runs.InsertAt(60, 0x42, 61);
    CColorArray copy(runs);
    EXPECT_EQ(copy.StartPos(), 3);
    EXPECT_EQ(copy.GetColorNumber(), 2);
    EXPECT_EQ(copy.GetSize(), 101);
    EXPECT_EQ(copy.GetAt(60), 0x42u);
    runs.SetAt(60, 0x43);
    EXPECT_EQ(copy.GetAt(60), 0x42u);
}

TEST(ColorTable, EntriesInCallOrder) {
    CColorTable table;
    table.AddColor(0xAA, 4);
    table.AddColor(0xBB, 9);
    EXPECT_EQ(table.GetColorCount(), 2);
    EXPECT_EQ(table.GetColor(0), 0xAAu);
    EXPECT_EQ(table.GetColorPos(1), 9);
    EXPECT_EQ(table.GetColor(2), 0u);
    table.SetSize(0);
    EXPECT_EQ(table.GetColorCount(), 2);
    EXPECT_EQ(table.GetColorPos(0), 0);
}

TEST(CommentArray, SpansTagsAndOffsets) {
    CCommentArray spans;
    spans.Add(2, 5, 7);
    spans.Add(10, 14, 9);
    EXPECT_EQ(spans.GetCount(), 2);
    EXPECT_EQ(spans.LastTag(), 9);
    EXPECT_EQ(spans.IsComment(3), 0);
    spans.OffsetPos(10, 3);
    EXPECT_EQ(spans.Begin(0), 2);
    EXPECT_EQ(spans.Begin(1), 13);
    EXPECT_EQ(spans.Stop(1), 17);
    spans.Stop(0) = 6;
    EXPECT_EQ(spans.Stop(0), 6);
    EXPECT_EQ(spans.Begin(5), 0);
}

} // namespace
