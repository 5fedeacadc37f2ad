// Mouse input in the editor views: placing the caret with a click, selecting by dragging (with
// auto-scroll while the pointer is outside the window), selecting a word with a double click, the
// I-beam cursor and the wheel.
#include <algorithm>

#include "framework/win/Desktop.h"
#include "views/EditScrollView.h"

void CEditScrollView::OnLButtonDown(UINT, CPoint point) {
    m_mouse.Press();
    if (!HasFocus()) SetFocus();
    if (!m_model.HasText()) {
        Default();
        return;
    }
    CColumnInput column(*this);
    if (IsKeyDown(VK_MENU)) {
        column.Press(point, IsKeyDown(VK_SHIFT));
        Default();
        return;
    }
    column.End();
    CPressResult press = CMouseRules(m_model).Press(SelectionPoint(point));
    if (press.acted) {
        CPoint caret = GetCaretPos(m_metrics.leftMargin);
        if (caret != m_caret.Point()) {
            m_caret.Point() = caret;
            if (press.hadSelection) Invalidate(FALSE);
        } else if (press.hadSelection) {
            InvalidateLine(press.firstLine, press.lastLine);
        }
        if (press.hadSelection) UpdateWindow();
        if (m_caret.Point().x > m_metrics.leftMargin) m_caret.Hide();
        m_caret.Place(m_metrics.leftMargin);
    }
    Default();
}

void CEditScrollView::OnLButtonUp(UINT, CPoint) {
    m_mouse.Release();
    Default();
}

void CEditScrollView::OnCaptureChanged(CWnd*) {
    m_mouse.Lost();
    Default();
}

void CEditScrollView::OnMouseMove(UINT, CPoint point) {
    m_mouse.MovedTo(point);
    if (m_mouse.IsHeld() && m_model.HasText()) m_mouse.DragTo(point);
    Default();
}

void CEditScrollView::OnTimer(UINT_PTR nIDEvent) {
    if (!CMouseTracking::IsAutoScrollTimer(nIDEvent)) {
        Default();
        return;
    }
    // A tick already queued when the drag ended must not move the selection.
    if (m_mouse.IsAutoScrolling()) AutoScroll();
}

// One step while the pointer is held outside the window: the selection's nearer end goes to the
// offset under the pointer and the view scrolls it into sight.
void CEditScrollView::AutoScroll() {
    if (!m_model.HasText() || m_mouse.IsInside(m_mouse.LastPoint())) return;
    if (m_model.Selection().block.active) {
        CColumnInput(*this).DragTo(m_mouse.LastPoint());
        return;
    }
    int pos = SelectionPoint(m_mouse.LastPoint());
    CMouseRules(m_model).AutoScrollTo(pos);
    SetCurrentPosition(pos);
    PlaceCaret();
}

void CEditScrollView::OnLButtonDblClk(UINT, CPoint point) {
    if (GetEditDocument() == nullptr) return;
    int pos = SelectionPoint(point);
    if (pos < 0 || pos >= GetEditDocument()->Length()) return;
    CColumnInput(*this).End(); // the word is selected as a range
    if (CMouseRules(m_model).DoubleClick(pos)) {
        PlaceCaret();
    }
    InvalidateLine(m_model.LineOf(pos));
    UpdateWindow();
}

BOOL CEditScrollView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT) {
    if (nHitTest == HTCLIENT && pWnd != nullptr && pWnd->m_hWnd == m_hWnd) {
        SetStandardCursor((LPCSTR)IDC_IBEAM);
        return TRUE;
    }
    return (BOOL)Default();
}

// Scrolls by the system's wheel setting per notch (a page when it says page scrolling), keeping the
// part of a high-resolution delta that does not make a whole line yet. As on Windows 10, the wheel
// scrolls the editor view under the pointer even when another one has the focus.
BOOL CEditScrollView::OnMouseWheel(UINT nFlags, short zDelta, CPoint point) {
    CWnd* under = CWnd::FromPointPermanent(point);
    if (under != this) {
        if (auto* view = dynamic_cast<CEditScrollView*>(under))
            return (BOOL)view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, (WORD)zDelta),
                                           MAKELPARAM(point.x, point.y));
    }
    UINT setting = GetWheelScrollLines();
    int page = std::max(m_metrics.Rows(), 1);
    int perNotch = setting == WHEEL_PAGESCROLL ? page : (int)std::min<UINT>(setting, 10000);
    if (perNotch == 0) return TRUE; // wheel scrolling switched off
    int lines = m_mouse.WheelLines(zDelta, perNotch);
    if (lines != 0) {
        m_scroller.ToFirstLine(m_model.First().line - lines);
        UpdateWindow();
    }
    return TRUE;
}
