// The host's main frame: lays out the status bar and shows every text the documents send it.
#include "host/MainFrame.h"

#include <commctrl.h>

#include "documents/HostMessages.h"
#include "host/HostResource.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_REGISTERED_MESSAGE(HostMessage(kMsgShowMessage), OnShowMessage)
END_MESSAGE_MAP()

namespace {
CString LoadHostString(UINT id) {
    char text[256] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return CString(text);
}
} // namespace

int CMainFrame::OnCreate(LPCREATESTRUCTA cs) {
    if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
    return CreateStatusBar() ? 0 : -1;
}

BOOL CMainFrame::CreateStatusBar() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!m_statusBar.CreateEx(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                              0, m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_STATUS_BAR, nullptr))
        return FALSE;
    OnSize(SIZE_RESTORED, 0, 0);
    SetMessageText(LoadHostString(AFX_IDS_IDLEMESSAGE));
    return TRUE;
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
    if (m_statusBar.m_hWnd != nullptr) {
        m_statusBar.SendMessage(WM_SIZE, 0, 0);
        CRect client;
        GetClientRect(&client);
        // Message pane takes what the caret pane (20 characters) and the overwrite pane leave.
        int parts[3] = {client.Width() - 260, client.Width() - 60, -1};
        if (parts[0] < 0) parts[0] = 0;
        if (parts[1] < parts[0]) parts[1] = parts[0];
        m_statusBar.SendMessage(SB_SETPARTS, 3, (LPARAM)parts);
        m_statusBar.SendMessage(SB_SETTEXTA, 1, (LPARAM)(LPCSTR)LoadHostString(ID_INDICATOR_CARET));
    }
    CMDIFrameWnd::OnSize(type, cx, cy);
}

LRESULT CMainFrame::OnShowMessage(WPARAM wParam, LPARAM) {
    if (wParam != 0) SetMessageText((LPCSTR)wParam);
    return 0;
}
