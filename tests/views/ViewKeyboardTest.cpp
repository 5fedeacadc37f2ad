// Keyboard input through real WM_KEYDOWN, WM_CHAR and WM_IME_CHAR messages, with the Ctrl and Shift
// states set in the thread's keyboard state: each key reaches its editing rule (the rules themselves
// are tested on the edit model) and the view follows with its caret, colours, indicator and the
// status bar's caret pane.
#include "ViewFixture.h"

namespace {
using ViewKeyboard = ViewFixture;
} // namespace

TEST_F(ViewKeyboard, EveryKeyReachesItsRuleWithItsModifiers) {
    CColorEditView* view = OpenColored("long line here\nab\nanother long line\n");
    view->SetSelection(2, 2);
    Key(view, VK_RIGHT);
    Key(view, VK_DOWN);
    EXPECT_EQ(view->Caret(), 17) << "Down onto the short line's line feed";
    Key(view, VK_UP);
    Key(view, VK_LEFT);
    EXPECT_EQ(view->Caret(), 2) << "Up to the remembered column, Left one back";
    Key(view, VK_SHIFT, false, true);
    Key(view, VK_END, false, true);
    EXPECT_EQ(view->Model().Selection().end, 14) << "Shift reaches the rule: End selects";
    Key(view, VK_HOME, true);
    EXPECT_EQ(view->Caret(), 0) << "Ctrl reaches the rule: Ctrl+Home";
    Key(view, VK_NEXT);
    Key(view, VK_PRIOR);
    EXPECT_EQ(view->Caret(), 14) << "a page down and up, back on the column End remembered";
    Key(view, VK_HOME);

    Key(view, VK_DELETE, true);
    EXPECT_EQ(Text(view), " line here\nab\nanother long line\n") << "Ctrl+Delete takes the word";
    Key(view, VK_TAB);
    Key(view, VK_RETURN);
    Key(view, VK_BACK);
    EXPECT_EQ(Text(view), "\t line here\nab\nanother long line\n");
    EXPECT_TRUE(view->GetDocument()->IsModified());
    EXPECT_TRUE(view->GetRenderFlag()) << "an edit asks for the colours again";

    view->SendMessage(WM_CHAR, 7, 1);
    view->SendMessage(WM_CHAR, 31, 1);
    view->SendMessage(WM_CHAR, 0x141, 1);
    EXPECT_EQ(Text(view), "\t line here\nab\nanother long line\n")
        << "control bytes and wide characters type nothing";
    Type(view, "x");
    view->SendMessage(WM_IME_CHAR, 0xB6FE, 1);
    view->SendMessage(WM_IME_CHAR, 0xB600, 1);
    view->SendMessage(WM_IME_CHAR, 0x12345, 1);
    EXPECT_EQ(Text(view), "\tx\xB6\xFE line here\nab\nanother long line\n")
        << "an input-method character arrives whole; a lead byte alone or a wider value is none";
    EXPECT_EQ(view->Caret(), 4);

    EXPECT_EQ(UpdateState(view, ID_INDICATOR_OVR), 0);
    Key(view, VK_INSERT);
    EXPECT_EQ(UpdateState(view, ID_INDICATOR_OVR), 1);
    Type(view, "Q");
    EXPECT_EQ(Text(view), "\tx\xB6\xFEQline here\nab\nanother long line\n") << "Q overwrites the space";
}

TEST_F(ViewKeyboard, TheCaretPaneShowsTheCaretsLineAndColumnInTheActivatedDocument) {
    std::string text = Lines(20);
    CEditScrollView* first = OpenPlain(text);
    first->SetSelection(37, 37);
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   6 , column =   3\n"));
    EXPECT_EQ(first->SystemCaret().Point(), CPoint(first->Metrics().leftMargin + 2 * first->Metrics().unit.cx,
                                                   5 * first->Metrics().unit.cy));
    first->SetSelection(35, 35); // line 6
    CEditScrollView* second = OpenColored(text);
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   1 , column =   1\n")) << "the opened document";
    main->MDIActivate(first->GetParentFrame());
    Pump();
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   6 , column =   1\n")) << "back to the first";
    main->MDIActivate(second->GetParentFrame());
    Pump();
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   1 , column =   1\n"));
}
