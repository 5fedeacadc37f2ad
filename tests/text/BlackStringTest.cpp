// CBlackString and its line table: figures after rebuilds, the typing patch, loading and lookups.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "text/BlackString.h"

namespace {
// A buffer holding body plus the documents' trailing zero byte, rebuilt once.
void Load(CBlackString& b, const std::string& body) {
    b.SetBufferSize(65536);
    b.CStringEx::Insert(0, body.c_str());
    b.Reset();
}
std::vector<int> Table(const CBlackString& b) {
    std::vector<int> t;
    for (int k = 0; k < b.GetLineCount(); ++k) t.push_back(b.GetLineOffset(k));
    return t;
}
} // namespace

TEST(BlackStringFigures, NewBufferAndEmptyDocument) {
    CBlackString b;
    EXPECT_EQ(b.GetLineCount(), 1);
    EXPECT_EQ(b.GetLineOffset(0), 0);
    EXPECT_EQ(b.GetTotalWidth(), CSize(0, 0));
    EXPECT_EQ(b.GetLineTable().GetSearchLineCount(), 0);
    EXPECT_EQ(GetTabSize(), 4);
    b.SetBufferSize(65536);
    b.Reset();
    EXPECT_EQ(b.GetLength(), 1);
    EXPECT_EQ(b.GetLineCount(), 1);
    EXPECT_EQ(Table(b), std::vector<int>({0}));
    EXPECT_EQ(b.GetTotalWidth(), CSize(0, 1));
    EXPECT_EQ(b.GetLineTable().GetAverageLineLength(), 1);
    EXPECT_TRUE(b.GetLine(0).IsEmpty());
    EXPECT_EQ(b.GetLineEndOffset(0), 1);
    EXPECT_EQ(b.OffsetToLine(0), 0);
    EXPECT_EQ(b.OffsetToLine(1), 0);
}

TEST(BlackStringFigures, TwoLinesTheLineFeedBelongsToTheFirst) {
    CBlackString b;
    Load(b, "ab\ncd");
    EXPECT_EQ(b.GetLength(), 6);
    EXPECT_EQ(b.GetLineCount(), 2);
    EXPECT_EQ(Table(b), std::vector<int>({0, 3}));
    EXPECT_EQ(b.GetTotalWidth(), CSize(2, 2));
    EXPECT_EQ(b.GetLineTable().GetAverageLineLength(), 3);
    EXPECT_EQ(b.OffsetToLine(2), 0);
    EXPECT_EQ(b.OffsetToLine(3), 1);
    EXPECT_EQ(b.OffsetToLine(5), 1);
    EXPECT_EQ(b.OffsetToLine(500), 1);
    EXPECT_EQ(b.OffsetToLine(-7), 0);
    EXPECT_EQ(b.GetLineSize(0), 3);
    EXPECT_EQ(b.GetLineSize(1), 3);
    EXPECT_EQ(b.GetLineEndOffset(0), 2);
    EXPECT_EQ(b.GetLineEndOffset(1), 6);
    EXPECT_STREQ(b.GetLine(0), "ab");
    EXPECT_STREQ(b.GetLine(1), "cd");
    EXPECT_TRUE(b.GetLine(-1).IsEmpty());
    EXPECT_TRUE(b.GetLine(2).IsEmpty());
}

TEST(BlackStringFigures, TabsCountFullAndTheLastLineIsLeftOut) {
    CBlackString b;
    Load(b, "\tx\nab\nthe longest line of all");
    EXPECT_EQ(b.GetLineWidth(0), 5);
    EXPECT_EQ(b.GetLineWidth(2), 23);
    EXPECT_EQ(b.GetTotalWidth(), CSize(5, 3));
    CBlackString g;
    Load(g, "\xb0\xa1\xb0\xa1\n\t\t");
    EXPECT_EQ(g.GetTotalWidth().cx, 4); // a double-byte character is two cells
    EXPECT_EQ(g.GetLineWidth(1), 8);
}

