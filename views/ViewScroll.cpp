// Keeping an editor view's window onto the text in step with the caret and the scroll bars: start-up,
// size changes, focus and caret, the scroll-bar messages and the scroll-to operations.
#include <algorithm>
#include <cstdlib>

#include "views/EditScrollView.h"

#include "text/CharBoundaries.h"

void CEditScrollView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    m_bInitialised = TRUE;
    InitFont();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    LoadArrow();
    m_rectMargin = CRect(0, 0, m_nLeftMargin, m_nClientHeight);
    // The MDI child's activation gives the view the focus before this: its caret was made one pixel
    // high, the line height of a view without a font.
    if (m_bFocus) NewCaret();
}

void CEditScrollView::NewCaret() {
    CreateSolidCaret(2, m_unit.cy);
    m_bCaretShown = FALSE;       // a new caret is hidden
    m_bSystemCaretKnown = false; // and starts at the client's origin
    MoveSystemCaret();
    ShowCaretByPosition();
}

void CEditScrollView::OnSize(UINT, int cx, int cy) {
    Default();
    if (m_bInitialised && (cx != m_nClientWidth || cy != m_nClientHeight)) {
        UpdateColors();
        CalcScrollSize();
        // The size can move the first line or column (the scroll limit), and the pixels the window
        // keeps are not always its own: a maximised MDI child brought forward grows from behind the
        // last one, and the system copies what stood there. All of it is painted anew.
        Invalidate(FALSE);
    }
    m_nClientWidth = cx;
    m_nClientHeight = cy;
    m_rectMargin = CRect(0, 0, m_nLeftMargin, cy);
}

void CEditScrollView::OnSetFocus(CWnd*) {
    Default();
    m_bFocus = TRUE;
    NewCaret();
    // The status bar shows the position of the view that has the focus, not of the last one typed in.
    if (m_bInitialised && GetEditDocument() != nullptr) GetCaretPos(m_nLeftMargin);
}

void CEditScrollView::OnKillFocus(CWnd*) {
    Default();
    HideCaret();
    m_bFocus = FALSE;
    ::DestroyCaret();
}

void CEditScrollView::ShowCaret() {
    if (m_bCaretShown || !m_bFocus) return;
    CWnd::ShowCaret();
    m_bCaretShown = TRUE;
}

void CEditScrollView::HideCaret() {
    if (!m_bCaretShown || !m_bFocus) return;
    CWnd::HideCaret();
    m_bCaretShown = FALSE;
}

// The caret is hidden while it stands in the margin.
void CEditScrollView::ShowCaretByPosition() {
    if (m_ptCaret.x < m_nLeftMargin)
        HideCaret();
    else
        ShowCaret();
}

void CEditScrollView::MoveSystemCaret() {
    if (!m_bFocus || (m_bSystemCaretKnown && m_ptSystemCaret == m_ptCaret)) return;
    SetCaretPos(m_ptCaret);
    m_ptSystemCaret = m_ptCaret;
    m_bSystemCaretKnown = true;
}

void CEditScrollView::ScrollWindow(int dx, int dy, LPCRECT scrollRect, LPCRECT clipRect) {
    CWnd::ScrollWindow(dx, dy, scrollRect, clipRect);
    m_bSystemCaretKnown = false;
}

void CEditScrollView::PlaceCaret() {
    MoveSystemCaret();
    ShowCaretByPosition();
}

// Moves the text area's pixels; the uncovered strip is repainted through OnDraw.
void CEditScrollView::ScrollTextArea(int dx, int dy) {
    CRect area = TextArea();
    ScrollWindow(dx, dy, &area, &area);
}

// A jump too long to scroll: the client area is repainted, or, for the selection scrolls, the text
// area at once.
void CEditScrollView::RepaintForJump(bool textAreaOnly) {
    if (!textAreaOnly) {
        Invalidate(TRUE);
        return;
    }
    CRect area = TextArea();
    InvalidateRect(&area, TRUE);
    UpdateWindow();
}

