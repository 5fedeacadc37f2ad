// The progress and scroll-bar controls: creation as framework windows and their messages.
#include "framework/win/Controls.h"

#include "framework/win/ControlBar.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {
BOOL CreateControl(CWnd* wnd, LPCSTR className, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (parent == nullptr || parent->m_hWnd == nullptr) return FALSE;
    AfxInitCommonControls();
    return wnd->CreateEx(0, className, nullptr, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent->m_hWnd, (HMENU)(UINT_PTR)id);
}
} // namespace

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, PROGRESS_CLASSA, style, rect, parent, id);
}

void CProgressCtrl::SetRange(short lower, short upper) {
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM((WORD)lower, (WORD)upper));
}

void CProgressCtrl::SetRange32(int lower, int upper) {
    SendMessage(PBM_SETRANGE32, (WPARAM)lower, (LPARAM)upper);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    PBRANGE range = {0, 0};
    SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
    lower = range.iLow;
    upper = range.iHigh;
}

int CProgressCtrl::SetPos(int pos) {
    return (int)SendMessage(PBM_SETPOS, (WPARAM)pos, 0);
}

int CProgressCtrl::GetPos() const {
    return (int)SendMessage(PBM_GETPOS, 0, 0);
}

int CProgressCtrl::OffsetPos(int delta) {
    return (int)SendMessage(PBM_DELTAPOS, (WPARAM)delta, 0);
}

int CProgressCtrl::SetStep(int step) {
    return (int)SendMessage(PBM_SETSTEP, (WPARAM)step, 0);
}

int CProgressCtrl::StepIt() {
    return (int)SendMessage(PBM_STEPIT, 0, 0);
}

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(this, "SCROLLBAR", style, rect, parent, id);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw) {
    if (info == nullptr) return FALSE;
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask) const {
    if (info == nullptr) return FALSE;
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, info);
}

void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw) {
    ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
}

void CScrollBar::GetScrollRange(LPINT minPos, LPINT maxPos) const {
    ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos);
}

int CScrollBar::SetScrollPos(int pos, BOOL redraw) {
    return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw);
}

int CScrollBar::GetScrollPos() const {
    return ::GetScrollPos(m_hWnd, SB_CTL);
}

// The highest position the thumb can reach: max - page + 1 (max itself without a page).
int CScrollBar::GetScrollLimit() const {
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(m_hWnd, SB_CTL, &info)) return 0;
    int limit = info.nMax - (info.nPage > 1 ? (int)info.nPage - 1 : 0);
    return limit > info.nMin ? limit : info.nMin;
}
