// The coloured view's drawing: colouring the visible window on demand and drawing by colour runs.
#include "views/ColorEditView.h"

#include <algorithm>

#include "coloring/ColorArray.h"

IMPLEMENT_DYNCREATE(CColorEditView, CEditScrollView)

BEGIN_MESSAGE_MAP(CColorEditView, CEditScrollView)
END_MESSAGE_MAP()

// Colours exactly the lines that fit in the client area, from the first visible line on.
void CColorEditView::BeforeDrawLines() {
    if (!m_bRender) return;
    CColorEditDoc* doc = GetDocument();
    int count = doc->LineCount();
    if (count <= 0 || doc->Length() <= 0) return;
    int last = m_metrics.clientHeight / m_metrics.unit.cy + m_model.First().line;
    if (last > count - 1) last = count - 1;
    int start = doc->LineStart(m_model.First().line);
    int end = doc->LineStart(last) + m_model.LineLength(last);
    if (end > doc->Length() - 1) end = doc->Length() - 1;
    int visible = start;
    if (doc->HasOption(kOptionLongLines)) VisibleStretch(last, visible, end);
    doc->RenderWindow(start, end, visible);
    m_bRender = FALSE;
    m_drawn.Capture(doc, m_model.First().line, last, m_edits.Serial());
}

// With the long-line option, a long first line is coloured from its first visible byte and a long
// last line up to its last: the window scan then costs the visible stretch, not the lines' lengths.
void CColorEditView::VisibleStretch(int last, int& visible, int& end) {
    CRange range;
    if (m_model.LineLength(m_model.First().line) >= CLineColumns::kLongLine &&
        GetTextRange(m_model.First().line, m_metrics.leftMargin, m_metrics.clientWidth,
                     m_metrics.TextOrigin(m_model.First().column), range) >= 0)
        visible = range.first;
    if (m_model.LineLength(last) >= CLineColumns::kLongLine &&
        GetTextRange(last, m_metrics.leftMargin, m_metrics.clientWidth,
                     m_metrics.TextOrigin(m_model.First().column), range) >= 0)
        end = std::max(visible, std::min(end, range.last));
}

// The colours are the window's own (the scan starts at its first line), so an edit can recolour any
// line below it: the window is rendered for the edited text now and compared with the copy of the
// rendering its pixels were drawn from, taken for the text just before this edit.
bool CColorEditView::LinesBelowKeepColors(int line, int shift) {
    CWindowColors drawn = std::move(m_drawn);
    m_drawn.Clear();
    if (!drawn.Describes(m_model.First().line, m_edits.Serial() - 1)) return false;
    m_bRender = TRUE;
    BeforeDrawLines();
    return m_drawn.Describes(m_model.First().line, m_edits.Serial()) && m_drawn.SameFrom(drawn, line, shift);
}

int CColorEditView::ColoredTextOut(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line) {
    CColorTable table;
    GetDocument()->GetLineColorTable(line, first, table);
    if (table.GetColorCount() == 0) {
        if (m_model.Selection().start == m_model.Selection().end) return 1;
        return DrawEndOfLineCell(pDC, x, y, first, RunStyle(tabOrigin, line));
    }
    return DrawSelectedRuns(pDC, GetDocument()->GetString(first, last - first), x, y, first,
                            RunStyle(tabOrigin, line), &table);
}

CPoint CColorEditView::DrawTextA(CDC* pDC, CPoint point, int line, int selection) {
    CColorEditDoc* doc = GetDocument();
    int x = point.x;
    int length = doc->Length();
    for (int pos = doc->LineStart(line); pos < length; ++pos) {
        unsigned char b = (unsigned char)doc->GetAt(pos);
        if (b == '\n' || b == 0) break;
        COLORREF color = doc->GetColor(pos);
        bool selected = selection != 0 && m_model.Selection().start <= pos && pos < m_model.Selection().end;
        pDC->SetBkColor(selected ? 0x000000 : 0xFFFFFF);
        pDC->SetTextColor(selected ? color ^ 0xFFFFFF : color);
        if (b == '\t') {
            x = m_metrics.NextTabStop(x, 0);
        } else if ((b >= 0x20 && b < 0x7F) || b >= 0x80) {
            char c = (char)b;
            pDC->TextOut(x, point.y, &c, 1);
            x += m_metrics.unit.cx;
        }
    }
    return CPoint(x, point.y);
}
