// Message maps on real windows: entries of a class and its bases, default processing, registered
// messages, and the bond between window objects and their handles.
#include <gtest/gtest.h>

#include <string>

#include "framework/win/Wnd.h"

namespace {
UINT RegisteredPing() {
    static const UINT id = ::RegisterWindowMessageA("Tessolin test ping");
    return id;
}

class CBaseWnd : public CWnd {
public:
    std::string log;
    void OnSize(UINT, int, int) { log += "base-size;"; }
    void OnTimer(UINT_PTR id) { log += "base-timer" + std::to_string(id) + ";"; }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam + lParam); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_SIZE()
ON_WM_TIMER()
ON_REGISTERED_MESSAGE(RegisteredPing(), OnPing)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    BOOL createSeen = FALSE;
    void OnTimer(UINT_PTR id) {
        log += "derived-timer;";
        CBaseWnd::OnTimer(id);
    }
    int OnCreate(LPCREATESTRUCTA cs) {
        createSeen = m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_CREATE()
ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CreatePopup(CWnd& wnd) {
    return wnd.CreateEx(0, nullptr, "test", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr);
}
} // namespace

TEST(MessageMaps, DerivedEntriesComeFirstBaseEntriesStillAnswerAndTheRestGetsTheDefault) {
    CDerivedWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    EXPECT_TRUE(wnd.createSeen) << "the object must own its window before WM_CREATE";
    wnd.log.clear();
    wnd.SendMessage(WM_TIMER, 5, 0);
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 20));
    EXPECT_EQ(wnd.log, "derived-timer;base-timer5;base-size;");
    EXPECT_EQ(wnd.SendMessage(RegisteredPing(), 40, 2), 42);

    wnd.SetWindowText("\xD6\xD0\xCE\xC4 title"); // "中文 title"
    EXPECT_STREQ(wnd.GetWindowText(), "\xD6\xD0\xCE\xC4 title");
    EXPECT_EQ(wnd.SendMessage(WM_USER + 99, 1, 2), 0);
}

TEST(WindowObjects, HandlesMapBackAndDestructionEndsTheBond) {
    HWND hwnd;
    {
        CDerivedWnd wnd;
        ASSERT_TRUE(CreatePopup(wnd));
        hwnd = wnd.m_hWnd;
        EXPECT_EQ(CWnd::FromHandle(hwnd), &wnd);
    }
    EXPECT_FALSE(::IsWindow(hwnd)) << "an object destroyed first takes its window with it";
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);

    CDerivedWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    hwnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr) << "WM_NCDESTROY detaches the object";
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);

    CWnd failed;
    EXPECT_FALSE(failed.CreateEx(0, "No such class here", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(failed.m_hWnd, nullptr);
    CDerivedWnd second;
    EXPECT_TRUE(CreatePopup(second)) << "a failed creation must not leave the hook waiting";
    EXPECT_TRUE(second.createSeen);
}