int CEditScrollView::ScrollRowsToShow(int y, bool textAreaOnly) {
    int lh = m_unit.cy, lastRow = (m_nClientHeight / lh - 1) * lh;
    bool below = y + lh >= m_nClientHeight;
    if (!below && y >= 0) return 0;
    // The pixels the text moves: up to make the row the last whole one, down to make it the first.
    int shift = below ? lastRow - y : -y;
    m_model.First().line -= shift / lh;
    if (std::abs(shift) >= m_nClientHeight)
        RepaintForJump(textAreaOnly);
    else if (textAreaOnly)
        ScrollTextArea(0, shift);
    else
        ScrollWindow(0, shift);
    return shift;
}

// A scroll to the right overshoots the cell by the horizontal scroll step.
int CEditScrollView::ScrollColumnsToShow(int x, bool textAreaOnly) {
    int cw = m_unit.cx, lastColumn = (m_nClientWidth / cw - 1) * cw;
    if (x >= m_nLeftMargin && x + cw >= m_nClientWidth) {
        int dx = m_nHScrollStep * cw - lastColumn + x;
        m_model.First().column += dx / cw;
        if (m_nLeftMargin + dx >= m_nClientWidth)
            RepaintForJump(textAreaOnly);
        else
            ScrollTextArea(-dx, 0);
        return -dx;
    }
    if (x < m_nLeftMargin) {
        int dx = m_nLeftMargin - x;
        m_model.First().column -= dx / cw;
        if (dx >= m_nClientWidth)
            RepaintForJump(textAreaOnly);
        else
            ScrollTextArea(dx, 0);
        return dx;
    }
    return 0;
}

int CEditScrollView::ScrollToCaret() {
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    int dy = ScrollRowsToShow(p.y, false), dx = ScrollColumnsToShow(p.x, false);
    m_ptCaret = CPoint(p.x + dx, p.y + dy);
    SetBarPosition(SB_HORZ, m_model.First().column);
    SetBarPosition(SB_VERT, m_model.First().line);
    PlaceCaret();
    return dx != 0 || dy != 0;
}

int CEditScrollView::ScrollToSelection() {
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    CPoint p = TextPositionToScreenCoord(m_model.Selection().end);
    int dy = ScrollRowsToShow(p.y, true), dx = ScrollColumnsToShow(p.x, true);
    m_ptCaret = TextPositionToScreenCoord(m_model.Selection().caret);
    MoveSystemCaret();
    SetBarPosition(SB_HORZ, m_model.First().column);
    SetBarPosition(SB_VERT, m_model.First().line);
    ShowCaretByPosition();
    return dx != 0 || dy != 0;
}

void CEditScrollView::ScrollToPosition(int row) {
    int lh = m_unit.cy;
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    int before = m_model.First().line;
    m_model.First().line += (p.y - row * lh) / lh;
    if (m_model.First().line < 0) m_model.First().line = 0;
    Invalidate(TRUE);
    m_ptCaret = CPoint(p.x + ScrollColumnsToShow(p.x, false), p.y - (m_model.First().line - before) * lh);
    SetBarPosition(SB_HORZ, m_model.First().column);
    SetBarPosition(SB_VERT, m_model.First().line);
    ShowCaretByPosition();
}

