// Keyboard navigation and typing in the editor views: caret moves, Shift selection, insert and
// overwrite typing, Enter, Tab, Backspace, Delete and input-method characters, each recorded for undo.
#include <algorithm>

#include "framework/base/ByteClass.h"
#include "undo/UndoInfo.h"
#include "views/EditScrollView.h"

#include "text/CharBoundaries.h"

namespace {
bool Held(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}
bool IsWordStop(char c) {
    return c == ' ' || c == '\n';
}
} // namespace

int CEditScrollView::LineOf(int offset) const {
    return (int)GetEditDocument()->OffsetToLine(offset);
}

int CEditScrollView::CaretLine() const {
    return LineOf(m_sel.caret);
}

void CEditScrollView::RememberColumn() {
    m_nRememberedColumn = m_sel.caret - (int)GetEditDocument()->GetLineOffset(CaretLine());
}

int CEditScrollView::VerticalTarget(int line) const {
    CEditDocument* doc = GetEditDocument();
    int start = (int)doc->GetLineOffset(line), length = LineLength(line);
    if (m_nRememberedColumn >= length - 1) return start + length - 1;
    return start + doc->CalcCaretColumn(line, m_nRememberedColumn);
}

// After a caret move: the caret point, a scroll to the caret, then the repaint the key asked for.
void CEditScrollView::AfterMove(int firstLine, int lastLine, bool wholeWindow) {
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    if (ScrollToCaret()) UpdateColors();
    if (wholeWindow)
        Invalidate(FALSE);
    else if (firstLine >= 0)
        InvalidateLine(std::min(firstLine, lastLine), std::max(firstLine, lastLine));
    UpdateWindow();
}

// After an edit, which has already re-laid out the view (OnTextChanged): a scroll to the caret and
// the repaint.
void CEditScrollView::AfterEdit() {
    ScrollToCaret();
    RepaintEdit();
}

void CEditScrollView::OnKeyDown(UINT nChar, UINT, UINT) {
    if (GetEditDocument() == nullptr || GetEditDocument()->GetLength() <= 0) return;
    if (!HandleKey(nChar, Held(VK_CONTROL), Held(VK_SHIFT))) return;
    MoveSystemCaret();
    ShowCaretByPosition();
    m_nSearchOrigin = m_sel.caret;
    Default();
}

void CEditScrollView::OnKeyUp(UINT, UINT, UINT) {
    Default();
}

// FALSE for the keys that end without the common ending (the short Backspace and Delete cases).
BOOL CEditScrollView::HandleKey(UINT key, bool control, bool shift) {
    switch (key) {
    case VK_BACK:
        return Backspace(control);
    case VK_DELETE:
        return DeleteKey(control);
    case VK_TAB:
        TabKey(shift);
        return TRUE;
    case VK_RETURN:
        EnterKey();
        return TRUE;
    case VK_SHIFT:
        if (m_sel.IsEmpty()) m_sel.anchor = m_sel.caret;
        return TRUE;
    case VK_INSERT:
        m_nOverwrite = ~m_nOverwrite;
        return TRUE;
    case VK_PRIOR:
    case VK_NEXT:
        PageKey(key == VK_NEXT, shift);
        return TRUE;
    case VK_HOME:
    case VK_END:
        LineEndKey(key == VK_END, control, shift);
        return TRUE;
    case VK_LEFT:
    case VK_RIGHT:
        SideKey(key == VK_RIGHT, shift);
        return TRUE;
    case VK_UP:
    case VK_DOWN:
        VerticalKey(key == VK_DOWN, shift);
        return TRUE;
    default:
        return TRUE;
    }
}

