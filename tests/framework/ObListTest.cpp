// CObList: order of head and tail insertion, positions, removal across block boundaries.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "framework/base/MemoryBlock.h"
#include "framework/base/ObList.h"

namespace {

struct CItem : CObject {
    explicit CItem(int v) : value(v) {}
    int value;
};

int ValueOf(CObject* item) {
    return static_cast<CItem*>(item)->value;
}

// The values from the head, or from the tail backwards.
std::vector<int> Values(const CObList& list, bool backwards = false) {
    std::vector<int> out;
    for (POSITION pos = backwards ? list.GetTailPosition() : list.GetHeadPosition(); pos != nullptr;)
        out.push_back(ValueOf(backwards ? list.GetPrev(pos) : list.GetNext(pos)));
    return out;
}

TEST(ObList, HeadAndTailInsertionKeepOrderAcrossManyBlocks) {
    std::deque<CItem> items;
    for (int i = 0; i < 25; ++i) items.emplace_back(i);
    CObList list(3);
    for (int i = 10; i < 25; ++i) list.AddTail(&items[i]);
    for (int i = 9; i >= 0; --i) list.AddHead(&items[i]);
    std::vector<int> expected;
    for (int i = 0; i < 25; ++i) expected.push_back(i);
    EXPECT_EQ(Values(list), expected);
    EXPECT_EQ(ValueOf(list.RemoveHead()), 0);
    EXPECT_EQ(ValueOf(list.RemoveTail()), 24);
    EXPECT_EQ(ValueOf(list.GetHead()) + ValueOf(list.GetTail()), 1 + 23);
    std::vector<int> backwards = Values(list, true);
    EXPECT_EQ(backwards, std::vector<int>(expected.rbegin() + 1, expected.rend() - 1));
    while (!list.IsEmpty()) list.RemoveHead();
    list.AddTail(&items[5]); // nodes come back after the blocks were released
    EXPECT_EQ(Values(list), std::vector<int>{5});
}

TEST(ObList, InsertRemoveAtFindAndIndex) {
    CItem a(1), b(2), c(3), d(4);
    CObList list, other;
    POSITION pa = list.AddTail(&a);
    POSITION pc = list.AddTail(&c);
    list.InsertAfter(pa, &b);
    list.InsertBefore(pa, &d);
    EXPECT_EQ(Values(list), (std::vector<int>{4, 1, 2, 3}));
    EXPECT_EQ(list.Find(&c), pc);
    EXPECT_EQ(list.Find(&a, pc), nullptr); // a lies before the start point
    EXPECT_EQ(list.FindIndex(2), list.Find(&b));
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    list.RemoveAt(list.Find(&d)); // head
    list.RemoveAt(pc);            // tail
    list.SetAt(list.GetHeadPosition(), &c);
    EXPECT_EQ(Values(list), (std::vector<int>{3, 2}));
    other.AddTail(&a);
    other.AddTail(&d);
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 4, 3, 2, 1, 4}));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

// A reserved node makes the next insertion safe when memory then runs out; without one it fails
// and leaves the list as it was.
TEST(ObList, AReservedNodeServesTheNextInsertionWhenMemoryRunsOut) {
    CObList list(2);
    CItem a(1), b(2), c(3);
    ASSERT_TRUE(list.ReserveNode());
    memblock::FailAllocationAfter(1);
    EXPECT_NE(list.AddHead(&a), nullptr);
    EXPECT_NE(list.AddHead(&b), nullptr);
    EXPECT_EQ(list.AddTail(&c), nullptr) << "the block is used up and the next one cannot be had";
    memblock::FailAllocationAfter(0);
    EXPECT_EQ(Values(list), (std::vector<int>{2, 1}));
    EXPECT_TRUE(list.ReserveNode());
    EXPECT_NE(list.AddTail(&c), nullptr);
    EXPECT_EQ(Values(list), (std::vector<int>{2, 1, 3}));
}

} // namespace
