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
    m_unit = CSize(cell.cx > 0 ? cell.cx : 1, cell.cy > 0 ? cell.cy : 1);
    m_nTabWidth = m_unit.cx * GetTabSize();
    m_columns = CLineColumns(GetTabSize());
    m_nLeftMargin = m_unit.cx * m_nMarginColumns;
    CalcScrollSize();
    if (old != nullptr) screen.SelectObject(old);
    return 1;
}

CPoint CEditScrollView::GetExtent(const CString& text, int left, int line) const {
    int origin = -(m_nFirstColumn * m_unit.cx), x = origin;
    for (int i = 0; i < text.GetLength(); ++i) {
        unsigned char b = (unsigned char)text[i];
        x = CellEnd(b, x, origin, byteclass::TakesOneCell(b));
    }
    return CPoint(x + left, (line - m_nFirstLine) * m_unit.cy);
}

CPoint CEditScrollView::GetChineseExtent(const CString& text, int left, int line) {
    return GetExtent(text, left, line);
}

int CEditScrollView::LineLength(int line) const {
    CEditDocument* doc = GetEditDocument();
    int count = (int)doc->GetLineCount();
    if (line < 0 || line >= count) return 0;
    long next = line + 1 < count ? doc->GetLineOffset(line + 1) : doc->GetLength();
    return (int)(next - doc->GetLineOffset(line));
}

// The extent of the line's bytes before offset; with the long-line option the walk starts at the
// line's last column checkpoint before offset instead of copying the bytes from the line's start.
CPoint CEditScrollView::PointOf(int offset, int line, int left) {
    CEditDocument* doc = GetEditDocument();
    long start = doc->GetLineOffset(line);
    if (!doc->HasOption(kOptionLongLines))
        return GetExtent(doc->GetString(start, (int)(offset - start)), left, line);
    int end = (int)start + LineLength(line) - 1;
    offset = std::max((int)start, std::min(offset, end));
    CColumnState state = m_columns.Before(doc->GetText(), (int)start, end, offset);
    while (state.offset < offset) state.Step((unsigned char)doc->GetAt(state.offset), GetTabSize());
    int origin = -(m_nFirstColumn * m_unit.cx);
    return CPoint(origin + state.cells * m_unit.cx + left, (line - m_nFirstLine) * m_unit.cy);
}

CPoint CEditScrollView::GetCaretPos(int left) {
    CEditDocument* doc = GetEditDocument();
    int line = (int)doc->OffsetToLine(m_sel.caret);
    CPoint point = PointOf(m_sel.caret, line, left);
    ShowCaretLineAndColumn(line + 1, (point.x - m_nLeftMargin) / m_unit.cx + 1);
    return point;
}

CPoint CEditScrollView::TextPositionToScreenCoord(int offset) {
    CEditDocument* doc = GetEditDocument();
    return PointOf(offset, (int)doc->OffsetToLine(offset), m_nLeftMargin);
}

int CEditScrollView::SelectionPoint(CPoint point) {
    CEditDocument* doc = GetEditDocument();
    CClientDC dc(m_hWnd);
    OnPrepareDC(&dc);
    dc.DPtoLP(&point);
    int length = (int)doc->GetLength();
    // Rounded down, so a point just above the window is on the line above it, as one below is below.
    int row = point.y >= 0 ? point.y / m_unit.cy : -((-point.y + m_unit.cy - 1) / m_unit.cy);
    int line = row + m_nFirstLine;
    if (line < 0) line = 0;
    if (line > doc->GetLineCount() - 1) return length - 1;
    int start = (int)doc->GetLineOffset(line);
    int x0 = TextOrigin(), half = m_unit.cx / 2;
    CColumnState from{start};
    if (doc->HasOption(kOptionLongLines)) {
        from = m_columns.LastWhere(
            doc->GetText(), start, start + LineLength(line) - 1,
            [&](const CColumnState& s) { return x0 + s.cells * m_unit.cx + half < point.x; });
    }
    int x = x0 + from.cells * m_unit.cx, column = from.counted, high = from.highs, p = from.offset;
    while (x + half < point.x) {
        unsigned char b = (unsigned char)doc->GetAt(p);
        if (p >= length - 1) break;
        bool takesCell = byteclass::TakesOneCell(b);
        if (takesCell || b == '\t') ++column; // other control bytes are not counted
        high += byteclass::IsHalfOfPair(b) ? 1 : 0;
        x = CellEnd(b, x, x0, takesCell);
        ++p;
    }
    if (!GbkCharacters() && byteclass::IsHalfOfPair((unsigned char)doc->GetAt(p)) && high % 2 == 1) --column;
    int lineLength = LineLength(line);
    if (column > lineLength - 1) column = lineLength - 1;
    return CharStartAt(start + (column > 0 ? column : 0));
}

