// The common file dialogs behind the modal hook.
#include "framework/win/FileDialog.h"

#include <commdlg.h>

#include "framework/win/HostLookup.h"
#include "framework/win/MessageBox.h"
#include "framework/win/Wnd.h"

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExt, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : m_ofn(), m_szFileName(), m_bOpenFileDialog(openFileDialog), m_strFilter(filter),
      m_strDefaultExt(defaultExt) {
    if (fileName != nullptr) lstrcpynA(m_szFileName, fileName, MAX_PATH);
    char* chars = m_strFilter.GetBuffer(m_strFilter.GetLength() + 1);
    for (int i = 0; chars[i] != 0; ++i)
        if (chars[i] == '|') chars[i] = '\0';
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent != nullptr ? parent->m_hWnd : MessageBoxOwner();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFilter = m_strFilter.IsEmpty() ? nullptr : chars;
    m_ofn.lpstrDefExt = m_strDefaultExt.IsEmpty() ? nullptr : (LPCSTR)m_strDefaultExt;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_PATHMUSTEXIST | (openFileDialog ? OFN_FILEMUSTEXIST : 0);
}

INT_PTR CFileDialog::DoModal() {
    AFX_MODAL_REQUEST request = {AFX_MODAL_FILEDIALOG, m_bOpenFileDialog ? "open" : "save as", 0, 0, this};
    INT_PTR answer = IDCANCEL;
    if (AfxCallModalHook(request, &answer)) return answer;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}
