// CStatusBar: the frame's status bar over the common status control, with indicator panes.
#pragma once

#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "framework/win/ControlBar.h"

// Pane styles kept by the bar (the control itself knows only texts and right edges).
enum : UINT {
    SBPS_NORMAL = 0x0000,
    SBPS_NOBORDERS = 0x0100,
    SBPS_POPOUT = 0x0200,
    SBPS_DISABLED = 0x0400,
    SBPS_STRETCH = 0x0800,
};

// Invariants: m_panes has one entry per pane of the control, in order; the control's right edges
// are recomputed from the widths on every WM_SIZE (the stretch pane, at most one, takes what
// the fixed panes leave). A pane's id is its command id for CCmdUI updates; ID_SEPARATOR (0)
// panes are not updated. Each pane keeps its text because a disabled pane shows none and must
// get it back when enabled again; the control shows the text exactly when the pane is enabled and
// not pending. A text set by SetPaneText is pending until the bar's next idle update or UpdateWindow:
// the control repaints itself as soon as it is given a text, and a caret pane changed by every key
// would put that repaint ahead of the key's own text.
class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar() = default;

    // Creates the control at the bottom of parent with the given id (the frame's message bar id
    // by default) and shows the idle prompt in its first pane.
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM_SIZEGRIP,
                UINT id = AFX_IDW_STATUS_BAR);
    // One pane per id; a non-zero id takes its string resource as text and that text's width;
    // the first ID_SEPARATOR pane stretches. Null ids give count separators.
    BOOL SetIndicators(const UINT* ids, int count);

    int GetCount() const { return (int)m_panes.size(); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void GetItemRect(int index, LPRECT rect) const;
    // The pane's text; the control gets it at the next idle update or UpdateWindow.
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);
    // Gives the control every pending text now.
    void FlushPanes();
    // Pending texts first, then the repaint.
    void UpdateWindow() {
        FlushPanes();
        CControlBar::UpdateWindow();
    }
    CString GetPaneText(int index) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);

    // Runs each indicator's update handler in target (normally the parent frame).
    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override;

    // The style bit that asks for the size grip (the control's own SBARS_SIZEGRIP).
    static constexpr DWORD CBRS_BOTTOM_SIZEGRIP = SBARS_SIZEGRIP;

protected:
    DECLARE_MESSAGE_MAP()
    void OnSize(UINT nType, int cx, int cy);

private:
    struct Pane {
        UINT id;
        UINT style;
        int width; // pixels of text area, ignored for the stretch pane
        CString text;
        bool pending = false; // text not yet given to the control
    };
    void UpdateParts();
    // The control's draw flags for a pane's style.
    static WPARAM DrawFlags(UINT style);
    bool ValidIndex(int index) const { return index >= 0 && index < (int)m_panes.size(); }

    void ShowPane(int index);

    std::vector<Pane> m_panes;
};
