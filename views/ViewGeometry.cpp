// The editor views' font and the conversions between text positions and client pixels.
#include <algorithm>

#include "framework/base/ByteClass.h"
#include "views/CaretStatus.h"
#include "views/EditScrollView.h"

namespace {
// The font's face: 宋体 (Song) in GB2312.
const char kSongFace[] = "\xCB\xCE\xCC\xE5";
} // namespace

LOGFONTA CEditScrollView::ViewFont() const {
    LOGFONTA font = {};
    font.lfHeight = 18;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH;
    memcpy(font.lfFaceName, kSongFace, sizeof kSongFace);
    return font;
}

int CEditScrollView::InitFont() {
    CScreenDC screen;
    LOGFONTA font = ViewFont();
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&font);
    CFont* old = screen.SelectObject(&m_font);
    CSize cell = screen.GetTextExtent("A", 1);
    // A font that measured nothing would divide by zero everywhere else.
    m_metrics.unit = CSize(cell.cx > 0 ? cell.cx : 1, cell.cy > 0 ? cell.cy : 1);
    m_metrics.tabWidth = m_metrics.unit.cx * GetTabSize();
    m_model.Columns() = CLineColumns(GetTabSize());
    m_metrics.leftMargin = m_metrics.unit.cx * m_metrics.marginColumns;
    CalcScrollSize();
    if (old != nullptr) screen.SelectObject(old);
    return 1;
}

CPoint CEditScrollView::GetExtent(const CString& text, int left, int line) const {
    int origin = m_metrics.TextOrigin(m_model.First().column) - m_metrics.leftMargin, x = origin;
    for (int i = 0; i < text.GetLength(); ++i) {
        unsigned char b = (unsigned char)text[i];
        x = m_metrics.CellEnd(b, x, origin, byteclass::TakesOneCell(b));
    }
    return CPoint(x + left, (line - m_model.First().line) * m_metrics.unit.cy);
}

CPoint CEditScrollView::GetChineseExtent(const CString& text, int left, int line) {
    return GetExtent(text, left, line);
}

CPoint CEditScrollView::GetCaretPos(int left) {
    CPoint point = TextPositionToScreenCoord(m_model.Caret());
    point.x += left - m_metrics.leftMargin;
    int line = m_model.CaretLine();
    ShowCaretLineAndColumn(line + 1, (point.x - m_metrics.leftMargin) / m_metrics.unit.cx + 1);
    return point;
}

CPoint CEditScrollView::TextPositionToScreenCoord(int offset) {
    int line = m_model.LineOf(offset);
    const CFirstVisible& first = m_model.First();
    return m_metrics.CellPoint(m_model.CellsBefore(offset, line) - first.column, line - first.line,
                               m_metrics.leftMargin);
}

int CEditScrollView::SelectionPoint(CPoint point) {
    CEditDocument* doc = GetEditDocument();
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    dc.DPtoLP(&point);
    int length = doc->Length();
    // Rounded down, so a point just above the window is on the line above it, as one below is below.
    int row = point.y >= 0 ? point.y / m_metrics.unit.cy
                           : -((-point.y + m_metrics.unit.cy - 1) / m_metrics.unit.cy);
    int line = row + m_model.First().line;
    if (line < 0) line = 0;
    if (line > doc->LineCount() - 1) return length - 1;
    int start = doc->LineStart(line);
    int x0 = m_metrics.TextOrigin(m_model.First().column), half = m_metrics.unit.cx / 2;
    CColumnState from{start};
    if (doc->HasOption(kOptionLongLines)) {
        from = m_model.Columns().LastWhere(
            doc->GetText(), start, start + m_model.LineLength(line) - 1,
            [&](const CColumnState& s) { return x0 + s.cells * m_metrics.unit.cx + half < point.x; });
    }
    int x = x0 + from.cells * m_metrics.unit.cx, column = from.counted, high = from.highs, p = from.offset;
    while (x + half < point.x) {
        unsigned char b = (unsigned char)doc->GetAt(p);
        if (p >= length - 1) break;
        bool takesCell = byteclass::TakesOneCell(b);
        if (takesCell || b == '\t') ++column; // other control bytes are not counted
        high += byteclass::IsHalfOfPair(b) ? 1 : 0;
        x = m_metrics.CellEnd(b, x, x0, takesCell);
        ++p;
    }
    if (!m_model.GbkCharacters() && byteclass::IsHalfOfPair((unsigned char)doc->GetAt(p)) && high % 2 == 1)
        --column;
    int lineLength = m_model.LineLength(line);
    if (column > lineLength - 1) column = lineLength - 1;
    return m_model.CharStartAt(start + (column > 0 ? column : 0));
}

