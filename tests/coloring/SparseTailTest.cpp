// The run list's sparse tail against a plain sorted list shifted entry by entry, over random
// inserts, removals, shifts and edits that wander through the ranks as edits through a text do.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "coloring/SparseTail.h"

namespace {
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
