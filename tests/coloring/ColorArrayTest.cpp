// Run list, line colour table and comment spans: insertion past the end, growth, the stretched tail.
#include "coloring/ColorArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The colours and ends of entries first ... last.
std::vector<unsigned> Entries(CColorArray& runs, int first, int last) {
    std::vector<unsigned> out;
    for (int k = first; k <= last; ++k)
        out.insert(out.end(), {(unsigned)runs.GetAt(k), (unsigned)runs.GetColorPos(k)});
    return out;
}

// An insertion past the end counts as one run but pads the entries with zeros; a shrink keeps the run
// count and Reset clears it, not the start.
TEST(ColorArray, InsertPastEndCountsCallsNotEntries) {
    CColorArray runs;
    runs.StartPos() = 4;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(runs.AddColor(0x10 + i, i + 1), 1);
    runs.InsertAt(5, 0x77, 9);
    EXPECT_EQ(runs.GetSize() * 10 + runs.GetColorNumber(), 64);
    EXPECT_EQ(Entries(runs, 3, 5), (std::vector<unsigned>{0, 0, 0, 0, 0x77, 9}));
    runs.InsertAt(1, 0x55, 4);
    EXPECT_EQ(Entries(runs, 0, 2), (std::vector<unsigned>{0x10, 1, 0x55, 4, 0x11, 2}));
    EXPECT_EQ(runs[6], 0x77u);
    runs.SetSize(0);
    EXPECT_EQ(runs.GetSize() + runs.GetStoredCount(), 0);
    EXPECT_EQ(runs.GetColorNumber(), 5);
    runs.Reset();
    EXPECT_EQ(runs.GetColorNumber() * 10 + runs.StartPos(), 4);
}

// A stretched tail costs no memory but reads as zero; a shrink below the tail entry drops it; a copy
// carries everything and owns its entries; indexes outside the list give clear results.
TEST(ColorArray, StretchedTailCopiesAndOutOfRangeIndexes) {
    const int kBig = 50 * 1000 * 1000, kMid = 30 * 1000 * 1000;
    CColorArray runs;
    runs.StartPos() = 3;
    runs.AddColor(0x1, 3);
    runs.AddColor(0x2, 8);
    runs.SetSize(kBig);
    EXPECT_EQ(runs.GetStoredCount(), 2);
    EXPECT_EQ(runs.GetAt(1) + runs.GetAt(kBig - 1), 0x2u);
    runs.InsertAt(kMid, 0x9, 4);
    EXPECT_EQ(runs.GetSize() - kBig + runs.GetStoredCount(), 4);
    EXPECT_EQ(Entries(runs, kMid, kMid), (std::vector<unsigned>{0x9, 4}));
    CColorArray copy(runs);
    EXPECT_EQ(std::vector<int>({copy.StartPos(), copy.GetColorNumber(), copy.GetSize() - kBig}),
              std::vector<int>({3, 3, 1}));
    runs.SetAt(kMid, 0x43);
    EXPECT_EQ(copy.GetAt(kMid), 0x9u);
    runs.SetSize(10);
    runs.SetSize(40 * 1000 * 1000);
    EXPECT_EQ(runs.GetAt(kMid), 0u);
    CColorArray small;
    small.AddColor(5, 1);
    EXPECT_EQ(small.GetAt(-1) + small.GetAt(1) + (unsigned)small.SetColor(3, 1, 1), 0u);
    EXPECT_EQ(small.SetColor(0, 7, 2), 1);
    EXPECT_EQ(small.GetColorPos(0), 2);
    small.GetColorPos(99) = 12; // a scratch entry: writing to it changes nothing
    EXPECT_EQ(small.GetColorPos(99), 0);
    small.RemoveAt(4, 2);
    small.RemoveAt(-1, 1);
    small.InsertAt(-3, 1, 1);
    EXPECT_EQ(small.GetColorNumber() * 10 + small.GetSize(), 11);
}

TEST(ColorTableAndComments, EntriesInCallOrderSpansTagsAndOffsets) {
    CColorTable table;
    table.AddColor(0xAA, 4);
    table.AddColor(0xBB, 9);
    EXPECT_EQ(std::vector<unsigned>({(unsigned)table.GetColorCount(), table.GetColor(0),
                                     (unsigned)table.GetColorPos(1), table.GetColor(2)}),
              std::vector<unsigned>({2, 0xAA, 9, 0}));
    table.SetSize(0);
    EXPECT_EQ(table.GetColorCount() * 10 + table.GetColorPos(0), 20);
    CCommentArray spans;
    spans.Add(2, 5, 7);
    spans.Add(10, 14, 9);
    EXPECT_EQ(spans.GetCount() * 100 + spans.LastTag() * 10 + spans.IsComment(3), 290);
    spans.OffsetPos(10, 3);
    EXPECT_EQ(std::vector<int>({spans.Begin(0), spans.Begin(1), spans.Stop(1), spans.Begin(5)}),
              std::vector<int>({2, 13, 17, 0}));
}

} // namespace