TEST(BlackStringEdit, TypingOneBytePatchesUntilTheNextReset) {
    CBlackString b;
    Load(b, "ab\ncd");
    b.Insert(1, 'X');
    EXPECT_EQ(Table(b), std::vector<int>({0, 4}));
    EXPECT_STREQ(b.GetLine(1), "cd");
    EXPECT_EQ(b.GetTotalWidth().cx, 3);
    b.Insert(4, '\n'); // a typed line feed is not a line start yet
    EXPECT_EQ(b.GetLineCount(), 2);
    EXPECT_EQ(Table(b), std::vector<int>({0, 4}));
    b.Reset();
    EXPECT_EQ(Table(b), std::vector<int>({0, 4, 5}));
    b.Return(0);
    EXPECT_EQ(Table(b), std::vector<int>({0, 1, 5, 6}));
    b.Delete(0, 5);
    EXPECT_EQ(Table(b), std::vector<int>({0, 1}));
    EXPECT_STREQ(b.GetLine(1), "cd");
    b.Replace(0, 1, "12\n345\n");
    EXPECT_EQ(Table(b), std::vector<int>({0, 3, 7}));
    b.Replace(0, 2, 'Z');
    EXPECT_STREQ(b.GetLine(0), "Z");
    b.Insert(0, "q\tq");
    EXPECT_EQ(b.GetLineWidth(0), 7);
}

TEST(BlackStringEdit, RecalcLineAndMoveOffsets) {
    CBlackString b;
    Load(b, "a\nb\nc");
    b.CStringEx::Insert(2, "xx\nyy\n");
    b.RecalcLine(2);
    EXPECT_EQ(b.GetLineCount(), 5);
    EXPECT_EQ(Table(b), std::vector<int>({0, 2, 5, 8, 10}));
    EXPECT_EQ(b.GetTotalWidth().cy, 5);
    EXPECT_EQ(b.GetLineTable().GetSearchLineCount(), 3); // left for the next Reset
    b.RecalcLine(b.GetLength());
    EXPECT_EQ(b.GetLineCount(), 3);
    b.Reset();
    b.MoveLineOffset(1, 2);
    EXPECT_EQ(Table(b), std::vector<int>({0, 4, 7, 10, 12}));
    b.MoveLineOffset(3, -3);
    EXPECT_EQ(Table(b), std::vector<int>({0, 4, 7, 7, 9}));
    // The order is broken only where the caller broke it: lookups still follow the walk.
    EXPECT_EQ(b.OffsetToLine(8), b.GetLineTable().OffsetToLineByWalk(8));
    b.AddLineOffset(99);
    EXPECT_EQ(b.GetLineTable().GetTableSize(), 6);
    EXPECT_EQ(b.GetLineCount(), 5);
}

TEST(BlackStringLoad, ChunkedLoadMatchesOneRebuild) {
    std::string body;
    for (int k = 0; k < 3000; ++k) body += (k % 7 == 0) ? "\tTITLE \xb1\xea\xcc\xe2\n" : "1 2.5 3e4\n";
    body += "tail";
    CBlackString loaded;
    loaded.SetBufferSize((int)body.size() + 65536);
    long start = 0, end = 0;
    int width = 0;
    for (size_t at = 0; at <= body.size(); at += 1024) {
        size_t n = std::min<size_t>(1024, body.size() + 1 - at); // the zero byte comes last
        std::memcpy(loaded.GetBuffer() + at, body.c_str() + at, n);
        end = (long)(at + n);
        loaded.CalcTextSize(start, end, width);
        EXPECT_EQ(start, end);
    }
    CBlackString whole;
    Load(whole, body);
    EXPECT_EQ(loaded.GetLength(), whole.GetLength());
    EXPECT_EQ(Table(loaded), Table(whole));
    EXPECT_EQ(loaded.GetTotalWidth(), whole.GetTotalWidth());
    EXPECT_EQ(width, 5); // "tail" and the zero byte
    EXPECT_EQ(loaded.GetLineTable().GetAverageLineLength(), whole.GetLineTable().GetAverageLineLength());
    EXPECT_EQ(loaded.OffsetToLine(12345), whole.OffsetToLine(12345));
}

TEST(BlackStringLookup, BinarySearchAgreesWithTheWalkEverywhere) {
    CBlackString b;
    Load(b, "short\n\n\na much longer line than the others\nx\n\n\xb0\xa1\n\tend");
    const CLineTable& t = b.GetLineTable();
    for (int pos = -2; pos <= b.GetLength() + 3; ++pos)
        EXPECT_EQ(t.OffsetToLine(pos), t.OffsetToLineByWalk(pos)) << pos;
}
