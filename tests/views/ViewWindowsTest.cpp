// The views among other windows: the status bar shows the caret of the activated document, and a caret jump
// leaves no stale selection on the screen.
#include "ViewFixture.h"

namespace {
class ViewWindows : public ViewFixture {};
} // namespace

TEST_F(ViewWindows, TheCaretPaneShowsTheCaretsLineAndColumnInTheActivatedDocument) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "line " + std::to_string(i) + "\n";
    CEditScrollView* first = OpenPlain(text);
    ASSERT_NE(first, nullptr);
    first->SetSelection(37, 37);
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   6 , column =   3\n"));
    EXPECT_EQ(first->SystemCaret().Point(), CPoint(first->Metrics().leftMargin + 2 * first->Metrics().unit.cx,
                                                   5 * first->Metrics().unit.cy));
    first->SetSelection(35, 35); // line 6
    first->GetCaretPos(first->Metrics().leftMargin);
    CEditScrollView* second = OpenColored(text);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   1 , column =   1\n")) << "the opened document";
    main->MDIActivate(first->GetParentFrame());
    Pump();
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   6 , column =   1\n")) << "back to the first";
    main->MDIActivate(second->GetParentFrame());
    Pump();
    EXPECT_EQ(statusBar->GetPaneText(1), CString(" line =   1 , column =   1\n"));
}

TEST_F(ViewWindows, CtrlHomeAndCtrlEndLeaveNoStaleSelectionOnTheScreen) {
    std::string text;
    for (int i = 0; i < 12; ++i) text += "selected or not " + std::to_string(i) + "\n";
    ForBothViews(text, [&](CEditScrollView* view) {
        int lineFour = (int)text.find("selected or not 4");
        for (UINT key : {VK_HOME, VK_END}) {
            view->SetSelection(lineFour, lineFour + 12);
            view->UpdateWindow();
            Key(view, key, true, false);
            view->UpdateWindow();
            EXPECT_EQ(view->Model().Selection().start, view->Model().Selection().end);
            EXPECT_EQ(ScreenDiffersFromRepaint(view), 0) << (key == VK_HOME ? "Ctrl+Home" : "Ctrl+End");
        }
    });
}
