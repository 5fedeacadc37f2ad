// CKeyInput: an editor view's keyboard: each key, typed byte or input-method character goes to the
// edit model's rule, then the view scrolls, repaints and places the caret as the rule's ending asks.
#pragma once

#include <windows.h>

#include "views/model/EditModel.h"

class CEditScrollView;

class CKeyInput {
public:
    explicit CKeyInput(CEditScrollView& view) : m_view(view) {}

    // A key pressed, with the Ctrl and Shift states of the message being handled; false when the key
    // ended on its own (the view then does not pass the message on).
    bool Key(UINT key);
    void Char(UINT c);
    // An input-method character: lead byte in bits 8 to 15, trail byte in bits 0 to 7.
    void ImeChar(WPARAM wParam);

private:
    bool EndKey(const CKeyEnding& ending);
    // After a caret move: the caret point, a scroll to the caret, then the repaint the key asked for.
    void AfterMove(int firstLine, int lastLine, bool wholeWindow);
    // After an edit, which has already re-laid out the view: a scroll to the caret and the repaint.
    void AfterEdit();

    CEditScrollView& m_view;
};
