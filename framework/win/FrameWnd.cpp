// The frame window: creation from resources, its view, layout, command routing and menu states.
#include "framework/win/Frame.h"
#include "framework/win/StatusBar.h"

#include <commctrl.h>

#include "framework/win/Document.h"
#include "framework/win/HostLookup.h"
#include "framework/win/PrintPreview.h"
#include "framework/win/ToolBar.h"
#include "framework/win/View.h"
#include "framework/win/WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_NOTIFY, OnNotifyMessage)
END_MESSAGE_MAP()

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                           (HBRUSH)(COLOR_APPWORKSPACE + 1));
    }
    return cs.lpszClass != nullptr;
}

CString CFrameWnd::ResourceTitle(UINT id) {
    CString title = LoadResourceString(id);
    int newline = title.Find('\n');
    return newline >= 0 ? title.Left(newline) : title;
}

HMENU CFrameWnd::LoadResourceMenu(UINT id) {
    HINSTANCE module = FindResourceModule(MAKEINTRESOURCEA(id), (LPCSTR)RT_MENU);
    return module ? ::LoadMenuA(module, MAKEINTRESOURCEA(id)) : nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD style, CWnd* parent, CCreateContext* context) {
    m_nIDResource = nIDResource;
    m_strTitle = ResourceTitle(nIDResource);
    m_hMenuDefault = LoadResourceMenu(nIDResource);
    HINSTANCE module = FindResourceModule(MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_ACCELERATOR);
    m_hAccelTable = module ? ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(nIDResource)) : nullptr;
    return CreateEx(0, nullptr, m_strTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    parent ? parent->m_hWnd : nullptr, m_hMenuDefault, context);
}

CCreateContext* CFrameWnd::ContextOf(LPCREATESTRUCTA cs) {
    if (cs == nullptr || cs->lpCreateParams == nullptr) return nullptr;
    if (cs->dwExStyle & WS_EX_MDICHILD)
        return (CCreateContext*)((const MDICREATESTRUCTA*)cs->lpCreateParams)->lParam;
    return (CCreateContext*)cs->lpCreateParams;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    return OnCreateClient(cs, ContextOf(cs)) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) {
    if (context == nullptr || context->m_pNewViewClass == nullptr) return TRUE;
    return CreateView(context) != nullptr;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    CObject* object = context->m_pNewViewClass->CreateObject();
    if (object == nullptr) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    CWnd* view = static_cast<CWnd*>(object);
    CRect pane = PaneRect();
    // A view that fails to create deletes itself in PostNcDestroy.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, pane, this, id,
                      context))
        return nullptr;
    if (view->IsKindOf(RUNTIME_CLASS(CView)) && m_pViewActive == nullptr)
        SetActiveView(static_cast<CView*>(view), FALSE);
    return view;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
    CView* previous = m_pViewActive;
    if (view == previous) return;
    m_pViewActive = view;
    if (!notify) return;
    if (previous != nullptr) previous->OnActivateView(FALSE, view, previous);
    if (view != nullptr) view->OnActivateView(TRUE, view, previous);
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* view = GetActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

CWnd* CFrameWnd::GetMessageBar() {
    return GetDescendantWindow(AFX_IDW_STATUS_BAR);
}

// Messages often announce long work that keeps the loop from idling: shown at once.
void CFrameWnd::SetMessageText(LPCSTR text) {
    CWnd* bar = GetMessageBar();
    if (auto* statusBar = dynamic_cast<CStatusBar*>(bar)) {
        statusBar->SetPaneText(0, text);
        statusBar->FlushPanes();
    } else if (bar != nullptr) {
        ::SendMessageA(bar->m_hWnd, SB_SETTEXTA, 0, (LPARAM)text);
    }
}

namespace {
// The host's texts are GBK whatever the system's own code page is.
const UINT kToolTipCodePage = 936;

// The window rectangle of the frame's bar of the id while it is shown; an empty one otherwise.
RECT ShownBarRect(HWND frame, UINT id) {
    RECT barRect = {0, 0, 0, 0};
    HWND bar = ::GetDlgItem(frame, (int)id);
    if (bar != nullptr && ::IsWindowVisible(bar)) ::GetWindowRect(bar, &barRect);
    return barRect;
}
} // namespace

int CFrameWnd::BarHeight(UINT id) const {
    RECT barRect = ShownBarRect(m_hWnd, id);
    return barRect.bottom - barRect.top;
}

int CFrameWnd::BarWidth(UINT id) const {
    RECT barRect = ShownBarRect(m_hWnd, id);
    return barRect.right - barRect.left;
}

