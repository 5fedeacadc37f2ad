// CFileDialog: the common open and save-as dialogs, answered by the modal hook in tests.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "framework/base/String.h"

class CWnd;

// m_szFileName holds the chosen path after DoModal answers IDOK; a modal hook that answers for
// the dialog may write it (the request's dialog pointer is this object).
class CFileDialog {
public:
    // filter: "name|pattern|name|pattern||", as the framework's filters are written.
    CFileDialog(BOOL openFileDialog, LPCSTR defaultExt = nullptr, LPCSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_szFileName); }

    OPENFILENAMEA m_ofn;
    char m_szFileName[MAX_PATH];

private:
    BOOL m_bOpenFileDialog;
    CString m_strFilter; // the filter with NULs in place of '|'
    CString m_strDefaultExt;
};
