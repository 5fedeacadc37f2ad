// CBlackEditView: the plain editor view, all text in black.
#pragma once

#include "documents/BlackEditDoc.h"
#include "views/EditScrollView.h"

class CBlackEditView : public CEditScrollView {
    DECLARE_DYNCREATE(CBlackEditView)
public:
    CBlackEditView() = default;
    CBlackEditDoc* GetDocument() const { return static_cast<CBlackEditDoc*>(m_pDocument); }
    int BlackTextOut(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line, int lineCount);

protected:
    DECLARE_MESSAGE_MAP()
    int DrawTextRun(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line) override {
        return BlackTextOut(pDC, x, y, first, last, tabOrigin, line, 0);
    }
};
