// Undo manager: depth limit, redo clearing, check points, and the calls each record kind replays.
#include "ModelDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A record that counts the live instances and marks its own destruction.
class CountedInfo : public CUndoInfo {
public:
    explicit CountedInfo(bool* destroyed = nullptr) : m_destroyed(destroyed) { ++live; }
    ~CountedInfo() override {
        --live;
        if (m_destroyed) *m_destroyed = true;
    }
    static int live;

private:
    bool* m_destroyed;
};
int CountedInfo::live = 0;

// Types ch at pos as a view would: the record first, then the text.
void Type(ModelDocument& doc, int pos, char ch, bool* destroyed = nullptr) {
    CountedInfo* info = new CountedInfo(destroyed);
    info->Add(pos, static_cast<unsigned int>(static_cast<unsigned char>(ch)));
    doc.SetUndoInfo(info);
    doc.text.insert(static_cast<size_t>(pos), 1, ch);
}

class UndoManager : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(CountedInfo::live, 0); }
};

TEST_F(UndoManager, DocumentsDepthKeeps26StepsAndThe27thDropsTheFirst) {
    ModelDocument doc(25, 65536);
    bool firstDestroyed = false;
    bool secondDestroyed = false;
    Type(doc, 0, 'a', &firstDestroyed);
    Type(doc, 1, 'b', &secondDestroyed);
    for (int i = 2; i < 26; ++i) Type(doc, i, static_cast<char>('a' + i % 26));
    EXPECT_FALSE(firstDestroyed);
    Type(doc, 26, 'z');
    EXPECT_TRUE(firstDestroyed);
    EXPECT_FALSE(secondDestroyed);
    EXPECT_EQ(CountedInfo::live, 26);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(doc.Undo(), 26 - i) << i;
    EXPECT_EQ(doc.text, "a");
    EXPECT_EQ(doc.CanUndo(), 0);
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.CanRedo(), 1);
}

TEST_F(UndoManager, ANewRecordDiscardsTheRedoHistory) {
    ModelDocument doc;
    bool undone = false;
    Type(doc, 0, 'x', &undone);
    EXPECT_EQ(doc.CanRedo(), 0);
    doc.Undo();
    EXPECT_EQ(doc.CanRedo(), 1);
    EXPECT_EQ(doc.CanUndo(), 0);
    Type(doc, 0, 'y');
    EXPECT_TRUE(undone);
    EXPECT_EQ(doc.CanRedo(), 0);
    EXPECT_EQ(doc.Redo(), -1);
    EXPECT_EQ(doc.TakeLog(), "D0,1 S0");
}

TEST_F(UndoManager, CheckPointsNest) {
    ModelDocument doc;
    doc.DisableCheckPoint();
    doc.DisableCheckPoint();
    doc.EnableCheckPoint();
    bool dropped = false;
    Type(doc, 0, 'a', &dropped);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(doc.CanUndo(), 0);
    doc.EnableCheckPoint();
    Type(doc, 1, 'b');
    EXPECT_EQ(doc.CanUndo(), 1);
    doc.EnableCheckPoint(); // the count stays at 0
    doc.DisableCheckPoint();
    bool droppedAgain = false;
    Type(doc, 2, 'c', &droppedAgain);
    EXPECT_TRUE(droppedAgain);
    doc.EnableCheckPoint();
    EXPECT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.text, "ac");
}

TEST_F(UndoManager, SuspendedRecordingKeepsTheRedoHistory) {
    ModelDocument doc;
    Type(doc, 0, 'a');
    doc.Undo();
    doc.DisableCheckPoint();
    Type(doc, 0, 'b');
    doc.EnableCheckPoint();
    EXPECT_EQ(doc.CanRedo(), 1);
}

TEST_F(UndoManager, InsertionRecordReplaysAtItsPosition) {
    ModelDocument doc;
    doc.text = "0123456789abc";
    CUndoInfo* info = new CUndoInfo;
    info->Add(UNDO_INSERT, 10, "abc");
    doc.SetUndoInfo(info);
    EXPECT_EQ(doc.Undo(), 10);
    EXPECT_EQ(doc.TakeLog(), "D10,3 S10");
    EXPECT_EQ(doc.text, "0123456789");
    EXPECT_EQ(doc.Redo(), 10);
    EXPECT_EQ(doc.TakeLog(), "I10:abc S10");
    EXPECT_EQ(doc.text, "0123456789abc");
}

TEST_F(UndoManager, DeletionRecordPutsTheCaretBehindTheRestoredText) {
    ModelDocument doc;
    doc.text = "0167";
    CUndoInfo* info = new CUndoInfo;
    info->Add(UNDO_DELETE, 2, "2345");
    doc.SetUndoInfo(info);
    EXPECT_EQ(doc.Undo(), 6);
    EXPECT_EQ(doc.TakeLog(), "I2:2345 S6");
    EXPECT_EQ(doc.Redo(), 2);
    EXPECT_EQ(doc.TakeLog(), "D2,4 S2");
    EXPECT_EQ(doc.text, "0167");
}

