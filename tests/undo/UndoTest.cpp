// Undo manager: what the random replay against the model leaves out: records freed at the depth
// limit and by the destructor, check points, Cancel, null records and odd depths.
#include "ModelDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
    bool dropped = false;
    Type(doc, 0, 'a', &dropped);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(doc.CanUndo() * 10 + doc.CanRedo(), 1);
    doc.EnableCheckPoint();
    Type(doc, 1, 'b');
    EXPECT_EQ(doc.CanUndo(), 1);
    doc.EnableCheckPoint();
    doc.DisableCheckPoint();
    dropped = false;
    Type(doc, 2, 'c', &dropped);
    EXPECT_TRUE(dropped);
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
