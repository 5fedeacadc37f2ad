// The printed page's layout and drawing: lines per page from the page's height in screen pixels, and
// the printer context mapped so that a screen pixel covers as much paper as on the screen.
#include "views/PrintPages.h"

#include <algorithm>

#include "documents/EditDocument.h"
#include "framework/win/Dc.h"
#include "framework/win/Wnd.h"

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

bool CPrintPages::LayOut(CDC* printer, UINT page, CWnd* screen, const CFont& font, int cellWidth) {
    CClientDC screenDC(screen);
    int screenX = screenDC.GetDeviceCaps(LOGPIXELSX), screenY = screenDC.GetDeviceCaps(LOGPIXELSY);
    int printerX = printer->GetDeviceCaps(LOGPIXELSX), printerY = printer->GetDeviceCaps(LOGPIXELSY);
    LOGFONTA logFont = {};
    font.GetLogFont(&logFont);
    CPrintPageLayout layout =
        CPrintPageLayout::Compute(printer->GetDeviceCaps(VERTRES), printerY, screenY, logFont.lfHeight, page);
    m_nLinesPerPage = layout.linesPerPage;
    m_nFirstLine = layout.firstLine;
    m_nLastLine = layout.lastLine;
    if (layout.linesPerPage <= 0 || printerX <= 0) return false;
    // A line is cut at the page's right edge: bytes beyond it would only be clipped (two a cell at most).
    int pageWidth = (int)((long long)screenX * printer->GetDeviceCaps(HORZRES) / printerX);
    m_nLineBytes = std::max(1, 2 * (pageWidth / std::max(1, cellWidth) + 1));
    printer->SetMapMode(MM_ANISOTROPIC);
    printer->SetWindowExt(screenX, screenY);
    printer->SetViewportExt(printerX, printerY);
    return true;
}

void CPrintPages::Draw(CDC* printer, CEditDocument& doc, CFont& font, const CGridText::Grid& grid, int left,
                       int lineHeight) const {
    CFont* oldFont = printer->SelectObject(&font);
    int lines = doc.LineCount();
    CGridText& text = CGridText::Scratch();
    int oldMode = printer->SetBkMode(TRANSPARENT);
    for (int line = m_nFirstLine; line <= m_nLastLine && line < lines; ++line) {
        CString bytes = doc.GetLine(line);
        int count = std::min(bytes.GetLength(), m_nLineBytes);
        text.LayOut(bytes, count, left, grid);
        text.Draw(printer, (line - m_nFirstLine) * lineHeight, 0, count);
    }
    printer->SetBkMode(oldMode);
    if (oldFont != nullptr) printer->SelectObject(oldFont);
}
