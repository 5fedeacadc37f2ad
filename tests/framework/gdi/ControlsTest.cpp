// The status bar on a real frame: pane texts and indicator updates.
#include <gtest/gtest.h>

#include "framework/win/Frame.h"
#include "framework/win/StatusBar.h"

namespace {
enum : UINT { ID_INDICATOR_TEXT = 40101, ID_INDICATOR_OFF = 40102, ID_INDICATOR_NONE = 40103 };

// A frame whose update handlers write one indicator's text and disable another.
class CIndicatorFrame : public CFrameWnd {
public:
    void OnUpdateText(CCmdUI* ui) { ui->SetText("OVR"); }
    void OnUpdateOff(CCmdUI* ui) { ui->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CIndicatorFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_TEXT, OnUpdateText)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_OFF, OnUpdateOff)
END_MESSAGE_MAP()

class StatusBarOnFrame : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CIndicatorFrame;
        ASSERT_TRUE(frame->LoadFrame(1, WS_OVERLAPPEDWINDOW));
        frame->MoveWindow(0, 0, 600, 300);
        ASSERT_TRUE(bar.Create(frame));
        static const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_TEXT, ID_INDICATOR_OFF, ID_INDICATOR_NONE};
        ASSERT_TRUE(bar.SetIndicators(ids, 4));
        for (int i = 1; i < 4; ++i) bar.SetPaneInfo(i, ids[i], SBPS_NORMAL, 40);
        frame->RecalcLayout();
    }
    void TearDown() override { frame->DestroyWindow(); }
    CString ControlText(int index) {
        char text[256] = {};
        bar.SendMessage(SB_GETTEXTA, (WPARAM)index, (LPARAM)text);
        return CString(text);
    }
    CIndicatorFrame* frame = nullptr;
    CStatusBar bar;
};
} // namespace

// A pane's text waits for the bar's idle update or UpdateWindow (the control repaints as soon as it
// gets a text); the frame's messages are shown at once.
TEST_F(StatusBarOnFrame, PaneTextsReachTheControlAtIdleTimeAndBadIndicesAreRefused) {
    CString before = ControlText(0);
    EXPECT_TRUE(bar.SetPaneText(0, " line =   3 , column =  12\n"));
    EXPECT_STREQ(bar.GetPaneText(0), " line =   3 , column =  12\n");
    EXPECT_STREQ(ControlText(0), before);
    frame->ShowWindow(SW_SHOWNOACTIVATE); // a hidden bar has no idle updates
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_STREQ(ControlText(0), " line =   3 , column =  12 "); // the control draws the line end as a space
    bar.SetPaneText(0, " line =   4 , column =   1\n");
    bar.UpdateWindow();
    EXPECT_STREQ(ControlText(0), " line =   4 , column =   1 ");
    EXPECT_FALSE(bar.SetPaneText(4, "x"));
    frame->SetMessageText("\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE..."); // reading file...
    EXPECT_STREQ(ControlText(0), "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE...");
}

TEST_F(StatusBarOnFrame, IdleUpdatesRunTheFramesIndicatorHandlers) {
    bar.SetPaneText(2, "hidden");
    bar.SetPaneText(3, "kept");
    frame->ShowWindow(SW_SHOWNOACTIVATE);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_STREQ(ControlText(1), "OVR");
    EXPECT_STREQ(ControlText(2), "") << "a disabled pane shows no text";
    EXPECT_TRUE(bar.GetPaneStyle(2) & SBPS_DISABLED);
    // No handler anywhere: the pane is disabled only when asked to disable such panes.
    EXPECT_TRUE(bar.GetPaneStyle(3) & SBPS_DISABLED);
    bar.SetPaneStyle(3, SBPS_NORMAL);
    EXPECT_STREQ(ControlText(3), "kept");
    bar.SendMessage(WM_IDLEUPDATECMDUI, FALSE, 0);
    EXPECT_FALSE(bar.GetPaneStyle(3) & SBPS_DISABLED);
}
