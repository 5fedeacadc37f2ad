// The documents' side of crash recovery: the modified flag's link to the recovery file, the offer
// made when a file is opened for which a newer recovery file exists, and the process-wide switch.
#include "documents/EditDocument.h"
#include "documents/ProgressBar.h"
#include "documents/RecoveryFiles.h"
#include "documents/RecoveryWriter.h"
#include "framework/win/File.h"
#include "framework/win/MessageBox.h"
#include "text/TextLoad.h"

namespace {
const char kRecoverQuestion[] =
    "\xBB\xD6\xB8\xB4\xCE\xB4\xB1\xA3\xB4\xE6\xB5\xC4\xD0\xDE\xB8\xC4?"; // 恢复未保存的修改?
const char kReadBarText[] = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE...";       // 读取文件...
} // namespace

void CEditDocument::SetModifiedFlag(BOOL modified) {
    CDocument::SetModifiedFlag(modified);
    if (!modified && m_recovery != nullptr) m_recovery->Discard();
}

void CEditDocument::OfferRecovery(LPCSTR path) {
    CString file;
    if (!recovery::IsEnabled() || !recovery::FindNewer(path, file)) return;
    if (AfxMessageBox(kRecoverQuestion, MB_YESNO) != IDYES) {
        ::DeleteFileA(file);
        return;
    }
    if (ReadRecovered(file)) {
        m_recovery->Adopt(file);
        SetModifiedFlag(TRUE);
        return;
    }
    // A recovery file that cannot be read whole leaves the file's own text.
    OpenFile(path);
}

// The text bytes exactly as the recovery file holds them, read by this family's own reading loop.
BOOL CEditDocument::ReadRecovered(LPCSTR recoveryFile) {
    CStdioFile file;
    ULONGLONG size = 0;
    if (!file.Open(recoveryFile, CFile::modeRead | CFile::typeBinary | CFile::shareDenyWrite) ||
        !recovery::ReadHeader(file.m_hFile, size) || size >= 0x7FFF0000ull)
        return FALSE;
    CProgressBar bar(kReadBarText, 40, 100);
    ClearText();
    RecalcScrollSize();
    int block = TextBlockSizeFor(size);
    BOOL ok = block > 0 && m_text->SetBufferSize(block);
    if (ok) {
        bar.SetPos(0);
        ok = ReadText(file, (long)size, kOpen, bar) && !m_text->AllocationFailed() &&
             !m_lines->AllocationFailed() && GetLength() == (long)size + 1;
    }
    bar.SetPos(100);
    return ok;
}

void CEditDocument::OnNoRecovery() {
    recovery::SetEnabled(!recovery::IsEnabled());
}

void CEditDocument::OnUpdateNoRecovery(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(recovery::IsEnabled() ? 0 : 1);
}