CRect CFrameWnd::PaneRect() {
    CRect client;
    GetClientRect(&client);
    client.top += BarHeight(AFX_IDW_TOOLBAR);
    if (client.top > client.bottom) client.top = client.bottom;
    client.bottom -= BarHeight(AFX_IDW_STATUS_BAR);
    if (client.bottom < client.top) client.bottom = client.top;
    client.left += BarWidth(AFX_IDW_DOCKBAR_LEFT);
    if (client.left > client.right) client.left = client.right;
    return client;
}

void CFrameWnd::RecalcLayout(BOOL notify) {
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    if (bar != nullptr) ::SendMessageA(bar, WM_SIZE, 0, 0); // the status bar places itself
    HWND toolbar = ::GetDlgItem(m_hWnd, AFX_IDW_TOOLBAR);
    if (toolbar != nullptr) ::SendMessageA(toolbar, TB_AUTOSIZE, 0, 0); // and so does the toolbar
    CRect rect = PaneRect();
    // The left bar spans the pane's height and keeps its width.
    if (int leftWidth = BarWidth(AFX_IDW_DOCKBAR_LEFT))
        ::MoveWindow(::GetDlgItem(m_hWnd, AFX_IDW_DOCKBAR_LEFT), 0, rect.top, leftWidth, rect.Height(), TRUE);
    HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (pane == nullptr) return;
    ::MoveWindow(pane, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
    CView* view = GetActiveView();
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    OnUpdateFrameTitle(TRUE);
    if (!makeVisible) return;
    ShowWindow(GetStyle() & WS_CHILD ? SW_SHOW : SW_SHOWNORMAL);
    if (view != nullptr) view->OnActivateView(TRUE, view, view);
    UpdateWindow();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
    CDocument* doc = GetActiveDocument();
    CString title = m_strTitle;
    if (addToTitle && doc != nullptr && !doc->GetTitle().IsEmpty())
        title = m_strTitle.IsEmpty() ? doc->GetTitle() : doc->GetTitle() + " - " + m_strTitle;
    // Called at every idle time: set only a changed title, so the caption does not flicker.
    if (GetWindowText().Compare(title) != 0) SetWindowText(title);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CView* view = GetActiveView();
    if (view != nullptr && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || m_hAccelTable == nullptr) return FALSE;
    return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg);
}

void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        // Closing the main window closes the application's documents first.
        if (!app->SaveAllModified()) return;
        app->CloseAllDocuments(FALSE);
        DestroyWindow();
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc != nullptr) {
        if (!doc->CanCloseFrame(this)) return;
        if (doc->CountFrames() <= 1) {
            doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    CWnd::OnDestroy();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    // While a preview shows, the keys are its own: a hidden view must not take typing.
    if (CPreviewView* preview = CPreviewView::FindFor(this)) {
        preview->SetFocus();
        return;
    }
    CView* view = GetActiveView();
    if (view != nullptr && view->m_hWnd != nullptr)
        view->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

// Asks the command route for the state of every command item of the popup about to open.
LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    Default();
    if (HIWORD(lParam)) return 0; // the system menu
    CMenu menu;
    menu.m_hMenu = (HMENU)wParam;
    int count = ::GetMenuItemCount(menu.m_hMenu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu.m_hMenu, i);
        if (id == 0 || id == (UINT)-1 || id >= AFX_IDW_MDICLIENT_FIRST_CHILD) continue;
        CCmdUI state;
        state.m_nID = id;
        state.m_nIndex = (UINT)i;
        state.m_pMenu = &menu;
        state.DoUpdate(this, TRUE);
    }
    return 0;
}

// A toolbar button's tooltip asks its parent frame for the text of the button's command.
LRESULT CFrameWnd::OnNotifyMessage(WPARAM, LPARAM lParam) {
    auto* header = (NMHDR*)lParam;
    if (header == nullptr || (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW))
        return Default();
    CString text = AfxToolTipText((UINT)header->idFrom);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = (NMTTDISPINFOA*)lParam;
        lstrcpynA(info->szText, text, (int)sizeof info->szText);
        info->lpszText = info->szText;
    } else {
        auto* info = (NMTTDISPINFOW*)lParam;
        int n = ::MultiByteToWideChar(kToolTipCodePage, 0, text, -1, info->szText,
                                      (int)(sizeof info->szText / sizeof(WCHAR)));
        if (n == 0) info->szText[0] = 0;
        info->lpszText = info->szText;
    }
    return 0;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    if (GetStyle() & FWS_ADDTOTITLE) OnUpdateFrameTitle(TRUE);
    return 0;
}
