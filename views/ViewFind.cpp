// Find and replace in both views: the Find, Replace and Find Next commands and the modeless dialog's
// notifications, handed to the view's find and replace.
#include "framework/win/FindReplaceDialog.h"
#include "views/EditScrollView.h"

void CEditScrollView::InitFindReplace(int bFindOnly, const char* findWhat) {
    m_find.OpenDialog(bFindOnly, findWhat);
}

void CEditScrollView::OnEditFind() {
    int start = 0, end = 0;
    m_find.TakeFindText(start, end);
    InitFindReplace(TRUE, m_find.LastFind());
}

// Replace selects the word it took; on white space it leaves an empty selection at the caret.
void CEditScrollView::OnEditReplace() {
    int start = 0, end = 0;
    if (!m_find.TakeFindText(start, end)) start = end = m_model.Caret();
    m_model.MarkSelection(start, end);
    InitFindReplace(FALSE, m_find.LastFind());
}

void CEditScrollView::OnUpdateEditFind(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditDocument()->Length() > 0);
}

void CEditScrollView::OnEditFindnext() {
    m_find.FindNext();
}

LRESULT CEditScrollView::OnFindReplace(WPARAM, LPARAM lParam) {
    CFindReplaceDialog* dialog = CFindReplaceDialog::GetNotifier(lParam);
    if (dialog != nullptr && GetEditDocument() != nullptr) m_find.Notify(*dialog);
    return 0;
}
