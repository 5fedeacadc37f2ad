// The undo manager when memory runs out (the memory layer's failure seam, each allocation failing in
// turn): a record that could not be filled, a list node that could not be had and a replay the
// document could not make all leave a history that never replays onto a text it does not describe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelDocument.h"
#include "framework/base/MemoryBlock.h"
#include "undo/UndoInfo.h"
#include "tests/common/MemorySeamKit.h"

namespace {
// A model document whose insertions fail as a document's do when memory runs short: the nth one from
// now (1 = the next) or every one.
class ShortDocument : public ModelDocument {
public:
    void Insert(int pos, const char* inserted) override {
        if (failEvery || (failing > 0 && --failing == 0)) return ReplayFailed();
        ModelDocument::Insert(pos, inserted);
    }
    int failing = 0;
    bool failEvery = false;
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

} // namespace

// Ten changes fill the undo list's first block of nodes, so the eleventh one's node needs a new
// block: every allocation of its recording fails in turn, the node's among them.
TEST(UndoMemory, EveryHistoryLeftByAFailedRecordingUndoesToTheTextsItDescribes) {
    for (int n = 1; n < 20; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        ModelDocument doc;
        std::vector<std::string> texts = {doc.text = "abcdefghijkl"};
        for (int k = 0; k < 10; ++k) {
            ASSERT_TRUE(Change(doc, k, 1, std::string(1, (char)('A' + k))));
            texts.push_back(doc.text);
        }
        bool failedOne = WithAllocationFailing(n, [&] {
            if (Change(doc, 10, 1, "GAMMA-LONGER-THAN-A-BLOCK-OF-32-BYTES")) texts.push_back(doc.text);
        });
        // Whatever history is left must walk back through exactly the texts that were there.
        ASSERT_EQ(doc.text, texts.back());
        for (size_t step = texts.size() - 1; doc.CanUndo();) {
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

TEST(UndoMemory, AListRecordMissingAnItemIsShort) {
    for (int n = 1; n < 8; ++n) {
        CListUndoInfo record(UNDO_REPLACE);
        bool failedOne = WithAllocationFailing(n, [&] {
            for (int k = 0; k < 3; ++k) record.Add(k * 10, "old", "new");
        });
        EXPECT_EQ(record.IsComplete(), !failedOne) << n;
        if (!failedOne) return;
    }
}

TEST(UndoMemory, AReplayTheDocumentCouldNotMakeIsTakenBackAndCanBeTriedAgain) {
    ShortDocument doc;
    doc.text = "abcdef";
    ASSERT_TRUE(Change(doc, 0, 1, "X"));
    ASSERT_TRUE(Change(doc, 1, 2, "")); // "Xdef": its undo inserts "bc"
    doc.failing = 1;
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.text, "Xdef");
    doc.Undo();
    EXPECT_EQ(doc.text, "Xbcdef") << "the record stayed for another try";
    doc.Undo();
    doc.Redo();
    doc.failing = 1; // the redo's "X" fails after its "a" was taken out: the "a" is put back
    EXPECT_EQ(doc.Redo(), -1);
    EXPECT_EQ(doc.text, "Xbcdef");
    EXPECT_TRUE(doc.CanUndo());
    doc.Redo();
    EXPECT_EQ(doc.text, "Xdef");
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.text, "abcdef") << "both records still describe the text";

    // A replay that cannot be taken back either forgets both histories.
    ASSERT_TRUE(Change(doc, 1, 1, "YZ")); // "aYZcdef"
    ASSERT_TRUE(Change(doc, 0, 1, "X"));
    doc.Undo();
    doc.failEvery = true;
    EXPECT_EQ(doc.Undo(), -1);
    EXPECT_EQ(doc.text, "acdef") << "the undo's deletion went through, neither insertion did";
    EXPECT_FALSE(doc.CanUndo()) << "no record describes the text any longer";
    EXPECT_FALSE(doc.CanRedo());
}

// A list record whose replay fails at an item has the items already replayed taken back, whichever
// item fails and in both directions.
TEST(UndoMemory, AListReplayFailingAtAnyItemLeavesTheTextAsItWas) {
    const std::string original = "one two one two one two";
    for (int failing = 1; failing <= 3; ++failing) {
        SCOPED_TRACE("insertion " + std::to_string(failing) + " failing");
        ShortDocument doc;
        doc.text = original;
        auto* record = new CListUndoInfo(UNDO_REPLACE);
        for (int at = 0; (at = (int)doc.text.find("one", (size_t)at)) >= 0; at += 5) {
            record->Add(at, "one", "three");
            doc.text.replace((size_t)at, 3, "three");
        }
        doc.SetUndoInfo(record);
        const std::string replaced = doc.text;
        doc.failing = failing;
        EXPECT_EQ(doc.Undo(), -1);
        EXPECT_EQ(doc.text, replaced);
        EXPECT_GE(doc.Undo(), 0) << "the record stayed for another try";
        EXPECT_EQ(doc.text, original);
        doc.failing = failing;
        EXPECT_EQ(doc.Redo(), -1);
        EXPECT_EQ(doc.text, original);
        doc.Redo();
        EXPECT_EQ(doc.text, replaced);
    }
}
