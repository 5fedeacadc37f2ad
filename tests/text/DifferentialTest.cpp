// The plain buffer against the literal reference over a long run of mixed edits.
#include "tests/text/DifferentialRun.h"

#include <cstring>
#include <random>
#include <string>

#include "text/BlackString.h"

TEST(BlackStringDifferential, LongMixedRunMatchesTheLiteralBuffer) {
    DifferentialRun<CBlackString, false> run(20261206);
    run.Run(DifferentialSteps());
}

// Replace-all over texts long enough for the case-blind search to work window by window: hits are
// dense, so some straddle every window edge, and GBK pairs put trail bytes at some of the edges.
TEST(BlackStringDifferential, ReplaceAllOverLongTextsMatchesTheLiteralBuffer) {
    static const char* const kPieces[] = {"aBc",
                                          "ABC ",
                                          "\xb1"
                                          "AB",
                                          "x\n",
                                          "\xc1"
                                          "aBc",
                                          "abc\t",
                                          "\xb0"};
    static const char* const kWith[] = {"", "Q", "xyzw", "\xcc\xe2"};
    std::mt19937 rng(99);
    for (int round = 0; round < 8; ++round) {
        std::string text;
        while (text.size() < 300000) text += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
        CBlackString b;
        LiteralBuffer ref;
        b.SetBufferSize(65536);
        ref.SetBufferSize(65536);
        b.Insert(0, text.c_str());
        ref.Insert(0, text.c_str());
        const char* find = round % 2 ? "abc" : "BC";
        const char* with = kWith[round % 4];
        bool noCase = round < 6;
        int all = round == 5 ? 0 : 1;
        int got = noCase ? b.FindReplaceNoCase(find, with, all) : b.FindReplace(find, with, all);
        int want = noCase ? ref.FindReplaceNoCase(find, with, all) : ref.FindReplace(find, with, all);
        EXPECT_EQ(got, want) << round;
        ASSERT_EQ(b.GetTextSize(), ref.length) << round;
        EXPECT_EQ(std::memcmp(b.GetBuffer(), ref.Text(), (size_t)ref.length), 0) << round;
        b.Reset();
        ref.Reset();
        EXPECT_EQ(b.GetLineCount(), ref.lineCount);
        EXPECT_EQ(b.GetTotalWidth(), CSize(ref.widest, ref.height));
    }
}
