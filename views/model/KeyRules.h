// CKeyRules: the editor's keyboard rules over an edit model: caret moves, Shift selection, insert and
// overwrite typing, Enter, Tab, Backspace, Delete, input-method characters and the paste.
#pragma once

#include "views/model/EditModel.h"

// Made on the spot over a model (it holds references only); the state lives in the model, and every
// change of the text goes through the model's text interface.
class CKeyRules {
public:
    explicit CKeyRules(CEditModel& model)
        : m_model(model), m_text(model.m_text), m_sel(model.m_sel),
          m_nRememberedColumn(model.m_nRememberedColumn), m_nSearchOrigin(model.m_nSearchOrigin),
          m_bOverwrite(model.m_bOverwrite) {}

    // A key with its modifiers (pageRows: the rows a page key moves), a typed byte, an input method's
    // two-byte character.
    CKeyEnding Key(EditKey key, bool control, bool shift, int pageRows);
    TypeResult Type(unsigned char c);
    TypeResult TypePair(char lead, char trail);
    // A non-empty selection replaced by text, the caret at its start; false when there was none.
    bool ReplaceSelection(const char* text);
    // Pasted text replaces the selection, or goes in at the caret, which stays in front of it.
    void Paste(const char* text);
    // The caret a page up or down from the scroll bar puts on the remembered column; false at the text's end.
    bool PageCaret(bool down, int pageRows);

private:
    CKeyEnding SideKey(bool right, bool shift);
    CKeyEnding VerticalKey(bool down, bool shift);
    CKeyEnding LineEndKey(bool end, bool control, bool shift);
    CKeyEnding PageKey(bool down, bool shift, int pageRows);
    CKeyEnding TabKey(bool shift);
    CKeyEnding EnterKey();
    CKeyEnding Backspace(bool control);
    CKeyEnding DeleteKey(bool control);
    CKeyEnding DeleteSelection(bool backspace);
    // A move's repaint: from the lines of the old selection and the caret's line.
    CKeyEnding MoveOver(int selStartLine, int selEndLine) const;
    void InsertLineByte(char c, bool growSelection);
    int VerticalTarget(int line) const;
    // The width of the character at pos: two for a pair, else one.
    int CharWidthAt(int pos) const;
    // The width of the character that ends at pos (pos > 0), by the same rule.
    int CharWidthBefore(int pos) const;

    CEditModel& m_model;
    CEditText*& m_text;
    CTextSelection& m_sel;
    int& m_nRememberedColumn;
    int& m_nSearchOrigin;
    bool& m_bOverwrite;
};
