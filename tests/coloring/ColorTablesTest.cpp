// Run list, sparse tail, colour tables, comment spans and rule tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "coloring/ColorArray.h"
#include "coloring/ColorRules.h"
#include "coloring/SparseTail.h"

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

void ExpectSame(const CSparseTail& tail, const std::vector<CTailEntry>& model, int step) {
    ASSERT_EQ(tail.GetSize(), (int)model.size()) << "step " << step;
    for (int r = 0; r < (int)model.size(); ++r) {
        CTailEntry e = tail.At(r);
        ASSERT_EQ(e.index, model[r].index) << "step " << step << " rank " << r;
        ASSERT_EQ(e.color, model[r].color) << "step " << step << " rank " << r;
        ASSERT_EQ(e.end, model[r].end);
    }
}
} // namespace

TEST(SparseTail, RandomStepsAgreeWithAListShiftedEntryByEntry) {
    std::mt19937 random(20261207);
    CSparseTail tail;
    std::vector<CTailEntry> model;
    for (int step = 0; step < 20000; ++step) {
        int size = (int)model.size();
        int kind = (int)(random() % 10);
        if (kind < 4 || size == 0) {
            // A new index between its neighbours, so indexes keep increasing strictly.
            int rank = size == 0 ? 0 : (int)(random() % (size + 1));
            int low = rank == 0 ? 0 : model[rank - 1].index + 1;
            if (rank < size && low >= model[rank].index) { // make room, as an insertion into the text does
                tail.Shift(rank, 10);
                for (int r = rank; r < size; ++r) model[r].index += 10;
            }
            CTailEntry e{low, (COLORREF)random(), (int)(random() % 100)};
            ASSERT_TRUE(tail.Insert(rank, e));
            model.insert(model.begin() + rank, e);
        } else if (kind < 6) {
            int first = (int)(random() % size), last = first + (int)(random() % 4);
            if (random() % 8 == 0) first = std::max(size - 2, 0), last = size; // cut to a shorter text
            tail.Remove(first, last);
            model.erase(model.begin() + first, model.begin() + std::min(last, size));
        } else if (kind < 8) {
            int from = (int)(random() % (size + 1));
            int room = from == 0 ? (size > 0 ? model[0].index : 0)
                                 : (from < size ? model[from].index - model[from - 1].index - 1 : 5);
            int delta = (int)(random() % 7) - std::min(room, 3); // never onto or below a neighbour
            if (from == 0 && delta < 0 && model[0].index + delta < 0) delta = 0;
            tail.Shift(from, delta);
            for (int r = from; r < size; ++r) model[r].index += delta;
        } else {
            int rank = (int)(random() % size);
            CTailEntry& e = tail.Edit(rank);
            e.color = model[rank].color = (COLORREF)random();
            e.end = model[rank].end = rank;
        }
        if (step % 97 == 0 || step > 19900) ExpectSame(tail, model, step);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_GT(model.size(), 500u) << "the run must keep a sizeable list";
    ExpectSame(tail, model, -1);
    for (int r = 0; r < (int)model.size(); ++r) EXPECT_EQ(tail.LowerBound(model[r].index), r);
    CSparseTail copy;
    ASSERT_TRUE(copy.Copy(tail));
    ExpectSame(copy, model, -2);
}

namespace {

COLORREF KeywordColor(const CColorRuleSet& rules, const char* word) {
    CKeywordInfo* found = rules.KeywordLookup(word, (int)std::strlen(word));
    return found ? found->Color() : 0xFFFFFFFF;
}

TEST(RuleDefaults, ConstructorsCarryTheDefaultColoursAndBucketsAreNeverNegative) {
    CCommentInfo comment;
    EXPECT_EQ(std::vector<COLORREF>({CKeywordInfo().Color(), CTitleInfo().Color(), comment.Color(),
                                     CQuoteInfo().Color(), CColorRuleSet().GetTextColor()}),
              std::vector<COLORREF>({RGB(0, 0, 200), RGB(200, 0, 200), RGB(0, 200, 0), RGB(0, 200, 200), 0}));
    EXPECT_EQ(comment.Begin() + comment.End(), "//\n");
    // The bucket is the signed byte sum modulo 113: 0xB5 0xDA sums to -113, 0xFF to -1.
    const std::pair<const char*, int> buckets[] = {{"", 0}, {"A", 65}, {"\xB5\xDA", 0}, {"\xFF", 112}};
    for (const auto& c : buckets)
        EXPECT_EQ(CColorRuleSet::Bucket(c.first, (int)std::strlen(c.first)), c.second) << c.first;
}

TEST(RuleLookup, CaseBucketsTablesAndTheFirstRegistration) {
    CColorRuleSet rules;
    const char chapter[] = "\xB5\xDA\xD2\xBB\xD5\xC2";
    EXPECT_EQ(rules.AddKeyword(chapter, 0x123) + rules.AddTitle(chapter, 0x456), 2);
    rules.AddKeyword("END", 0x1);
    rules.AddKeyword("END", 0x2);
    rules.AddKeyword("A", 0x10);
    rules.AddKeyword("Aq", 0x20); // "Aq" lands in the bucket of "A"
    rules.AddTitle("Chapter", 0x5);
    rules.SetDefaults(0x11, 0x22, 0x33);
    EXPECT_EQ(std::vector<COLORREF>({KeywordColor(rules, chapter), rules.TitleLookup(chapter, 6)->Color(),
                                     KeywordColor(rules, "END"), KeywordColor(rules, "A"),
                                     KeywordColor(rules, "Aq"), rules.GetTextColor(), rules.GetSecondColor(),
                                     rules.GetThirdColor()}),
              std::vector<COLORREF>({0x123, 0x456, 0x1, 0x10, 0x20, 0x11, 0x22, 0x33}));
    EXPECT_EQ(rules.TitleLookup(chapter, 4), nullptr);
    for (const char* absent : {"end", "EN", "ENDS", "Chapter"})
        EXPECT_EQ(KeywordColor(rules, absent), 0xFFFFFFFF);
    EXPECT_NE(rules.TitleLookup("Chapter", 7), nullptr);
    EXPECT_EQ(rules.AddKeyword(nullptr, 1), 1);
    EXPECT_NE(rules.KeywordLookup("", 0), nullptr);
    // Comments and quotes keep their registration order.
    rules.AddComment(";", "\n", 0x1);
    rules.AddComment("\"", "\"", 0x2);
    rules.AddQuote("'", "'", 0x3);
    ASSERT_EQ(rules.GetCommentCount() * 10 + rules.GetQuoteCount(), 21);
    EXPECT_EQ(rules.GetComment(0)->Begin() + rules.GetQuote(0)->End(), ";'");
    EXPECT_EQ(rules.GetComment(1)->Color(), 0x2u);
    EXPECT_EQ(rules.GetComment(2), nullptr);
    EXPECT_EQ(rules.GetComment(-1), nullptr);
}

} // namespace
