// Keyboard input in the editor views: the messages go to the view's keyboard helper; typing's
// replacement of a selection and the overwrite indicator.
#include "views/EditScrollView.h"

void CEditScrollView::OnKeyDown(UINT nChar, UINT, UINT) {
    if (m_keys.Key(nChar)) Default();
}

void CEditScrollView::OnKeyUp(UINT, UINT, UINT) {
    Default();
}

void CEditScrollView::OnChar(UINT nChar, UINT, UINT) {
    m_keys.Char(nChar);
}

LRESULT CEditScrollView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Alt with a key comes as a system key; the column block's keys are taken here.
    if (message == WM_SYSKEYDOWN && CColumnInput(*this).SysKey((UINT)wParam)) return 0;
    if (message == WM_IME_CHAR) {
        m_keys.ImeChar(wParam);
        return 0;
    }
    return CView::DefWindowProc(message, wParam, lParam);
}

// The caret lands at the start of the new text.
int CEditScrollView::ReplaceSelection(const char* text) {
    if (!CKeyRules(m_model).ReplaceSelection(text)) return 0;
    PlaceCaret();
    m_scroller.RepaintEdit();
    return 1;
}

void CEditScrollView::OnUpdateInsertStatus(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_model.IsOverwrite());
}
