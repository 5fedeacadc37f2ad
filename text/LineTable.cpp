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

// The literal rebuild into the plain array: the fallback when the index cannot get its memory.
void CLineTable::RebuildLiterally(const CStringEx& text) {
    m_indexed = false;
    m_index.Release();
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

// Replays the journal's ranges in order; each touches only its own lines.
bool CLineTable::CatchUp(const CStringEx& text) {
    const CEditJournal& journal = text.GetJournal();
    if (!m_indexed || !journal.IsValid()) return false;
    for (const CEditJournal::Range& r : journal.Ranges())
        if (!m_index.Apply(text, r.lo, r.oldLength, r.hi - r.lo, g_tabSize, r.tabDelta, r.feedsChanged))
            return false;
    return true;
}

void CLineTable::Rebuild(const CStringEx& text) {
    if (!CatchUp(text)) {
        // A plain table left by a load holds about as many lines as the rebuild will find.
        int guess = m_indexed ? m_index.Count() : m_starts.GetSize();
        m_indexed = m_index.Build(text, g_tabSize, guess);
        if (!m_indexed) {
            m_failed = TRUE;
            RebuildLiterally(text);
            text.ClearJournal();
            return;
        }
        m_starts.RemoveAll();
    }
    text.ClearJournal();
    int lines = m_index.Count();
    m_widest = m_index.Widest();
    m_average = text.GetTextSize() / lines;
    m_sorted = true;
    SetAllCounts(lines);
}

void CLineTable::Reset(const CStringEx& text) {
    Rebuild(text);
}

// Copies the indexed lines into the plain array, where the literal operations run.
void CLineTable::MakePlain() {
    if (!m_indexed) return;
    int n = m_index.Count();
    if (!m_starts.SetSize(n)) {
        m_failed = TRUE;
        n = std::min(n, m_starts.GetSize());
    }
    int* s = m_starts.GetData();
    for (int k = 0; k < n; ++k) s[k] = m_index.Start(k);
    if (n < m_lineCount) SetAllCounts(n);
    m_indexed = false;
    m_sorted = true;
    m_index.Release();
}

bool CLineTable::IsInStep(const CStringEx& text) const {
    return m_indexed && text.GetJournal().IsValid() && text.GetJournal().IsEmpty();
}

void CLineTable::CalcTextSize(CStringEx& text, long& start, long& end, int& width) {
    MakePlain();
    if (end > text.GetCapacity()) end = text.GetCapacity();
    int lines = m_lineCount;
    if (start < end) {
        // A load extends the table chunk by chunk: grow it by a quarter at a time rather than by the
        // arrays' bounded default step, which would copy a table of millions of lines thousands of times.
        m_starts.SetSize(m_starts.GetSize(), std::max(1024, m_starts.GetSize() / 4));
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
    MakePlain();
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

// A byte other than a line feed leaves the lines as a rebuild would make them, so the index takes
// the edit; the widest line and the average keep the patch's values until the next Reset.
void CLineTable::PatchInsertedByte(const CStringEx& text, int pos, int line, bool inStep) {
    if (!inStep || !m_indexed || text.GetAt(pos) == '\n') {
        PatchLiterally(text, line);
        return;
    }
    int widest = m_widest, average = m_average;
    Rebuild(text);
    m_average = average;
    m_widest = std::max(widest, GetLineWidth(text, line));
}

void CLineTable::PatchLiterally(const CStringEx& text, int line) {
    MakePlain();
    MoveLineOffset(line + 1, 1);
    int width = GetLineWidth(text, line);
    if (width > m_widest) m_widest = width;
}

void CLineTable::MoveLineOffset(int line, int delta) {
    MakePlain();
    int last = std::min(m_lineCount, m_starts.GetSize());
    int* s = m_starts.GetData();
    for (int k = std::max(line, 0); k < last; ++k) s[k] += delta;
    if (delta < 0 || last < m_searchLines) m_sorted = false;
}

void CLineTable::AddLineOffset(int offset) {
    // The entry lands at or past the searched range (search line count <= table size), so the order
    // OffsetToLine relies on is unaffected.
    MakePlain();
    Append(offset);
}

int CLineTable::OffsetToLine(int pos) const {
    if (m_indexed) return pos < 1 ? 0 : m_index.LineOf(pos);
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
    auto s = [this](int k) { return GetLineOffset(k); };
    if (pos < s(g)) {
        for (int k = g - 1; k >= 0; --k)
            if (s(k) <= pos && pos < s(k + 1)) return k;
        return n - 1;
    }
    for (int k = g + 1; k <= n - 1; ++k)
        if (s(k - 1) <= pos && pos < s(k)) return k - 1;
    return n - 1;
}

int CLineTable::GetLineOffset(int line) const {
    if (m_indexed) return (line >= 0 && line < m_index.Count()) ? m_index.Start(line) : 0;
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

// The stored width holds while the index matches the text. The last line's stored width covers all
// its bytes, the measured one leaves its final byte out.
int CLineTable::IndexedWidth(const CStringEx& text, int line) const {
    if (line + 1 < m_index.Count()) return m_index.Width(line);
    int size = text.GetTextSize() - m_index.Start(line);
    if (size < 1) return size - 1;
    return m_index.Width(line) - (text.GetAt(text.GetTextSize() - 1) == '\t' ? g_tabSize : 1);
}

int CLineTable::GetLineWidth(const CStringEx& text, int line) const {
    if (line >= 0 && line < m_index.Count() && IsInStep(text)) return IndexedWidth(text, line);
    int size = GetLineSize(text, line);
    int start = GetLineOffset(line);
    // Bytes past the text (a table not yet rebuilt after a deletion) hold no tabs.
    int tabs = (start >= 0 && size > 1) ? text.CountByte('\t', start, start + size - 1) : 0;
    return (size - 1) + (g_tabSize - 1) * tabs;
}

CString CLineTable::GetLine(const CStringEx& text, int line) const {
    if (line < 0 || line >= m_lineCount) return CString();
    int start = GetLineOffset(line);
    int count = line < m_lineCount - 1 ? GetLineOffset(line + 1) - start - 1 : text.GetTextSize() - start;
    return text.Mid(start, count);
}
