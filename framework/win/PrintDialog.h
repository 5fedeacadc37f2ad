// CPrintDialog: the common print and print-setup dialogs, answered by the modal hook in tests, and
// CPrintInfo, what the printing commands pass to a view's printing hooks.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "framework/base/Geometry.h"
#include "framework/base/String.h"

class CWnd;

// m_pd is the dialog's PRINTDLGA. The device blocks (hDevMode, hDevNames) are the application's
// printer choice, lent to the dialog and never freed by it; a printer context it made (hDC) belongs
// to whoever takes it with TakePrinterDC, else the dialog deletes it when destroyed.
class CPrintDialog {
public:
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                        PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* parent = nullptr);
    ~CPrintDialog();
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // The dialog, or the modal hook in its place (the request's dialog pointer is this object; a hook
    // answering IDOK may set flags and pages, and gets the printer choice and context made for it).
    INT_PTR DoModal();
    // The default printer without a dialog; FALSE when there is none.
    BOOL GetDefaults();
    // A context for the chosen printer, or null.
    HDC CreatePrinterDC();
    HDC TakePrinterDC();

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintToFile() const { return (m_pd.Flags & PD_PRINTTOFILE) != 0; }
    UINT GetFromPage() const { return m_pd.nFromPage; }
    UINT GetToPage() const { return m_pd.nToPage; }

    PRINTDLGA m_pd;

private:
    BOOL m_bPrintSetupOnly;
    // Fills the printer choice and context that a real dialog returns, for a hook's IDOK.
    void CompleteHookAnswer();
};

// The printing state of one print or preview run. Pages count from 1. The page range the user
// asked for is the dialog's; the document's page count is the range's maximum.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE;  // print without the dialog, on the chosen printer
    BOOL m_bPreview = FALSE; // a print preview rather than a print
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1; // pages the preview shows at a time (1 or 2)
    CString m_strPageDesc;       // the preview's page text formats, one page and two pages, '\n'-separated
    CRect m_rectDraw;            // the current page's printable area in logical units
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;

    // The document's pages. The dialog's fields are 16-bit, so it shows at most 65535; the run
    // itself counts on.
    void SetMinPage(UINT page);
    void SetMaxPage(UINT page);
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    // The first and last page to print: the range asked for when there is one, clamped to the
    // document's pages, else all of them.
    UINT GetFromPage() const;
    UINT GetToPage() const;
};
