// Painting the editor views: the off-screen picture of the clip box, the visible stretches of the
// visible lines, the selection in inverse video, the grey margin with the title arrow, and the
// repaint after an edit.
#include <algorithm>

#include "views/EditScrollView.h"
#include "views/GridText.h"
#include "views/PaintSurface.h"
#include "views/model/ColumnBlock.h"

void CEditScrollView::OnDraw(CDC* pDC) {
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr) return;
    if (pDC->IsPrinting()) {
        m_print.Draw(pDC, *doc, m_font,
                     RunStyle(TabOriginLeftOf(m_metrics.leftMargin, m_metrics.tabWidth), -1).grid,
                     m_metrics.leftMargin, m_metrics.unit.cy);
        return;
    }
    CRect clip;
    pDC->GetClipBox(&clip);
    if (clip.IsRectEmpty()) {
        if (m_twin.paintsEmptyClipBox) BeforeDrawLines();
        return;
    }
    CDC* memory = CPaintSurface::Shared().Prepare(pDC, clip);
    if (memory == nullptr) {
        // Out of graphics memory: draw straight to the window rather than not at all.
        pDC->FillStockRect(&clip, WHITE_BRUSH);
        CScopedSelection font(*pDC, m_font);
        if (doc->Length() > 1) DrawRectText(pDC, clip);
        DrawArrow(pDC, clip);
        return;
    }
    {
        CScopedSelection font(*memory, m_font);
        if (doc->Length() > 1) DrawRectText(memory, clip);
        DrawArrow(memory, clip);
    }
    pDC->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), memory, clip.left, clip.top, SRCCOPY);
}

void CEditScrollView::DrawRectText(CDC* pDC, const CRect& rect) {
    CEditDocument* doc = GetEditDocument();
    int count = doc->LineCount();
    CSize size = GetEditDocument()->TextExtent();
    if (m_model.First().line > size.cy) m_model.First().line = size.cy;
    if (m_model.First().column > size.cx) m_model.First().column = size.cx;
    auto clampLine = [count](int line) { return line >= count ? count - 1 : (line < 0 ? 0 : line); };
    int top = clampLine(rect.top / m_metrics.unit.cy + m_model.First().line);
    int bottom = clampLine(rect.bottom / m_metrics.unit.cy + m_model.First().line);
    BeforeDrawLines();
    int x0 = m_metrics.TextOrigin(m_model.First().column);
    int tabOrigin = TabOriginLeftOf(x0, m_metrics.tabWidth);
    // The range's scans take a byte for a cell wide and count the right-hand tab stops from the
    // client's edge, not from x0: drawn from a tab and a cell before the rectangle to a tab and a cell
    // past it, every byte whose cell or glyph reaches into the rectangle is drawn as a full repaint
    // draws it.
    int margin = m_metrics.tabWidth + m_metrics.unit.cx, left = rect.left - margin,
        right = rect.right + margin;
    for (int line = top; line <= bottom && line < count; ++line) {
        CRange range;
        int x = GetTextRange(line, left, right, x0, range);
        if (x >= 0)
            DrawTextRun(pDC, x, (line - m_model.First().line) * m_metrics.unit.cy, range.first, range.last,
                        tabOrigin, line);
    }
}

CRunStyle CEditScrollView::RunStyle(int tabOrigin, int line) const {
    const CTextSelection& sel = m_model.Selection();
    CGridText::Grid grid{(int)m_metrics.unit.cx, m_metrics.tabWidth, tabOrigin, m_model.GbkCharacters()};
    CLineSpan span{false, sel.start, sel.end};
    if (sel.block.active) span = CColumnSpans(m_model).Span(line);
    return CRunStyle{grid, span.first, span.last, (int)m_metrics.unit.cy};
}

void CEditScrollView::DrawArrow(CDC* pDC, const CRect& rect) {
    if (rect.left >= m_metrics.leftMargin) return;
    int y = (m_arrow.TitleLine() - m_model.First().line) * m_metrics.unit.cy;
    m_arrow.Draw(pDC, m_metrics.MarginArea(), y, m_metrics.unit.cy, rect.bottom);
}

// The mask has 0 where the arrow shows its top-left (transparent) colour and 1 elsewhere.

void CEditScrollView::InvalidateLine(int line) {
    InvalidateLine(line, line);
}

void CEditScrollView::InvalidateLine(int first, int last) {
    CRect rect(m_metrics.leftMargin, (first - m_model.First().line) * m_metrics.unit.cy,
               m_metrics.clientWidth, (last - m_model.First().line + 1) * m_metrics.unit.cy);
    InvalidateRect(&rect, FALSE);
}

void CEditScrollView::RedrawRect(CRect& rect) {
    if (m_hWnd == nullptr || rect.IsRectEmpty()) return;
    CClientDC window(m_hWnd);
    CDC* memory = CPaintSurface::Shared().Prepare(&window, rect);
    if (memory == nullptr) return;
    {
        CScopedSelection font(*memory, m_font);
        CPoint caret = GetCaretPos(m_metrics.leftMargin);
        if (caret != m_caret.Point()) {
            m_caret.Point() = caret;
            m_caret.Place(m_metrics.leftMargin);
        }
        CRect text = rect;
        if (text.left < m_metrics.leftMargin) text.left = m_metrics.leftMargin;
        DrawRectText(memory, text);
    }
    window.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), memory, rect.left, rect.top, SRCCOPY);
}
