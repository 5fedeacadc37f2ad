// Keyboard navigation and typing in the editor views: caret moves, Shift selection, insert and
// overwrite typing, Enter, Tab, Backspace, Delete and input-method characters, each recorded for undo.
#include <algorithm>

#include "undo/UndoInfo.h"
#include "views/EditScrollView.h"

namespace {
bool Held(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}
bool IsHigh(char c) {
    return ((unsigned char)c & 0x80) != 0;
}
bool IsWordStop(char c) {
    return c == ' ' || c == '\n';
}
} // namespace

// Hands the record to the undo manager before the buffer changes.
void CEditScrollView::RecordDeletion(int pos, int count) {
    auto* record = new CUndoInfo;
    record->Add(-1, pos, GetEditDocument()->GetString(pos, count));
    GetEditDocument()->SetUndoInfo(record);
}

void CEditScrollView::RecordInsertion(int pos, char c) {
    auto* record = new CUndoInfo;
    record->Add(pos, (unsigned int)(unsigned char)c);
    GetEditDocument()->SetUndoInfo(record);
}

void CEditScrollView::RecordReplacement(int pos, int count, const char* inserted) {
    auto* record = new CUndoInfo;
    record->Add(0, pos, GetEditDocument()->GetString(pos, count), inserted);
    GetEditDocument()->SetUndoInfo(record);
}

void CEditScrollView::Collapse() {
    m_nSelStart = m_nSelEnd = m_nCaret;
}

void CEditScrollView::SelectFromAnchor() {
    m_nSelStart = std::min(m_nAnchor, m_nCaret);
    m_nSelEnd = std::max(m_nAnchor, m_nCaret);
}

int CEditScrollView::CaretLine() const {
    return (int)GetEditDocument()->OffsetToLine(m_nCaret);
}

