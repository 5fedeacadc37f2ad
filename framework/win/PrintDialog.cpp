// The print dialogs behind the modal hook, the application's printer choice, and the page range of a run.
#include "framework/win/PrintDialog.h"

#include "framework/win/HostLookup.h"
#include "framework/win/MessageBox.h"
#include "framework/win/WinApp.h"
#include "framework/win/Wnd.h"

namespace {
// A string of a DEVNAMES block at offset; empty when the block is missing.
CString DevNamesString(HGLOBAL block, WORD DEVNAMES::*offset) {
    if (block == nullptr) return CString();
    const DEVNAMES* names = (const DEVNAMES*)::GlobalLock(block);
    if (names == nullptr) return CString();
    CString text((LPCSTR)names + names->*offset);
    ::GlobalUnlock(block);
    return text;
}
} // namespace

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
    : m_pd(), m_bPrintSetupOnly(printSetupOnly) {
    m_pd.lStructSize = sizeof m_pd;
    m_pd.hwndOwner = parent != nullptr ? parent->m_hWnd : MessageBoxOwner();
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nFromPage = m_pd.nMinPage = 1;
    m_pd.nToPage = m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
    if (m_pd.hDC != nullptr) ::DeleteDC(m_pd.hDC);
}

INT_PTR CPrintDialog::DoModal() {
    AFX_MODAL_REQUEST request = {AFX_MODAL_PRINTDIALOG, m_bPrintSetupOnly ? "print setup" : "print", 0, 0,
                                 this};
    INT_PTR answer = IDCANCEL;
    if (AfxCallModalHook(request, &answer)) {
        if (answer == IDOK) CompleteHookAnswer();
        return answer;
    }
    return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

void CPrintDialog::CompleteHookAnswer() {
    if (m_pd.hDevNames == nullptr) GetDefaults();
    if ((m_pd.Flags & PD_RETURNDC) != 0 && m_pd.hDC == nullptr) m_pd.hDC = CreatePrinterDC();
}

// The system's default printer; a print (not setup) dialog also gets its context.
BOOL CPrintDialog::GetDefaults() {
    if (m_pd.hDevNames != nullptr || m_pd.hDevMode != nullptr) return FALSE; // it fills only empty blocks
    m_pd.Flags |= PD_RETURNDEFAULT;
    BOOL found = ::PrintDlgA(&m_pd);
    m_pd.Flags &= ~PD_RETURNDEFAULT;
    return found;
}

HDC CPrintDialog::CreatePrinterDC() {
    if (m_pd.hDevNames == nullptr) return nullptr;
    DEVMODEA* mode = m_pd.hDevMode != nullptr ? (DEVMODEA*)::GlobalLock(m_pd.hDevMode) : nullptr;
    HDC dc = ::CreateDCA(GetDriverName(), GetDeviceName(), nullptr, mode);
    if (mode != nullptr) ::GlobalUnlock(m_pd.hDevMode);
    return dc;
}

HDC CPrintDialog::TakePrinterDC() {
    HDC dc = m_pd.hDC;
    m_pd.hDC = nullptr;
    return dc;
}

CString CPrintDialog::GetDeviceName() const {
    return DevNamesString(m_pd.hDevNames, &DEVNAMES::wDeviceOffset);
}

CString CPrintDialog::GetDriverName() const {
    return DevNamesString(m_pd.hDevNames, &DEVNAMES::wDriverOffset);
}

CString CPrintDialog::GetPortName() const {
    return DevNamesString(m_pd.hDevNames, &DEVNAMES::wOutputOffset);
}

CPrintInfo::CPrintInfo() : m_pPD(new CPrintDialog(FALSE)) {
    m_strPageDesc = "\xB5\xDA %u \xD2\xB3\n\xB5\xDA %u-%u \xD2\xB3"; // 第 %u 页 / 第 %u-%u 页
}

CPrintInfo::~CPrintInfo() {
    delete m_pPD;
}

void CPrintInfo::SetMinPage(UINT page) {
    m_nMinPage = page;
    m_pPD->m_pd.nMinPage = (WORD)(page < 0xFFFF ? page : 0xFFFF);
}

void CPrintInfo::SetMaxPage(UINT page) {
    m_nMaxPage = page;
    m_pPD->m_pd.nMaxPage = (WORD)(page < 0xFFFF ? page : 0xFFFF);
}

UINT CPrintInfo::GetFromPage() const {
    if (!m_pPD->PrintRange()) return m_nMinPage;
    return m_pPD->GetFromPage() > m_nMinPage ? m_pPD->GetFromPage() : m_nMinPage;
}

UINT CPrintInfo::GetToPage() const {
    if (!m_pPD->PrintRange()) return m_nMaxPage;
    return m_pPD->GetToPage() < m_nMaxPage ? m_pPD->GetToPage() : m_nMaxPage;
}

void CWinApp::KeepPrinterChoice(HGLOBAL devMode, HGLOBAL devNames) {
    if (m_hDevMode != nullptr && m_hDevMode != devMode) ::GlobalFree(m_hDevMode);
    if (m_hDevNames != nullptr && m_hDevNames != devNames) ::GlobalFree(m_hDevNames);
    m_hDevMode = devMode;
    m_hDevNames = devNames;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* dialog) {
    dialog->m_pd.hDevMode = m_hDevMode;
    dialog->m_pd.hDevNames = m_hDevNames;
    INT_PTR answer = dialog->DoModal();
    // The dialog may have replaced or freed the blocks it was lent: what it holds now is the choice.
    KeepPrinterChoice(dialog->m_pd.hDevMode, dialog->m_pd.hDevNames);
    return answer;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd) {
    if (m_hDevNames == nullptr) {
        CPrintDialog defaults(TRUE);
        if (!defaults.GetDefaults()) return FALSE;
        KeepPrinterChoice(defaults.m_pd.hDevMode, defaults.m_pd.hDevNames);
    }
    // Lent, as to the dialog: the application keeps them.
    pd->hDevMode = m_hDevMode;
    pd->hDevNames = m_hDevNames;
    return m_hDevNames != nullptr;
}

void CWinApp::OnFilePrintSetup() {
    CPrintDialog dialog(TRUE);
    DoPrintDialog(&dialog);
}
