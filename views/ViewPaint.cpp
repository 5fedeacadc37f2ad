// Painting the editor views: the off-screen picture of the clip box, the visible stretches of the
// visible lines, the selection in inverse video, the grey margin with the title arrow, and the
// repaint after an edit.
#include <algorithm>

#include "coloring/ColorArray.h"
#include "views/EditScrollView.h"
#include "views/GridText.h"
#include "views/PaintSurface.h"

namespace {
const COLORREF kMarginColor = 0xE1E1E1;
const COLORREF kBlack = 0x000000;
const COLORREF kWhite = 0xFFFFFF;
const UINT kArrowBitmap = 182;
const DWORD kAndNotSource = 0x00220326; // destination AND NOT source
} // namespace

void CEditScrollView::OnDraw(CDC* pDC) {
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr) return;
    if (pDC->IsPrinting()) {
        m_print.Draw(pDC, *doc, m_font, PaintGrid(TabOriginLeftOf(m_nLeftMargin, m_nTabWidth)), m_nLeftMargin,
                     m_unit.cy);
        return;
    }
    CRect clip;
    pDC->GetClipBox(&clip);
    if (clip.IsRectEmpty()) {
        if (PaintsEmptyClipBox()) BeforeDrawLines();
        return;
    }
    CDC* memory = CPaintSurface::Shared().Prepare(pDC, clip);
    if (memory == nullptr) {
        // Out of graphics memory: draw straight to the window rather than not at all.
        pDC->FillStockRect(&clip, WHITE_BRUSH);
        CScopedSelection font(*pDC, m_font);
        if (doc->GetLength() > 1) DrawRectText(pDC, clip);
        DrawArrow(pDC, clip);
        return;
    }
    {
        CScopedSelection font(*memory, m_font);
        if (doc->GetLength() > 1) DrawRectText(memory, clip);
        DrawArrow(memory, clip);
    }
    pDC->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), memory, clip.left, clip.top, SRCCOPY);
}

void CEditScrollView::DrawRectText(CDC* pDC, const CRect& rect) {
    CEditDocument* doc = GetEditDocument();
    int count = (int)doc->GetLineCount();
    CSize size = TextSize();
    if (m_nFirstLine > size.cy) m_nFirstLine = size.cy;
    if (m_nFirstColumn > size.cx) m_nFirstColumn = size.cx;
    auto clampLine = [count](int line) { return line >= count ? count - 1 : (line < 0 ? 0 : line); };
    int top = clampLine(rect.top / m_unit.cy + m_nFirstLine);
    int bottom = clampLine(rect.bottom / m_unit.cy + m_nFirstLine);
    BeforeDrawLines();
    int x0 = TextOrigin();
    int tabOrigin = TabOriginLeftOf(x0, m_nTabWidth);
    // The range's scans take a byte for a cell wide and count the right-hand tab stops from the
    // client's edge, not from x0: drawn from a tab and a cell before the rectangle to a tab and a cell
    // past it, every byte whose cell or glyph reaches into the rectangle is drawn as a full repaint
    // draws it.
    int margin = m_nTabWidth + m_unit.cx, left = rect.left - margin, right = rect.right + margin;
    for (int line = top; line <= bottom && line < count; ++line) {
        CRange range;
        int x = GetTextRange(line, left, right, x0, range);
        if (x >= 0)
            DrawTextRun(pDC, x, (line - m_nFirstLine) * m_unit.cy, range.first, range.last, tabOrigin, line);
    }
}

CGridText::Grid CEditScrollView::PaintGrid(int tabOrigin) const {
    return CGridText::Grid{(int)m_unit.cx, m_nTabWidth, tabOrigin, GbkCharacters()};
}

int CEditScrollView::DrawEndOfLineCell(CDC* pDC, int x, int y, int first) {
    if (m_sel.start <= first && first < m_sel.end) pDC->FillSolidRect(x, y, m_unit.cx, m_unit.cy, kBlack);
    return 0;
}

// Draws [first, last) on the cell grid: the selected cells' black ground first, then the glyphs run by
// run (one black run without a table) over it, the selected ones in the inverted colour. Grounds
// before glyphs, so a glyph reaching into its neighbour's cell is drawn the same whichever repaint
// drew it.
int CEditScrollView::DrawSelectedRuns(CDC* pDC, int x, int y, int first, int last, int tabOrigin,
                                      const CColorTable* runs) {
    CString bytes = GetEditDocument()->GetString(first, last - first);
    CGridText& grid = CGridText::Scratch();
    grid.LayOut(bytes, bytes.GetLength(), x, PaintGrid(tabOrigin));
    int selStart = std::max(first, std::min(last, m_sel.start)) - first;
    int selEnd = std::max(first, std::min(last, m_sel.end)) - first;
    if (selStart < selEnd)
        pDC->FillSolidRect(grid.X(selStart), y, grid.X(selEnd) - grid.X(selStart), m_unit.cy, kBlack);
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldText = pDC->GetTextColor();
    int count = runs != nullptr ? runs->GetColorCount() : 1;
    int p = first;
    for (int i = 0; i < count && p < last; ++i) {
        int end = runs != nullptr ? runs->GetColorPos(i) : last;
        COLORREF color = runs != nullptr ? runs->GetColor(i) : kBlack;
        int stop = std::min(end, last); // one past the run's last drawn byte
        if (stop <= p) continue;
        int cuts[4] = {p, std::max(p, std::min(stop, m_sel.start)), std::max(p, std::min(stop, m_sel.end)),
                       stop};
        for (int part = 0; part < 3; ++part) {
            if (cuts[part + 1] <= cuts[part]) continue;
            pDC->SetTextColor(part == 1 ? color ^ kWhite : color);
            grid.Draw(pDC, y, cuts[part] - first, cuts[part + 1] - first);
        }
        p = stop;
    }
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(oldMode);
    return 1;
}

