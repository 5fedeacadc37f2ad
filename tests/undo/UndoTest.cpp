// Undo records and manager: block sizes, record kinds, the depth limit, check points, Cancel, null records.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ModelDocument.h"
#include "undo/UndoInfo.h"

namespace {

// Reaches the protected block allocation of a record.
struct ProbeUndoInfo : CUndoInfo {
    using CUndoInfo::AllocInsertMemory;
    using CUndoInfo::AllocRemoveMemory;
};

CUndoItem* ItemAt(CListUndoInfo& list, int index) {
    return static_cast<CUndoItem*>(list.m_items.GetAt(list.m_items.FindIndex(index)));
}

// Blocks grow in steps of 32 bytes with room for the zero; a later Add replaces the old block.
TEST(UndoInfo, BlocksGrowInStepsOf32BytesAndHoldPrivateCopies) {
    const struct {
        int length, removeSize, insertSize; // the inserted text is one byte longer
    } cases[] = {{0, 32, 32}, {31, 32, 64}, {64, 96, 96}};
    CUndoInfo reused;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string removed(c.length, 'r'), inserted(c.length + 1, 'i');
        CUndoInfo info;
        info.Add(UNDO_REPLACE, 7, removed.c_str(), inserted.c_str());
        EXPECT_EQ(
            std::vector<int>({info.m_nRemoveSize, info.m_nInsertSize, info.m_nInsertPos + info.m_nRemovePos}),
            std::vector<int>({c.removeSize, c.insertSize, 14}));
        ASSERT_NE(info.m_pRemoveText, removed.c_str());
        EXPECT_EQ(std::string(info.m_pRemoveText) + info.m_pInsertText, removed + inserted);
        reused.Add(UNDO_DELETE, c.length, removed.c_str());
        EXPECT_EQ(reused.m_nRemoveSize, c.removeSize);
    }
    reused.Add(UNDO_DELETE, 2, "b");
    EXPECT_EQ(reused.m_nRemoveSize, 32);
}

// A deletion keeps no inserted part; a record of another kind made with one text keeps nothing;
// impossible blocks leave an empty part.
TEST(UndoInfo, AnOtherKindWithOneTextKeepsNothingAndImpossibleBlocksLeaveAnEmptyPart) {
    CUndoInfo deletion, other;
    deletion.Add(UNDO_DELETE, 4, "abc");
    EXPECT_EQ(deletion.m_nKind, -1);
    EXPECT_EQ(deletion.m_pInsertText, nullptr);
    other.Add(5, 12, "lost");
    EXPECT_EQ(other.m_nKind, 5);
    EXPECT_EQ(other.m_nInsertLen + other.m_nRemoveLen + other.m_nInsertPos + other.m_nRemovePos, 0);
    EXPECT_EQ(other.m_pInsertText, other.m_pRemoveText);
    ProbeUndoInfo info;
    EXPECT_TRUE(info.AllocInsertMemory(33));
    EXPECT_EQ(info.m_nInsertSize, 64);
    EXPECT_FALSE(info.AllocInsertMemory(INT_MAX));
    EXPECT_EQ(info.m_nInsertSize, 0);
    EXPECT_EQ(info.m_pInsertText, nullptr);
    EXPECT_FALSE(info.AllocRemoveMemory(-5));
    EXPECT_EQ(info.m_nRemoveSize, 0);
}

// Items the views never make, so the model test does not either: a character in a deletion list and
// a text without a replacement in a replacement list.
TEST(ListUndoInfo, TheRecordKindDecidesEachItemsParts) {
    CListUndoInfo deletions(UNDO_DELETE), replacements(UNDO_REPLACE);
    EXPECT_EQ(deletions.IsListType(), 1);
    deletions.Add(4, "gone");
    deletions.Add(6, 0x141u); // a character item ignores the record's kind
    CUndoItem* typed = ItemAt(deletions, 0);
    EXPECT_EQ(typed->m_nInsertLen, 1);
    EXPECT_EQ(typed->m_pInsertText[0], 'A');
    EXPECT_EQ(typed->m_pRemoveText, nullptr);
    EXPECT_STREQ(ItemAt(deletions, 1)->m_pRemoveText, "gone");
    EXPECT_EQ(ItemAt(deletions, 1)->m_pInsertText, nullptr);
    replacements.Add(3, "dropped");
    EXPECT_EQ(ItemAt(replacements, 0)->m_nInsertSize + ItemAt(replacements, 0)->m_nRemoveSize, 0);
}

