// CEditText: the text an editor view edits, as its editing rules see it: bytes, lines, the two
// character options and the three recorded changes. The document implements it; tests implement it
// over a plain buffer.
#pragma once

#include <string>
#include <vector>

#include "text/StringEx.h"

// One change of a run made as one edit (a replace-all): count bytes at pos become text, pos being a
// place in the text as the changes before it in the run left it.
struct CTextChange {
    int pos = 0;
    int count = 0;
    std::string text;
};

// Offsets (int, the one position type of the editing code) count bytes from the text's start; the text's last
// byte is its terminator, which no change removes. Each change is recorded for undo, marks the text modified
// and tells the views; it answers false, with nothing changed, when there is no change or it is refused.
class CEditText {
public:
    virtual int Length() const = 0;
    virtual char ByteAt(int pos) const = 0;
    virtual int LineCount() const = 0;
    virtual int LineStart(int line) const = 0;
    virtual int LineOfOffset(int pos) const = 0;
    virtual const CStringEx& Text() const = 0;
    // The column moved forward to a character boundary of the line (a byte with bit 7 set and the byte
    // after it make one character).
    virtual int CaretColumn(int line, int column) const = 0;
    // GBK characters found with the code page's lead-byte table rather than by bit 7.
    virtual bool GbkCharacters() const = 0;
    // Walks along long lines resume from their column checkpoints.
    virtual bool LongLines() const = 0;

    virtual bool InsertAt(int pos, const char* text) = 0;
    virtual bool DeleteAt(int pos, int count) = 0;
    virtual bool ReplaceAt(int pos, int count, const char* text) = 0;
    // A typed character (a byte or a two-byte pair) put in at pos over count bytes. It is recorded as
    // the change it makes, but the text may take characters typed one after another as one step.
    virtual bool TypeAt(int pos, int count, const char* text) {
        return count > 0 ? ReplaceAt(pos, count, text) : InsertAt(pos, text);
    }
    // The caret moved (or the text was replaced whole): the next typed character starts a new step.
    virtual void EndTyping() {}
    // A run of changes made and undone as one, in order, each at a place in the text as the changes
    // before it left it.
    virtual bool ChangeEach(const std::vector<CTextChange>& changes) = 0;

protected:
    ~CEditText() = default;
};