void CEditScrollView::SideKey(bool right, bool shift) {
    CEditDocument* doc = GetEditDocument();
    int length = (int)doc->GetLength();
    if (right ? m_sel.caret >= length - 1 : m_sel.caret <= 0) return;
    int selStartLine = LineOf(m_sel.start), selEndLine = LineOf(m_sel.end);
    int step = right ? (byteclass::IsHalfOfPair((unsigned char)doc->GetAt(m_sel.caret)) ? 2 : 1)
                     : (byteclass::IsHalfOfPair((unsigned char)doc->GetAt(m_sel.caret - 1)) ? -2 : -1);
    if (GbkCharacters())
        step =
            right ? gbk::CharLength(doc->GetText(), m_sel.caret) : CharStartAt(m_sel.caret - 1) - m_sel.caret;
    int target = std::clamp(m_sel.caret + step, 0, length - 1);
    if (shift) {
        m_sel.caret = target;
        m_sel.FromAnchor();
    } else {
        m_sel.caret = !m_sel.IsEmpty() ? (right ? m_sel.end : m_sel.start) : target;
        m_sel.Collapse();
    }
    RememberColumn();
    int line = CaretLine();
    if (shift)
        AfterMove(right ? std::max(line - 1, 0) : line, line, false);
    else
        AfterMove(std::min({line, selStartLine, selEndLine}), std::max({line, selStartLine, selEndLine}),
                  false);
}

void CEditScrollView::VerticalKey(bool down, bool shift) {
    CEditDocument* doc = GetEditDocument();
    int line = CaretLine(), last = (int)doc->GetLineCount() - 1;
    if (down ? line >= last : line <= 0) return;
    int selStartLine = LineOf(m_sel.start), selEndLine = LineOf(m_sel.end);
    int target = VerticalTarget(down ? line + 1 : line - 1);
    if (shift) {
        m_sel.caret = target;
        m_sel.FromAnchor();
        AfterMove(line, CaretLine(), false);
        return;
    }
    m_sel.caret = !m_sel.IsEmpty() ? (down ? m_sel.end : m_sel.start) : target;
    m_sel.Collapse();
    AfterMove(std::min({line, selStartLine, selEndLine}), std::max({line, selStartLine, selEndLine}), false);
}

void CEditScrollView::LineEndKey(bool end, bool control, bool shift) {
    CEditDocument* doc = GetEditDocument();
    int selStartLine = LineOf(m_sel.start), selEndLine = LineOf(m_sel.end);
    int line = CaretLine(), start = (int)doc->GetLineOffset(line);
    if (control) {
        m_sel.caret = end ? (int)doc->GetLength() - 1 : 0;
        if (end) m_nRememberedColumn = LineLength((int)doc->GetLineCount() - 1) - 1;
    } else {
        m_sel.caret = end ? start + LineLength(line) - 1 : start;
        RememberColumn();
    }
    if (shift)
        m_sel.FromAnchor();
    else
        m_sel.Collapse();
    if (control && shift)
        AfterMove(-1, -1, true);
    else if (shift)
        AfterMove(CaretLine(), CaretLine(), false);
    else
        AfterMove(std::min({CaretLine(), selStartLine, selEndLine}),
                  std::max({CaretLine(), selStartLine, selEndLine}), false);
}

void CEditScrollView::PageKey(bool down, bool shift) {
    CEditDocument* doc = GetEditDocument();
    int line = CaretLine(), last = (int)doc->GetLineCount() - 1, page = m_nClientHeight / m_unit.cy;
    if (down ? line >= last : line <= 0) return;
    m_sel.caret = VerticalTarget(down ? std::min(line + page, last) : std::max(line - page, 0));
    if (shift) {
        m_sel.FromAnchor();
        ScrollToCaret();
        Invalidate(FALSE);
    } else {
        m_sel.Collapse();
        // Scrolls by the caret's own move, which leaves it in view only if it was in view before.
        ScrollToCurrent(1);
    }
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    ScrollToCaret();
    UpdateColors();
    UpdateWindow();
}

