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
    DestroyCaret();
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
    m_nFirstLine -= shift / lh;
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
        m_nFirstColumn += dx / cw;
        if (m_nLeftMargin + dx >= m_nClientWidth)
            RepaintForJump(textAreaOnly);
        else
            ScrollTextArea(-dx, 0);
        return -dx;
    }
    if (x < m_nLeftMargin) {
        int dx = m_nLeftMargin - x;
        m_nFirstColumn -= dx / cw;
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
    CPoint p = TextPositionToScreenCoord(m_sel.caret);
    int dy = ScrollRowsToShow(p.y, false), dx = ScrollColumnsToShow(p.x, false);
    m_ptCaret = CPoint(p.x + dx, p.y + dy);
    SetBarPosition(SB_HORZ, m_nFirstColumn);
    SetBarPosition(SB_VERT, m_nFirstLine);
    PlaceCaret();
    return dx != 0 || dy != 0;
}

int CEditScrollView::ScrollToSelection() {
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    CPoint p = TextPositionToScreenCoord(m_sel.end);
    int dy = ScrollRowsToShow(p.y, true), dx = ScrollColumnsToShow(p.x, true);
    m_ptCaret = TextPositionToScreenCoord(m_sel.caret);
    MoveSystemCaret();
    SetBarPosition(SB_HORZ, m_nFirstColumn);
    SetBarPosition(SB_VERT, m_nFirstLine);
    ShowCaretByPosition();
    return dx != 0 || dy != 0;
}

void CEditScrollView::ScrollToPosition(int row) {
    int lh = m_unit.cy;
    CPoint p = TextPositionToScreenCoord(m_sel.caret);
    int before = m_nFirstLine;
    m_nFirstLine += (p.y - row * lh) / lh;
    if (m_nFirstLine < 0) m_nFirstLine = 0;
    Invalidate(TRUE);
    m_ptCaret = CPoint(p.x + ScrollColumnsToShow(p.x, false), p.y - (m_nFirstLine - before) * lh);
    SetBarPosition(SB_HORZ, m_nFirstColumn);
    SetBarPosition(SB_VERT, m_nFirstLine);
    ShowCaretByPosition();
}

CPoint CEditScrollView::ScrollToCurrent(int setBars) {
    CPoint old = m_ptCaret;
    CPoint p = TextPositionToScreenCoord(m_sel.caret);
    m_ptCaret = p;
    int lh = m_unit.cy, cw = m_unit.cx, dy = 0;
    if (p.y + lh >= m_nClientHeight) {
        dy = p.y - old.y;
        m_nFirstLine += dy / lh;
        Invalidate(TRUE);
    } else if (p.y < 0) {
        int row = old.y / lh, line = (int)GetEditDocument()->OffsetToLine(m_sel.caret);
        int wanted = line < row ? old.y - (row - line) * lh : old.y;
        int d = wanted - p.y;
        m_nFirstLine -= d / lh;
        if (d >= m_nClientHeight)
            Invalidate(TRUE);
        else
            ScrollWindow(0, d);
        dy = -d;
    }
    if (p.x < m_nLeftMargin) {
        int dx = m_nLeftMargin - p.x;
        m_nFirstColumn -= dx / cw;
        if (dx < m_nClientWidth)
            ScrollTextArea(dx, 0);
        else
            Invalidate(TRUE);
        m_ptCaret.x += dx;
    } else if (p.x + cw >= m_nClientWidth) {
        int dx = p.x - old.x;
        m_nFirstColumn += dx / cw;
        if (m_nLeftMargin + dx < m_nClientWidth)
            ScrollTextArea(-dx, 0);
        else
            Invalidate(TRUE);
        m_ptCaret.x -= dx;
    }
    if (m_nFirstLine < 0) m_nFirstLine = 0;
    if (m_nFirstColumn < 0) m_nFirstColumn = 0;
    m_ptCaret.y -= dy;
    if (setBars != 0) {
        SetBarPosition(SB_HORZ, m_nFirstColumn);
        SetBarPosition(SB_VERT, m_nFirstLine);
    }
    PlaceCaret();
    InvalidateRect(&m_rectMargin, FALSE);
    return CPoint(m_nFirstColumn, m_nFirstLine);
}

void CEditScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    int cw = m_unit.cx, dx = 0;
    switch (nSBCode) {
    case SB_LINELEFT:
        if (m_nFirstColumn <= 0) break;
        --m_nFirstColumn;
        SetBarPosition(SB_HORZ, m_nFirstColumn);
        ScrollTextArea(cw, 0);
        dx = cw;
        break;
    case SB_LINERIGHT:
        if (m_nFirstColumn >= TextSize().cx) break;
        ++m_nFirstColumn;
        SetBarPosition(SB_HORZ, m_nFirstColumn);
        ScrollTextArea(-cw, 0);
        dx = -cw;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int pos = (int)nPos;
        if (pos == m_nFirstColumn) break;
        dx = -cw * (pos - m_nFirstColumn);
        if (m_nLeftMargin + (dx < 0 ? -dx : dx) < m_nClientWidth)
            ScrollTextArea(dx, 0);
        else {
            CRect area = TextArea();
            InvalidateRect(&area, TRUE);
        }
        m_nFirstColumn = pos;
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
    CEditDocument* doc = GetEditDocument();
    int lh = m_unit.cy, dy = 0;
    switch (nSBCode) {
    case SB_LINEUP:
        if (m_nFirstLine < 1) return;
        --m_nFirstLine;
        Invalidate(TRUE);
        dy = lh;
        break;
    case SB_LINEDOWN:
        if (m_nFirstLine >= GetScrollSize().cy) return;
        ++m_nFirstLine;
        Invalidate(TRUE);
        dy = -lh;
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        int line = (int)doc->OffsetToLine(m_sel.caret), page = m_nClientHeight / lh,
            last = (int)doc->GetLineCount() - 1;
        if (nSBCode == SB_PAGEUP ? line <= 0 : line >= last) return;
        int target = nSBCode == SB_PAGEUP ? std::max(line - page, 0) : std::min(line + page, last);
        m_sel.CollapseAt(VerticalTarget(target));
        ScrollToCurrent(0);
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        UpdateColors();
        UpdateWindow();
        break;
    }
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int pos = (int)nPos;
        if (pos == m_nFirstLine) return;
        dy = -lh * (pos - m_nFirstLine);
        if ((dy < 0 ? -dy : dy) < m_nClientHeight)
            Invalidate(TRUE);
        else {
            CRect area = TextArea();
            InvalidateRect(&area, TRUE);
        }
        m_nFirstLine = pos;
        break;
    }
    default:
        return;
    }
    m_ptCaret.y += dy;
    PlaceCaret();
    UpdateColors();
    SetBarPosition(SB_VERT, m_nFirstLine);
}

// Scrolls the window's pixels by whole lines when the jump is shorter than the window; the caret
// stays on its character.
void CEditScrollView::ScrollToFirstLine(int line) {
    line = std::clamp(line, 0, std::max((int)GetScrollSize().cy, 0));
    if (line == m_nFirstLine) return;
    int dy = (m_nFirstLine - line) * m_unit.cy;
    m_nFirstLine = line;
    if (std::abs(dy) < m_nClientHeight)
        ScrollWindow(0, dy);
    else
        Invalidate(FALSE);
    m_ptCaret.y += dy;
    PlaceCaret();
    UpdateColors();
    SetBarPosition(SB_VERT, m_nFirstLine);
}

// Offsets outside the text are clamped to it.
void CEditScrollView::SetSelection(int a, int b) {
    CEditDocument* doc = GetEditDocument();
    int oldStart = m_sel.start, oldEnd = m_sel.end;
    m_sel.Select(a, b);
    m_sel.Clamp((int)doc->GetLength());
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    MoveSystemCaret();
    if (oldStart != oldEnd && m_hWnd != nullptr) {
        InvalidateLine((int)doc->OffsetToLine(oldStart), (int)doc->OffsetToLine(oldEnd));
        UpdateWindow();
    }
}

