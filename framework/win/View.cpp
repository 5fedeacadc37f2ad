// The view: joining its document, painting through OnDraw, activation and command routing.
#include "framework/win/View.h"

#include "framework/win/Document.h"
#include "framework/win/Frame.h"
#include "framework/win/PrintPreview.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_DESTROY()
ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView() {
    if (m_pDocument != nullptr) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCTA cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    CCreateContext* context = (CCreateContext*)cs->lpCreateParams;
    if (context != nullptr && context->m_pCurrentDoc != nullptr) context->m_pCurrentDoc->AddView(this);
    return 0;
}

// The frame must not keep a view that is going away as its active view.
void CView::OnDestroy() {
    CPreviewView::CloseFor(this);
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr && frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::OnPaint() {
    CPaintDC dc(m_hWnd);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (bActivate && pActivateView == this && ::GetFocus() != m_hWnd) SetFocus();
}

LRESULT CView::OnMouseActivate(WPARAM wParam, LPARAM lParam) {
    LRESULT result = Default();
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr) {
        if (frame->GetActiveView() == this)
            OnActivateView(TRUE, this, this);
        else
            frame->SetActiveView(this);
    }
    return result;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam) {
    OnInitialUpdate();
    return 0;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
