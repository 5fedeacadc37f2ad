// The modeless find and replace dialogs driven as a user would: texts typed into their edit fields and
// buttons pressed; each press reaches the owner as "commdlg_FindReplace" with the dialog's flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win/FindReplaceDialog.h"

#include <dlgs.h>

namespace {
const UINT kFindMessage = ::RegisterWindowMessageA(FINDMSGSTRING);

struct Press {
    DWORD flags;
    std::string find, replace;
    bool known; // GetNotifier recognised the record
};
std::vector<Press> g_presses;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFindMessage) {
        CFindReplaceDialog* dialog = CFindReplaceDialog::GetNotifier(lParam);
        const auto* record = (const FINDREPLACEA*)lParam;
        g_presses.push_back({record->Flags, dialog ? (LPCSTR)dialog->GetFindString() : "",
                             dialog ? (LPCSTR)dialog->GetReplaceString() : "", dialog != nullptr});
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

class FindReplaceDialog : public ::testing::Test {
protected:
    // One owner for the suite: a top-level window takes Wine a while to make and to destroy.
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "FindOwner";
        ::RegisterClassA(&wc);
        s_owner = new CWnd;
        s_owner->Attach(::CreateWindowExA(0, "FindOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                          400, 300, nullptr, nullptr, wc.hInstance, nullptr));
    }
    void SetUp() override { g_presses.clear(); }
    void TearDown() override { Pump(); }
    static void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CFindReplaceDialog::RouteDialogMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    static CWnd* s_owner;
};
CWnd* FindReplaceDialog::s_owner = nullptr;
} // namespace

TEST_F(FindReplaceDialog, ButtonPressesReachTheOwnerWithTheTypedTextsAndFlags) {
    int before = CFindReplaceDialog::GetLiveCount();
    auto* dialog = new CFindReplaceDialog;
    ASSERT_TRUE(dialog->Create(FALSE, "old", "new", FR_DOWN, s_owner));
    HWND hwnd = dialog->m_hWnd;
    ASSERT_NE(hwnd, nullptr);
    char text[64] = {};
    ::GetDlgItemTextA(hwnd, edt1, text, sizeof text);
    EXPECT_STREQ(text, "old");

    ::SetDlgItemTextA(hwnd, edt1, "\xB5\xDA\xD2\xBB"); // 第一
    ::SetDlgItemTextA(hwnd, edt2, "x");
    ::SendDlgItemMessageA(hwnd, chx2, BM_CLICK, 0, 0); // match case
    ::SendDlgItemMessageA(hwnd, IDOK, BM_CLICK, 0, 0); // Find Next
    ::SendDlgItemMessageA(hwnd, psh1, BM_CLICK, 0, 0); // Replace
    ::SendDlgItemMessageA(hwnd, psh2, BM_CLICK, 0, 0); // Replace All
    Pump();
    ASSERT_EQ(g_presses.size(), 3u);
    const DWORD kinds[] = {FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL};
    for (int i = 0; i < 3; ++i) {
        const Press& p = g_presses[(size_t)i];
        EXPECT_TRUE(p.known && (p.flags & kinds[i]) && (p.flags & FR_MATCHCASE) && (p.flags & FR_DOWN)) << i;
        EXPECT_EQ(p.find, "\xB5\xDA\xD2\xBB");
        if (i > 0) { // the replace text is read by the replace buttons
            EXPECT_EQ(p.replace, "x");
        }
    }

    ::SendDlgItemMessageA(hwnd, IDCANCEL, BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(g_presses.size(), 4u);
    EXPECT_TRUE(g_presses[3].flags & FR_DIALOGTERM);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(CFindReplaceDialog::GetLiveCount(), before) << "the dialog deleted itself";
}

TEST_F(FindReplaceDialog, EnterPressesFindNextAndAForgedRecordOrAFailedCreateHasNoDialog) {
    int before = CFindReplaceDialog::GetLiveCount();
    EXPECT_FALSE((new CFindReplaceDialog)->Create(TRUE, "x", nullptr, FR_DOWN, nullptr)) << "no owner window";
    EXPECT_EQ(CFindReplaceDialog::GetLiveCount(), before);

    auto* dialog = new CFindReplaceDialog;
    ASSERT_TRUE(dialog->Create(TRUE, "abc", nullptr, FR_DOWN, s_owner));
    FINDREPLACEA forged = {};
    EXPECT_EQ(CFindReplaceDialog::GetNotifier((LPARAM)&forged), nullptr) << "while a dialog is live";
    HWND edit = ::GetDlgItem(dialog->m_hWnd, edt1);
    ::SetFocus(edit);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    ASSERT_EQ(g_presses.size(), 1u);
    EXPECT_TRUE(g_presses[0].flags & FR_FINDNEXT);
    EXPECT_EQ(g_presses[0].find, "abc");
    ::DestroyWindow(dialog->m_hWnd);
}
