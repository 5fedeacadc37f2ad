// Document templates: create a document with its frame and view from three run-time classes.
#pragma once

#include "framework/base/ObList.h"
#include "framework/win/CmdTarget.h"

class CDocument;
class CFrameWnd;

// The template's resource id names the frame's menu, accelerators and the string
// "window title\ndocument name\nnew file name\nfilter name\nfilter extension" (any part may be
// empty). Invariant: every document in the list has m_pDocTemplate == this.
class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt };

    CDocTemplate(UINT nIDResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                 CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    virtual CDocument* CreateNewDocument();
    // A frame with a view of the template's view class on doc; null when either failed.
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    // Opens path (a new document when null) in a new frame; null when it failed, with nothing left.
    virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE);

    void AddDocument(CDocument* doc);
    void RemoveDocument(CDocument* doc);
    POSITION GetFirstDocPosition() const { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& position) const;
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

    BOOL GetDocString(CString& text, DocStringIndex index) const;
    // TRUE when path ends in the template's filter extension (compared without case).
    BOOL MatchesExtension(LPCSTR path) const;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;

protected:
    CObList m_docList;
    UINT m_nUntitledCount = 0;
};

// The multiple-document template: any number of documents, each in its own MDI child frames.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
};
