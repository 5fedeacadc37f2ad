// The editor view's keyboard: virtual keys to the model's keys, and each rule's ending on the screen.
#include "views/KeyInput.h"

#include <algorithm>

#include "framework/win/Desktop.h"
#include "views/EditScrollView.h"

namespace {
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

void CKeyInput::AfterMove(int firstLine, int lastLine, bool wholeWindow) {
    m_view.m_caret.Point() = m_view.GetCaretPos(m_view.m_metrics.leftMargin);
    if (m_view.ScrollToCaret()) m_view.UpdateColors();
    if (wholeWindow)
        m_view.Invalidate(FALSE);
    else if (firstLine >= 0)
        m_view.InvalidateLine(std::min(firstLine, lastLine), std::max(firstLine, lastLine));
    m_view.UpdateWindow();
}

void CKeyInput::AfterEdit() {
    m_view.ScrollToCaret();
    m_view.m_scroller.RepaintEdit();
}

bool CKeyInput::Key(UINT key) {
    CEditModel& model = m_view.m_model;
    if (!model.HasText()) return false;
    CColumnInput column(m_view);
    if (column.IsActive() && column.Key(key)) return true;
    CKeyEnding ending =
        CKeyRules(model).Key(KeyOf(key), IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT), m_view.m_metrics.Rows());
    if (!EndKey(ending)) return false;
    m_view.m_caret.Place(m_view.m_metrics.leftMargin);
    return true;
}

// False for the keys that end on their own (the short deletions, Backspace over a selection).
bool CKeyInput::EndKey(const CKeyEnding& ending) {
    CViewCaret& caret = m_view.m_caret;
    int left = m_view.m_metrics.leftMargin;
    switch (ending.kind) {
    case CKeyEnding::kNone:
        break;
    case CKeyEnding::kMove:
        AfterMove(ending.first, ending.last, ending.wholeWindow);
        break;
    case CKeyEnding::kPage:
        if (ending.shift) {
            m_view.ScrollToCaret();
            m_view.Invalidate(FALSE);
        } else {
            // Scrolls by the caret's own move, which leaves it in view only if it was in view before.
            m_view.ScrollToCurrent(1);
        }
        caret.Point() = m_view.GetCaretPos(left);
        m_view.ScrollToCaret();
        m_view.UpdateColors();
        m_view.UpdateWindow();
        break;
    case CKeyEnding::kEdit:
        AfterEdit();
        caret.Point() = m_view.GetCaretPos(left);
        break;
    case CKeyEnding::kDeleteSelection:
        if (ending.backspace) m_view.ScrollToCaret();
        if (m_view.m_model.CaretLine() < m_view.m_model.First().line) m_view.ScrollToPosition(1);
        caret.Point() = m_view.GetCaretPos(left);
        m_view.m_scroller.RepaintEdit();
        if (ending.backspace) m_view.UpdateWindow();
        break;
    case CKeyEnding::kShortDeletion:
        m_view.m_scroller.RepaintEdit();
        caret.Point() = m_view.GetCaretPos(left);
        caret.Move();
        break;
    }
    return ending.Common();
}

void CKeyInput::Char(UINT c) {
    if (!m_view.m_model.HasText() || c > 0xFF) return;
    bool printable = (c >= 0x20 && c < 0x7F) || (c & 0x80) != 0;
    if (!printable || CColumnInput(m_view).Type((char)c, 0)) return;
    TypeResult typed = CKeyRules(m_view.m_model).Type((unsigned char)c);
    if (typed == TypeResult::kRefused) return;
    if (typed == TypeResult::kReplaced)
        m_view.m_scroller.RepaintEdit();
    else
        AfterEdit();
    m_view.PlaceCaret();
}

// A single-byte character (no lead byte) is typed like any other.
void CKeyInput::ImeChar(WPARAM wParam) {
    // A character has sixteen bits at most, and a lead byte needs its trail: anything else is no character.
    if (!m_view.m_model.HasText() || wParam > 0xFFFF) return;
    char lead = (char)((wParam >> 8) & 0xFF), trail = (char)(wParam & 0xFF);
    if (lead != 0 && trail == 0) return;
    if (lead == 0) {
        Char((UINT)(wParam & 0xFF));
        return;
    }
    if (CColumnInput(m_view).Type(lead, trail)) return;
    TypeResult typed = CKeyRules(m_view.m_model).TypePair(lead, trail);
    if (typed == TypeResult::kRefused) return;
    if (typed == TypeResult::kReplaced) {
        m_view.ScrollToCaret();
        m_view.m_scroller.RepaintEdit();
    } else {
        AfterEdit();
    }
    m_view.UpdateWindow();
    m_view.PlaceCaret();
}