void CEditScrollView::TabKey(bool shift) {
    CEditDocument* doc = GetEditDocument();
    int line = CaretLine(), start = (int)doc->GetLineOffset(line);
    if (m_nOverwrite == 0) {
        InsertLineByte('\t', shift);
        RememberColumn();
        AfterEdit();
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        return;
    }
    int width = 0;
    for (int p = start; p < m_sel.caret; ++p) width += doc->GetAt(p) == '\t' ? GetTabSize() : 1;
    int target = start + (width / GetTabSize() + 1) * GetTabSize(), high = 0;
    for (int p = start; p < target; ++p)
        high += byteclass::IsHalfOfPair((unsigned char)doc->GetAt(p)) ? 1 : 0;
    if (high % 2 == 1) ++target;
    // The stop may lie past the line's end; the caret still stays inside the text.
    m_sel.CollapseAt(std::min(target, (int)doc->GetLength() - 1));
    RememberColumn();
    AfterMove(line, CaretLine(), false);
}

void CEditScrollView::EnterKey() {
    CEditDocument* doc = GetEditDocument();
    int line = CaretLine();
    if (m_nOverwrite != 0) {
        if (line >= doc->GetLineCount() - 1) return;
        m_sel.CollapseAt((int)doc->GetLineOffset(line + 1));
        RememberColumn();
        AfterMove(line, line + 1, false);
        return;
    }
    InsertLineByte('\n', false);
    RememberColumn();
    AfterEdit();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
}

// Tab and Enter insert at the caret and leave a selection where it was (following the text); an
// empty one stays empty at the caret. With growSelection the selection's end takes in the byte.
void CEditScrollView::InsertLineByte(char c, bool growSelection) {
    const char text[2] = {c, 0};
    bool wasEmpty = m_sel.IsEmpty();
    int caret = m_sel.caret, end = m_sel.end;
    if (!GetEditDocument()->Edit(UNDO_INSERT, caret, 0, text)) return;
    m_sel.caret = caret + 1;
    if (growSelection)
        m_sel.end = std::max(end + 1, m_sel.start);
    else if (wasEmpty)
        m_sel.Collapse();
}

// Both delete keys remove a non-empty selection and collapse at its start; Backspace also scrolls to
// the caret.
void CEditScrollView::DeleteSelection(bool scrollToCaret) {
    int start = m_sel.start;
    GetEditDocument()->Edit(UNDO_DELETE, start, m_sel.end - start, "");
    m_sel.CollapseAt(start);
    if (scrollToCaret) ScrollToCaret();
    if (CaretLine() < m_nFirstLine) ScrollToPosition(1);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    RepaintEdit();
}

// A one-byte deletion inside a line repaints only that line and ends the key there.
void CEditScrollView::EndShortDeletion() {
    RepaintEdit();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    MoveSystemCaret();
}

BOOL CEditScrollView::Backspace(bool control) {
    CEditDocument* doc = GetEditDocument();
    if (!m_sel.IsEmpty()) {
        DeleteSelection(true);
        UpdateWindow();
        return FALSE;
    }
    int caret = m_sel.caret;
    if (caret <= 0) return TRUE;
    char before = doc->GetAt(caret - 1);
    bool word = control && !IsWordStop(before),
         pair = !word && byteclass::IsHalfOfPair((unsigned char)before) && caret >= 2;
    if (GbkCharacters()) pair = !word && CharStartAt(caret - 1) == caret - 2;
    int start = caret - (pair ? 2 : 1);
    while (word && start > 0 && !IsWordStop(doc->GetAt(start - 1))) --start;
    doc->Edit(UNDO_DELETE, start, caret - start, "");
    m_sel.CollapseAt(start);
    if (!word && !pair && before != '\n') {
        EndShortDeletion();
        return FALSE;
    }
    RememberColumn();
    AfterEdit();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    return TRUE;
}

