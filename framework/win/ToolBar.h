// CToolBar: the frame's toolbar over the common toolbar control, buttons enabled by command updates.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "framework/win/ControlBar.h"
#include "framework/win/Frame.h"

// Each button carries its command id (ID_SEPARATOR for a gap) and an image of the system's standard
// small bitmap (STD_CUT, STD_COPY, ...). The frame lays the bar out along its top edge; at idle time
// every button's update handler decides whether it is enabled, and the control is told only of
// changes. A button's tooltip is the part after '\n' of its command's string resource.
class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                UINT id = AFX_IDW_TOOLBAR);
    // The buttons: count command ids, each with its standard image (ignored for a separator).
    BOOL SetButtons(const UINT* ids, const int* images, int count);

    int GetCount() const { return (int)m_ids.size(); }
    UINT GetItemID(int index) const { return index >= 0 && index < GetCount() ? m_ids[index] : ID_SEPARATOR; }
    BOOL IsButtonEnabled(UINT id) const;

    // Runs each button's update handler in target (normally the parent frame).
    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;

private:
    std::vector<UINT> m_ids;
};

// The tooltip text of a command: the part after '\n' of its string resource, or empty.
CString AfxToolTipText(UINT id);
