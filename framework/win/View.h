// CView: a child window that shows a document, draws through OnDraw and takes the document's commands.
#pragma once

#include "framework/win/PrintDialog.h"
#include "framework/win/Wnd.h"

class CDocument;

// Invariant: m_pDocument is the document whose view list holds this view, or null. The view
// joins its document when its window is created from a creation context and leaves it when
// the object is destroyed; it deletes itself after its window is gone.
class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    // After the document is loaded; the default repaints through OnUpdate.
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // The default gives the activated view the focus.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) {}
    // m_pDocument has just changed: joined, left, or the document is being destroyed (null).
    virtual void OnDocumentChanged() {}

    // Printing. A print run asks OnPreparePrinting (which calls DoPreparePrinting for the dialog and
    // the printer context), then OnBeginPrinting once, then OnPrepareDC and OnPrint for each page,
    // then OnEndPrinting. A hook that clears m_bContinuePrinting stops the run before the next page;
    // cleared by OnBeginPrinting, nothing is printed.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return TRUE; }
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) { OnDraw(pDC); }
    // The print dialog (or, for a preview or a direct print, the chosen printer without one) and the
    // printer context in pInfo->m_pPD; FALSE when cancelled or when there is no printer (said).
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // ID_FILE_PRINT (the dialog first) and ID_FILE_PRINT_DIRECT (the chosen printer at once).
    void OnFilePrint();
    // Shows the pages in a preview window over the top-level frame's client area.
    void OnFilePrintPreview();
    // Runs the hooks that lay out and draw one page into dc; FALSE when the view stopped the run.
    BOOL PreparePage(CDC* dc, CPrintInfo* pInfo, UINT page);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    void PostNcDestroy() override { delete this; }

    int OnCreate(LPCREATESTRUCTA cs);
    void OnPaint();
    void OnDestroy();
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument = nullptr;
    friend class CDocument;
};
