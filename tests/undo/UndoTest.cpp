// Undo manager: what the random replay against the model leaves out: records freed at the depth
// limit and by the destructor, check points, Cancel, null records and odd depths. The replays of
// every record kind and the redo history are checked by the model test.
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

// Every test's documents are gone by its end: their destructors must have freed both lists.
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

} // namespace
