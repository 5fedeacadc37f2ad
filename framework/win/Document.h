// CDocument: the data of one open file, its views, its path and title, and its save and close logic.
#pragma once

#include "framework/base/ObList.h"
#include "framework/win/CmdTarget.h"
#include "framework/win/File.h"

class CDocTemplate;
class CFrameWnd;
class CView;

// The stream a document's Serialize reads or writes: the file and the direction.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    CArchive(CFile* file, UINT mode) : m_pFile(file), m_nMode(mode) {}

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }
    UINT Read(void* buffer, UINT count) { return m_pFile->Read(buffer, count); }
    void Write(const void* buffer, UINT count) { m_pFile->Write(buffer, count); }

private:
    CFile* m_pFile;
    UINT m_nMode;
};

// Invariants: m_viewList holds exactly the views whose m_pDocument is this document;
// m_pDocTemplate, when set, lists this document. With m_bAutoDelete, the document closes
// itself (and is deleted) when its last view goes.
class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR title);
    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and, from its file name, the title.
    virtual void SetPathName(LPCSTR path, BOOL addToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    // A change of the flag shows in the views' frame captions (the unsaved-changes mark).
    virtual void SetModifiedFlag(BOOL modified = TRUE);

    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& position) const;
    // Calls OnUpdate of every view except the sender.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // The number of distinct frames that show this document's views.
    int CountFrames() const;

    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR path);
    virtual BOOL OnSaveDocument(LPCSTR path);
    // Destroys every frame of the document, then the document itself when it deletes itself.
    virtual void OnCloseDocument();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // Offers to save a modified document: FALSE when the user cancels or saving fails.
    virtual BOOL SaveModified();
    // Saves to path, or asks for a path when it is null or empty.
    virtual BOOL DoSave(LPCSTR path, BOOL replace = TRUE);
    BOOL DoFileSave();
    virtual void OnChangedViewList();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void OnFileSave() { DoFileSave(); }
    void OnFileSaveAs() { DoSave(nullptr); }
    void OnFileClose();

    BOOL m_bAutoDelete = TRUE;

protected:
    DECLARE_MESSAGE_MAP()
    // The captions of the frames that show the document, after its title or modified flag changed.
    void UpdateFrameTitles();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CObList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bClosing = FALSE;
    friend class CDocTemplate;
};
