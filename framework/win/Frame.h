// Frame windows: the main frame, the MDI frame and its child frames, which host views and route commands.
#pragma once

#include "framework/win/Wnd.h"

class CMDIChildWnd;

// Frame style: the title shows the active document's name.
enum : DWORD { FWS_ADDTOTITLE = 0x00008000L };

// A top-level or MDI child frame. Commands go to the active view (and through it to its document),
// then to the frame, then to the application. The frame lays out its status bar
// (AFX_IDW_STATUS_BAR) at the bottom and its pane (AFX_IDW_PANE_FIRST: a view or the MDI client)
// over the rest, below its toolbar (AFX_IDW_TOOLBAR) and right of a bar docked at its left
// (AFX_IDW_DOCKBAR_LEFT, which keeps its own width) when it has them. A frame deletes itself when its
// window is destroyed.
class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;

    // Creates the frame with the menu, title (the first line of the string), accelerators and icon
    // of resource id; with a context it creates the context's view as its pane.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);

    virtual CView* GetActiveView() const { return m_pViewActive; }
    virtual void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view has the commands: the active MDI child for an MDI frame.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // The status bar that shows the frame's messages, or null.
    virtual CWnd* GetMessageBar();
    void SetMessageText(LPCSTR text);
    virtual void RecalcLayout(BOOL notify = TRUE);
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    BOOL IsFrameWnd() const { return TRUE; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Accelerators of the frame; the message loop offers every message here before dispatch.
    virtual BOOL PreTranslateMessage(MSG* msg);

    CString m_strTitle;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    // The context that the creator passed, for plain and MDI child frames alike.
    static CCreateContext* ContextOf(LPCREATESTRUCTA cs);
    // The pane's rectangle: the client area less the bars.
    CRect PaneRect();
    // The width of the frame's bar of the id while it is shown, else 0.
    int BarWidth(UINT id) const;
    // The height of the frame's bar of the id while it is shown, else 0.
    int BarHeight(UINT id) const;
    // The first line of the resource string id, and the menu of resource id (null without one).
    static CString ResourceTitle(UINT id);
    static HMENU LoadResourceMenu(UINT id);
    void PostNcDestroy() override { delete this; }

    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotifyMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CView* m_pViewActive = nullptr;
    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDResource = 0;
};

// The main frame of a multiple-document application: an MDI client as its pane.
class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    HWND m_hWndMDIClient = nullptr;

    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child) {
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->m_hWnd, 0);
    }
    void MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
    void MDITile(int how = MDITILE_HORIZONTAL) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, how, 0); }
    void MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
    // Puts menu in the menu bar, the window list at the end of its second-to-last popup; null
    // puts back the frame's own menu.
    void MDISetMenu(HMENU menu);

    CView* GetActiveView() const override;
    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void RecalcLayout(BOOL notify = TRUE) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;

protected:
    // Creates the MDI client; the window list goes at the end of windowMenu.
    BOOL CreateClient(LPCREATESTRUCTA cs, HMENU windowMenu);
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;

    void OnWindowCascade() { MDICascade(); }
    void OnWindowTile() { MDITile(MDITILE_HORIZONTAL); }
    void OnWindowArrange() { MDIIconArrange(); }
    DECLARE_MESSAGE_MAP()
};

// A document's frame inside the MDI client.
// While it is active, its menu (of its resource id, when there is one) is the menu bar's.
class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    ~CMDIChildWnd() override;
    BOOL LoadFrame(UINT nIDResource, DWORD style = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const;
    CWnd* GetMessageBar() override;
    void MDIActivate();
    BOOL DestroyWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;

protected:
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    HMENU m_hMenuShared = nullptr;
};

// Standard command ids of frames and applications.
enum : UINT {
    ID_FILE_NEW = 0xE100,
    ID_FILE_OPEN = 0xE101,
    ID_FILE_CLOSE = 0xE102,
    ID_FILE_SAVE = 0xE103,
    ID_FILE_SAVE_AS = 0xE104,
    ID_FILE_PRINT_SETUP = 0xE106,
    ID_FILE_PRINT = 0xE107,
    ID_FILE_PRINT_DIRECT = 0xE108,
    ID_FILE_PRINT_PREVIEW = 0xE109,
    ID_WINDOW_ARRANGE = 0xE130,
    ID_WINDOW_CASCADE = 0xE132,
    ID_WINDOW_TILE_HORZ = 0xE133,
    ID_APP_EXIT = 0xE141,
    ID_APP_ABOUT = 0xE140,
    ID_EDIT_CLEAR = 0xE120,
    ID_EDIT_COPY = 0xE122,
    ID_EDIT_CUT = 0xE123,
    ID_EDIT_FIND = 0xE124,
    ID_EDIT_PASTE = 0xE125,
    ID_EDIT_REPEAT = 0xE128,
    ID_EDIT_REPLACE = 0xE129,
    ID_EDIT_SELECT_ALL = 0xE12A,
    ID_EDIT_UNDO = 0xE12B,
    ID_EDIT_REDO = 0xE12C,
    ID_INDICATOR_OVR = 0xE704,
    ID_SEPARATOR = 0,
    AFX_IDS_IDLEMESSAGE = 0xE001,
    AFX_IDW_MDICLIENT_FIRST_CHILD = 0xFF00,
};
