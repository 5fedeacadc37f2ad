// CLineTable: rebuilds, patches and position-to-line lookups over the line-start table.
#include "text/LineTable.h"

#include <algorithm>

#include "text/LineScan.h"

namespace {
int g_tabSize = 4;
}

int GetTabSize() {
    return g_tabSize;
}
void SetTabSize(int size) {
    g_tabSize = size;
}

CLineTable::CLineTable() {
    m_failed = m_starts.Add(0) < 0;
}

void CLineTable::SetAllCounts(int lines) {
    m_lineCount = m_height = m_searchLines = lines;
}

bool CLineTable::Append(int offset) {
    if (m_starts.Add(offset) >= 0) return true;
    m_failed = TRUE;
    return false;
}

void CLineTable::Reset(const CStringEx& text) {
    // Keeping the allocation lets a rebuild after each edit append without reallocating.
    m_starts.SetSize(1);
    if (m_starts.GetSize() != 1 && !Append(0)) {
        m_lineCount = m_height = m_searchLines = 0;
        return;
    }
    m_starts[0] = 0;
    m_widest = 0;
    m_sorted = true;
    int length = text.GetTextSize();
    int width = 0;
    LineScanResult scan = ScanLineStarts(text.GetBuffer(), 0, length, g_tabSize, m_starts, width, m_widest);
    if (!scan.complete) m_failed = TRUE;
    int lines = scan.lineFeeds + 1;
    m_average = length / lines;
    SetAllCounts(lines);
}

void CLineTable::CalcTextSize(CStringEx& text, long& start, long& end, int& width) {
    if (end > text.GetCapacity()) end = text.GetCapacity();
    int lines = m_lineCount;
    if (start < end) {
        LineScanResult scan =
            ScanLineStarts(text.GetBuffer(), (int)start, (int)end, g_tabSize, m_starts, width, m_widest);
        if (!scan.complete) m_failed = TRUE;
        lines += scan.lineFeeds;
    }
    lines = std::min(lines, m_starts.GetSize());
    text.SetLength((int)end);
    start = end;
    m_average = lines > 0 ? (int)(end / lines) : 0;
    SetAllCounts(lines);
}

void CLineTable::RecalcLine(const CStringEx& text, int pos) {
    int line = OffsetToLine(pos);
    int length = text.GetTextSize();
    const char* bytes = text.GetBuffer();
    if (pos < length && bytes != nullptr && line >= 0) {
        for (int i = std::max(pos, 0); i < length; ++i) {
            if (bytes[i] != '\n') continue;
            ++line;
            if (line < m_starts.GetSize()) {
                m_starts[line] = i + 1;
            } else if (!Append(i + 1)) {
                --line;
                break;
            }
        }
        m_sorted = false;
    }
    m_lineCount = m_height = line + 1;
}

void CLineTable::PatchInsertedByte(const CStringEx& text, int line) {
    MoveLineOffset(line + 1, 1);
    int width = GetLineWidth(text, line);
    if (width > m_widest) m_widest = width;
}

void CLineTable::MoveLineOffset(int line, int delta) {
    int last = std::min(m_lineCount, m_starts.GetSize());
    int* s = m_starts.GetData();
    for (int k = std::max(line, 0); k < last; ++k) s[k] += delta;
    if (delta < 0 || last < m_searchLines) m_sorted = false;
}

void CLineTable::AddLineOffset(int offset) {
    // The entry lands at or past the searched range (search line count <= table size), so the order
    // OffsetToLine relies on is unaffected.
    Append(offset);
}

int CLineTable::OffsetToLine(int pos) const {
    if (!m_sorted) return OffsetToLineByWalk(pos);
    if (pos < 1) return 0;
    int n = m_searchLines;
    if (n < 1) return n - 1;
    const int* s = m_starts.GetData();
    int k = (int)(std::upper_bound(s, s + n, pos) - s) - 1;
    return k < 0 ? n - 1 : k;
}

int CLineTable::OffsetToLineByWalk(int pos) const {
    if (pos < 1) return 0;
    int n = m_searchLines;
    int average = m_average > 0 ? m_average : 1;
    int g = pos / average;
    if (g >= n) g = n - 1;
    if (n < 1) return n - 1;
    const int* s = m_starts.GetData();
    if (pos < s[g]) {
        for (int k = g - 1; k >= 0; --k)
            if (s[k] <= pos && pos < s[k + 1]) return k;
        return n - 1;
    }
    for (int k = g + 1; k <= n - 1; ++k)
        if (s[k - 1] <= pos && pos < s[k]) return k - 1;
    return n - 1;
}

int CLineTable::GetLineOffset(int line) const {
    return (line >= 0 && line < m_starts.GetSize()) ? m_starts[line] : 0;
}

int CLineTable::GetLineEndOffset(const CStringEx& text, int line) const {
    if (line < m_lineCount - 1) return GetLineOffset(line + 1) - 1;
    return text.GetTextSize();
}

int CLineTable::GetLineSize(const CStringEx& text, int line) const {
    if (line < m_lineCount - 1) return GetLineOffset(line + 1) - GetLineOffset(line);
    return text.GetTextSize() - GetLineOffset(line);
}

int CLineTable::GetLineWidth(const CStringEx& text, int line) const {
    int size = GetLineSize(text, line);
    int start = GetLineOffset(line);
    const char* bytes = text.GetBuffer();
    int tabs = 0;
    if (bytes != nullptr && start >= 0 && size > 1 && start + size - 1 <= text.GetCapacity())
        tabs = (int)std::count(bytes + start, bytes + start + size - 1, '\t');
    return (size - 1) + (g_tabSize - 1) * tabs;
}

CString CLineTable::GetLine(const CStringEx& text, int line) const {
    if (line < 0 || line >= m_lineCount) return CString();
    int start = GetLineOffset(line);
    int count = line < m_lineCount - 1 ? GetLineOffset(line + 1) - start - 1 : text.GetTextSize() - start;
    return text.Mid(start, count);
}
