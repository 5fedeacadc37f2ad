// The host's read-only listing: reads a file's lines once and paints the ones that fit the window.
#include "host/ListingView.h"

#include "framework/win/Dc.h"
#include "framework/win/File.h"
#include "framework/win/MessageBox.h"

IMPLEMENT_DYNCREATE(CListingDoc, CDocument)
IMPLEMENT_DYNCREATE(CListingView, CView)

BOOL CListingDoc::OnOpenDocument(LPCSTR path) {
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) {
        CString text;
        text.Format("\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE %s",
                    path); // 无法打开文件 (cannot open the file)
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    DeleteContents();
    CString line;
    while (file.ReadString(line)) m_lines.push_back(line);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CListingView::OnInitialUpdate() {
    // 宋体 (the Song face), 10 points.
    if (m_font.GetSafeHandle() == nullptr) m_font.CreatePointFont(100, "\xCB\xCE\xCC\xE5");
    CView::OnInitialUpdate();
}

void CListingView::OnDraw(CDC* dc) {
    const CListingDoc* doc = static_cast<const CListingDoc*>(GetDocument());
    if (doc == nullptr) return;
    CFont* oldFont = m_font.GetSafeHandle() ? dc->SelectObject(&m_font) : nullptr;
    TEXTMETRICA metrics = {};
    dc->GetTextMetrics(&metrics);
    int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    CRect client;
    GetClientRect(&client);
    // The view's class paints no background of its own.
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
    dc->SetBkMode(TRANSPARENT);
    int y = 2;
    for (const CString& line : doc->Lines()) {
        if (y > client.bottom) break;
        dc->TabbedTextOut(4, y, line, line.GetLength(), 0, nullptr, 4);
        y += lineHeight > 0 ? lineHeight : 16;
    }
    if (oldFont != nullptr) dc->SelectObject(oldFont);
}
