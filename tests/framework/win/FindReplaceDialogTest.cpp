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
    if (message != kFindMessage) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    CFindReplaceDialog* dialog = CFindReplaceDialog::GetNotifier(lParam);
    g_presses.push_back({((const FINDREPLACEA*)lParam)->Flags, dialog ? (LPCSTR)dialog->GetFindString() : "",
                         dialog ? (LPCSTR)dialog->GetReplaceString() : "", dialog != nullptr});
    return 0;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CFindReplaceDialog::RouteDialogMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
} // namespace

TEST(FindReplaceDialog, PressesReachTheOwnerWithTheTypedTextsAndFlagsAndCloseDeletesTheDialog) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "FindOwner";
    wc.hInstance = ::GetModuleHandleA(nullptr);
    ::RegisterClassA(&wc);
    CWnd owner;
    owner.Attach(::CreateWindowExA(0, "FindOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                   nullptr, nullptr, wc.hInstance, nullptr));
    int before = CFindReplaceDialog::GetLiveCount();
    EXPECT_FALSE((new CFindReplaceDialog)->Create(TRUE, "x", nullptr, FR_DOWN, nullptr)) << "no owner window";
    EXPECT_EQ(CFindReplaceDialog::GetLiveCount(), before) << "a failed create cleans up";

    auto* dialog = new CFindReplaceDialog;
    ASSERT_TRUE(dialog->Create(FALSE, "old", "new", FR_DOWN, &owner));
    HWND hwnd = dialog->m_hWnd;
    FINDREPLACEA forged = {};
    EXPECT_EQ(CFindReplaceDialog::GetNotifier((LPARAM)&forged), nullptr);

    ::SetDlgItemTextA(hwnd, edt1, "\xB5\xDA\xD2\xBB"); // 第一
    ::SetDlgItemTextA(hwnd, edt2, "x");
    ::SendDlgItemMessageA(hwnd, psh1, BM_CLICK, 0, 0); // Replace
    ::SendDlgItemMessageA(hwnd, psh2, BM_CLICK, 0, 0); // Replace All
    ::SetFocus(::GetDlgItem(hwnd, edt1));
    ::PostMessageA(::GetDlgItem(hwnd, edt1), WM_KEYDOWN, VK_RETURN, 1); // through the message loop
    Pump();
    ::SendDlgItemMessageA(hwnd, IDCANCEL, BM_CLICK, 0, 0);
    Pump();
    const DWORD kinds[] = {FR_REPLACE, FR_REPLACEALL, FR_FINDNEXT, FR_DIALOGTERM};
    ASSERT_EQ(g_presses.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        const Press& p = g_presses[(size_t)i];
        EXPECT_TRUE(p.known && (p.flags & kinds[i]) && (p.flags & FR_DOWN)) << i;
        EXPECT_EQ(p.find, "\xB5\xDA\xD2\xBB");
    }
    EXPECT_EQ(g_presses[0].replace + g_presses[1].replace, "xx")
        << "the replace buttons read the replace text";
    EXPECT_TRUE(g_presses[3].flags & FR_DIALOGTERM);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(CFindReplaceDialog::GetLiveCount(), before) << "the dialog deleted itself";
}