// Offset 0 is accepted too, so a drag that reaches the text's start scrolls it into view.
void CEditScrollView::SetCurrentPosition(int pos) {
    if (pos < 0 || pos >= GetEditDocument()->GetLength()) return;
    m_sel.caret = pos;
    AutoScrollToCaret();
    UpdateColors();
}

// An offset that an edit left between the two bytes of a character moves behind the character: a run
// of bytes with bit 7 set pairs up from its start. Runs longer than a few pages are taken as they are.
int CEditScrollView::CharStartAt(int offset) const {
    CEditDocument* doc = GetEditDocument();
    if (!GbkCharacters() || offset <= 0 || offset >= doc->GetLength()) return offset;
    long line = doc->OffsetToLine(offset);
    int start = (int)doc->GetLineOffset(line);
    // With the long-line option the walk starts at the last character boundary its checkpoints know.
    if (doc->HasOption(kOptionLongLines))
        start =
            m_columns.Before(doc->GetText(), start, start + LineLength((int)line) - 1, offset).GbkBoundary();
    return gbk::CharStart(doc->GetText(), start, offset);
}

int CEditScrollView::OutsidePair(int offset) const {
    CEditDocument* doc = GetEditDocument();
    if (GbkCharacters()) {
        int start = CharStartAt(offset);
        return start == offset ? offset : std::min(start + 2, (int)doc->GetLength() - 1);
    }
    const int kLongestRun = 8192;
    int run = 0;
    while (run < kLongestRun && offset - run > 0 && (doc->GetAt(offset - run - 1) & 0x80) != 0) ++run;
    return run % 2 == 1 && run < kLongestRun && offset < doc->GetLength() - 1 ? offset + 1 : offset;
}

// Every edit of the document, made in this view, another one or by the undo manager, arrives here.
void CEditScrollView::OnTextChanged(int pos, int removed, int inserted) {
    int length = (int)GetEditDocument()->GetLength();
    m_sel.Follow(pos, removed, inserted, length);
    m_sel.anchor = OutsidePair(m_sel.anchor);
    m_nSearchOrigin = std::clamp(CTextSelection::FollowEdit(m_nSearchOrigin, pos, removed, inserted), 0,
                                 std::max(length - 1, 0));
    // The offsets a press compares against describe the text as it was.
    m_nLastClick = m_nLastDrag = kNoOffset;
    m_columns.Edited(pos, removed, inserted);
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
    m_edited.first = LineOf(pos);
    m_edited.last = LineOf(pos + inserted);
    m_edited.shift = lines - m_nKnownLines;
    m_edited.firstLine = m_nFirstLine;
    m_edited.firstColumn = m_nFirstColumn;
    m_nKnownLines = batching ? -1 : lines;
}

// The document replaced its whole text (a load or a reload): the caret stays where it was if the new
// text reaches there, else it goes to the text's end; the selection is dropped, as its bytes are gone.
void CEditScrollView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    int length = (int)GetEditDocument()->GetLength();
    m_sel.Clamp(length);
    m_sel.CollapseAt(OutsidePair(m_sel.caret));
    m_sel.anchor = m_sel.caret;
    m_nSearchOrigin = std::clamp(m_nSearchOrigin, 0, std::max(length - 1, 0));
    m_nLastClick = m_nLastDrag = kNoOffset;
    m_columns.Clear();
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
    CPoint p = TextPositionToScreenCoord(m_sel.caret);
    m_ptCaret = p;
    int oldLine = m_nFirstLine;
    if (p.y + lh >= m_nClientHeight) {
        m_nFirstLine += (p.y - (rows - 1) * lh) / lh;
        Invalidate(TRUE);
    } else if (p.y < 0) {
        m_nFirstLine -= (-p.y) / lh;
        Invalidate(TRUE);
    } else {
        Invalidate(TRUE);
        UpdateWindow();
    }
    m_ptCaret.y -= (m_nFirstLine - oldLine) * lh;
    m_ptCaret.x += ScrollColumnsToShow(p.x, false);
    if (m_nFirstColumn < 0) m_nFirstColumn = 0;
    SetBarPosition(SB_HORZ, m_nFirstColumn);
    SetBarPosition(SB_VERT, m_nFirstLine);
    if (m_ptCaret != before) PlaceCaret();
}
