// The view's printing commands: the print dialog and printer context, the page loop, and the preview.
#include "framework/win/Dc.h"
#include "framework/win/Document.h"
#include "framework/win/FileDialog.h"
#include "framework/win/HostLookup.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/PrintPreview.h"
#include "framework/win/View.h"
#include "framework/win/WinApp.h"

namespace {
const char kNoPrinter[] =
    "\xC3\xBB\xD3\xD0\xB0\xB2\xD7\xB0\xB4\xF2\xD3\xA1\xBB\xFA\xA1\xA3\xC7\xEB\xCF\xC8\xD4\xDA"
    "\xCF\xB5\xCD\xB3\xD6\xD0\xCC\xED\xBC\xD3\xD2\xBB\xCC\xA8\xB4\xF2\xD3\xA1\xBB\xFA\xA1\xA3";
// 没有安装打印机。请先在系统中添加一台打印机。
const char kDocumentRefused[] =
    "\xB4\xF2\xD3\xA1\xBB\xFA\xC3\xBB\xD3\xD0\xBD\xD3\xCA\xDC\xD5\xE2\xB7\xDD\xCE\xC4"
    "\xB5\xB5\xA3\xAC\xCE\xDE\xB7\xA8\xB4\xF2\xD3\xA1\xA1\xA3";
// 打印机没有接受这份文档，无法打印。
const char kPageFailed[] =
    "\xB4\xF2\xD3\xA1\xB5\xDA %u \xD2\xB3\xCA\xB1\xB3\xF6\xB4\xED\xA3\xAC\xB4\xF2\xD3\xA1\xD2"
    "\xD1\xD6\xD0\xD6\xB9\xA1\xA3"; // 打印第 %u 页时出错，打印已中止。
const char kPrintingPage[] = "\xD5\xFD\xD4\xDA\xB4\xF2\xD3\xA1\xB5\xDA %u \xD2\xB3..."; // 正在打印第 %u 页...
const char kPrintFileFilter[] =
    "\xB4\xF2\xD3\xA1\xCE\xC4\xBC\xFE (*.prn)|*.prn|\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE "
    "(*.*)|*.*||"; // 打印文件 (*.prn)|*.prn|所有文件 (*.*)|*.*||

void ShowFrameMessage(LPCSTR text) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) frame->SetMessageText(text);
}

// Where a print-to-file run writes, asked of the user; false when cancelled.
bool AskOutputFile(CString& path) {
    CFileDialog dialog(FALSE, "prn", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kPrintFileFilter);
    if (dialog.DoModal() != IDOK) return false;
    path = dialog.GetPathName();
    return !path.IsEmpty();
}
} // namespace

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    CWinApp* app = AfxGetApp();
    CPrintDialog* dialog = pInfo->m_pPD;
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        if (app == nullptr || !app->GetPrinterDeviceDefaults(&dialog->m_pd)) {
            AfxMessageBox(kNoPrinter);
            return FALSE;
        }
        if (dialog->m_pd.hDC == nullptr) dialog->m_pd.hDC = dialog->CreatePrinterDC();
    } else {
        dialog->m_pd.nFromPage = (WORD)pInfo->GetMinPage();
        dialog->m_pd.nToPage = dialog->m_pd.nMaxPage;
        INT_PTR answer = app != nullptr ? app->DoPrintDialog(dialog) : dialog->DoModal();
        if (answer != IDOK) return FALSE;
    }
    if (dialog->m_pd.hDC == nullptr) {
        AfxMessageBox(kNoPrinter);
        return FALSE;
    }
    return TRUE;
}

BOOL CView::PreparePage(CDC* dc, CPrintInfo* pInfo, UINT page) {
    pInfo->m_nCurPage = page;
    OnPrepareDC(dc, pInfo);
    if (!pInfo->m_bContinuePrinting) return FALSE;
    pInfo->m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    dc->DPtoLP(&pInfo->m_rectDraw);
    return TRUE;
}

void CView::OnFilePrint() {
    CPrintInfo info;
    const MSG* msg = GetCurrentMessage();
    info.m_bDirect = msg->message == WM_COMMAND && LOWORD(msg->wParam) == ID_FILE_PRINT_DIRECT;
    if (!OnPreparePrinting(&info)) return;
    CString output;
    if (info.m_pPD->PrintToFile() && !AskOutputFile(output)) return;

    CDC dc;
    dc.Attach(info.m_pPD->TakePrinterDC());
    dc.m_bPrinting = TRUE;
    OnBeginPrinting(&dc, &info);
    if (!info.m_bContinuePrinting) {
        OnEndPrinting(&dc, &info);
        return;
    }
    CString title = m_pDocument != nullptr ? m_pDocument->GetTitle() : CString();
    DOCINFOA docInfo = {sizeof docInfo, title, output.IsEmpty() ? nullptr : (LPCSTR)output, nullptr, 0};
    if (dc.StartDoc(&docInfo) <= 0) {
        OnEndPrinting(&dc, &info);
        AfxMessageBox(kDocumentRefused);
        return;
    }
    bool failed = false;
    for (unsigned long long page = info.GetFromPage(); page <= info.GetToPage() && !failed; ++page) {
        if (!PreparePage(&dc, &info, (UINT)page)) break;
        CString status;
        status.Format(kPrintingPage, (UINT)page);
        ShowFrameMessage(status);
        failed = dc.StartPage() <= 0;
        if (!failed) {
            PreparePage(&dc, &info, (UINT)page); // a page start may reset the context's attributes
            OnPrint(&dc, &info);
            failed = dc.EndPage() <= 0;
        }
        if (failed) {
            CString message;
            message.Format(kPageFailed, (UINT)page);
            AfxMessageBox(message);
        }
    }
    if (failed)
        dc.AbortDoc();
    else
        dc.EndDoc();
    OnEndPrinting(&dc, &info);
    ShowFrameMessage(LoadResourceString(AFX_IDS_IDLEMESSAGE));
}

void CView::OnFilePrintPreview() {
    CPreviewView::Show(this);
}