void CEditScrollView::DrawArrow(CDC* pDC, const CRect& rect) {
    if (rect.left >= m_nLeftMargin) return;
    pDC->FillSolidRect(&m_rectMargin, kMarginColor);
    int y = (m_nTitleLine - m_nFirstLine) * m_unit.cy;
    if (y < 0 || y >= rect.bottom || m_arrow.GetSafeHandle() == nullptr ||
        m_arrowMask.GetSafeHandle() == nullptr)
        return;
    CDC picture;
    if (!picture.CreateCompatibleDC(pDC)) return;
    COLORREF oldBack = pDC->SetBkColor(kWhite), oldText = pDC->SetTextColor(kBlack);
    {
        CScopedSelection arrow(picture, m_arrow);
        pDC->BitBlt(0, y, m_nLeftMargin, m_unit.cy, &picture, 0, 0, SRCINVERT);
        picture.SelectHandle(m_arrowMask.GetSafeHandle());
        pDC->BitBlt(0, y, m_nLeftMargin, m_unit.cy, &picture, 0, 0, kAndNotSource);
        picture.SelectHandle(m_arrow.GetSafeHandle());
        pDC->BitBlt(0, y, m_nLeftMargin, m_unit.cy, &picture, 0, 0, SRCINVERT);
    }
    pDC->SetBkColor(oldBack);
    pDC->SetTextColor(oldText);
}

// The mask has 0 where the arrow shows its top-left (transparent) colour and 1 elsewhere.
void CEditScrollView::LoadArrow() {
    m_arrow.DeleteObject();
    m_arrowMask.DeleteObject();
    if (!m_arrow.LoadBitmap(kArrowBitmap)) return;
    BITMAP info = {};
    m_arrow.GetBitmap(&info);
    if (!m_arrowMask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr)) return;
    CDC source, mask;
    CClientDC screen(m_hWnd);
    if (!source.CreateCompatibleDC(&screen) || !mask.CreateCompatibleDC(&screen)) return;
    CScopedSelection arrow(source, m_arrow);
    CScopedSelection maskBits(mask, m_arrowMask);
    COLORREF old = source.SetBkColor(source.GetPixel(0, 0));
    mask.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, NOTSRCCOPY);
    source.SetBkColor(old);
}

void CEditScrollView::InvalidateLine(int line) {
    InvalidateLine(line, line);
}

void CEditScrollView::InvalidateLine(int first, int last) {
    CRect rect(m_nLeftMargin, (first - m_nFirstLine) * m_unit.cy, m_nClientWidth,
               (last - m_nFirstLine + 1) * m_unit.cy);
    InvalidateRect(&rect, FALSE);
}

void CEditScrollView::RepaintEdit() {
    if (m_edited.edits == 0) return; // the edits have been repainted for already
    bool scrolled = ScrollBelowEdit();
    m_edited.edits = 0;
    if (!scrolled) Invalidate(FALSE);
}

// A single edit that left the line count as it was changed only its own lines. Otherwise the pixels
// below it still show the right lines when the view has not scrolled since it, nothing else waits to
// be painted and the lines keep their colours: they move by the edit's line shift, and the edited
// lines and the strip the move uncovers are drawn again. The margin stays, as the title arrow marks
// a row, not a line.
bool CEditScrollView::ScrollBelowEdit() {
    const CEditedLines& edit = m_edited;
    if (m_hWnd == nullptr || edit.edits != 1 || !edit.known) return false;
    if (edit.shift == 0) {
        InvalidateLine(edit.first, edit.last);
        return true;
    }
    if (edit.firstLine != m_nFirstLine || edit.firstColumn != m_nFirstColumn) return false;
    int rows = m_nClientHeight / m_unit.cy + 1;
    if (edit.first < m_nFirstLine || edit.first - m_nFirstLine >= rows) return false;
    if (GetUpdateRect(nullptr, FALSE) || !LinesBelowKeepColors(edit.last + 1, edit.shift)) return false;
    int below = edit.last + 1 - edit.shift; // the first unchanged line, as numbered before the edit
    CRect moved = TextArea(), clip = TextArea();
    moved.top = (below - m_nFirstLine) * m_unit.cy;
    clip.top = (std::min(below, edit.last + 1) - m_nFirstLine) * m_unit.cy;
    if (moved.top < moved.bottom) ScrollWindow(0, edit.shift * m_unit.cy, &moved, &clip);
    InvalidateLine(edit.first, edit.last);
    return true;
}

void CEditScrollView::RedrawRect(CRect& rect) {
    if (m_hWnd == nullptr || rect.IsRectEmpty()) return;
    CClientDC window(m_hWnd);
    CDC* memory = CPaintSurface::Shared().Prepare(&window, rect);
    if (memory == nullptr) return;
    {
        CScopedSelection font(*memory, m_font);
        CPoint caret = GetCaretPos(m_nLeftMargin);
        if (caret != m_ptCaret) {
            m_ptCaret = caret;
            PlaceCaret();
        }
        CRect text = rect;
        if (text.left < m_nLeftMargin) text.left = m_nLeftMargin;
        DrawRectText(memory, text);
    }
    window.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), memory, rect.left, rect.top, SRCCOPY);
}
