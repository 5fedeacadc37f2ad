// The coloured view's copy of its window's colours, line by line.
#include "views/WindowColors.h"

#include <algorithm>

#include "coloring/ColorArray.h"
#include "documents/ColorEditDoc.h"

void CWindowColors::Capture(CColorEditDoc* doc, int first, int last, unsigned serial) {
    m_first = first;
    m_serial = serial;
    m_lineStarts.clear();
    m_runs.clear();
    for (int line = first; line <= last; ++line) {
        m_lineStarts.push_back((int)m_runs.size());
        int start = doc->LineStart(line);
        CColorTable table;
        doc->GetLineColorTable(line, start, table);
        for (int k = 0; k < table.GetColorCount(); ++k)
            m_runs.emplace_back(table.GetColorPos(k) - start, table.GetColor(k));
    }
    m_lineStarts.push_back((int)m_runs.size());
}

bool CWindowColors::SameLine(int k, const CWindowColors& other, int j) const {
    int n = m_lineStarts[k + 1] - m_lineStarts[k];
    if (n != other.m_lineStarts[j + 1] - other.m_lineStarts[j]) return false;
    for (int i = 0; i < n; ++i)
        if (m_runs[m_lineStarts[k] + i] != other.m_runs[other.m_lineStarts[j] + i]) return false;
    return true;
}

bool CWindowColors::SameFrom(const CWindowColors& earlier, int line, int shift) const {
    for (int k = std::max(line - m_first, 0); k < Count(); ++k) {
        int j = m_first + k - shift - earlier.m_first;
        if (j < 0) return false;
        if (j >= earlier.Count()) break; // lines the move brings into the window are drawn anew
        if (!SameLine(k, earlier, j)) return false;
    }
    return true;
}
