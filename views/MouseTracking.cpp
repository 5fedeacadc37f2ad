// The held button's capture, the auto-scroll timer and the wheel's remainder.
#include "views/MouseTracking.h"

#include "views/EditScrollView.h"

void CMouseTracking::Press() {
    m_view.SetCapture();
    m_bHeld = true;
}

void CMouseTracking::Release() {
    m_bHeld = false;
    if (m_view.HasCapture()) CWnd::ReleaseCapture();
    StopAutoScroll();
}

void CMouseTracking::Lost() {
    m_bHeld = false;
    StopAutoScroll();
}

bool CMouseTracking::IsInside(CPoint point) const {
    CRect client;
    m_view.GetClientRect(&client);
    return client.PtInRect(point) != FALSE;
}

bool CMouseTracking::LeavesWindow(CPoint point) {
    if (IsInside(point)) {
        StopAutoScroll();
        return false;
    }
    if (!m_bAutoScrolling) m_view.SetTimer(kAutoScrollTimer, kAutoScrollInterval);
    m_bAutoScrolling = true;
    return true;
}

void CMouseTracking::StopAutoScroll() {
    if (!m_bAutoScrolling) return;
    m_bAutoScrolling = false;
    m_view.KillTimer(kAutoScrollTimer);
}

int CMouseTracking::WheelLines(short delta, int perNotch) {
    m_nWheelRemainder += delta * perNotch;
    int lines = m_nWheelRemainder / WHEEL_DELTA;
    m_nWheelRemainder -= lines * WHEEL_DELTA;
    return lines;
}

void CMouseTracking::DragTo(CPoint point) {
    if (LeavesWindow(point)) return;
    if (m_view.m_model.Selection().block.active) {
        CColumnInput(m_view).DragTo(point);
        return;
    }
    int first = 0, last = 0;
    if (!CMouseRules(m_view.m_model).DragTo(m_view.SelectionPoint(point), first, last)) return;
    m_view.InvalidateLine(first, last);
    m_view.UpdateWindow();
    m_view.PlaceCaret();
}
