// CBlackString: a long run against the literal buffer, replace-all, edges, chunked loads, memory running out.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "framework/base/MemoryBlock.h"
#include "tests/common/MemorySeamKit.h"
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
        Load(b, text);
        ref.SetBufferSize(65536);
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

namespace {
std::string Bytes(const CStringEx& s) {
    return std::string(s.GetBuffer(), (size_t)s.GetTextSize());
}

// Runs edit (which answers whether it was made whole) on a buffer of two full blocks' worth of text,
// so that growing it needs a new block, with the nth allocation failing for n = 1, 2, ... until a
// run makes no failure happen. A refused edit leaves the bytes as they were; made whole, they are
// want; after the buffer's own edits the line table is the text's either way.
void EachAllocationFailing(const std::function<BOOL(CBlackString&)>& edit, const std::string& want,
                           bool lineTable = true) {
    for (int n = 1; n < 20; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        CBlackString s;
        s.SetBufferSize(4096);
        std::string text;
        while ((int)text.size() + 64 < s.GetCapacity() - 1) text += "line of text\n";
        s.Insert(0, text.c_str());
        std::string before = Bytes(s);
        BOOL ok = FALSE;
        bool failedOne = WithAllocationFailing(n, [&] { ok = edit(s); });
        std::string after = Bytes(s);
        EXPECT_EQ(after, ok ? want : before);
        int lines = 1;
        for (size_t i = 0; lineTable && i + 1 < after.size(); ++i) {
            if (after[i] != '\n') continue;
            EXPECT_EQ(s.GetLineOffset(lines++), (int)i + 1);
        }
        if (lineTable) {
            EXPECT_EQ(s.GetLineCount(), lines);
        }
        if (!failedOne) return; // the operation needed fewer than n allocations
    }
    ADD_FAILURE() << "the operation never ran without a failing allocation";
}
} // namespace

// A growing insertion and replacement of the string, and of the buffer (whose edits answer the
// buffer: the text's size tells whether the edit was made whole), not even the replaced bytes gone.
TEST(OutOfMemory, AGrowingEditIsRefusedWholeOrMadeWhole) {
    std::string big(10000, 'x'), lines, text;
    for (int i = 0; i < 800; ++i) lines += "new line\n";
    CBlackString probe;
    probe.SetBufferSize(4096);
    while ((int)text.size() + 64 < probe.GetCapacity() - 1) text += "line of text\n";
    text += '\0';
    auto grew = [](CBlackString& s, int by, const std::function<void()>& edit) {
        int before = s.GetTextSize();
        edit();
        return s.GetTextSize() == before + by ? TRUE : FALSE;
    };
    EachAllocationFailing([&](CBlackString& s) { return s.CStringEx::Insert(3, big.c_str()); },
                          text.substr(0, 3) + big + text.substr(3), false);
    EachAllocationFailing([&](CBlackString& s) { return s.CStringEx::Replace(3, 20, big.c_str()); },
                          text.substr(0, 3) + big + text.substr(23), false);
    EachAllocationFailing(
        [&](CBlackString& s) {
            return grew(s, (int)lines.size() - 5, [&] { s.Replace(40, 5, lines.c_str()); });
        },
        text.substr(0, 40) + lines + text.substr(45));
    EachAllocationFailing(
        [&](CBlackString& s) { return grew(s, (int)lines.size(), [&] { s.Insert(0, lines.c_str()); }); },
        lines + text);
}