int CEditScrollView::GetTextRange(int line, int left, int right, int x0, CRange& range) {
    CEditDocument* doc = GetEditDocument();
    int start = (int)doc->GetLineOffset(line), n = LineLength(line) - 1;
    if (left < m_nLeftMargin) left = m_nLeftMargin;
    CColumnState from{start};
    if (x0 + m_unit.cx <= left && doc->HasOption(kOptionLongLines)) {
        from = m_columns.LastWhere(doc->GetText(), start, start + n, [&](const CColumnState& s) {
            return x0 + s.visibleCells * m_unit.cx + m_unit.cx <= left && s.offset - start < n;
        });
    }
    int x = x0 + from.visibleCells * m_unit.cx, i = from.offset - start, high = from.highs;
    if (x0 + m_unit.cx <= left) {
        while (x + m_unit.cx <= left) {
            if (i >= n) return -1;
            unsigned char b = (unsigned char)doc->GetAt(start + i);
            high += byteclass::IsHalfOfPair(b) ? 1 : 0;
            x = CellEnd(b, x, x0, byteclass::IsHalfOfPair(b) || byteclass::IsPrintableAscii(b));
            ++i;
        }
    }
    range.first = start + i;
    int result = x;
    bool cutsLeft = GbkCharacters() ? CharStartAt(range.first) != range.first : high % 2 == 1;
    if (cutsLeft) {
        --range.first;
        result -= m_unit.cx;
    }
    while (x < right && i < n) {
        unsigned char b = (unsigned char)doc->GetAt(start + i);
        high += byteclass::IsHalfOfPair(b) ? 1 : 0;
        // This scan counts its tab stops from the client's left edge, not from the text origin.
        x = CellEnd(b, x, 0,
                    byteclass::IsHalfOfPair(b) || byteclass::IsPrintableAscii(b) || ControlBytesTakeACell());
        ++i;
    }
    range.last = start + i;
    if (GbkCharacters() ? CharStartAt(range.last) != range.last : high % 2 == 1) ++range.last;
    return result;
}

int CEditScrollView::OffsetToScreenLine(int offset) {
    return (int)GetEditDocument()->OffsetToLine(offset) - m_nFirstLine;
}

void CEditScrollView::RecalSize(int) {
    GetEditDocument()->RecalcScrollSize();
}

// The document's size in cells and lines. The widest line leaves the last line out (it has no line
// feed); with the long-line option the last line counts too (measured as the others are), so a file of
// one long line scrolls.
CSize CEditScrollView::TextSize() {
    CEditDocument* doc = GetEditDocument();
    CSize total = doc->GetTotalWidth();
    if (!doc->HasOption(kOptionLongLines)) return total;
    int last = doc->GetLineWidth(doc->GetLineCount() - 1);
    if (last > total.cx) total.cx = last;
    return total;
}

CSize CEditScrollView::GetScrollSize() {
    CSize total = TextSize();
    CSize limit(total.cx + m_nLeftMargin / m_unit.cx - m_nClientWidth / m_unit.cx + 1,
                total.cy - m_nClientHeight / m_unit.cy + 1);
    if (limit.cx < 0) limit.cx = 0;
    if (limit.cy < 0) limit.cy = 0;
    return limit;
}

void CEditScrollView::CalcScrollSize() {
    m_scrollLimit = GetScrollSize();
    CSize total = TextSize();
    m_extent = CSize(total.cx + (m_nLeftMargin + m_nHScrollStep) / m_unit.cx, total.cy);
    if (m_nFirstColumn >= m_extent.cx) m_nFirstColumn = m_extent.cx - 1;
    if (m_nFirstLine >= m_extent.cy) m_nFirstLine = m_extent.cy - 1;
    if (m_nFirstColumn < 0) m_nFirstColumn = 0;
    if (m_nFirstLine < 0) m_nFirstLine = 0;
    SetScaledScrollSizes(MM_TEXT, m_extent);
}
