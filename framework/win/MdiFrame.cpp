// The MDI frame with its client window, and the child frames that hold the documents' views.
#include "framework/win/Frame.h"

#include "framework/win/Document.h"
#include "framework/win/HostLookup.h"
#include "framework/win/WndCreationHook.h"
#include "framework/win/View.h"
#include "framework/win/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTile)
ON_COMMAND(ID_WINDOW_ARRANGE, OnWindowArrange)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) {
    // The window list follows the items of the menu before the last one (the Window menu).
    HMENU menu = ::GetMenu(m_hWnd);
    int count = menu ? ::GetMenuItemCount(menu) : 0;
    HMENU windowMenu = count >= 2 ? ::GetSubMenu(menu, count - 2) : nullptr;
    return CreateClient(cs, windowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTA cs, HMENU windowMenu) {
    CLIENTCREATESTRUCT client = {windowMenu, AFX_IDW_MDICLIENT_FIRST_CHILD};
    CRect pane = PaneRect();
    m_hWndMDIClient = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, pane.left, pane.top, pane.Width(),
        pane.Height(), m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, ::GetModuleHandleA(nullptr), &client);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::MDISetMenu(HMENU menu) {
    if (menu == nullptr) menu = m_hMenuDefault;
    if (m_hWndMDIClient == nullptr || menu == nullptr || ::GetMenu(m_hWnd) == menu) return;
    int count = ::GetMenuItemCount(menu);
    HMENU windowMenu = count >= 2 ? ::GetSubMenu(menu, count - 2) : nullptr;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)menu, (LPARAM)windowMenu);
    ::DrawMenuBar(m_hWnd);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const {
    if (m_hWndMDIClient == nullptr) return nullptr;
    BOOL isMaximized = FALSE;
    HWND active = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&isMaximized);
    if (maximized != nullptr) *maximized = isMaximized;
    CWnd* child = FromHandlePermanent(active);
    if (child == nullptr || !child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) return nullptr;
    return static_cast<CMDIChildWnd*>(child);
}

CView* CMDIFrameWnd::GetActiveView() const {
    CMDIChildWnd* child = MDIGetActive();
    return child != nullptr ? child->GetActiveView() : nullptr;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* child = MDIGetActive();
    return child != nullptr ? static_cast<CFrameWnd*>(child) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CMDIChildWnd* child = MDIGetActive();
    if (child != nullptr && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // The child has offered it to its view already; the frame and the application remain.
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg) {
    CMDIChildWnd* child = MDIGetActive();
    if (child != nullptr && child->PreTranslateMessage(msg)) return TRUE;
    if (m_hWndMDIClient != nullptr && ::TranslateMDISysAccel(m_hWndMDIClient, msg)) return TRUE;
    return CFrameWnd::PreTranslateMessage(msg);
}

void CMDIFrameWnd::RecalcLayout(BOOL notify) {
    CFrameWnd::RecalcLayout(notify);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    // The MDI client adds the maximised child's name itself.
    if (GetWindowText().Compare(m_strTitle) != 0) SetWindowText(m_strTitle);
}

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = FromHandlePermanent(client ? ::GetParent(client) : nullptr);
    if (frame == nullptr || !frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) return nullptr;
    return static_cast<CMDIFrameWnd*>(frame);
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD style, CWnd* parent, CCreateContext* context) {
    CMDIFrameWnd* mdiFrame = nullptr;
    if (parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        mdiFrame = static_cast<CMDIFrameWnd*>(parent);
    CWinApp* app = AfxGetApp();
    if (mdiFrame == nullptr && app != nullptr && app->m_pMainWnd != nullptr &&
        app->m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        mdiFrame = static_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    if (mdiFrame == nullptr || mdiFrame->m_hWndMDIClient == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    m_nIDResource = nIDResource;
    m_hMenuShared = LoadResourceMenu(nIDResource);
    m_strTitle = ResourceTitle(nIDResource);

    CREATESTRUCTA cs = {};
    cs.style = style & ~WS_CHILD;
    // A new child joins maximised children maximised; created plain, it would restore them all.
    BOOL maximized = FALSE;
    mdiFrame->MDIGetActive(&maximized);
    if (maximized) cs.style |= WS_MAXIMIZE;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCTA create = {};
    create.szClass = cs.lpszClass;
    create.szTitle = m_strTitle;
    create.hOwner = ::GetModuleHandleA(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = cs.style;
    create.lParam = (LPARAM)context;
    HWND hwnd;
    bool attached;
    {
        WndCreationHook hook(this);
        hwnd = (HWND)::SendMessageA(mdiFrame->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&create);
        attached = hook.Attached();
    }
    if (hwnd == nullptr && !attached) PostNcDestroy();
    return hwnd != nullptr;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    HWND client = ::GetParent(m_hWnd);
    ::SendMessageA(client, WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
    return TRUE;
}

void CMDIChildWnd::MDIActivate() {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame != nullptr) frame->MDIActivate(this);
}

CWnd* CMDIChildWnd::GetMessageBar() {
    CMDIFrameWnd* frame = GetMDIFrame();
    return frame != nullptr ? frame->GetMessageBar() : nullptr;
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* msg) {
    return CFrameWnd::PreTranslateMessage(msg);
}

// The document's name, with "*" after it while it has unsaved changes; the window list of the
// Window menu is refreshed with it, as the MDI client only reads the names when it builds the list.
void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    CDocument* doc = GetActiveDocument();
    CString title = doc != nullptr && !doc->GetTitle().IsEmpty() ? doc->GetTitle() : m_strTitle;
    if (doc != nullptr && doc->IsModified()) title += "*";
    if (GetWindowText().Compare(title) == 0) return;
    SetWindowText(title);
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame == nullptr) return;
    ::SendMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    ::DrawMenuBar(frame->m_hWnd);
}

CMDIChildWnd::~CMDIChildWnd() {
    // A menu still in the menu bar goes with the frame's window.
    CWnd* main = AfxGetMainWnd();
    if (m_hMenuShared != nullptr && (main == nullptr || ::GetMenu(main->m_hWnd) != m_hMenuShared))
        ::DestroyMenu(m_hMenuShared);
}

// The view of the child that becomes active gets the focus; the one that loses it hears so. The
// menu bar shows the active child's menu, and the frame's own once no child is left active.
LRESULT CMDIChildWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam) {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame != nullptr && (HWND)lParam == m_hWnd && m_hMenuShared != nullptr)
        frame->MDISetMenu(m_hMenuShared);
    else if (frame != nullptr && lParam == 0)
        frame->MDISetMenu(nullptr);
    LRESULT result = Default();
    CView* view = GetActiveView();
    if (view != nullptr) view->OnActivateView((HWND)lParam == m_hWnd, view, view);
    return result;
}
