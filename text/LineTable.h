// CLineTable: the line-start table and size figures that both text buffers keep over their string.
#pragma once

#include "framework/base/Array.h"
#include "framework/base/Geometry.h"
#include "framework/base/String.h"
#include "text/StringEx.h"

// The process-wide tab size: buffers count a tab as this many cells; every buffer constructor sets 4.
int GetTabSize();
void SetTabSize(int size);

// Lines end at a line feed, which belongs to the line it ends; the last line runs to the end of the
// stored length (the documents' zero byte included). A tab is GetTabSize() cells wide, every other
// byte one cell, without alignment to tab stops.
//
// Invariants:
//  - entry 0 is 0 and, after Reset or CalcTextSize, entry k + 1 = offset of the k-th line feed + 1;
//  - line count <= table size and search line count <= table size, so every index the table hands
//    out or searches is allocated (on a failed allocation the counts shrink to what was recorded
//    and AllocationFailed() turns TRUE);
//  - m_sorted is true while entries [0, search line count) never decrease; OffsetToLine then answers
//    by binary search, which returns exactly what the average-guess walk returns on such a table.
//    Any edit that could break the order clears the flag and the walk is used until the next rebuild.
// The three line counts differ on purpose: Reset and CalcTextSize set all three, RecalcLine only
// the line count and total height, and the one-byte patch none (a typed line feed is not a line
// start until the owner rebuilds).
class CLineTable {
public:
    CLineTable();
    CLineTable(const CLineTable&) = delete;
    CLineTable& operator=(const CLineTable&) = delete;

    // Rebuilds the table and every figure from the whole stored text.
    void Reset(const CStringEx& text);
    // Extends the table over the bytes [start, end) just loaded into the block, carrying the running
    // width of the unfinished line; sets the text's length to end and start = end.
    void CalcTextSize(CStringEx& text, long& start, long& end, int& width);
    // Recomputes the line starts after pos (line count and height only).
    void RecalcLine(const CStringEx& text, int pos);
    // After one byte went in at a position of line `line` (looked up before the insertion).
    void PatchInsertedByte(const CStringEx& text, int line);
    void MoveLineOffset(int line, int delta);
    void AddLineOffset(int offset);

    int OffsetToLine(int pos) const;
    // The same answer by the literal walk from the average-length guess (used on unordered tables).
    int OffsetToLineByWalk(int pos) const;

    int GetLineCount() const { return m_lineCount; }
    int GetLineOffset(int line) const;
    int GetLineEndOffset(const CStringEx& text, int line) const;
    int GetLineSize(const CStringEx& text, int line) const;
    int GetLineWidth(const CStringEx& text, int line) const;
    CString GetLine(const CStringEx& text, int line) const;
    CSize GetTotalWidth() const { return CSize(m_widest, m_height); }

    int GetWidestLine() const { return m_widest; }
    int GetTotalHeight() const { return m_height; }
    int GetAverageLineLength() const { return m_average; }
    int GetSearchLineCount() const { return m_searchLines; }
    int GetTableSize() const { return m_starts.GetSize(); }
    BOOL AllocationFailed() const { return m_failed; }

private:
    void SetAllCounts(int lines);
    bool Append(int offset);

    CIntArray m_starts;
    int m_widest = 0;
    int m_height = 0;
    int m_average = 0;
    int m_searchLines = 0;
    int m_lineCount = 1;
    bool m_sorted = true;
    BOOL m_failed = FALSE;
};
