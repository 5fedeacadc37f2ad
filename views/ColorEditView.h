// CColorEditView: the coloured editor view, text drawn run by run in the document's colours.
#pragma once

#include "documents/ColorEditDoc.h"
#include "views/EditScrollView.h"
#include "views/WindowColors.h"

// The render flag asks the next paint to colour the visible window first; edits, scrolls, size
// changes and title searches set it.
class CColorEditView : public CEditScrollView {
    DECLARE_DYNCREATE(CColorEditView)
public:
    CColorEditView() : CEditScrollView(CTwinTraits{false, true}) {}
    CColorEditDoc* GetDocument() const { return static_cast<CColorEditDoc*>(m_pDocument); }
    int ColoredTextOut(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line);
    CPoint DrawTextA(CDC* pDC, CPoint point, int line, int selection);
    void UpdateColors() override { m_bRender = TRUE; }
    void SetRenderFlag(int flag) override { m_bRender = flag; }
    BOOL GetRenderFlag() const { return m_bRender; }

protected:
    DECLARE_MESSAGE_MAP()
    int DrawTextRun(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line) override {
        return ColoredTextOut(pDC, x, y, first, last, tabOrigin, line);
    }
    void BeforeDrawLines() override;
    void AfterPaste() override { UpdateColors(); }
    bool LinesBelowKeepColors(int line, int shift) override;

private:
    void VisibleStretch(int last, int& visible, int& end);

    BOOL m_bRender = FALSE;
    CWindowColors m_drawn; // the colours of the last rendering
};
