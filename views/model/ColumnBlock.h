// CColumnBlock: a rectangle of character cells selected across lines, and the rules that find its
// bytes on each line and copy, delete, type into and paste blocks over an edit model.
#pragma once

#include <string>
#include <vector>

#include "views/model/EditModel.h"

// The bytes [first, last) a block covers on one line; reaches is false for a line that ends left of
// the block's left edge (it contributes nothing, not even a place to type).
struct CLineSpan {
    bool reaches = false;
    int first = 0;
    int last = 0;
};

// Made on the spot over a model; reads the block kept in the model's selection.
class CColumnSpans {
public:
    explicit CColumnSpans(const CEditModel& model) : m_model(model) {}

    // The block's bytes on line: a character (a pair, a tab) that the block's edges cut is taken
    // whole, so the same cells give the same characters on every line.
    CLineSpan Span(int line) const;
    // The bytes of line from the one holding cell cell on (the line's end when it ends before it).
    CLineSpan SpanAt(int line, int cell, int endCell) const;
    // The offset of the character holding cell on line, or the line's end when it ends before it.
    int OffsetOfCell(int line, int cell) const;
    // The cells line takes before its line feed.
    int LineCells(int line) const;
    // The block's lines, each ending in a line feed.
    std::string Text() const;

private:
    // The length of the character at pos, which ends before end: 2 for a pair, else 1.
    int CharLength(int pos, int end) const;

    const CEditModel& m_model;
};

// Made on the spot over a model (references only). Every change goes through the text's ChangeEach,
// one list record; the model ends the block on any change of the text, and these rules set it again.
class CColumnEdits {
public:
    explicit CColumnEdits(CEditModel& model) : m_model(model), m_sel(model.m_sel) {}

    // The block from (firstLine, firstCell) to (lastLine, endCell), clamped to the text's lines.
    void Set(int firstLine, int lastLine, int firstCell, int endCell);
    // The moving corner goes lines down and cells right; a block starts at the caret's cell.
    void MoveCorner(int lines, int cells);
    // A press: a new zero-width block at the cell (or the existing one's corner moved there when
    // extend); a drag: the corner to the cell, false when it was there already.
    void PressAt(int line, int cell, bool extend);
    bool DragTo(int line, int cell);
    void End();
    // The block removed from every line; false when it held nothing.
    bool Delete();
    // One typed byte: a lead byte waits for its trail; the character replaces the block on every
    // line that reaches it, which is then left empty behind the character.
    bool Type(char c);
    bool TypePair(char lead, char trail);
    // The lines put in at the caret's cell on the caret's line and those below it, short lines padded
    // with spaces, new lines added at the text's end; the caret stays in front of the first.
    bool Paste(const std::vector<std::string>& lines);

private:
    bool TypeText(const std::string& text);
    // The caret to the corner's cell and the linear selection collapsed there.
    void PlaceCaret();

    CEditModel& m_model;
    CTextSelection& m_sel;
};

// The lines of a block's text: split at line feeds, carriage returns dropped, no empty last line
// after a final line feed.
std::vector<std::string> SplitBlockLines(const std::string& text);