CPoint CEditScrollView::ScrollToCurrent(int setBars) {
    CPoint old = m_ptCaret;
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    m_ptCaret = p;
    int lh = m_unit.cy, cw = m_unit.cx, dy = 0;
    if (p.y + lh >= m_nClientHeight) {
        dy = p.y - old.y;
        m_model.First().line += dy / lh;
        Invalidate(TRUE);
    } else if (p.y < 0) {
        int row = old.y / lh, line = (int)GetEditDocument()->OffsetToLine(m_model.Selection().caret);
        int wanted = line < row ? old.y - (row - line) * lh : old.y;
        int d = wanted - p.y;
        m_model.First().line -= d / lh;
        if (d >= m_nClientHeight)
            Invalidate(TRUE);
        else
            ScrollWindow(0, d);
        dy = -d;
    }
    if (p.x < m_nLeftMargin) {
        int dx = m_nLeftMargin - p.x;
        m_model.First().column -= dx / cw;
        if (dx < m_nClientWidth)
            ScrollTextArea(dx, 0);
        else
            Invalidate(TRUE);
        m_ptCaret.x += dx;
    } else if (p.x + cw >= m_nClientWidth) {
        int dx = p.x - old.x;
        m_model.First().column += dx / cw;
        if (m_nLeftMargin + dx < m_nClientWidth)
            ScrollTextArea(-dx, 0);
        else
            Invalidate(TRUE);
        m_ptCaret.x -= dx;
    }
    if (m_model.First().line < 0) m_model.First().line = 0;
    if (m_model.First().column < 0) m_model.First().column = 0;
    m_ptCaret.y -= dy;
    if (setBars != 0) {
        SetBarPosition(SB_HORZ, m_model.First().column);
        SetBarPosition(SB_VERT, m_model.First().line);
    }
    PlaceCaret();
    InvalidateRect(&m_rectMargin, FALSE);
    return CPoint(m_model.First().column, m_model.First().line);
}

void CEditScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    int cw = m_unit.cx, dx = 0;
    switch (nSBCode) {
    case SB_LINELEFT:
        if (m_model.First().column <= 0) break;
        --m_model.First().column;
        SetBarPosition(SB_HORZ, m_model.First().column);
        ScrollTextArea(cw, 0);
        dx = cw;
        break;
    case SB_LINERIGHT:
        if (m_model.First().column >= TextSize().cx) break;
        ++m_model.First().column;
        SetBarPosition(SB_HORZ, m_model.First().column);
        ScrollTextArea(-cw, 0);
        dx = -cw;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int pos = (int)nPos;
        if (pos == m_model.First().column) break;
        dx = -cw * (pos - m_model.First().column);
        if (m_nLeftMargin + (dx < 0 ? -dx : dx) < m_nClientWidth)
            ScrollTextArea(dx, 0);
        else {
            CRect area = TextArea();
            InvalidateRect(&area, TRUE);
        }
        m_model.First().column = pos;
        SetBarPosition(SB_HORZ, pos);
        break;
    }
    default:
        return;
    }
    m_ptCaret.x += dx;
    PlaceCaret();
    Default();
}

void CEditScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    int lh = m_unit.cy, dy = 0;
    switch (nSBCode) {
    case SB_LINEUP:
        if (m_model.First().line < 1) return;
        --m_model.First().line;
        Invalidate(TRUE);
        dy = lh;
        break;
    case SB_LINEDOWN:
        if (m_model.First().line >= GetScrollSize().cy) return;
        ++m_model.First().line;
        Invalidate(TRUE);
        dy = -lh;
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        if (!m_model.PageCaret(nSBCode == SB_PAGEDOWN, m_nClientHeight / lh)) return;
        ScrollToCurrent(0);
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        UpdateColors();
        UpdateWindow();
        break;
    }
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int pos = (int)nPos;
        if (pos == m_model.First().line) return;
        dy = -lh * (pos - m_model.First().line);
        if ((dy < 0 ? -dy : dy) < m_nClientHeight)
            Invalidate(TRUE);
        else {
            CRect area = TextArea();
            InvalidateRect(&area, TRUE);
        }
        m_model.First().line = pos;
        break;
    }
    default:
        return;
    }
    m_ptCaret.y += dy;
    PlaceCaret();
    UpdateColors();
    SetBarPosition(SB_VERT, m_model.First().line);
}

// Scrolls the window's pixels by whole lines when the jump is shorter than the window; the caret
// stays on its character.
void CEditScrollView::ScrollToFirstLine(int line) {
    line = std::clamp(line, 0, std::max((int)GetScrollSize().cy, 0));
    if (line == m_model.First().line) return;
    int dy = (m_model.First().line - line) * m_unit.cy;
    m_model.First().line = line;
    if (std::abs(dy) < m_nClientHeight)
        ScrollWindow(0, dy);
    else
        Invalidate(FALSE);
    m_ptCaret.y += dy;
    PlaceCaret();
    UpdateColors();
    SetBarPosition(SB_VERT, m_model.First().line);
}

