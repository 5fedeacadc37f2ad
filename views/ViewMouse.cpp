// Mouse input in the editor views: placing the caret with a click, selecting by dragging (with
// auto-scroll while the pointer is outside the window), selecting a word with a double click, the
// I-beam cursor and the wheel.
#include <algorithm>

#include "views/EditScrollView.h"

namespace {
const UINT_PTR kAutoScrollTimer = 2;
const UINT kAutoScrollInterval = 175; // ms
} // namespace

bool CEditScrollView::IsInsideClient(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    return client.PtInRect(point) != FALSE;
}

void CEditScrollView::StopAutoScroll() {
    if (!m_bAutoScroll) return;
    m_bAutoScroll = FALSE;
    KillTimer(kAutoScrollTimer);
}

void CEditScrollView::OnLButtonDown(UINT, CPoint point) {
    SetCapture();
    m_bButtonDown = TRUE;
    if (::GetFocus() != m_hWnd) SetFocus();
    if (!m_model.HasText()) {
        Default();
        return;
    }
    CPressResult press = m_model.Press(SelectionPoint(point));
    if (press.acted) {
        CPoint caret = GetCaretPos(m_nLeftMargin);
        if (caret != m_ptCaret) {
            m_ptCaret = caret;
            if (press.hadSelection) Invalidate(FALSE);
        } else if (press.hadSelection) {
            InvalidateLine(press.firstLine, press.lastLine);
        }
        if (press.hadSelection) UpdateWindow();
        if (m_ptCaret.x > m_nLeftMargin) HideCaret();
        PlaceCaret();
    }
    Default();
}

void CEditScrollView::OnLButtonUp(UINT, CPoint) {
    m_bButtonDown = FALSE;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    StopAutoScroll();
    Default();
}

// Another window took the mouse (a message box, a task switch): the drag ends there.
void CEditScrollView::OnCaptureChanged(CWnd*) {
    m_bButtonDown = FALSE;
    StopAutoScroll();
    Default();
}

void CEditScrollView::OnMouseMove(UINT, CPoint point) {
    m_ptLastMouse = point;
    if (m_bButtonDown && m_model.HasText()) DragTo(point);
    Default();
}

// Outside the window the timer takes over; inside, the selection runs from the anchor to the point.
void CEditScrollView::DragTo(CPoint point) {
    if (!IsInsideClient(point)) {
        if (!m_bAutoScroll) SetTimer(kAutoScrollTimer, kAutoScrollInterval);
        m_bAutoScroll = TRUE;
        return;
    }
    StopAutoScroll();
    int first = 0, last = 0;
    if (!m_model.DragTo(SelectionPoint(point), first, last)) return;
    InvalidateLine(first, last);
    UpdateWindow();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
}

void CEditScrollView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kAutoScrollTimer) {
        Default();
        return;
    }
    // A tick already queued when the drag ended must not move the selection.
    if (m_bAutoScroll) AutoScroll();
}

// One step while the pointer is held outside the window: the selection's nearer end goes to the
// offset under the pointer and the view scrolls it into sight.
void CEditScrollView::AutoScroll() {
    if (!m_model.HasText() || IsInsideClient(m_ptLastMouse)) return;
    int pos = SelectionPoint(m_ptLastMouse);
    m_model.AutoScrollTo(pos);
    SetCurrentPosition(pos);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
}

void CEditScrollView::OnLButtonDblClk(UINT, CPoint point) {
    if (GetEditDocument() == nullptr) return;
    int pos = SelectionPoint(point);
    if (pos < 0 || pos >= GetEditDocument()->GetLength()) return;
    if (m_model.DoubleClick(pos)) {
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        PlaceCaret();
    }
    InvalidateLine(m_model.LineOf(pos));
    UpdateWindow();
}

BOOL CEditScrollView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT) {
    if (nHitTest == HTCLIENT && pWnd != nullptr && pWnd->m_hWnd == m_hWnd) {
        ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM));
        return TRUE;
    }
    return (BOOL)Default();
}

// Scrolls by the system's wheel setting per notch (a page when it says page scrolling), keeping the
// part of a high-resolution delta that does not make a whole line yet. As on Windows 10, the wheel
// scrolls the editor view under the pointer even when another one has the focus.
BOOL CEditScrollView::OnMouseWheel(UINT nFlags, short zDelta, CPoint point) {
    HWND under = ::WindowFromPoint(point);
    if (under != m_hWnd) {
        if (auto* view = dynamic_cast<CEditScrollView*>(CWnd::FromHandlePermanent(under)))
            return (BOOL)view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, (WORD)zDelta),
                                           MAKELPARAM(point.x, point.y));
    }
    UINT setting = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &setting, 0);
    int page = std::max(m_nClientHeight / (int)m_unit.cy, 1);
    int perNotch = setting == WHEEL_PAGESCROLL ? page : (int)std::min<UINT>(setting, 10000);
    if (perNotch == 0) return TRUE; // wheel scrolling switched off
    m_nWheelRemainder += zDelta * perNotch;
    int lines = m_nWheelRemainder / WHEEL_DELTA;
    m_nWheelRemainder -= lines * WHEEL_DELTA;
    if (lines != 0) {
        ScrollToFirstLine(m_model.First().line - lines);
        UpdateWindow();
    }
    return TRUE;
}