int CEditScrollView::GetTextRange(int line, int left, int right, int x0, CRange& range) {
    CEditDocument* doc = GetEditDocument();
    int start = doc->LineStart(line), n = m_model.LineLength(line) - 1;
    if (left < m_metrics.leftMargin) left = m_metrics.leftMargin;
    CColumnState from{start};
    if (x0 + m_metrics.unit.cx <= left && doc->HasOption(kOptionLongLines)) {
        from = m_model.Columns().LastWhere(doc->GetText(), start, start + n, [&](const CColumnState& s) {
            return x0 + s.visibleCells * m_metrics.unit.cx + m_metrics.unit.cx <= left &&
                   s.offset - start < n;
        });
    }
    int x = x0 + from.visibleCells * m_metrics.unit.cx, i = from.offset - start, high = from.highs;
    if (x0 + m_metrics.unit.cx <= left) {
        while (x + m_metrics.unit.cx <= left) {
            if (i >= n) return -1;
            unsigned char b = (unsigned char)doc->GetAt(start + i);
            high += byteclass::IsHalfOfPair(b) ? 1 : 0;
            x = m_metrics.CellEnd(b, x, x0, byteclass::IsHalfOfPair(b) || byteclass::IsPrintableAscii(b));
            ++i;
        }
    }
    range.first = start + i;
    int result = x;
    bool cutsLeft = m_model.GbkCharacters() ? m_model.CharStartAt(range.first) != range.first : high % 2 == 1;
    if (cutsLeft) {
        --range.first;
        result -= m_metrics.unit.cx;
    }
    while (x < right && i < n) {
        unsigned char b = (unsigned char)doc->GetAt(start + i);
        high += byteclass::IsHalfOfPair(b) ? 1 : 0;
        // This scan counts its tab stops from the client's left edge, not from the text origin.
        x = m_metrics.CellEnd(b, x, 0,
                              byteclass::IsHalfOfPair(b) || byteclass::IsPrintableAscii(b) ||
                                  m_twin.controlBytesTakeACell);
        ++i;
    }
    range.last = start + i;
    if (m_model.GbkCharacters() ? m_model.CharStartAt(range.last) != range.last : high % 2 == 1) ++range.last;
    return result;
}

int CEditScrollView::OffsetToScreenLine(int offset) {
    return GetEditDocument()->LineOfOffset(offset) - m_model.First().line;
}

void CEditScrollView::RecalSize() {
    GetEditDocument()->RecalcScrollSize();
}

CSize CEditScrollView::GetScrollSize() {
    CSize total = GetEditDocument()->TextExtent();
    CSize limit(total.cx + m_metrics.leftMargin / m_metrics.unit.cx -
                    m_metrics.clientWidth / m_metrics.unit.cx + 1,
                total.cy - m_metrics.clientHeight / m_metrics.unit.cy + 1);
    if (limit.cx < 0) limit.cx = 0;
    if (limit.cy < 0) limit.cy = 0;
    return limit;
}

void CEditScrollView::CalcScrollSize() {
    CSize total = GetEditDocument()->TextExtent();
    m_metrics.extent =
        CSize(total.cx + (m_metrics.leftMargin + m_metrics.hScrollStep) / m_metrics.unit.cx, total.cy);
    if (m_model.First().column >= m_metrics.extent.cx) m_model.First().column = m_metrics.extent.cx - 1;
    if (m_model.First().line >= m_metrics.extent.cy) m_model.First().line = m_metrics.extent.cy - 1;
    if (m_model.First().column < 0) m_model.First().column = 0;
    if (m_model.First().line < 0) m_model.First().line = 0;
    SetScaledScrollSizes(MM_TEXT, m_metrics.extent);
}
