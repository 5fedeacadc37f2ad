// CObList: order of head and tail insertion, positions, removal across block boundaries.
#include <gtest/gtest.h>

#include <vector>

#include "framework/base/MemoryBlock.h"
#include "framework/base/ObList.h"

namespace {

class CItem : public CObject {
public:
    explicit CItem(int v) : value(v) {}
    int value;
};

std::vector<int> Values(const CObList& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(static_cast<CItem*>(list.GetNext(pos))->value);
    return out;
}

TEST(ObList, HeadAndTailInsertionKeepOrderAcrossManyBlocks) {
    std::vector<CItem*> items;
    for (int i = 0; i < 25; ++i) items.push_back(new CItem(i));
    CObList list(3);
    for (int i = 10; i < 25; ++i) list.AddTail(items[i]);
    for (int i = 9; i >= 0; --i) list.AddHead(items[i]);
    ASSERT_EQ(list.GetCount(), 25);
    std::vector<int> expected;
    for (int i = 0; i < 25; ++i) expected.push_back(i);
    EXPECT_EQ(Values(list), expected);

    EXPECT_EQ(static_cast<CItem*>(list.RemoveHead())->value, 0);
    EXPECT_EQ(static_cast<CItem*>(list.RemoveTail())->value, 24);
    EXPECT_EQ(static_cast<CItem*>(list.GetHead())->value, 1);
    EXPECT_EQ(static_cast<CItem*>(list.GetTail())->value, 23);

    // Walk backwards from the tail.
    std::vector<int> backwards;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        backwards.push_back(static_cast<CItem*>(list.GetPrev(pos))->value);
    EXPECT_EQ(backwards.front(), 23);
    EXPECT_EQ(backwards.back(), 1);
    EXPECT_EQ(backwards.size(), 23u);

    while (!list.IsEmpty()) list.RemoveHead();
    list.AddTail(items[5]); // nodes come back after the blocks were released
    EXPECT_EQ(Values(list), std::vector<int>{5});
    for (CItem* item : items) delete item;
}

TEST(ObList, InsertRemoveAtFindAndIndex) {
    CItem a(1), b(2), c(3), d(4);
    CObList list;
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
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
    list.SetAt(list.GetHeadPosition(), &c);
    EXPECT_EQ(Values(list), (std::vector<int>{3, 2}));

    CObList other;
    other.AddTail(&a);
    other.AddTail(&d);
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 4, 3, 2, 1, 4}));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

} // namespace

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
