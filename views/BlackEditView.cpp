// The plain view's drawing of a line stretch: one black run with the selection inverted.
#include "views/BlackEditView.h"

IMPLEMENT_DYNCREATE(CBlackEditView, CEditScrollView)

BEGIN_MESSAGE_MAP(CBlackEditView, CEditScrollView)
END_MESSAGE_MAP()

int CBlackEditView::BlackTextOut(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line, int) {
    CEditDocument* doc = GetEditDocument();
    if (doc->GetLineSize(line) == 0 || doc->GetAt(first) == 0) return 0;
    if (doc->GetAt(first) == '\n') {
        DrawEndOfLineCell(pDC, x, y, first, RunStyle(tabOrigin, line));
        return 1;
    }
    DrawSelectedRuns(pDC, doc->GetString(first, last - first), x, y, first, RunStyle(tabOrigin, line),
                     nullptr);
    return 1;
}
