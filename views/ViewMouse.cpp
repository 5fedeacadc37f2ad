// Mouse input in the editor views: placing the caret with a click, selecting by dragging (with
// auto-scroll while the pointer is outside the window), selecting a word with a double click, the
// I-beam cursor and the wheel.
#include <algorithm>
#include <cctype>

#include "views/EditScrollView.h"

namespace {
const UINT_PTR kAutoScrollTimer = 2;
const UINT kAutoScrollInterval = 175; // ms

// A double click selects a run of these bytes. Bytes with bit 7 set belong to two-byte characters,
// which are always part of a word whatever a wide-character class would make of the byte alone.
bool IsWordByte(char c) {
    unsigned char b = (unsigned char)c;
    return b >= 0x80 || (b != 0 && !std::isspace(b));
}
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
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr || doc->GetLength() <= 0) {
        Default();
        return;
    }
    int pos = SelectionPoint(point);
    m_sel.anchor = pos;
    m_nLastDrag = pos;
    // A second press at the same offset keeps whatever was selected since the first.
    if (pos != m_nLastClick) {
        bool hadSelection = !m_sel.IsEmpty();
        int oldFirst = LineOf(m_sel.start), oldLast = LineOf(m_sel.end);
        m_sel.CollapseAt(pos);
        RememberColumn();
        CPoint caret = GetCaretPos(m_nLeftMargin);
        if (caret != m_ptCaret) {
            m_ptCaret = caret;
            if (hadSelection) Invalidate(FALSE);
        } else if (hadSelection) {
            InvalidateLine(oldFirst, oldLast);
        }
        if (hadSelection) UpdateWindow();
        if (m_ptCaret.x > m_nLeftMargin) HideCaret();
        PlaceCaret();
        m_nLastClick = pos;
        m_nSearchOrigin = m_sel.caret;
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
    if (m_bButtonDown && GetEditDocument() != nullptr && GetEditDocument()->GetLength() > 0) DragTo(point);
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
    int pos = SelectionPoint(point);
    if (pos == m_nLastDrag) return;
    int lines[4] = {LineOf(pos), LineOf(m_sel.start), LineOf(m_sel.end), LineOf(m_nLastDrag)};
    m_sel.caret = pos;
    m_sel.FromAnchor();
    InvalidateLine(*std::min_element(lines, lines + 4), *std::max_element(lines, lines + 4));
    UpdateWindow();
    m_nLastDrag = pos;
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    m_nSearchOrigin = pos;
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
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr || doc->GetLength() <= 0 || IsInsideClient(m_ptLastMouse)) return;
    int pos = SelectionPoint(m_ptLastMouse);
    m_sel.caret = pos;
    if (pos > m_sel.start)
        m_sel.end = pos;
    else
        m_sel.start = pos;
    m_nLastDrag = pos;
    SetCurrentPosition(pos);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
}

void CEditScrollView::OnLButtonDblClk(UINT, CPoint point) {
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr) return;
    int pos = SelectionPoint(point), length = (int)doc->GetLength();
    if (pos < 0 || pos >= length) return;
    int start = 0, end = 0;
    if (WordBounds(pos, start, end)) {
        m_sel.Select(start, end);
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        PlaceCaret();
    }
    InvalidateLine(LineOf(pos));
    UpdateWindow();
    m_nSearchOrigin = m_sel.caret;
}

bool CEditScrollView::WordBounds(int pos, int& start, int& end) const {
    CEditDocument* doc = GetEditDocument();
    int length = (int)doc->GetLength();
    if (pos < 0 || pos >= length || !IsWordByte(doc->GetAt(pos))) return false;
    start = end = pos;
    while (start > 0 && IsWordByte(doc->GetAt(start - 1))) --start;
    // The terminator is no word byte, so the word never takes in the text's last byte.
    while (end < length - 1 && IsWordByte(doc->GetAt(end))) ++end;
    return true;
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
        ScrollToFirstLine(m_nFirstLine - lines);
        UpdateWindow();
    }
    return TRUE;
}