void CEditScrollView::RememberColumn() {
    m_nRememberedColumn = m_nCaret - (int)GetEditDocument()->GetLineOffset(CaretLine());
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

// After an edit: line figures, scroll sizes, a scroll to the caret and the repaint.
void CEditScrollView::AfterEdit(bool wholeWindow) {
    RecalSize(0);
    CalcScrollSize();
    ScrollToCaret();
    UpdateColors();
    if (wholeWindow)
        Invalidate(FALSE);
    else
        InvalidateLine(CaretLine());
}

void CEditScrollView::OnKeyDown(UINT nChar, UINT, UINT) {
    if (GetEditDocument() == nullptr || GetEditDocument()->GetLength() <= 0) return;
    if (!HandleKey(nChar, Held(VK_CONTROL), Held(VK_SHIFT))) return;
    if (m_bFocus) SetCaretPos(m_ptCaret);
    ShowCaretByPosition();
    m_nSearchOrigin = m_nCaret;
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
        if (m_nSelStart == m_nSelEnd) m_nAnchor = m_nCaret;
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
    if (right ? m_nCaret >= length - 1 : m_nCaret <= 0) return;
    int selStartLine = (int)doc->OffsetToLine(m_nSelStart), selEndLine = (int)doc->OffsetToLine(m_nSelEnd);
    int step = right ? (IsHigh(doc->GetAt(m_nCaret)) ? 2 : 1) : (IsHigh(doc->GetAt(m_nCaret - 1)) ? -2 : -1);
    int target = std::clamp(m_nCaret + step, 0, length - 1);
    if (shift) {
        m_nCaret = target;
        SelectFromAnchor();
    } else {
        m_nCaret = m_nSelStart != m_nSelEnd ? (right ? m_nSelEnd : m_nSelStart) : target;
        Collapse();
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
    int selStartLine = (int)doc->OffsetToLine(m_nSelStart), selEndLine = (int)doc->OffsetToLine(m_nSelEnd);
    int target = VerticalTarget(down ? line + 1 : line - 1);
    if (shift) {
        m_nCaret = target;
        SelectFromAnchor();
        AfterMove(line, CaretLine(), false);
        return;
    }
    m_nCaret = m_nSelStart != m_nSelEnd ? (down ? m_nSelEnd : m_nSelStart) : target;
    Collapse();
    AfterMove(std::min({line, selStartLine, selEndLine}), std::max({line, selStartLine, selEndLine}), false);
}

void CEditScrollView::LineEndKey(bool end, bool control, bool shift) {
    CEditDocument* doc = GetEditDocument();
    int selStartLine = (int)doc->OffsetToLine(m_nSelStart), selEndLine = (int)doc->OffsetToLine(m_nSelEnd);
    int line = CaretLine(), start = (int)doc->GetLineOffset(line);
    if (control) {
        m_nCaret = end ? (int)doc->GetLength() - 1 : 0;
        if (end) m_nRememberedColumn = LineLength((int)doc->GetLineCount() - 1) - 1;
    } else {
        m_nCaret = end ? start + LineLength(line) - 1 : start;
        RememberColumn();
    }
    if (shift)
        SelectFromAnchor();
    else
        Collapse();
    if (control)
        AfterMove(-1, -1, shift);
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
    m_nCaret = VerticalTarget(down ? std::min(line + page, last) : std::max(line - page, 0));
    if (shift) {
        SelectFromAnchor();
        ScrollToCaret();
        Invalidate(FALSE);
    } else {
        Collapse();
        ScrollToCurrent(1);
    }
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    UpdateColors();
    UpdateWindow();
}

void CEditScrollView::TabKey(bool shift) {
    CEditDocument* doc = GetEditDocument();
    int line = CaretLine(), start = (int)doc->GetLineOffset(line);
    if (m_nOverwrite == 0) {
        RecordInsertion(m_nCaret, '\t');
        doc->Insert(m_nCaret, '\t');
        ++m_nCaret;
        doc->SetModifiedFlag(TRUE);
        if (shift)
            ++m_nSelEnd;
        else
            Collapse();
        RememberColumn();
        AfterEdit(false);
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        return;
    }
    int width = 0;
    for (int p = start; p < m_nCaret; ++p) width += doc->GetAt(p) == '\t' ? GetTabSize() : 1;
    int target = start + (width / GetTabSize() + 1) * GetTabSize(), high = 0;
    for (int p = start; p < target; ++p) high += IsHigh(doc->GetAt(p)) ? 1 : 0;
    if (high % 2 == 1) ++target;
    // The stop may lie past the line's end; the caret still stays inside the text.
    m_nCaret = std::min(target, (int)doc->GetLength() - 1);
    Collapse();
    RememberColumn();
    AfterMove(line, CaretLine(), false);
}

void CEditScrollView::EnterKey() {
    CEditDocument* doc = GetEditDocument();
    int line = CaretLine();
    if (m_nOverwrite != 0) {
        if (line >= doc->GetLineCount() - 1) return;
        m_nCaret = (int)doc->GetLineOffset(line + 1);
        Collapse();
        RememberColumn();
        AfterMove(line, line + 1, false);
        return;
    }
    RecordInsertion(m_nCaret, '\n');
    doc->Return(m_nCaret);
    doc->SetModifiedFlag(TRUE);
    ++m_nCaret;
    Collapse();
    RememberColumn();
    AfterEdit(true);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
}

// Deletes the selection (both delete keys), collapsing at its start.
void CEditScrollView::DeleteSelection() {
    CEditDocument* doc = GetEditDocument();
    RecordDeletion(m_nSelStart, m_nSelEnd - m_nSelStart);
    doc->Delete(m_nSelStart, m_nSelEnd - m_nSelStart);
    m_nCaret = m_nSelStart;
    Collapse();
    RecalSize(0);
    CalcScrollSize();
    ScrollToCaret();
    if (CaretLine() < m_nFirstLine) ScrollToPosition(1);
    UpdateColors();
    Invalidate(FALSE);
}

void CEditScrollView::DeleteRange(int pos, int count) {
    RecordDeletion(pos, count);
    GetEditDocument()->Delete(pos, count);
    GetEditDocument()->SetModifiedFlag(TRUE);
}

BOOL CEditScrollView::Backspace(bool control) {
    CEditDocument* doc = GetEditDocument();
    if (m_nSelStart != m_nSelEnd && m_nSelStart >= 0) {
        DeleteSelection();
        doc->SetModifiedFlag(TRUE);
        UpdateWindow();
        return FALSE;
    }
    if (m_nCaret <= 0) return TRUE;
    char before = doc->GetAt(m_nCaret - 1);
    if (control && !IsWordStop(before)) {
        int start = m_nCaret - 1;
        while (start > 0 && !IsWordStop(doc->GetAt(start - 1))) --start;
        DeleteRange(start, m_nCaret - start);
        m_nCaret = start;
    } else if (IsHigh(before) && m_nCaret >= 2) {
        DeleteRange(m_nCaret - 2, 2);
        m_nCaret -= 2;
    } else if (before == '\n') {
        DeleteRange(m_nCaret - 1, 1);
        --m_nCaret;
    } else {
        DeleteRange(m_nCaret - 1, 1);
        --m_nCaret;
        Collapse();
        RecalSize(0);
        UpdateColors();
        InvalidateLine(CaretLine());
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        if (m_bFocus) SetCaretPos(m_ptCaret);
        return FALSE;
    }
    Collapse();
    RememberColumn();
    AfterEdit(true);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    return TRUE;
}

BOOL CEditScrollView::DeleteKey(bool control) {
    CEditDocument* doc = GetEditDocument();
    if (m_nSelStart != m_nSelEnd && m_nSelStart >= 0) {
        DeleteSelection();
        return TRUE;
    }
    int length = (int)doc->GetLength();
    if (m_nCaret < 0 || m_nCaret + 1 >= length) return TRUE;
    char at = doc->GetAt(m_nCaret);
    if (control && !IsWordStop(at)) {
        int end = m_nCaret;
        while (end < length - 1 && !IsWordStop(doc->GetAt(end))) ++end;
        DeleteRange(m_nCaret, end - m_nCaret);
    } else if (IsHigh(at) && m_nCaret + 2 < length) {
        DeleteRange(m_nCaret, 2);
    } else if (at == '\n') {
        DeleteRange(m_nCaret, 1);
    } else {
        DeleteRange(m_nCaret, 1);
        RecalSize(0);
        UpdateColors();
        InvalidateLine(CaretLine());
        return FALSE;
    }
    Collapse();
    AfterEdit(true);
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    return TRUE;
}

void CEditScrollView::OnChar(UINT nChar, UINT, UINT) {
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr || doc->GetLength() <= 0 || nChar > 0xFF) return;
    char c = (char)nChar;
    bool printable = (nChar >= 0x20 && nChar < 0x7F) || (nChar & 0x80) != 0;
    if (!printable) return;
    char typed[2] = {c, 0};
    if (m_nOverwrite != 0 && doc->GetAt(m_nSelStart) != '\n') {
        int n = IsHigh(doc->GetAt(m_nSelStart)) ? 2 : 1;
        RecordReplacement(m_nSelStart, n, typed);
        doc->Replace(m_nSelStart, n, c);
        m_nCaret = m_nSelStart + 1;
        UpdateColors();
        Invalidate(FALSE);
    } else if (m_nOverwrite == 0 && m_nSelStart != m_nSelEnd) {
        RecordReplacement(m_nSelStart, m_nSelEnd - m_nSelStart, typed);
        doc->Replace(m_nSelStart, m_nSelEnd - m_nSelStart, typed);
        m_nCaret = m_nSelStart + 1;
        UpdateColors();
        Invalidate(FALSE);
    } else {
        RecordInsertion(m_nCaret, c);
        doc->Insert(m_nCaret, c);
        ++m_nCaret;
        doc->SetModifiedFlag(TRUE);
        Collapse();
        AfterEdit(false);
    }
    Collapse();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    m_nSearchOrigin = m_nCaret;
}

// An input-method character arrives whole: lead byte in bits 8 to 15, trail byte in bits 0 to 7.
void CEditScrollView::OnImeChar(WPARAM wParam) {
    CEditDocument* doc = GetEditDocument();
    if (doc == nullptr || doc->GetLength() <= 0) return;
    char pair[3] = {(char)((wParam >> 8) & 0xFF), (char)(wParam & 0xFF), 0};
    if (m_nSelStart != m_nSelEnd) {
        RecordReplacement(m_nSelStart, m_nSelEnd - m_nSelStart, pair);
        doc->Replace(m_nSelStart, m_nSelEnd - m_nSelStart, pair);
        m_nCaret = m_nSelStart + 2;
        Collapse();
        RecalSize(0);
        CalcScrollSize();
        ScrollToCaret();
        UpdateColors();
        Invalidate(FALSE);
    } else {
        auto* record = new CUndoInfo;
        record->Add(1, m_nCaret, pair);
        doc->SetUndoInfo(record);
        doc->Insert(m_nCaret, pair);
        m_nCaret += 2;
        Collapse();
        AfterEdit(false);
    }
    UpdateWindow();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    doc->SetModifiedFlag(TRUE);
}

LRESULT CEditScrollView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_IME_CHAR) {
        OnImeChar(wParam);
        return 0;
    }
    return CView::DefWindowProc(message, wParam, lParam);
}

int CEditScrollView::ReplaceSelection(const char* text) {
    if (m_nSelStart == m_nSelEnd || text == nullptr) return 0;
    CEditDocument* doc = GetEditDocument();
    RecordReplacement(m_nSelStart, m_nSelEnd - m_nSelStart, text);
    doc->Replace(m_nSelStart, m_nSelEnd - m_nSelStart, text);
    m_nCaret = m_nSelEnd = m_nSelStart;
    RecalSize(0);
    CalcScrollSize();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    UpdateColors();
    Invalidate(FALSE);
    return 1;
}

void CEditScrollView::OnUpdateInsertStatus(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_nOverwrite != 0);
}
