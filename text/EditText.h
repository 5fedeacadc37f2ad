// CEditText: the text an editor view edits, as its editing rules see it: bytes, lines, the two
// character options and the three recorded changes. The document implements it; tests implement it
// over a plain buffer.
#pragma once

#include "text/StringEx.h"

// Offsets count bytes from the text's start; the text's last byte is its terminator, which no change
// removes. Each change is recorded for undo, marks the text modified and tells the views; it answers
// false, with nothing changed, when there is no change or it is refused.
class CEditText {
public:
    virtual long GetLength() const = 0;
    virtual char GetAt(long pos) const = 0;
    virtual long GetLineCount() const = 0;
    virtual long GetLineOffset(long line) const = 0;
    virtual long OffsetToLine(long pos) const = 0;
    virtual const CStringEx& GetText() const = 0;
    // The column moved forward to a character boundary of the line (a byte with bit 7 set and the byte
    // after it make one character).
    virtual int CalcCaretColumn(long line, int column) const = 0;
    // GBK characters found with the code page's lead-byte table rather than by bit 7.
    virtual bool GbkCharacters() const = 0;
    // Walks along long lines resume from their column checkpoints.
    virtual bool LongLines() const = 0;

    virtual bool InsertText(int pos, const char* text) = 0;
    virtual bool DeleteText(int pos, int count) = 0;
    virtual bool ReplaceText(int pos, int count, const char* text) = 0;

protected:
    ~CEditText() = default;
};
