// Keyboard input in the editor views: each key, typed byte or input-method character goes to the edit
// model's rule, then the view scrolls, repaints and places the caret as the rule's ending asks.
#include <algorithm>

#include "views/EditScrollView.h"

namespace {
bool Held(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

EditKey KeyOf(UINT key) {
    switch (key) {
    case VK_BACK:
        return EditKey::kBack;
    case VK_DELETE:
        return EditKey::kDelete;
    case VK_TAB:
        return EditKey::kTab;
    case VK_RETURN:
        return EditKey::kReturn;
    case VK_SHIFT:
        return EditKey::kShift;
    case VK_INSERT:
        return EditKey::kInsert;
    case VK_PRIOR:
        return EditKey::kPageUp;
    case VK_NEXT:
        return EditKey::kPageDown;
    case VK_HOME:
        return EditKey::kHome;
    case VK_END:
        return EditKey::kEnd;
    case VK_LEFT:
        return EditKey::kLeft;
    case VK_RIGHT:
        return EditKey::kRight;
    case VK_UP:
        return EditKey::kUp;
    case VK_DOWN:
        return EditKey::kDown;
    default:
        return EditKey::kOther;
    }
}
} // namespace

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
    if (!m_model.HasText()) return;
    int pageRows = m_nClientHeight / m_unit.cy;
    if (!EndKey(m_model.Key(KeyOf(nChar), Held(VK_CONTROL), Held(VK_SHIFT), pageRows))) return;
    MoveSystemCaret();
    ShowCaretByPosition();
    Default();
}

void CEditScrollView::OnKeyUp(UINT, UINT, UINT) {
    Default();
}

// FALSE for the keys that end on their own (the short deletions, Backspace over a selection).
BOOL CEditScrollView::EndKey(const CKeyEnding& ending) {
    switch (ending.kind) {
    case CKeyEnding::kNone:
        break;
    case CKeyEnding::kMove:
        AfterMove(ending.first, ending.last, ending.wholeWindow);
        break;
    case CKeyEnding::kPage:
        if (ending.shift) {
            ScrollToCaret();
            Invalidate(FALSE);
        } else {
            // Scrolls by the caret's own move, which leaves it in view only if it was in view before.
            ScrollToCurrent(1);
        }
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        ScrollToCaret();
        UpdateColors();
        UpdateWindow();
        break;
    case CKeyEnding::kEdit:
        AfterEdit();
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        break;
    case CKeyEnding::kDeleteSelection:
        if (ending.backspace) ScrollToCaret();
        if (m_model.CaretLine() < m_model.First().line) ScrollToPosition(1);
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        RepaintEdit();
        if (ending.backspace) UpdateWindow();
        break;
    case CKeyEnding::kShortDeletion:
        RepaintEdit();
        m_ptCaret = GetCaretPos(m_nLeftMargin);
        MoveSystemCaret();
        break;
    }
    return ending.Common();
}

void CEditScrollView::OnChar(UINT nChar, UINT, UINT) {
    if (!m_model.HasText() || nChar > 0xFF) return;
    bool printable = (nChar >= 0x20 && nChar < 0x7F) || (nChar & 0x80) != 0;
    if (!printable) return;
    TypeResult typed = m_model.Type((unsigned char)nChar);
    if (typed == TypeResult::kRefused) return;
    if (typed == TypeResult::kReplaced)
        RepaintEdit();
    else
        AfterEdit();
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
}

// An input-method character arrives whole: lead byte in bits 8 to 15, trail byte in bits 0 to 7. A
// single-byte character (no lead byte) is typed like any other.
void CEditScrollView::OnImeChar(WPARAM wParam) {
    // A character has sixteen bits at most, and a lead byte needs its trail: anything else is no character.
    if (!m_model.HasText() || wParam > 0xFFFF) return;
    char lead = (char)((wParam >> 8) & 0xFF), trail = (char)(wParam & 0xFF);
    if (lead != 0 && trail == 0) return;
    if (lead == 0) {
        OnChar((UINT)(wParam & 0xFF), 1, 0);
        return;
    }
    TypeResult typed = m_model.TypePair(lead, trail);
    if (typed == TypeResult::kRefused) return;
    if (typed == TypeResult::kReplaced) {
        ScrollToCaret();
        RepaintEdit();
    } else {
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
    if (!m_model.ReplaceSelection(text)) return 0;
    m_ptCaret = GetCaretPos(m_nLeftMargin);
    PlaceCaret();
    RepaintEdit();
    return 1;
}

void CEditScrollView::OnUpdateInsertStatus(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_model.IsOverwrite());
}
