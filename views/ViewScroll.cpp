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
    m_caret.Point() = GetCaretPos(m_metrics.leftMargin);
    m_arrow.Load(m_hWnd);
    // The MDI child's activation gives the view the focus before this: its caret was made one pixel
    // high, the line height of a view without a font.
    if (m_caret.HasFocus()) m_caret.Create(m_metrics.unit.cy, m_metrics.leftMargin);
}

void CEditScrollView::OnSize(UINT, int cx, int cy) {
    Default();
    if (m_bInitialised && (cx != m_metrics.clientWidth || cy != m_metrics.clientHeight)) {
        UpdateColors();
        CalcScrollSize();
        // The size can move the first line or column (the scroll limit), and the pixels the window
        // keeps are not always its own: a maximised MDI child brought forward grows from behind the
        // last one, and the system copies what stood there. All of it is painted anew.
        Invalidate(FALSE);
    }
    m_metrics.clientWidth = cx;
    m_metrics.clientHeight = cy;
}

void CEditScrollView::OnSetFocus(CWnd*) {
    Default();
    m_caret.Focus(m_metrics.unit.cy, m_metrics.leftMargin);
    // The status bar shows the position of the view that has the focus, not of the last one typed in.
    if (m_bInitialised && GetEditDocument() != nullptr) GetCaretPos(m_metrics.leftMargin);
    // A file changed on a share that gives no change notifications is seen when its view is used.
    if (GetEditDocument() != nullptr) GetEditDocument()->CheckDiskSoon();
}

void CEditScrollView::OnKillFocus(CWnd*) {
    Default();
    m_caret.Blur();
}

void CEditScrollView::ScrollWindow(int dx, int dy, LPCRECT scrollRect, LPCRECT clipRect) {
    CWnd::ScrollWindow(dx, dy, scrollRect, clipRect);
    m_caret.Forget();
}

void CEditScrollView::PlaceCaret() {
    m_caret.Point() = GetCaretPos(m_metrics.leftMargin);
    m_caret.Place(m_metrics.leftMargin);
}

int CEditScrollView::ScrollToCaret() {
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    int dy = m_scroller.RowsToShow(p.y, false), dx = m_scroller.ColumnsToShow(p.x, false);
    m_caret.Point() = CPoint(p.x + dx, p.y + dy);
    m_bars.SetPosition(SB_HORZ, m_model.First().column);
    m_bars.SetPosition(SB_VERT, m_model.First().line);
    m_caret.Place(m_metrics.leftMargin);
    return dx != 0 || dy != 0;
}

int CEditScrollView::ScrollToSelection() {
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    CPoint p = TextPositionToScreenCoord(m_model.Selection().end);
    int dy = m_scroller.RowsToShow(p.y, true), dx = m_scroller.ColumnsToShow(p.x, true);
    m_caret.Point() = TextPositionToScreenCoord(m_model.Selection().caret);
    m_caret.Move();
    m_bars.SetPosition(SB_HORZ, m_model.First().column);
    m_bars.SetPosition(SB_VERT, m_model.First().line);
    m_caret.ShowByPosition(m_metrics.leftMargin);
    return dx != 0 || dy != 0;
}

void CEditScrollView::ScrollToPosition(int row) {
    int lh = m_metrics.unit.cy;
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    int before = m_model.First().line;
    m_model.First().line += (p.y - row * lh) / lh;
    if (m_model.First().line < 0) m_model.First().line = 0;
    Invalidate(TRUE);
    m_caret.Point() =
        CPoint(p.x + m_scroller.ColumnsToShow(p.x, false), p.y - (m_model.First().line - before) * lh);
    m_bars.SetPosition(SB_HORZ, m_model.First().column);
    m_bars.SetPosition(SB_VERT, m_model.First().line);
    m_caret.ShowByPosition(m_metrics.leftMargin);
}

