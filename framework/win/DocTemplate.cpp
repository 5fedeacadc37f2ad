// Document templates: the document list and the creation of document, frame and view together.
#include "framework/win/DocTemplate.h"

#include "framework/win/Document.h"
#include "framework/win/Frame.h"
#include "framework/win/HostLookup.h"
#include "framework/win/MessageBox.h"
#include "framework/win/View.h"
#include "framework/win/WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

namespace {
// "无法创建文档。" (the document cannot be created)
const char kCreateFailed[] = "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xCE\xC4\xB5\xB5\xA1\xA3";
} // namespace

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(nIDResource), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {}

CDocTemplate::~CDocTemplate() {
    POSITION position = m_docList.GetHeadPosition();
    while (position != nullptr)
        static_cast<CDocument*>(m_docList.GetNext(position))->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* object = m_pDocClass != nullptr ? m_pDocClass->CreateObject() : nullptr;
    if (object == nullptr) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete object;
        return nullptr;
    }
    CDocument* doc = static_cast<CDocument*>(object);
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
    CObject* object = m_pFrameClass != nullptr ? m_pFrameClass->CreateObject() : nullptr;
    if (object == nullptr) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete object;
        return nullptr;
    }
    CFrameWnd* frame = static_cast<CFrameWnd*>(object);
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = doc;
    context.m_pNewDocTemplate = this;
    context.m_pCurrentFrame = other;
    // A frame that fails to load has deleted itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
    frame->InitialUpdateFrame(doc, makeVisible);
}

CDocument* CDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible) {
    CDocument* doc = CreateNewDocument();
    if (doc == nullptr) {
        AfxMessageBox(kCreateFailed);
        return nullptr;
    }
    // The document stays alive while its first frame comes and goes.
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (frame == nullptr) {
        AfxMessageBox(kCreateFailed);
        delete doc;
        return nullptr;
    }
    if (path == nullptr) {
        CString name;
        if (!GetDocString(name, fileNewName) || name.IsEmpty()) name = "Untitled";
        CString title;
        title.Format("%s%u", (LPCSTR)name, ++m_nUntitledCount);
        doc->SetTitle(title);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow(); // the last view goes and the document closes with it
            return nullptr;
        }
    } else {
        if (!doc->OnOpenDocument(path)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

void CDocTemplate::AddDocument(CDocument* doc) {
    if (doc->m_pDocTemplate == this) return;
    if (doc->m_pDocTemplate != nullptr) doc->m_pDocTemplate->RemoveDocument(doc);
    m_docList.AddTail(doc);
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
    POSITION position = m_docList.Find(doc);
    if (position == nullptr) return;
    m_docList.RemoveAt(position);
    doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::GetNextDoc(POSITION& position) const {
    return static_cast<CDocument*>(m_docList.GetNext(position));
}

BOOL CDocTemplate::SaveAllModified() {
    POSITION position = GetFirstDocPosition();
    while (position != nullptr)
        if (!GetNextDoc(position)->SaveModified()) return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL endSession) {
    while (!m_docList.IsEmpty()) {
        CDocument* doc = static_cast<CDocument*>(m_docList.GetHead());
        doc->OnCloseDocument();
        // A document that does not delete itself still leaves the list.
        if (!m_docList.IsEmpty() && m_docList.GetHead() == doc) RemoveDocument(doc);
    }
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const {
    CString all = LoadResourceString(m_nIDResource);
    text.Empty();
    int start = 0;
    for (int i = 0; i < (int)index; ++i) {
        int newline = all.Find('\n', start);
        if (newline < 0) return FALSE;
        start = newline + 1;
    }
    int end = all.Find('\n', start);
    text = end < 0 ? all.Mid(start) : all.Mid(start, end - start);
    return !text.IsEmpty();
}

BOOL CDocTemplate::MatchesExtension(LPCSTR path) const {
    CString ext;
    if (path == nullptr || !GetDocString(ext, filterExt)) return FALSE;
    CString name(path);
    return name.GetLength() >= ext.GetLength() && name.Right(ext.GetLength()).CompareNoCase(ext) == 0;
}
