// CProgressCtrl and CScrollBar: thin wrappers over the progress and scroll-bar controls.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/win/Wnd.h"

// A progress control; every call is one message to the control, so its state is the control's.
class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The 16-bit range message: both limits are cut to 16 bits.
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Each answers the previous position or step.
    int SetPos(int pos);
    int GetPos() const;
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt();
};

// A scroll-bar control (SBS_HORZ or SBS_VERT); the calls address the control itself (SB_CTL).
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() = default;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
    void GetScrollRange(LPINT minPos, LPINT maxPos) const;
    int SetScrollPos(int pos, BOOL redraw = TRUE);
    int GetScrollPos() const;
    int GetScrollLimit() const;
    void ShowScrollBar(BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, show); }
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
};
