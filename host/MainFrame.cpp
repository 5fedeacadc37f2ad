// The host's main frame: its toolbar, titles panel and status bar, and every text the documents send it.
#include "host/MainFrame.h"

#include "documents/EditDocument.h"
#include "documents/HostMessages.h"
#include "framework/win/HostLookup.h"
#include "host/HostResource.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_REGISTERED_MESSAGE(HostMessage(kMsgShowMessage), OnShowMessage)
ON_COMMAND(ID_VIEW_TITLES, OnViewTitles)
ON_UPDATE_COMMAND_UI(ID_VIEW_TITLES, OnUpdateViewTitles)
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCTA cs) {
    if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
    return CreateToolBar() && CreateStatusBar() && m_titles.Create(this) ? 0 : -1;
}

void CMainFrame::OnViewTitles() {
    m_titles.ShowWindow(m_titles.IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CMainFrame::OnUpdateViewTitles(CCmdUI* cmdUI) {
    cmdUI->SetCheck(m_titles.IsWindowVisible());
}

BOOL CMainFrame::CreateToolBar() {
    static const UINT ids[] = {ID_FILE_NEW,  ID_FILE_OPEN,  ID_FILE_SAVE, ID_SEPARATOR, ID_EDIT_CUT,
                               ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR, ID_EDIT_UNDO, ID_EDIT_REDO};
    static const int images[] = {STD_FILENEW, STD_FILEOPEN, STD_FILESAVE, 0, STD_CUT, STD_COPY, STD_PASTE,
                                 0,           STD_UNDO,     STD_REDOW};
    return m_toolBar.Create(this) && m_toolBar.SetButtons(ids, images, 10);
}

BOOL CMainFrame::CreateStatusBar() {
    // The message pane, the caret-position pane the views fill, the file's encoding, the overwrite
    // indicator.
    static const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_ENCODING, ID_INDICATOR_OVR};
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(indicators, 4)) return FALSE;
    m_statusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 200);
    m_statusBar.SetPaneText(1, LoadResourceString(ID_INDICATOR_CARET));
    RecalcLayout();
    return TRUE;
}

LRESULT CMainFrame::OnShowMessage(WPARAM wParam, LPARAM) {
    if (wParam != 0) SetMessageText((LPCSTR)wParam);
    return 0;
}
