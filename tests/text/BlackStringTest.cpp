// CBlackString: a long run of mixed edits against the literal buffer, replace-all over long texts,
// and what that run never reaches: the buffer before its block exists, an offset added past the
// counted lines, and the file loader's chunked line count.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/text/DifferentialRun.h"
#include "text/BlackString.h"

namespace {
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

TEST(BlackStringDifferential, LongMixedRunMatchesTheLiteralBuffer) {
    DifferentialRun<CBlackString, false> run(20261206);
    run.Run(DifferentialSteps());
}

// Replace-all over texts long enough for the case-blind search to work window by window: hits are
// dense, so some straddle every window edge, and GBK pairs put trail bytes at some of the edges.
TEST(BlackStringDifferential, ReplaceAllOverLongTextsMatchesTheLiteralBuffer) {
    static const char* const kPieces[] = {"aBc", "ABC ", "\261AB", "x\n", "\301aBc", "abc\t", "\260"};
    static const char* const kWith[] = {"", "Q", "xyzw", "\xcc\xe2"};
    std::mt19937 rng(99);
    for (int round = 0; round < 8; ++round) {
        std::string text;
        while (text.size() < 300000) text += kPieces[rng() % 7];
        CBlackString b;
        LiteralBuffer ref;
        b.SetBufferSize(65536);
        ref.SetBufferSize(65536);
        b.Insert(0, text.c_str());
        ref.Insert(0, text.c_str());
        const char *find = round % 2 ? "abc" : "BC", *with = kWith[round % 4];
        int all = round == 5 ? 0 : 1;
        bool noCase = round < 6;
        int got = noCase ? b.FindReplaceNoCase(find, with, all) : b.FindReplace(find, with, all);
        EXPECT_EQ(got, noCase ? ref.FindReplaceNoCase(find, with, all) : ref.FindReplace(find, with, all))
            << round;
        ASSERT_EQ(b.GetTextSize(), ref.length) << round;
        EXPECT_EQ(std::memcmp(b.GetBuffer(), ref.Text(), (size_t)ref.length), 0) << round;
        b.Reset();
        ref.Reset();
        EXPECT_EQ(b.GetLineCount(), ref.lineCount);
        EXPECT_EQ(b.GetTotalWidth(), CSize(ref.widest, ref.height));
    }
}

TEST(BlackStringFigures, NewBufferEmptyDocumentAndAnAddedOffset) {
    CBlackString b;
    EXPECT_EQ(Table(b), std::vector<int>({0}));
    EXPECT_EQ(b.GetTotalWidth(), CSize(0, 0));
    EXPECT_EQ(b.GetLineTable().GetSearchLineCount(), 0);
    b.SetBufferSize(65536);
    b.Reset();
    EXPECT_EQ(Table(b), std::vector<int>({0}));
    EXPECT_EQ(b.GetTotalWidth(), CSize(0, 1));
    EXPECT_TRUE(b.GetLine(0).IsEmpty());
    EXPECT_EQ(std::vector<int>({b.GetLength(), b.GetLineTable().GetAverageLineLength(), b.GetLineEndOffset(0),
                                b.OffsetToLine(1)}),
              std::vector<int>({1, 1, 1, 0}));
    Load(b, "a\nb");
    b.AddLineOffset(99); // an entry beyond the counted lines
    EXPECT_EQ(b.GetLineTable().GetTableSize(), 3);
    EXPECT_EQ(b.GetLineCount(), 2);
}

TEST(BlackStringLoad, ChunkedLoadMatchesOneRebuild) {
    std::string body;
    for (int k = 0; k < 3000; ++k) body += (k % 7 == 0) ? "\tTITLE \xb1\xea\xcc\xe2\n" : "1 2.5 3e4\n";
    body += "tail";
    CBlackString loaded, whole;
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
    Load(whole, body);
    EXPECT_EQ(loaded.GetLength(), whole.GetLength());
    EXPECT_EQ(Table(loaded), Table(whole));
    EXPECT_EQ(loaded.GetTotalWidth(), whole.GetTotalWidth());
    EXPECT_EQ(width, 5); // "tail" and the zero byte
    EXPECT_EQ(loaded.GetLineTable().GetAverageLineLength(), whole.GetLineTable().GetAverageLineLength());
    EXPECT_EQ(loaded.OffsetToLine(12345), whole.OffsetToLine(12345));
}