CPoint CEditScrollView::ScrollToCurrent(int setBars) {
    CPoint old = m_caret.Point();
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    m_caret.Point() = p;
    int lh = m_metrics.unit.cy, cw = m_metrics.unit.cx, dy = 0;
    if (p.y + lh >= m_metrics.clientHeight) {
        dy = p.y - old.y;
        m_model.First().line += dy / lh;
        Invalidate(TRUE);
    } else if (p.y < 0) {
        int row = old.y / lh, line = GetEditDocument()->LineOfOffset(m_model.Selection().caret);
        int wanted = line < row ? old.y - (row - line) * lh : old.y;
        int d = wanted - p.y;
        m_model.First().line -= d / lh;
        if (d >= m_metrics.clientHeight)
            Invalidate(TRUE);
        else
            ScrollWindow(0, d);
        dy = -d;
    }
    if (p.x < m_metrics.leftMargin) {
        int dx = m_metrics.leftMargin - p.x;
        m_model.First().column -= dx / cw;
        if (dx < m_metrics.clientWidth)
            m_scroller.MoveTextArea(dx, 0);
        else
            Invalidate(TRUE);
        m_caret.Point().x += dx;
    } else if (p.x + cw >= m_metrics.clientWidth) {
        int dx = p.x - old.x;
        m_model.First().column += dx / cw;
        if (m_metrics.leftMargin + dx < m_metrics.clientWidth)
            m_scroller.MoveTextArea(-dx, 0);
        else
            Invalidate(TRUE);
        m_caret.Point().x -= dx;
    }
    if (m_model.First().line < 0) m_model.First().line = 0;
    if (m_model.First().column < 0) m_model.First().column = 0;
    m_caret.Point().y -= dy;
    if (setBars != 0) {
        m_bars.SetPosition(SB_HORZ, m_model.First().column);
        m_bars.SetPosition(SB_VERT, m_model.First().line);
    }
    m_caret.Place(m_metrics.leftMargin);
    CRect margin = m_metrics.MarginArea();
    InvalidateRect(&margin, FALSE);
    return CPoint(m_model.First().column, m_model.First().line);
}

void CEditScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    int cw = m_metrics.unit.cx, dx = 0;
    switch (nSBCode) {
    case SB_LINELEFT:
        if (m_model.First().column <= 0) break;
        --m_model.First().column;
        m_bars.SetPosition(SB_HORZ, m_model.First().column);
        m_scroller.MoveTextArea(cw, 0);
        dx = cw;
        break;
    case SB_LINERIGHT:
        if (m_model.First().column >= GetEditDocument()->TextExtent().cx) break;
        ++m_model.First().column;
        m_bars.SetPosition(SB_HORZ, m_model.First().column);
        m_scroller.MoveTextArea(-cw, 0);
        dx = -cw;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int pos = (int)nPos;
        if (pos == m_model.First().column) break;
        dx = -cw * (pos - m_model.First().column);
        if (m_metrics.leftMargin + (dx < 0 ? -dx : dx) < m_metrics.clientWidth)
            m_scroller.MoveTextArea(dx, 0);
        else {
            CRect area = m_metrics.TextArea();
            InvalidateRect(&area, TRUE);
        }
        m_model.First().column = pos;
        m_bars.SetPosition(SB_HORZ, pos);
        break;
    }
    default:
        return;
    }
    m_caret.Point().x += dx;
    m_caret.Place(m_metrics.leftMargin);
    Default();
}

void CEditScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    int lh = m_metrics.unit.cy, dy = 0;
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
        if (!CKeyRules(m_model).PageCaret(nSBCode == SB_PAGEDOWN, m_metrics.Rows())) return;
        ScrollToCurrent(0);
        m_caret.Point() = GetCaretPos(m_metrics.leftMargin);
        UpdateColors();
        UpdateWindow();
        break;
    }
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        int pos = (int)nPos;
        if (pos == m_model.First().line) return;
        dy = -lh * (pos - m_model.First().line);
        if ((dy < 0 ? -dy : dy) < m_metrics.clientHeight)
            Invalidate(TRUE);
        else {
            CRect area = m_metrics.TextArea();
            InvalidateRect(&area, TRUE);
        }
        m_model.First().line = pos;
        break;
    }
    default:
        return;
    }
    m_caret.Point().y += dy;
    m_caret.Place(m_metrics.leftMargin);
    UpdateColors();
    m_bars.SetPosition(SB_VERT, m_model.First().line);
}