BOOL CEditScrollView::DeleteKey(bool control) {
    CEditDocument* doc = GetEditDocument();
    if (!m_sel.IsEmpty()) {
        DeleteSelection(false);
        return TRUE;
    }
    int caret = m_sel.caret, length = (int)doc->GetLength();
    if (caret < 0 || caret + 1 >= length) return TRUE;
    char at = doc->GetAt(caret);
    bool word = control && !IsWordStop(at),
         pair = !word && byteclass::IsHalfOfPair((unsigned char)at) && caret + 2 < length;
    if (GbkCharacters()) pair = !word && gbk::CharLength(doc->GetText(), caret) == 2 && caret + 2 < length;
    int end = caret + (pair ? 2 : 1);
    while (word && end < length - 1 && !IsWordStop(doc->GetAt(end))) ++end;
    doc->Edit(UNDO_DELETE, caret, end - caret, "");
    m_sel.CollapseAt(caret);
    if (!word && !pair && at != '\n') {
        EndShortDeletion();
        return FALSE;
    }
    AfterEdit();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    return TRUE;
}

void CEditScrollView::OnChar(UINT nChar, UINT, UINT) {
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr || doc->GetLength() <= 0 || nChar > 0xFF) return;
    bool printable = (nChar >= 0x20 && nChar < 0x7F) || (nChar & 0x80) != 0;
    if (!printable) return;
    const char typed[2] = {(char)nChar, 0};
    int caret = m_sel.caret, start = m_sel.start;
    // Overwriting needs a byte at the caret that is neither a line feed nor the terminator.
    bool overwrites = m_nOverwrite != 0 && caret < doc->GetLength() - 1 && doc->GetAt(caret) != '\n';
    if (overwrites || (m_nOverwrite == 0 && !m_sel.IsEmpty())) {
        // Overwriting takes the width of the character at the caret, whatever stands at the start.
        int pairWidth = GbkCharacters() ? gbk::CharLength(doc->GetText(), caret)
                        : byteclass::IsHalfOfPair((unsigned char)doc->GetAt(caret)) ? 2
                                                                                    : 1;
        int count = overwrites ? pairWidth : m_sel.end - start;
        if (!doc->Edit(UNDO_REPLACE, start, count, typed)) return;
        m_sel.CollapseAt(start + 1);
        RepaintEdit();
    } else {
        if (!doc->Edit(UNDO_INSERT, caret, 0, typed)) return;
        m_sel.CollapseAt(caret + 1);
        AfterEdit();
    }
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    m_nSearchOrigin = m_sel.caret;
}

// An input-method character arrives whole: lead byte in bits 8 to 15, trail byte in bits 0 to 7. A
// single-byte character (no lead byte) is typed like any other.
void CEditScrollView::OnImeChar(WPARAM wParam) {
    CEditDocument* doc = GetEditDocument();
    // A character has sixteen bits at most, and a lead byte needs its trail: anything else is no character.
    if (doc == nullptr || doc->GetLength() <= 0 || wParam > 0xFFFF) return;
    const char pair[3] = {(char)((wParam >> 8) & 0xFF), (char)(wParam & 0xFF), 0};
    if (pair[0] != 0 && pair[1] == 0) return;
    if (pair[0] == 0) {
        OnChar((UINT)(wParam & 0xFF), 1, 0);
        return;
    }
    int caret = m_sel.caret, start = m_sel.start;
    if (!m_sel.IsEmpty()) {
        if (!doc->Edit(UNDO_REPLACE, start, m_sel.end - start, pair)) return;
        m_sel.CollapseAt(start + 2);
        ScrollToCaret();
        RepaintEdit();
    } else {
        if (!doc->Edit(UNDO_INSERT, caret, 0, pair)) return;
        m_sel.CollapseAt(caret + 2);
        AfterEdit();
    }
    UpdateWindow();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
}

LRESULT CEditScrollView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IME_CHAR) {
        OnImeChar(wParam);
        return 0;
    }
    return CView::DefWindowProc(message, wParam, lParam);
}

// The caret lands at the start of the new text.
int CEditScrollView::ReplaceSelection(const char* text) {
    if (m_sel.IsEmpty() || text == nullptr) return 0;
    int start = m_sel.start;
    GetEditDocument()->Edit(UNDO_REPLACE, start, m_sel.end - start, text);
    m_sel.CollapseAt(start);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    RepaintEdit();
    return 1;
}

void CEditScrollView::OnUpdateInsertStatus(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_nOverwrite != 0);
}
