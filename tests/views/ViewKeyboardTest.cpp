// Keyboard navigation and typing through real WM_KEYDOWN, WM_CHAR and WM_IME_CHAR messages, with the
// Ctrl and Shift states set in the thread's keyboard state.
#include "ViewFixture.h"

namespace {
using ViewKeyboard = ViewFixture;
} // namespace

TEST_F(ViewKeyboard, TypingInsertsRecordsUndoAndMarksTheDocument) {
    CColorEditView* view = OpenColored("ab\ncd\n");
    ASSERT_NE(view, nullptr);
    view->SetSelection(1, 1);
    Type(view, "XY");
    EXPECT_EQ(Text(view), "aXYb\ncd\n");
    EXPECT_EQ(view->Caret(), 3);
    EXPECT_TRUE(view->GetDocument()->IsModified());
    EXPECT_TRUE(view->GetRenderFlag());
    view->SendMessage(WM_CHAR, 7, 1);
    view->SendMessage(WM_CHAR, 31, 1);
    EXPECT_EQ(Text(view), "aXYb\ncd\n") << "control characters change nothing";
    view->GetDocument()->Undo();
    view->GetDocument()->Undo();
    EXPECT_EQ(Text(view), "ab\ncd\n");
    Key(view, VK_RETURN);
    EXPECT_EQ(view->GetDocument()->GetLineCount(), 4);

    view->SetSelection(0, 2);
    Type(view, "Z");
    EXPECT_EQ(Text(view), "Zb\ncd\n") << "typing over the selected a and line feed replaces them";
}

TEST_F(ViewKeyboard, ArrowsCollapseSelectionsAndVerticalMovesKeepTheColumn) {
    CBlackEditView* view = OpenPlain("long line here\nab\nanother long line\n");
    ASSERT_NE(view, nullptr);
    view->SetSelection(2, 6);
    Key(view, VK_LEFT);
    EXPECT_EQ(view->Caret(), 2);
    EXPECT_EQ(view->GetSelectionStart(), view->GetSelectionEnd());
    view->SetSelection(2, 6);
    Key(view, VK_RIGHT);
    EXPECT_EQ(view->Caret(), 6);

    Key(view, VK_RIGHT); // remembers column 7
    Key(view, VK_DOWN);
    EXPECT_EQ(view->Caret(), 17) << "onto the short line's line feed";
    Key(view, VK_DOWN);
    EXPECT_EQ(view->Caret(), 18 + 7) << "back at the remembered column";

    Key(view, VK_HOME);
    Key(view, VK_SHIFT, false, true); // pressing Shift anchors the selection
    Key(view, VK_END, false, true);
    EXPECT_EQ(view->GetSelectionStart(), 18);
    EXPECT_EQ(view->GetSelectionEnd(), 35) << "Shift+End selects to the line feed";
    Key(view, VK_HOME, true);
    EXPECT_EQ(view->Caret(), 0);
    Key(view, VK_END, true);
    EXPECT_EQ(view->Caret(), view->GetDocument()->GetLength() - 1);
    Key(view, VK_RIGHT);
    EXPECT_EQ(view->Caret(), view->GetDocument()->GetLength() - 1) << "never past the terminator";
}

TEST_F(ViewKeyboard, WordDeletionsStopAtSpacesLineFeedsAndTheTextsEnds) {
    CBlackEditView* view = OpenPlain("first second third");
    ASSERT_NE(view, nullptr);
    view->SetSelection(6, 6); // just after the space
    Key(view, VK_BACK, true);
    EXPECT_EQ(Text(view), "firstsecond third") << "only the space";
    view->SetSelection(5, 5);
    Key(view, VK_BACK, true);
    EXPECT_EQ(Text(view), "second third") << "back to the text start";
    view->SetSelection(7, 7);
    Key(view, VK_DELETE, true);
    EXPECT_EQ(Text(view), "second ") << "the last word, up to the terminator";
    view->GetDocument()->Undo();
    EXPECT_EQ(Text(view), "second third");
}

TEST_F(ViewKeyboard, BackspaceJoinsLinesAndGbkPairsMoveAndDeleteWhole) {
    CColorEditView* view = OpenColored("ab\n\xB5\xDA"
                                       "cd\n");
    ASSERT_NE(view, nullptr);
    view->SetSelection(3, 3);
    Key(view, VK_BACK);
    EXPECT_EQ(Text(view), "ab\xB5\xDA"
                          "cd\n");
    EXPECT_EQ(view->GetDocument()->GetLineCount(), 2);
    Key(view, VK_RIGHT);
    EXPECT_EQ(view->Caret(), 4) << "over the pair";
    Key(view, VK_LEFT);
    EXPECT_EQ(view->Caret(), 2);
    Key(view, VK_DELETE);
    EXPECT_EQ(Text(view), "abcd\n") << "Delete removes the whole pair";
    view->SetSelection(4, 4);
    view->SendMessage(WM_IME_CHAR, 0xB6FE, 1);
    EXPECT_EQ(Text(view), "abcd\xB6\xFE\n") << "an input-method character arrives whole";
    EXPECT_EQ(view->Caret(), 6);
    Key(view, VK_BACK);
    EXPECT_EQ(Text(view), "abcd\n");
}

TEST_F(ViewKeyboard, OverwriteModeReplacesButNotLineFeedsAndEnterOnlyMoves) {
    CBlackEditView* view = OpenPlain("abc\nxyz\n");
    ASSERT_NE(view, nullptr);
    Key(view, VK_INSERT);
    EXPECT_TRUE(view->IsOverwrite());
    view->SetSelection(1, 1);
    Type(view, "QR");
    EXPECT_EQ(Text(view), "aQR\nxyz\n");
    Type(view, "S");
    EXPECT_EQ(Text(view), "aQRS\nxyz\n") << "on the line feed it inserts";
    Key(view, VK_RETURN);
    EXPECT_EQ(view->Caret(), 5) << "Enter moves to the next line";
    EXPECT_EQ(Text(view), "aQRS\nxyz\n");

    EXPECT_EQ(UpdateState(view, ID_INDICATOR_OVR), 1);
    Key(view, VK_INSERT);
    EXPECT_EQ(UpdateState(view, ID_INDICATOR_OVR), 0);
}

TEST_F(ViewKeyboard, ShiftTabInsertsATabAndLeavesItSelected) {
    CBlackEditView* view = OpenPlain("ab\n");
    ASSERT_NE(view, nullptr);
    view->SetSelection(1, 1);
    Key(view, VK_SHIFT, false, true);
    Key(view, VK_TAB, false, true);
    EXPECT_EQ(Text(view), "a\tb\n");
    EXPECT_EQ(view->GetSelectionStart(), 1);
    EXPECT_EQ(view->GetSelectionEnd(), 2);
    EXPECT_EQ(view->ReplaceSelection("--"), 1);
    EXPECT_EQ(Text(view), "a--b\n");
    EXPECT_EQ(view->ReplaceSelection("x"), 0) << "nothing selected any more";
}
