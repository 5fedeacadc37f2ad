// The undo manager when memory runs out (the memory layer's failure seam, each allocation failing in
// turn): a record that could not be filled, a list node that could not be had and a replay the
// document could not make all leave a history that never replays onto a text it does not describe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelDocument.h"
#include "framework/base/MemoryBlock.h"
#include "undo/UndoInfo.h"

namespace {
// A model document whose Insert can be made to fail as a document short of memory does.
class ShortDocument : public ModelDocument {
public:
    void Insert(int pos, const char* inserted) override {
        if (failInserts) {
            ReplayFailed();
            return;
        }
        ModelDocument::Insert(pos, inserted);
    }
    bool failInserts = false;
};

// Replaces count bytes at pos by text as the documents do: the record first, the change only when
// the record holds it whole.
bool Change(ModelDocument& doc, int pos, int count, const std::string& with) {
    auto* record = new CUndoInfo;
    record->Add(UNDO_REPLACE, pos, doc.text.substr((size_t)pos, (size_t)count).c_str(), with.c_str());
    if (!record->IsComplete()) {
        delete record;
        return false;
    }
    doc.SetUndoInfo(record);
    doc.text.replace((size_t)pos, (size_t)count, with);
    return true;
}

class UndoMemory : public ::testing::Test {
protected:
    void TearDown() override { memblock::FailAllocationAfter(0); }
};
} // namespace

// Ten changes fill the undo list's first block of nodes, so the eleventh one's node needs a new
// block: every allocation of its recording fails in turn, the node's among them.
TEST_F(UndoMemory, EveryHistoryLeftByAFailedRecordingUndoesToTheTextsItDescribes) {
    const std::string last = "GAMMA-LONGER-THAN-A-BLOCK-OF-32-BYTES";
    for (int n = 1; n < 20; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        ModelDocument doc;
        doc.logging = false;
        std::vector<std::string> texts = {"abcdefghijkl"};
        doc.text = texts[0];
        for (int k = 0; k < 10; ++k) {
            ASSERT_TRUE(Change(doc, k, 1, std::string(1, (char)('A' + k))));
            texts.push_back(doc.text);
        }
        memblock::FailAllocationAfter(n);
        if (Change(doc, 10, 1, last)) texts.push_back(doc.text);
        bool failedOne = memblock::FailingAllocationsLeft() == 0;
        memblock::FailAllocationAfter(0);
        // Whatever history is left must walk back through exactly the texts that were there.
        ASSERT_EQ(doc.text, texts.back());
        size_t step = texts.size() - 1;
        while (doc.CanUndo()) {
            ASSERT_GT(step, 0u);
            doc.Undo();
            ASSERT_EQ(doc.text, texts[--step]);
        }
        while (doc.CanRedo()) doc.Redo();
        EXPECT_EQ(doc.text, texts.back());
        if (!failedOne) return;
    }
    FAIL() << "the seam never ran out of allocations to fail";
}

TEST_F(UndoMemory, AListRecordMissingAnItemIsShort) {
    for (int n = 1; n < 8; ++n) {
        CListUndoInfo record(UNDO_REPLACE);
        memblock::FailAllocationAfter(n);
        for (int k = 0; k < 3; ++k) record.Add(k * 10, "old", "new");
        bool failedOne = memblock::FailingAllocationsLeft() == 0;
        memblock::FailAllocationAfter(0);
        EXPECT_EQ(record.IsComplete(), !failedOne) << n;
        if (!failedOne) return;
    }
}

TEST_F(UndoMemory, AReplayTheDocumentCouldNotMakeForgetsBothHistories) {
    ShortDocument doc;
    doc.logging = false;
    doc.text = "abcdef";
    ASSERT_TRUE(Change(doc, 0, 1, "X"));
    ASSERT_TRUE(Change(doc, 1, 2, "")); // "Xdef": its undo inserts "bc"
    doc.failInserts = true;
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.text, "Xdef");
    EXPECT_FALSE(doc.CanUndo()) << "the older record would land on a text without the newer one undone";
    EXPECT_FALSE(doc.CanRedo());

    doc.failInserts = false;
    ASSERT_TRUE(Change(doc, 0, 1, "Y"));
    doc.Undo();
    doc.failInserts = true;
    EXPECT_EQ(doc.Redo(), -1);
    EXPECT_EQ(doc.text, "def") << "the redo's deletion went through, its insertion did not";
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
}
