// The pixel moves behind the editor view's scrolls.
#include "views/ViewScroller.h"

#include <algorithm>
#include <cstdlib>

#include "views/EditScrollView.h"

void CViewScroller::MoveTextArea(int dx, int dy) {
    CRect area = m_view.m_metrics.TextArea();
    m_view.ScrollWindow(dx, dy, &area, &area);
}

void CViewScroller::RepaintForJump(bool textAreaOnly) {
    if (!textAreaOnly) {
        m_view.Invalidate(TRUE);
        return;
    }
    CRect area = m_view.m_metrics.TextArea();
    m_view.InvalidateRect(&area, TRUE);
    m_view.UpdateWindow();
}

int CViewScroller::RowsToShow(int y, bool textAreaOnly) {
    const CViewMetrics& metrics = m_view.m_metrics;
    int& first = m_view.m_model.First().line;
    int wanted = FirstLineShowing(m_view.m_model.First(), first + y / metrics.unit.cy, metrics.Grid());
    int shift = (first - wanted) * metrics.unit.cy;
    if (shift == 0) return 0;
    first = wanted;
    if (std::abs(shift) >= metrics.clientHeight)
        RepaintForJump(textAreaOnly);
    else if (textAreaOnly)
        MoveTextArea(0, shift);
    else
        m_view.ScrollWindow(0, shift);
    return shift;
}

int CViewScroller::ColumnsToShow(int x, bool textAreaOnly) {
    const CViewMetrics& metrics = m_view.m_metrics;
    int& first = m_view.m_model.First().column;
    int cells = first + (x - metrics.leftMargin) / metrics.unit.cx;
    int dx = (first - FirstColumnShowing(m_view.m_model.First(), cells, metrics.Grid())) * metrics.unit.cx;
    if (dx == 0) return 0;
    first -= dx / metrics.unit.cx;
    bool jump = dx < 0 ? metrics.leftMargin - dx >= metrics.clientWidth : dx >= metrics.clientWidth;
    if (jump)
        RepaintForJump(textAreaOnly);
    else
        MoveTextArea(dx, 0);
    return dx;
}

void CViewScroller::ToFirstLine(int line) {
    CFirstVisible& first = m_view.m_model.First();
    line = std::clamp(line, 0, std::max((int)m_view.GetScrollSize().cy, 0));
    if (line == first.line) return;
    int dy = (first.line - line) * m_view.m_metrics.unit.cy;
    first.line = line;
    if (std::abs(dy) < m_view.m_metrics.clientHeight)
        m_view.ScrollWindow(0, dy);
    else
        m_view.Invalidate(FALSE);
    m_view.m_caret.Point().y += dy;
    m_view.m_caret.Place(m_view.m_metrics.leftMargin);
    m_view.UpdateColors();
    m_view.m_bars.SetPosition(SB_VERT, first.line);
}

void CViewScroller::RepaintEdit() {
    if (!m_view.m_edits.Pending()) return; // the edits have been repainted for already
    bool scrolled = MoveLinesBelowEdit();
    m_view.m_edits.Repainted();
    if (!scrolled) m_view.Invalidate(FALSE);
}

bool CViewScroller::MoveLinesBelowEdit() {
    const CEditedLines::CEdit* single = m_view.m_edits.Single();
    if (m_view.m_hWnd == nullptr || single == nullptr) return false;
    const CEditedLines::CEdit& edit = *single;
    if (edit.shift == 0) {
        m_view.InvalidateLine(edit.first, edit.last);
        return true;
    }
    const CFirstVisible& first = m_view.m_model.First();
    const CViewMetrics& metrics = m_view.m_metrics;
    if (edit.scrolledTo.line != first.line || edit.scrolledTo.column != first.column) return false;
    int rows = metrics.clientHeight / metrics.unit.cy + 1;
    if (edit.first < first.line || edit.first - first.line >= rows) return false;
    if (m_view.GetUpdateRect(nullptr, FALSE) || !m_view.LinesBelowKeepColors(edit.last + 1, edit.shift))
        return false;
    int below = edit.last + 1 - edit.shift; // the first unchanged line, as numbered before the edit
    CRect moved = metrics.TextArea(), clip = metrics.TextArea();
    moved.top = (below - first.line) * metrics.unit.cy;
    clip.top = (std::min(below, edit.last + 1) - first.line) * metrics.unit.cy;
    if (moved.top < moved.bottom) m_view.ScrollWindow(0, edit.shift * metrics.unit.cy, &moved, &clip);
    m_view.InvalidateLine(edit.first, edit.last);
    return true;
}
