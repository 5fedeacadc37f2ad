// CView: a child window that shows a document, draws through OnDraw and takes the document's commands.
#pragma once

#include "framework/win/Wnd.h"

class CDocument;

// What the printing hooks pass between them; the printing commands fill it in.
struct CPrintInfo {
    BOOL m_bPreview = FALSE;
    UINT m_nCurPage = 1;
    UINT m_nFromPage = 1;
    UINT m_nToPage = 0xFFFF;
    BOOL m_bContinuePrinting = TRUE;
    CRect m_rectDraw;
    void SetMinPage(UINT page) { m_nFromPage = page; }
    void SetMaxPage(UINT page) { m_nToPage = page; }
};

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

    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return TRUE; }
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) { OnDraw(pDC); }

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
