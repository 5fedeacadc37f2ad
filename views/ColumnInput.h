// CColumnInput: an editor view's column block on the screen: Alt+Shift+arrow keys, Alt+click and
// Alt+drag, typing, Delete, the clipboard's block format, and the repaint each of them asks for.
#pragma once

#include <windows.h>

#include "framework/base/Geometry.h"
#include "framework/base/String.h"

class CEditScrollView;

// Made on the spot over a view; the block itself lives in the view's edit model.
class CColumnInput {
public:
    explicit CColumnInput(CEditScrollView& view) : m_view(view) {}

    bool IsActive() const;
    // Alt held with a key (WM_SYSKEYDOWN): Alt+Shift+arrows grow the block; false for other keys.
    bool SysKey(UINT key);
    // A key while a block is selected: the modifiers keep it, Delete and Backspace remove it, any
    // other key ends it (false: the key then acts as without a block).
    bool Key(UINT key);
    // A typed byte or input-method character goes onto every line of the block; false when none is.
    bool Type(char lead, char trail);
    // An Alt+click (Alt+Shift+click grows the block from its anchor or the caret); a drag step.
    void Press(CPoint point, bool extend);
    void DragTo(CPoint point);
    // Ends the block, repainting its lines.
    void End();

    void Copy();
    void Cut();
    // Lines of the clipboard's block format, inserted at the caret's cell.
    void Paste(const CString& text);
    static bool ClipboardHoldsBlock();

    void Get(int* firstLine, int* lastLine, int* firstCell, int* endCell) const;
    void Set(int firstLine, int lastLine, int firstCell, int endCell);

private:
    // The lines of the selection, block or range, before a change; first is -1 for none.
    void SelectedLines(int& first, int& last) const;
    // The line and the cell boundary nearest to a client point.
    void CellAt(CPoint point, int& line, int& cell) const;
    bool PutOnClipboard();
    // After the block moved: repaints its old and new lines and places the caret.
    void Moved(int oldFirst, int oldLast);
    // After an edit: the caret scrolled into view and the window repainted.
    void Edited();

    CEditScrollView& m_view;
};