// Offsets outside the text are clamped to it.
void CEditScrollView::SetSelection(int a, int b) {
    CEditDocument* doc = GetEditDocument();
    int oldStart = m_model.Selection().start, oldEnd = m_model.Selection().end;
    m_model.SetSelection(a, b);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    MoveSystemCaret();
    if (oldStart != oldEnd && m_hWnd != nullptr) {
        InvalidateLine((int)doc->OffsetToLine(oldStart), (int)doc->OffsetToLine(oldEnd));
        UpdateWindow();
    }
}

// Offset 0 is accepted too, so a drag that reaches the text's start scrolls it into view.
void CEditScrollView::SetCurrentPosition(int pos) {
    if (!m_model.SetCaret(pos)) return;
    AutoScrollToCaret();
    UpdateColors();
}

// Every edit of the document, made in this view, another one or by the undo manager, arrives here.
void CEditScrollView::OnTextChanged(int pos, int removed, int inserted) {
    m_model.TextChanged(pos, removed, inserted);
    NoteEdit(pos, inserted);
    if (GetEditDocument()->IsBatching()) return; // OnBatchEnd lays out once for the whole batch
    RecalSize(0);
    CalcScrollSize();
    UpdateColors();
}

void CEditScrollView::NoteEdit(int pos, int inserted) {
    CEditDocument* doc = GetEditDocument();
    bool batching = doc->IsBatching();
    int lines = (int)doc->GetLineCount();
    ++m_nEditSerial;
    m_edited.edits++;
    m_edited.known = !batching && m_nKnownLines >= 0;
    m_edited.first = m_model.LineOf(pos);
    m_edited.last = m_model.LineOf(pos + inserted);
    m_edited.shift = lines - m_nKnownLines;
    m_edited.firstLine = m_model.First().line;
    m_edited.firstColumn = m_model.First().column;
    m_nKnownLines = batching ? -1 : lines;
}

// The document replaced its whole text (a load or a reload): the caret stays where it was if the new
// text reaches there, else it goes to the text's end; the selection is dropped, as its bytes are gone.
void CEditScrollView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    m_model.TextReplaced();
    ++m_nEditSerial;
    m_edited = CEditedLines();
    m_nKnownLines = (int)GetEditDocument()->GetLineCount();
    if (m_bInitialised) {
        RecalSize(0);
        CalcScrollSize();
        UpdateColors();
    }
    CView::OnUpdate(pSender, lHint, pHint);
}

// The document has already brought its line figures up to date.
void CEditScrollView::OnBatchEnd() {
    m_nKnownLines = (int)GetEditDocument()->GetLineCount();
    m_edited = CEditedLines(); // the whole window is repainted for the batch's edits
    CalcScrollSize();
    UpdateColors();
    if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CEditScrollView::AutoScrollToCaret() {
    if (m_hWnd == nullptr) return;
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    int lh = m_unit.cy, rows = m_nClientHeight / lh;
    CPoint before = m_ptCaret;
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    m_ptCaret = p;
    int oldLine = m_model.First().line;
    if (p.y + lh >= m_nClientHeight) {
        m_model.First().line += (p.y - (rows - 1) * lh) / lh;
        Invalidate(TRUE);
    } else if (p.y < 0) {
        m_model.First().line -= (-p.y) / lh;
        Invalidate(TRUE);
    } else {
        Invalidate(TRUE);
        UpdateWindow();
    }
    m_ptCaret.y -= (m_model.First().line - oldLine) * lh;
    m_ptCaret.x += ScrollColumnsToShow(p.x, false);
    if (m_model.First().column < 0) m_model.First().column = 0;
    SetBarPosition(SB_HORZ, m_model.First().column);
    SetBarPosition(SB_VERT, m_model.First().line);
    if (m_ptCaret != before) PlaceCaret();
}
