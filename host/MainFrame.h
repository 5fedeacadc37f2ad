// The demo host's main window: the MDI frame with its toolbar, its titles panel and the status bar the
// editor reports into.
#pragma once

#include "framework/win/Frame.h"
#include "framework/win/StatusBar.h"
#include "framework/win/ToolBar.h"
#include "host/TitlesPanel.h"

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
public:
    // The status bar: message pane, caret-position pane, encoding pane, overwrite indicator.
    BOOL CreateStatusBar();
    // The toolbar: new, open, save, cut, copy, paste, undo, redo.
    BOOL CreateToolBar();
    CToolBar& GetToolBar() { return m_toolBar; }
    CTitlesPanel& GetTitlesPanel() { return m_titles; }

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    // "Show Message": wParam is the text for the message pane.
    LRESULT OnShowMessage(WPARAM wParam, LPARAM lParam);
    // 窗口 > 标题: shows or hides the titles panel.
    void OnViewTitles();
    void OnUpdateViewTitles(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

private:
    CStatusBar m_statusBar;
    CToolBar m_toolBar;
    CTitlesPanel m_titles;
};