TEST_F(UndoManager, ReplacementRedoPlacesTheCaretInFrontButReportsTheEnd) {
    ModelDocument doc;
    doc.text = "0123xyz6";
    CUndoInfo* info = new CUndoInfo;
    info->Add(UNDO_REPLACE, 4, "45", "xyz");
    doc.SetUndoInfo(info);
    EXPECT_EQ(doc.Undo(), 6);
    EXPECT_EQ(doc.TakeLog(), "D4,3 I4:45 S6");
    EXPECT_EQ(doc.text, "0123456");
    EXPECT_EQ(doc.Redo(), 7);
    EXPECT_EQ(doc.TakeLog(), "D4,2 I4:xyz S4");
    EXPECT_EQ(doc.caret, 4);
    EXPECT_EQ(doc.text, "0123xyz6");
}

TEST_F(UndoManager, AnyOtherKindReplaysAsAReplacement) {
    ModelDocument doc;
    doc.text = "aXc";
    CUndoInfo* info = new CUndoInfo;
    info->Add(7, 1, "b", 'X');
    doc.SetUndoInfo(info);
    EXPECT_EQ(doc.Undo(), 2);
    EXPECT_EQ(doc.text, "abc");
    EXPECT_EQ(doc.Redo(), 2);
    EXPECT_EQ(doc.text, "aXc");
}

TEST_F(UndoManager, ListRecordsUndoNewestFirstAndRedoOldestFirst) {
    // A replace-all of "ab" by "xyz" over "ab-ab": the second hit was found after the first grew.
    ModelDocument doc;
    doc.text = "xyz-xyz";
    CListUndoInfo* all = new CListUndoInfo(UNDO_REPLACE);
    all->Add(0, "ab", "xyz");
    all->Add(4, "ab", "xyz");
    doc.SetUndoInfo(all);
    EXPECT_EQ(doc.Undo(), 2);
    EXPECT_EQ(doc.TakeLog(), "D4,3 I4:ab S6 D0,3 I0:ab S2");
    EXPECT_EQ(doc.text, "ab-ab");
    EXPECT_EQ(doc.Redo(), 7);
    EXPECT_EQ(doc.TakeLog(), "D0,2 I0:xyz S3 D4,2 I4:xyz S7");
    EXPECT_EQ(doc.text, "xyz-xyz");
}

TEST_F(UndoManager, ListInsertionsAndDeletionsPlaceTheCaretPerItem) {
    ModelDocument doc;
    doc.text = "AabBcC";
    CListUndoInfo* inserts = new CListUndoInfo(UNDO_INSERT);
    inserts->Add(0, "A");
    inserts->Add(3, "B");
    inserts->Add(5, "C");
    doc.SetUndoInfo(inserts);
    EXPECT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.TakeLog(), "D5,1 S6 D3,1 S4 D0,1 S1");
    EXPECT_EQ(doc.text, "abc");
    EXPECT_EQ(doc.Redo(), 5);
    EXPECT_EQ(doc.TakeLog(), "I0:A S0 I3:B S3 I5:C S5");

    CListUndoInfo* deletes = new CListUndoInfo(UNDO_DELETE);
    deletes->Add(1, "ab");
    deletes->Add(2, "c");
    doc.SetUndoInfo(deletes);
    doc.text = "ABC";
    EXPECT_EQ(doc.Undo(), 3);
    EXPECT_EQ(doc.TakeLog(), "I2:c S3 I1:ab S3");
    EXPECT_EQ(doc.text, "AabBcC");
    EXPECT_EQ(doc.Redo(), 2);
    EXPECT_EQ(doc.TakeLog(), "D1,2 S1 D2,1 S2");
}

TEST_F(UndoManager, AnEmptyListRecordStillMovesBetweenTheLists) {
    ModelDocument doc;
    doc.SetUndoInfo(new CListUndoInfo(UNDO_REPLACE));
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.CanUndo(), 0);
    EXPECT_EQ(doc.CanRedo(), 1);
    EXPECT_EQ(doc.Redo(), -1);
    EXPECT_EQ(doc.CanUndo(), 1);
    EXPECT_EQ(doc.CanRedo(), 0);
    EXPECT_EQ(doc.TakeLog(), "");
}

TEST_F(UndoManager, CancelReversesButKeepsTheRecord) {
    ModelDocument doc;
    doc.Cancel();
    EXPECT_EQ(doc.TakeLog(), "");
    Type(doc, 0, 'q');
    doc.Cancel();
    EXPECT_EQ(doc.text, "");
    EXPECT_EQ(doc.TakeLog(), "D0,1 S0");
    EXPECT_EQ(doc.CanUndo(), 1);
    EXPECT_EQ(doc.CanRedo(), 0);
}

TEST_F(UndoManager, NullRecordsAndOddDepthsAreHarmless) {
    ModelDocument doc(-3);
    doc.SetUndoInfo(nullptr);
    EXPECT_EQ(doc.CanUndo(), 0);
    Type(doc, 0, 'a');
    Type(doc, 1, 'b');
    EXPECT_EQ(CountedInfo::live, 1);
    EXPECT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.text, "a");

    ModelDocument single(0);
    Type(single, 0, 'a');
    Type(single, 1, 'b');
    EXPECT_EQ(single.Undo(), 1);
    EXPECT_EQ(single.Undo(), -1);
}

TEST_F(UndoManager, TheDestructorFreesBothLists) {
    {
        ModelDocument doc;
        for (int i = 0; i < 5; ++i) Type(doc, i, 'k');
        doc.Undo();
        doc.Undo();
        EXPECT_EQ(CountedInfo::live, 5);
    }
    EXPECT_EQ(CountedInfo::live, 0);
}

} // namespace