// Offsets outside the text are clamped to it.
void CEditScrollView::SetSelection(int a, int b) {
    CEditDocument* doc = GetEditDocument();
    int oldStart = m_model.Selection().start, oldEnd = m_model.Selection().end;
    m_model.SetSelection(a, b);
    m_caret.Point() = GetCaretPos(m_metrics.leftMargin);
    m_caret.Move();
    if (oldStart != oldEnd && m_hWnd != nullptr) {
        InvalidateLine(doc->LineOfOffset(oldStart), doc->LineOfOffset(oldEnd));
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
    CEditDocument* doc = GetEditDocument();
    m_edits.Note(m_model.LineOf(pos), m_model.LineOf(pos + inserted), doc->LineCount(), doc->IsBatching(),
                 m_model.First());
    if (doc->IsBatching()) return; // OnBatchEnd lays out once for the whole batch
    RecalSize();
    CalcScrollSize();
    UpdateColors();
}

// The document replaced its whole text (a load or a reload): the caret stays where it was if the new
// text reaches there, else it goes to the text's end; the selection is dropped, as its bytes are gone.
void CEditScrollView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    m_model.TextReplaced();
    m_edits.Reset(GetEditDocument()->LineCount(), true);
    if (m_bInitialised) {
        RecalSize();
        CalcScrollSize();
        UpdateColors();
    }
    CView::OnUpdate(pSender, lHint, pHint);
}

CEditViewLink::CPlace CEditScrollView::Place() const {
    CPlace place;
    place.caretLine = m_model.CaretLine();
    place.caretOffset = m_model.Caret() - GetEditDocument()->LineStart(place.caretLine);
    place.firstLine = m_model.First().line;
    return place;
}

// The caret keeps its offset in the line where the line is long enough, else it ends the line.
void CEditScrollView::SetPlace(const CPlace& place) {
    CEditDocument* doc = GetEditDocument();
    int line = std::clamp(place.caretLine, 0, std::max(doc->LineCount() - 1, 0));
    int last = std::max(m_model.LineLength(line) - 1, 0);
    int caret = m_model.OutsidePair(doc->LineStart(line) + std::clamp(place.caretOffset, 0, last));
    m_model.SetSelection(caret, caret);
    m_model.First().line = std::max(place.firstLine, 0);
    if (!m_bInitialised) return;
    CalcScrollSize();
    m_bars.SetPosition(SB_VERT, m_model.First().line);
    PlaceCaret();
    Invalidate(FALSE);
}

// The document has already brought its line figures up to date.
void CEditScrollView::OnBatchEnd() {
    m_edits.Reset(GetEditDocument()->LineCount(), false); // the window is repainted for the batch
    CalcScrollSize();
    UpdateColors();
    if (m_hWnd != nullptr) Invalidate(FALSE);
}

void CEditScrollView::AutoScrollToCaret() {
    if (m_hWnd == nullptr) return;
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    int lh = m_metrics.unit.cy, rows = m_metrics.clientHeight / lh;
    CPoint before = m_caret.Point();
    CPoint p = TextPositionToScreenCoord(m_model.Selection().caret);
    m_caret.Point() = p;
    int oldLine = m_model.First().line;
    if (p.y + lh >= m_metrics.clientHeight) {
        m_model.First().line += (p.y - (rows - 1) * lh) / lh;
        Invalidate(TRUE);
    } else if (p.y < 0) {
        m_model.First().line -= (-p.y) / lh;
        Invalidate(TRUE);
    } else {
        Invalidate(TRUE);
        UpdateWindow();
    }
    m_caret.Point().y -= (m_model.First().line - oldLine) * lh;
    m_caret.Point().x += m_scroller.ColumnsToShow(p.x, false);
    if (m_model.First().column < 0) m_model.First().column = 0;
    m_bars.SetPosition(SB_HORZ, m_model.First().column);
    m_bars.SetPosition(SB_VERT, m_model.First().line);
    if (m_caret.Point() != before) m_caret.Place(m_metrics.leftMargin);
}
