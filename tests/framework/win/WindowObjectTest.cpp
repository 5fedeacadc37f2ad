// Window objects and their handles: the object owns its window before WM_CREATE, destruction from
// either side ends the bond, and a failed creation leaves nothing waiting. (The message maps
// themselves are driven by every view and host test.)
#include <gtest/gtest.h>

#include "framework/win/Wnd.h"

namespace {
class CCreateWnd : public CWnd {
public:
    BOOL createSeen = FALSE;
    int OnCreate(LPCREATESTRUCTA cs) {
        createSeen = m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCreateWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CreatePopup(CWnd& wnd) {
    return wnd.CreateEx(0, nullptr, "test", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr);
}
} // namespace

TEST(WindowObjects, HandlesMapBackAndDestructionEndsTheBond) {
    HWND hwnd;
    {
        CCreateWnd wnd;
        ASSERT_TRUE(CreatePopup(wnd));
        EXPECT_TRUE(wnd.createSeen) << "the object must own its window before WM_CREATE";
        hwnd = wnd.m_hWnd;
        EXPECT_EQ(CWnd::FromHandle(hwnd), &wnd);
    }
    EXPECT_FALSE(::IsWindow(hwnd)) << "an object destroyed first takes its window with it";
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);

    CCreateWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    hwnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr) << "WM_NCDESTROY detaches the object";
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);

    CWnd failed;
    EXPECT_FALSE(failed.CreateEx(0, "No such class here", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(failed.m_hWnd, nullptr);
    CCreateWnd second;
    EXPECT_TRUE(CreatePopup(second)) << "a failed creation must not leave the hook waiting";
    EXPECT_TRUE(second.createSeen);
}
