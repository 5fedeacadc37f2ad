// CControlBar: what the frame's bars share: at idle time each asks its frame for its items' states.
#pragma once

#include "framework/win/Wnd.h"

class CFrameWnd;

// Registers the common control classes once per process.
void AfxInitCommonControls();

// A bar lives in a frame; its items are commands whose update handlers decide their state.
class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;

    // Runs each item's update handler in target (normally the bar's frame).
    virtual void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) = 0;

protected:
    // Creates the common control of the class as a child of parent with the id.
    BOOL CreateBar(CWnd* parent, LPCSTR controlClass, DWORD style, UINT id);
    DECLARE_MESSAGE_MAP()
    // The frame's idle pass: the items ask the frame (and through it the active view).
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
};
