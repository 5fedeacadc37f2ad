// Undo records: text block capacities, what each Add keeps and failed blocks; what the records replay
// is checked by the model test.
#include "undo/UndoInfo.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// Reaches the protected block allocation of a record.
class ProbeUndoInfo : public CUndoInfo {
public:
    using CUndoInfo::AllocInsertMemory;
    using CUndoInfo::AllocRemoveMemory;
};

CUndoItem* ItemAt(CListUndoInfo& list, int index) {
    return static_cast<CUndoItem*>(list.m_items.GetAt(list.m_items.FindIndex(index)));
}

TEST(UndoInfo, BlocksGrowInStepsOf32BytesAndHoldPrivateCopies) {
    const int lengths[] = {0, 1, 31, 32, 63, 64, 100};
    const int capacities[] = {32, 32, 32, 64, 64, 96, 128};
    const int oneLongerCapacities[] = {32, 32, 64, 64, 96, 96, 128};
    for (int k = 0; k < 7; ++k) {
        std::string removed(lengths[k], 'r');
        std::string inserted(lengths[k] + 1, 'i');
        CUndoInfo info;
        info.Add(UNDO_REPLACE, 7, removed.c_str(), inserted.c_str());
        EXPECT_EQ(info.m_nRemoveSize, capacities[k]) << lengths[k];
        EXPECT_EQ(info.m_nRemoveLen, lengths[k]);
        EXPECT_EQ(info.m_nInsertLen, lengths[k] + 1);
        EXPECT_EQ(info.m_nInsertSize, oneLongerCapacities[k]);
        ASSERT_NE(info.m_pRemoveText, removed.c_str());
        EXPECT_EQ(std::string(info.m_pRemoveText), removed);
        EXPECT_EQ(std::string(info.m_pInsertText), inserted);
        EXPECT_EQ(info.m_nInsertPos, 7);
        EXPECT_EQ(info.m_nRemovePos, 7);
    }
}

TEST(UndoInfo, KindDecidesWhichPartATextFills) {
    CUndoInfo deletion;
    deletion.Add(UNDO_DELETE, 4, "abc");
    EXPECT_EQ(deletion.m_nKind, -1);
    EXPECT_EQ(deletion.m_nRemovePos, 4);
    EXPECT_EQ(deletion.m_nRemoveLen, 3);
    EXPECT_STREQ(deletion.m_pRemoveText, "abc");
    EXPECT_EQ(deletion.m_pInsertText, nullptr);
    EXPECT_EQ(deletion.m_nInsertSize, 0);

    CUndoInfo insertion;
    insertion.Add(UNDO_INSERT, 9, "xy");
    EXPECT_EQ(insertion.m_nInsertPos, 9);
    EXPECT_STREQ(insertion.m_pInsertText, "xy");
    EXPECT_EQ(insertion.m_pRemoveText, nullptr);

    CUndoInfo other;
    other.Add(5, 12, "lost");
    EXPECT_EQ(other.m_nKind, 5);
    EXPECT_EQ(other.m_nInsertLen + other.m_nRemoveLen + other.m_nInsertPos + other.m_nRemovePos, 0);
    EXPECT_EQ(other.m_pInsertText, nullptr);
    EXPECT_EQ(other.m_pRemoveText, nullptr);
}

TEST(UndoInfo, ANewTextReplacesTheOldBlock) {
    CUndoInfo info;
    info.Add(UNDO_DELETE, 1, std::string(40, 'a').c_str());
    EXPECT_EQ(info.m_nRemoveSize, 64);
    info.Add(UNDO_DELETE, 2, "b");
    EXPECT_EQ(info.m_nRemoveSize, 32);
    EXPECT_EQ(info.m_nRemovePos, 2);
    EXPECT_STREQ(info.m_pRemoveText, "b");
}

TEST(UndoInfo, ImpossibleBlocksLeaveAnEmptyPart) {
    ProbeUndoInfo info;
    EXPECT_TRUE(info.AllocInsertMemory(33));
    EXPECT_EQ(info.m_nInsertSize, 64);
    EXPECT_FALSE(info.AllocInsertMemory(INT_MAX));
    EXPECT_EQ(info.m_nInsertSize, 0);
    EXPECT_EQ(info.m_pInsertText, nullptr);
    EXPECT_FALSE(info.AllocRemoveMemory(-5));
    EXPECT_EQ(info.m_nRemoveSize, 0);
    EXPECT_TRUE(info.AllocRemoveMemory(1));
    EXPECT_EQ(info.m_nRemoveSize, 32);
}

// Items the views never make, so the model test does not either: a character in a deletion list and
// a text without a replacement in a replacement list.
TEST(ListUndoInfo, TheRecordKindDecidesEachItemsParts) {
    CListUndoInfo deletions(UNDO_DELETE);
    EXPECT_EQ(deletions.IsListType(), 1);
    deletions.Add(4, "gone");
    deletions.Add(6, 0x141u); // a character item ignores the record's kind
    CUndoItem* typed = ItemAt(deletions, 0);
    EXPECT_EQ(typed->m_nInsertLen, 1);
    EXPECT_EQ(typed->m_pInsertText[0], 'A');
    EXPECT_EQ(typed->m_pRemoveText, nullptr);
    EXPECT_STREQ(ItemAt(deletions, 1)->m_pRemoveText, "gone");
    EXPECT_EQ(ItemAt(deletions, 1)->m_pInsertText, nullptr);

    CListUndoInfo replacements(UNDO_REPLACE);
    replacements.Add(3, "dropped");
    EXPECT_EQ(ItemAt(replacements, 0)->m_nInsertSize + ItemAt(replacements, 0)->m_nRemoveSize, 0);
}

} // namespace
