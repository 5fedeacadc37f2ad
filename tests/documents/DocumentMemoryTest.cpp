// Documents when memory runs out (the memory layer's failure seam, each allocation of a load and of
// an edit failing in turn: text blocks, line tables, the undo record, its texts and its list node):
// the operation is refused with a message and the text, its history and the modified flag stay as
// they were.
#include <gtest/gtest.h>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"
#include "framework/base/MemoryBlock.h"
#include "framework/win/MessageBox.h"
#include "tests/common/MemorySeamKit.h"

namespace {
class DocumentMemory : public CFileTest {
protected:
    void TearDown() override { memblock::FailAllocationAfter(0); }
};
} // namespace

TEST_F(DocumentMemory, AnEditRefusedForWantOfMemoryIsNeitherAppliedNorRecordedNorMarked) {
    std::string path = folder.Write("doc.dat", "short text\r\n");
    std::string big(200000, 'b'); // more than any block the short text was given
    for (int family = 0; family < 2; ++family) {
        SCOPED_TRACE(family == 0 ? "plain" : "coloured");
        for (int n = 1; n < 10; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
            CBlackEditDoc plain;
            CDataEditDoc colored;
            CEditDocument& doc = family == 0 ? (CEditDocument&)plain : (CEditDocument&)colored;
            ASSERT_EQ(doc.OpenFile(path.c_str()), 1);
            boxes.Clear();
            BOOL ok = FALSE;
            bool failedOne = WithAllocationFailing(n, [&] { ok = doc.Edit(UNDO_INSERT, 5, 0, big.c_str()); });
            bool made = ok != FALSE;
            EXPECT_EQ(DocumentText(doc), made ? "short" + big + " text\n" : "short text\n");
            EXPECT_EQ(doc.IsModified() != FALSE, made) << "a refused edit is not marked";
            EXPECT_EQ(doc.CanUndo() != 0, made) << "no record of bytes that were never there";
            EXPECT_TRUE(made || boxes.GetCount() == 1) << "the user is told";
            EXPECT_EQ(doc.GetLineCount(), 2);
            if (!failedOne) break;
        }
    }
}

TEST_F(DocumentMemory, ALoadThatCannotHaveItsMemoryIsRefusedWithTheMessage) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "data line " + std::to_string(i) + "\r\n";
    std::string path = folder.Write("big.dat", text);
    for (int n = 1; n < 40; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        CDataEditDoc doc;
        boxes.Clear();
        int opened = 0;
        bool failedOne = WithAllocationFailing(n, [&] { opened = doc.OpenFile(path.c_str()); });
        if (opened == 1) {
            EXPECT_EQ(doc.GetLineCount(), 20001);
        } else {
            EXPECT_GE(boxes.GetCount(), 1) << "refused with a message";
            EXPECT_LE(doc.GetLength(), 1) << "no half-read text";
        }
        if (!failedOne) return;
    }
}
