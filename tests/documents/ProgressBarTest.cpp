// The progress bar's place in a real status bar of the main frame, and its no-ops without one.
#include <gtest/gtest.h>

#include <algorithm>

#include "DocumentTestKit.h"
#include "documents/ProgressBar.h"
#include "framework/win/Frame.h"
#include "framework/win/WinApp.h"

namespace {
// The bar's expected rectangle from the status bar's font and first pane.
CRect ExpectedBar(CStatusBar& bar, const char* message, int size) {
    CClientDC dc(&bar);
    CFont* old = bar.GetFont() != nullptr ? dc.SelectObject(bar.GetFont()) : nullptr;
    int left = dc.GetTextExtent(CString(message)).cx + 2 * dc.GetTextExtent(" ", 1).cx;
    if (old != nullptr) dc.SelectObject(old);
    CRect pane;
    bar.GetItemRect(0, &pane);
    int right = std::max(left, left + (int)(pane.right - left) * size / 100), d = pane.Height() / 10;
    return CRect(left, pane.top + d, right, pane.bottom - d);
}

CRect BarRect(CProgressBar& progress, CStatusBar& bar) {
    CRect rect;
    progress.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, bar.m_hWnd, (LPPOINT)(LPRECT)&rect, 2);
    return rect;
}

class ProgressInStatusBar : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->LoadFrame(1, WS_OVERLAPPEDWINDOW));
        frame->MoveWindow(0, 0, 640, 240);
        ASSERT_TRUE(bar.Create(frame));
        static const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_OVR};
        ASSERT_TRUE(bar.SetIndicators(ids, 2));
        bar.SetPaneInfo(1, ID_INDICATOR_OVR, SBPS_NORMAL, 100);
        frame->RecalcLayout();
        theApp.m_pMainWnd = frame;
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        frame->DestroyWindow();
    }
    CFrameWnd* frame = nullptr;
    CStatusBar bar;
};
} // namespace

TEST_F(ProgressInStatusBar, TheBarSitsTwoSpacesAfterTheTextAndTakesItsShareOfTheRestOfThePane) {
    const char* message = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE..."; // reading file...
    CProgressBar progress(message, 40, 100);
    ASSERT_NE(progress.m_hWnd, nullptr);
    EXPECT_EQ(progress.GetParent(), &bar);
    EXPECT_EQ(progress.GetStyle() & 0x50000001u, 0x50000001u);
    EXPECT_STREQ(bar.GetPaneText(0), message);
    CRect expected = ExpectedBar(bar, message, 40);
    EXPECT_GT(expected.Width(), 0);
    EXPECT_EQ(BarRect(progress, bar), expected);

    // The bar follows the status bar when the frame grows.
    frame->MoveWindow(0, 0, 900, 240);
    frame->RecalcLayout();
    progress.Resize();
    EXPECT_EQ(BarRect(progress, bar), ExpectedBar(bar, message, 40));

    CProgressBar wide(CString('W', 400), 40, 100); // a message wider than the pane: a bar of width zero
    CRect rect = BarRect(wide, bar), pane;
    bar.GetItemRect(0, &pane);
    EXPECT_GT(rect.left, pane.right);
    EXPECT_EQ(rect.Width(), 0);
}

TEST_F(ProgressInStatusBar, ClearHidesTheBarAndPutsTheIdlePromptBackAndSetPosShowsItAgain) {
    {
        CProgressBar progress("loading", 40, 100);
        progress.Clear();
        EXPECT_FALSE(progress.GetStyle() & WS_VISIBLE);
        EXPECT_STREQ(bar.GetPaneText(0), ""); // the test program has no idle prompt resource
        progress.SetPos(5);
        EXPECT_TRUE(progress.GetStyle() & WS_VISIBLE);
        bar.SetPaneText(0, "busy");
    }
    EXPECT_STREQ(bar.GetPaneText(0), "");
    EXPECT_EQ(::GetDlgItem(bar.m_hWnd, 1), nullptr); // the control went with the object
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