// A record that counts the live instances and marks its own destruction.
struct CountedInfo : CUndoInfo {
    explicit CountedInfo(bool* destroyed) : m_destroyed(destroyed) { ++live; }
    ~CountedInfo() override {
        --live;
        if (m_destroyed) *m_destroyed = true;
    }
    static int live;
    bool* m_destroyed;
};
int CountedInfo::live = 0;

// Types ch at pos as a view would: the record first, then the text.
void Type(ModelDocument& doc, int pos, char ch, bool* destroyed = nullptr) {
    CountedInfo* info = new CountedInfo(destroyed);
    info->Add(pos, (unsigned int)(unsigned char)ch);
    doc.SetUndoInfo(info);
    doc.text.insert((size_t)pos, 1, ch);
}

// Every test's documents are gone by its end: their destructors must have freed both lists.
class UndoManager : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(CountedInfo::live, 0); }
};

TEST_F(UndoManager, DocumentsDepthKeeps26StepsAndThe27thDropsTheFirst) {
    ModelDocument doc(25);
    bool first = false, second = false;
    Type(doc, 0, 'a', &first);
    Type(doc, 1, 'b', &second);
    for (int i = 2; i < 26; ++i) Type(doc, i, 'c');
    EXPECT_FALSE(first);
    Type(doc, 26, 'z');
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_EQ(CountedInfo::live, 26);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(doc.Undo(), 26 - i) << i;
    EXPECT_EQ(doc.text, "a");
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.CanRedo(), 1);
}

// Suspended recording drops the record at once and keeps the redo history; the calls nest and an
// extra resume leaves the count at 0.
TEST_F(UndoManager, CheckPointsNest) {
    ModelDocument doc;
    Type(doc, 0, 'r');
    doc.Undo();
    doc.DisableCheckPoint();
    doc.DisableCheckPoint();
    doc.EnableCheckPoint();
    bool dropped[2] = {false, false};
    Type(doc, 0, 'a', &dropped[0]);
    EXPECT_EQ(doc.CanUndo() * 10 + doc.CanRedo(), 1);
    doc.EnableCheckPoint();
    Type(doc, 1, 'b');
    doc.EnableCheckPoint();
    doc.DisableCheckPoint();
    Type(doc, 2, 'c', &dropped[1]);
    EXPECT_TRUE(dropped[0] && dropped[1]);
    doc.EnableCheckPoint();
    EXPECT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.text, "ac");
}

// Cancel reverses the newest change but keeps its record; null records and odd depths are harmless.
TEST_F(UndoManager, CancelNullRecordsAndOddDepths) {
    for (int depth : {-3, 0}) {
        ModelDocument doc(depth);
        doc.Cancel();
        doc.SetUndoInfo(nullptr);
        EXPECT_EQ(doc.CanUndo() + doc.scrolls, 0);
        Type(doc, 0, 'q');
        doc.Cancel();
        EXPECT_EQ(doc.text, "");
        EXPECT_EQ(doc.caret, 0);
        EXPECT_EQ(doc.scrolls, 1);
        EXPECT_EQ(doc.CanUndo() * 10 + doc.CanRedo(), 10);
        Type(doc, 0, 'a');
        Type(doc, 1, 'b');
        EXPECT_EQ(CountedInfo::live, 1);
        EXPECT_EQ(doc.Undo(), 1);
        EXPECT_EQ(doc.Undo(), -1);
        EXPECT_EQ(doc.text, "a");
    }
}

} // namespace
