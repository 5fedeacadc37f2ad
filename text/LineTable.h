// CLineTable: the line-start table and size figures that both text buffers keep over their string.
#pragma once

#include "framework/base/Array.h"
#include "framework/base/Geometry.h"
#include "framework/base/String.h"
#include "text/LineIndex.h"
#include "text/StringEx.h"

// The process-wide tab size: buffers count a tab as this many cells; every buffer constructor sets 4.
int GetTabSize();
void SetTabSize(int size);

// Lines end at a line feed, which belongs to the line it ends; the last line runs to the end of the
// stored length (the documents' zero byte included). A tab is GetTabSize() cells wide, every other
// byte one cell, without alignment to tab stops.
//
// Two forms hold the same observable table. After a Reset the table is the text's own lines, kept
// in a CLineIndex: the next Reset replays the string's edit journal on the lines it touched instead
// of rescanning the whole text, and answers at once when nothing changed. The one-byte patch of a
// byte other than a line feed stays in that form (its table equals the rebuilt one; only the widest
// line and the average keep their patched values until the next Reset). Everything that makes the
// table differ from the text's lines (a typed line feed, MoveLineOffset, RecalcLine, AddLineOffset,
// CalcTextSize, a patch over unrebuilt edits) first copies it into a plain array, where the
// operations run literally; the next Reset then rebuilds from the whole text.
//
// Invariants of the plain form:
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
    // True when the table is the text's lines and no edit is pending: a byte inserted now can be
    // patched in without leaving the indexed form. Asked before the insertion.
    bool IsInStep(const CStringEx& text) const;
    // After one byte went in at pos, of line `line` (looked up before the insertion); inStep is what
    // IsInStep said before the insertion.
    void PatchInsertedByte(const CStringEx& text, int pos, int line, bool inStep);
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
    int GetTableSize() const { return m_indexed ? m_index.Count() : m_starts.GetSize(); }
    BOOL AllocationFailed() const { return m_failed; }

private:
    void SetAllCounts(int lines);
    bool Append(int offset);
    bool CatchUp(const CStringEx& text);
    void Rebuild(const CStringEx& text);
    void RebuildLiterally(const CStringEx& text);
    void MakePlain();
    void PatchLiterally(const CStringEx& text, int line);
    int IndexedWidth(const CStringEx& text, int line) const;

    CIntArray m_starts;
    int m_widest = 0;
    int m_height = 0;
    int m_average = 0;
    int m_searchLines = 0;
    int m_lineCount = 1;
    bool m_sorted = true;
    BOOL m_failed = FALSE;
    bool m_indexed = false; // the lines live in m_index, m_starts is unused
    CLineIndex m_index;
};
