// The demo host's main window: the MDI frame with the status bar the editor reports into.
#pragma once

#include "framework/win/Frame.h"
#include "framework/win/StatusBar.h"

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
public:
    // The status bar: message pane, caret-position pane, overwrite indicator.
    BOOL CreateStatusBar();

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    // "Show Message": wParam is the text for the message pane.
    LRESULT OnShowMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CStatusBar m_statusBar;
};
