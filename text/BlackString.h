// CBlackString: a plain document's text with its line-start table and size figures.
#pragma once

#include "framework/base/Geometry.h"
#include "framework/base/String.h"
#include "text/LineTable.h"
#include "text/StringEx.h"

// Multi-byte edits rebuild the whole line table in one pass; typing one byte patches it in place
// until the owner's next Reset. All line rules live in CLineTable, shared with the coloured buffer.
// Allocation failures of the text or of the table are reported by AllocationFailed().
class CBlackString : public CStringEx {
public:
    CBlackString();
    CBlackString(const CBlackString&) = delete;
    CBlackString& operator=(const CBlackString&) = delete;

    void Reset(int unused = 0) { m_lines.Reset(*this); }
    int GetLength() const { return GetTextSize(); }
    int GetLineCount() const { return m_lines.GetLineCount(); }
    int GetLineOffset(int line) const { return m_lines.GetLineOffset(line); }
    int GetLineEndOffset(int line) const { return m_lines.GetLineEndOffset(*this, line); }
    int GetLineSize(int line) const { return m_lines.GetLineSize(*this, line); }
    int GetLineWidth(int line) const { return m_lines.GetLineWidth(*this, line); }
    CString GetLine(int line) const { return m_lines.GetLine(*this, line); }
    CSize GetTotalWidth() const { return m_lines.GetTotalWidth(); }
    int OffsetToLine(int pos) const { return m_lines.OffsetToLine(pos); }

    CBlackString& Insert(int pos, const char* text);
    CBlackString& Insert(int pos, char c);
    CBlackString& Insert(int pos, const char* text, int length);
    CBlackString& Return(int pos);
    CBlackString& Delete(int pos, int count);
    CBlackString& Replace(int pos, int count, const char* text);
    CBlackString& Replace(int pos, int count, char c);

    void MoveLineOffset(int line, int delta) { m_lines.MoveLineOffset(line, delta); }
    void RecalcLine(int pos) { m_lines.RecalcLine(*this, pos); }
    void AddLineOffset(int offset) { m_lines.AddLineOffset(offset); }
    void CalcTextSize(long& start, long& end, int& width) { m_lines.CalcTextSize(*this, start, end, width); }

    const CLineTable& GetLineTable() const { return m_lines; }
    BOOL AllocationFailed() const { return CStringEx::AllocationFailed() || m_lines.AllocationFailed(); }

private:
    CLineTable m_lines;
};
