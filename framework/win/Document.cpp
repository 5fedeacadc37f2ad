// Documents: the view list, the path and title, opening, saving and closing with their prompts.
#include "framework/win/Document.h"

#include <algorithm>
#include <vector>

#include "framework/win/DocTemplate.h"
#include "framework/win/FileDialog.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/View.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {
// "是否保存对 %s 的修改?" (save the changes to %s?)
const char kSavePrompt[] = "\xCA\xC7\xB7\xF1\xB1\xA3\xB4\xE6\xB6\xD4 %s \xB5\xC4\xD0\xDE\xB8\xC4?";
// "无法打开文档 %s。" (the document %s cannot be opened)
const char kOpenFailed[] = "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xCE\xC4\xB5\xB5 %s\xA1\xA3";
// "无法保存文档 %s。" (the document %s cannot be saved)
const char kSaveFailed[] = "\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6\xCE\xC4\xB5\xB5 %s\xA1\xA3";
// "所有文件 (*.*)" (all files)
const char kAllFilesFilter[] = "\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE (*.*)|*.*||";
} // namespace

CDocument::~CDocument() {
    // Views outliving their document forget it rather than call back into freed memory.
    POSITION position = m_viewList.GetHeadPosition();
    while (position != nullptr) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(position));
        view->m_pDocument = nullptr;
        view->OnDocumentChanged();
    }
    m_viewList.RemoveAll();
    if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR title) {
    m_strTitle = title;
    UpdateFrameTitles();
}

void CDocument::SetModifiedFlag(BOOL modified) {
    bool changed = (m_bModified != FALSE) != (modified != FALSE);
    m_bModified = modified;
    if (changed) UpdateFrameTitles();
}

void CDocument::UpdateFrameTitles() {
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CFrameWnd* frame = GetNextView(position)->GetParentFrame();
        if (frame != nullptr) frame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(LPCSTR path, BOOL addToMRU) {
    m_strPathName = path != nullptr ? path : "";
    int slash = m_strPathName.ReverseFind('\\');
    int forward = m_strPathName.ReverseFind('/');
    if (forward > slash) slash = forward;
    SetTitle(m_strPathName.Mid(slash + 1));
}

void CDocument::AddView(CView* view) {
    if (view == nullptr || view->m_pDocument == this) return;
    if (view->m_pDocument != nullptr) view->m_pDocument->RemoveView(view);
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    view->OnDocumentChanged();
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
    POSITION position = m_viewList.Find(view);
    if (position == nullptr) return;
    m_viewList.RemoveAt(position);
    view->m_pDocument = nullptr;
    view->OnDocumentChanged();
    OnChangedViewList();
}

CView* CDocument::GetNextView(POSITION& position) const {
    return static_cast<CView*>(m_viewList.GetNext(position));
}

void CDocument::OnChangedViewList() {
    if (m_viewList.IsEmpty() && m_bAutoDelete && !m_bClosing) OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CView* view = GetNextView(position);
        if (view != sender) view->OnUpdate(sender, hint, hintObject);
    }
}

int CDocument::CountFrames() const {
    std::vector<CFrameWnd*> frames;
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CFrameWnd* frame = GetNextView(position)->GetParentFrame();
        if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    return (int)frames.size();
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        CString text;
        text.Format(kOpenFailed, path);
        AfxMessageBox(text);
        return FALSE;
    }
    DeleteContents();
    CArchive archive(&file, CArchive::load);
    Serialize(archive);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR path) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        CString text;
        text.Format(kSaveFailed, path);
        AfxMessageBox(text);
        return FALSE;
    }
    CArchive archive(&file, CArchive::store);
    Serialize(archive);
    SetModifiedFlag(FALSE);
    return file.Close();
}

void CDocument::OnCloseDocument() {
    if (m_bClosing) return;
    m_bClosing = TRUE;
    // Destroying a frame destroys its views, which leave the view list one by one.
    POSITION position;
    while ((position = GetFirstViewPosition()) != nullptr) {
        CView* view = GetNextView(position);
        CFrameWnd* frame = view->GetParentFrame();
        if (frame != nullptr)
            frame->DestroyWindow();
        else
            view->DestroyWindow();
        if (m_viewList.Find(view) != nullptr) RemoveView(view); // a view whose window was already gone
    }
    DeleteContents();
    m_bClosing = FALSE;
    if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame) {
    return CountFrames() > 1 || SaveModified();
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    CString name = m_strTitle.IsEmpty() ? m_strPathName : m_strTitle;
    CString text;
    text.Format(kSavePrompt, (LPCSTR)name);
    switch (AfxMessageBox(text, MB_YESNOCANCEL)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave() {
    return DoSave(m_strPathName.IsEmpty() ? nullptr : (LPCSTR)m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR path, BOOL replace) {
    CString target = path != nullptr ? path : "";
    if (target.IsEmpty()) {
        CFileDialog dialog(FALSE, nullptr, m_strTitle, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           kAllFilesFilter);
        if (dialog.DoModal() != IDOK) return FALSE;
        target = dialog.GetPathName();
        if (target.IsEmpty()) return FALSE;
    }
    if (!OnSaveDocument(target)) return FALSE;
    if (replace) SetPathName(target);
    return TRUE;
}

void CDocument::OnFileClose() {
    if (!SaveModified()) return;
    OnCloseDocument();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
