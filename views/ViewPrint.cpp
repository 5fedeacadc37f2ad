// Printing the editor views: the page layout (lines per page, the current page's lines) and the
// printer context's mapping, so that printed text has its on-screen size.
#include <algorithm>
#include <climits>

#include "framework/win/MessageBox.h"
#include "views/EditScrollView.h"

namespace {
const char kPageTooSmall[] =
    "\xB4\xF2\xD3\xA1\xD2\xB3\xC3\xE6\xCC\xAB\xD0\xA1\xA3\xBA\xD2\xBB\xD2\xB3\xC8\xDD\xB2\xBB"
    "\xCF\xC2\xC1\xBD\xD0\xD0\xCE\xC4\xD7\xD6\xA1\xA3\xC7\xEB\xBB\xBB\xD3\xC3\xB8\xFC\xB4\xF3"
    "\xB5\xC4\xD6\xBD\xD5\xC5\xBB\xF2\xB8\xC4\xB1\xE4\xB4\xF2\xD3\xA1\xB7\xBD\xCF\xF2\xA1\xA3";
// 打印页面太小：一页容不下两行文字。请换用更大的纸张或改变打印方向。
} // namespace

CPrintPageLayout CPrintPageLayout::Compute(int pageHeight, int printerDpiY, int screenDpiY, int fontHeight,
                                           UINT page) {
    CPrintPageLayout layout;
    if (printerDpiY <= 0 || fontHeight == 0 || page == 0) return layout;
    long long screenHeight = (long long)screenDpiY * pageHeight / printerDpiY;
    long long perPage = screenHeight / (fontHeight < 0 ? -fontHeight : fontHeight) - 1;
    if (perPage <= 0) return layout;
    layout.linesPerPage = (int)std::min<long long>(perPage, INT_MAX);
    long long first = (long long)(page - 1) * layout.linesPerPage;
    // Pages past the last line's reach print nothing; the lines stay within int.
    layout.firstLine = (int)std::min<long long>(first, INT_MAX - layout.linesPerPage);
    layout.lastLine = layout.firstLine + layout.linesPerPage - 1;
    return layout;
}

bool CEditScrollView::LayOutPrintPage(CDC* pDC, CPrintInfo* pInfo) {
    CClientDC screen(this);
    int screenX = screen.GetDeviceCaps(LOGPIXELSX), screenY = screen.GetDeviceCaps(LOGPIXELSY);
    int printerX = pDC->GetDeviceCaps(LOGPIXELSX), printerY = pDC->GetDeviceCaps(LOGPIXELSY);
    LOGFONTA font = {};
    m_font.GetLogFont(&font);
    m_nPrintCurrentPage = (int)pInfo->m_nCurPage;
    CPrintPageLayout layout = CPrintPageLayout::Compute(pDC->GetDeviceCaps(VERTRES), printerY, screenY,
                                                        font.lfHeight, pInfo->m_nCurPage);
    m_nPrintLinesPerPage = layout.linesPerPage;
    m_nPrintFirstLine = layout.firstLine;
    m_nPrintLastLine = layout.lastLine;
    if (layout.linesPerPage <= 0 || printerX <= 0) return false;
    // A line is cut at the page's right edge: bytes beyond it would only be clipped (two a cell at most).
    int pageWidth = (int)((long long)screenX * pDC->GetDeviceCaps(HORZRES) / printerX);
    m_nPrintLineBytes = std::max(1, 2 * (pageWidth / std::max(1, (int)m_unit.cx) + 1));
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(screenX, screenY);
    pDC->SetViewportExt(printerX, printerY);
    return true;
}

BOOL CEditScrollView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CEditScrollView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
    if (!LayOutPrintPage(pDC, pInfo)) {
        pInfo->m_bContinuePrinting = FALSE;
        AfxMessageBox(kPageTooSmall, MB_OK | MB_ICONSTOP);
        return;
    }
    CEditDocument* doc = GetEditDocument();
    long lines = doc != nullptr ? doc->GetLineCount() : 1;
    UINT pages = (UINT)(lines / m_nPrintLinesPerPage + 1);
    pInfo->SetMaxPage(pages);
    pInfo->m_nNumPreviewPages = pages;
}

void CEditScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    if (pDC == nullptr || !pDC->IsPrinting() || pInfo == nullptr) {
        CView::OnPrepareDC(pDC, pInfo);
        return;
    }
    if (!LayOutPrintPage(pDC, pInfo)) pInfo->m_bContinuePrinting = FALSE;
}

void CEditScrollView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
