// The progress bar's place in a real status bar of the main frame, and its no-ops without one.
#include <gtest/gtest.h>

#include "DocumentTestKit.h"
#include "documents/ProgressBar.h"
#include "framework/win/Frame.h"
#include "framework/win/WinApp.h"

namespace {
// Where the bar's rectangle lies in the status bar.
CRect BarRect(CProgressBar& progress, CStatusBar& bar) {
    CRect rect;
    progress.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, bar.m_hWnd, (LPPOINT)(LPRECT)&rect, 2);
    return rect;
}

// A main frame with a status bar of a stretching first pane and one indicator.
class ProgressInStatusBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->LoadFrame(1, WS_OVERLAPPEDWINDOW));
        frame->MoveWindow(0, 0, 640, 240);
        ASSERT_TRUE(bar.Create(frame));
        static const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_OVR};
        ASSERT_TRUE(bar.SetIndicators(ids, 2));
        frame->RecalcLayout();
        theApp.m_pMainWnd = frame;
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        frame->DestroyWindow();
    }
    CFrameWnd* frame = new CFrameWnd;
    CStatusBar bar;
};
} // namespace

// The bar starts two spaces after the message and takes its share of the rest of the first pane, a
// tenth of the pane's height free above and below; a message wider than the pane leaves no bar.
TEST_F(ProgressInStatusBar, TheBarSitsTwoSpacesAfterTheTextAndClearHidesItAndPutsTheIdlePromptBack) {
    const char* message = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE..."; // reading file...
    CRect pane;
    bar.GetItemRect(0, &pane);
    CClientDC dc(&bar);
    CFont* old = bar.GetFont() != nullptr ? dc.SelectObject(bar.GetFont()) : nullptr;
    int left = dc.GetTextExtent(message).cx + 2 * dc.GetTextExtent(" ", 1).cx;
    if (old != nullptr) dc.SelectObject(old);
    {
        CProgressBar progress(message, 40, 100);
        EXPECT_EQ(progress.GetParent(), &bar);
        EXPECT_STREQ(bar.GetPaneText(0), message);
        int d = pane.Height() / 10;
        EXPECT_EQ(BarRect(progress, bar),
                  CRect(left, pane.top + d, left + (pane.right - left) * 40 / 100, pane.bottom - d));
        progress.Clear();
        EXPECT_FALSE(progress.GetStyle() & WS_VISIBLE);
        EXPECT_STREQ(bar.GetPaneText(0), ""); // the test program has no idle prompt resource
        progress.SetPos(5);
        EXPECT_TRUE(progress.GetStyle() & WS_VISIBLE);
        bar.SetPaneText(0, "busy");
    }
    EXPECT_STREQ(bar.GetPaneText(0), "");
    EXPECT_EQ(::GetDlgItem(bar.m_hWnd, 1), nullptr); // the control went with the object

    CProgressBar wide(CString('W', 400), 40, 100);
    CRect rect = BarRect(wide, bar);
    EXPECT_GT(rect.left, pane.right);
    EXPECT_EQ(rect.Width(), 0);
}

TEST(ProgressWithoutStatusBar, EveryCallIsANoOp) {
    CProgressBar noMainWindow("x", 40, 100);
    EXPECT_EQ(noMainWindow.m_hWnd, nullptr);
    EXPECT_EQ(noMainWindow.SetPos(50), 0);
    noMainWindow.Resize();
    noMainWindow.Clear();

    CFrameWnd* frame = new CFrameWnd; // a frame without a status bar
    ASSERT_TRUE(frame->LoadFrame(1, WS_OVERLAPPEDWINDOW));
    theApp.m_pMainWnd = frame;
    CProgressBar progress;
    EXPECT_FALSE(progress.Create("x", 40, 100));
    EXPECT_EQ(progress.SetPos(50), 0);
    theApp.m_pMainWnd = nullptr;
    frame->DestroyWindow();
}
