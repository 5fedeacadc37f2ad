// A document's file encoding: what reading found, the switch that turns detection off, the
// encoding a save writes and the status-bar pane that shows it.
#include "documents/EditDocument.h"

#include "framework/win/MessageBox.h"

namespace {
// 第%d行有GBK编码无法表示的字符，文件以只读方式打开。
const char kLostCharacters[] =
    "\xB5\xDA%d\xD0\xD0\xD3\xD0GBK\xB1\xE0\xC2\xEB\xCE\xDE\xB7\xA8\xB1\xED\xCA\xBE\xB5\xC4"
    "\xD7\xD6\xB7\xFB\xA3\xAC\xCE\xC4\xBC\xFE\xD2\xD4\xD6\xBB\xB6\xC1\xB7\xBD\xCA\xBD"
    "\xB4\xF2\xBF\xAA\xA1\xA3";
// 文本有GBK编码无法表示的字符，不能改用这种编码。
const char kCannotConvert[] =
    "\xCE\xC4\xB1\xBE\xD3\xD0GBK\xB1\xE0\xC2\xEB\xCE\xDE\xB7\xA8\xB1\xED\xCA\xBE\xB5\xC4"
    "\xD7\xD6\xB7\xFB\xA3\xAC\xB2\xBB\xC4\xDC\xB8\xC4\xD3\xC3\xD5\xE2\xD6\xD6"
    "\xB1\xE0\xC2\xEB\xA1\xA3";
} // namespace

void CEditDocument::OnDetectEncoding() {
    SetOption(kOptionDetectEncoding, !HasOption(kOptionDetectEncoding));
}

void CEditDocument::OnUpdateDetectEncoding(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(HasOption(kOptionDetectEncoding) ? 1 : 0);
}

BOOL CEditDocument::SetEncoding(TextEncoding encoding) {
    if (encoding == m_format.encoding) return TRUE;
    if (m_nLostLine > 0) {
        AfxMessageBox(kCannotConvert);
        return FALSE;
    }
    m_format.encoding = encoding;
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CEditDocument::TakeReading(const CFileReading& reading) {
    m_format = reading.format;
    m_nLostLine = reading.lostLine;
    if (m_nLostLine == 0) return;
    CString text;
    text.Format(kLostCharacters, m_nLostLine);
    AfxMessageBox(text);
}

void CEditDocument::OnSaveAsEncoding(UINT id) {
    const TextEncoding was = m_format.encoding;
    const BOOL modified = IsModified();
    if (!SetEncoding((TextEncoding)(id - ID_FILE_SAVE_AS_GBK))) return;
    // A cancelled or failed save leaves the document as it was.
    if (!DoSave(nullptr)) {
        m_format.encoding = was;
        SetModifiedFlag(modified);
    }
}

void CEditDocument::OnUpdateSaveAsEncoding(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_nLostLine == 0);
    pCmdUI->SetCheck(pCmdUI->m_nID - ID_FILE_SAVE_AS_GBK == (UINT)m_format.encoding ? 1 : 0);
}

void CEditDocument::OnUpdateEncodingPane(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(EncodingName(m_format.encoding));
}
