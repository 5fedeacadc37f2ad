// Printing the editor views: the framework's printing steps, each handing the page to the view's
// printed-page layout.
#include "framework/win/MessageBox.h"
#include "views/EditScrollView.h"

namespace {
const char kPageTooSmall[] =
    "\xB4\xF2\xD3\xA1\xD2\xB3\xC3\xE6\xCC\xAB\xD0\xA1\xA3\xBA\xD2\xBB\xD2\xB3\xC8\xDD\xB2\xBB"
    "\xCF\xC2\xC1\xBD\xD0\xD0\xCE\xC4\xD7\xD6\xA1\xA3\xC7\xEB\xBB\xBB\xD3\xC3\xB8\xFC\xB4\xF3"
    "\xB5\xC4\xD6\xBD\xD5\xC5\xBB\xF2\xB8\xC4\xB1\xE4\xB4\xF2\xD3\xA1\xB7\xBD\xCF\xF2\xA1\xA3";
// 打印页面太小：一页容不下两行文字。请换用更大的纸张或改变打印方向。
} // namespace

BOOL CEditScrollView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CEditScrollView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
    if (!m_print.LayOut(pDC, pInfo->m_nCurPage, this, m_font, m_metrics.unit.cx)) {
        pInfo->m_bContinuePrinting = FALSE;
        AfxMessageBox(kPageTooSmall, MB_OK | MB_ICONSTOP);
        return;
    }
    CEditDocument* doc = GetEditDocument();
    int lines = doc != nullptr ? doc->LineCount() : 1;
    UINT pages = (UINT)(lines / m_print.LinesPerPage() + 1);
    pInfo->SetMaxPage(pages);
    pInfo->m_nNumPreviewPages = pages;
}

void CEditScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    if (pDC == nullptr || !pDC->IsPrinting() || pInfo == nullptr) {
        CView::OnPrepareDC(pDC, pInfo);
        return;
    }
    if (!m_print.LayOut(pDC, pInfo->m_nCurPage, this, m_font, m_metrics.unit.cx))
        pInfo->m_bContinuePrinting = FALSE;
}

void CEditScrollView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
