// CWnd: a window object that holds one HWND and routes the window's messages to its message map.
#pragma once

#include <windows.h>

#include "framework/base/Geometry.h"
#include "framework/base/String.h"
#include "framework/win/CmdTarget.h"
#include "framework/win/Dc.h"
#include "framework/win/Gdi.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class CScrollBar;
class CView;

// What a frame passes down while it creates its view: the document to attach it to and the
// class of the view to create.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// Framework messages that travel between frames and views.
enum : UINT {
    WM_SIZEPARENT = 0x0361,
    WM_IDLEUPDATECMDUI = 0x0363,
    WM_INITIALUPDATE = 0x0364,
    WM_RECALCPARENT = 0x0368,
};

// Standard child-window ids of a frame.
enum : UINT {
    AFX_IDW_TOOLBAR = 0xE800,
    AFX_IDW_STATUS_BAR = 0xE801,
    AFX_IDW_DOCKBAR_LEFT = 0xE81C,
    AFX_IDW_PANE_FIRST = 0xE900
};

// Invariants: while m_hWnd is set by Attach or creation, FromHandle(m_hWnd) answers this object
// and the window procedure is the framework's (the class's own procedure is kept in m_pfnSuper);
// both end when the window receives WM_NCDESTROY, after which PostNcDestroy runs.
class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object that owns the window, else a temporary wrapper of the calling thread, freed at
    // idle time (AfxDeleteTempWndObjects). Null for a null handle.
    static CWnd* FromHandle(HWND hwnd);
    // The owning object only; null for windows that no object owns.
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Takes over a window created elsewhere: its messages go to this object's map.
    BOOL SubclassWindow(HWND hwnd);

    // Creation: the window's messages reach the map from the very first one (WM_NCCREATE),
    // for classes registered here and for the system's predefined classes alike. A failed
    // creation has run PostNcDestroy exactly once, so self-deleting windows are gone after it.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, CCreateContext* context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    // Called after the window is gone; frames and views delete themselves here.
    virtual void PostNcDestroy() {}

    // The message pump's entry: map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled on this thread.
    LRESULT Default();
    // The message this thread is handling (the innermost one while handlers nest).
    static const MSG* GetCurrentMessage();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void CalcWindowRect(LPRECT clientRect, UINT adjustType = 0);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Attributes and relations.
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    // The nearest descendant with the id, searched breadth first.
    CWnd* GetDescendantWindow(int id) const;
    // The nearest ancestor that is a frame window, or null.
    CFrameWnd* GetParentFrame() const;
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    CString GetWindowText() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

    // Geometry.
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const { ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)rect, 2); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
    }

    // Painting.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // Whether any of the window waits to be painted; the bounds of what waits go to rect when it is given.
    BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE) { return ::GetUpdateRect(m_hWnd, rect, erase); }
    BOOL RedrawWindow(LPCRECT rect, CRgn* region, UINT flags) {
        return ::RedrawWindow(m_hWnd, rect, region != nullptr ? (HRGN)*region : nullptr, flags);
    }
    void ScrollWindow(int dx, int dy, LPCRECT scrollRect = nullptr, LPCRECT clipRect = nullptr) {
        ::ScrollWindow(m_hWnd, dx, dy, scrollRect, clipRect);
    }
    // A temporary context of the client area; give it back with ReleaseDC.
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    int ReleaseDC(CDC* dc);

    // Scroll bars of the window itself; GetScrollBarCtrl answers a separate control, if any.
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL);
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    void EnableScrollBarCtrl(int bar, BOOL enable = TRUE);
    virtual CScrollBar* GetScrollBarCtrl(int bar) const { return nullptr; }

    // Input, caret and timers.
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    // Whether this window has the focus or the mouse capture, asked without wrapping another window.
    BOOL HasFocus() const { return ::GetFocus() == m_hWnd; }
    BOOL HasCapture() const { return ::GetCapture() == m_hWnd; }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    void SetActiveWindow() { ::SetActiveWindow(m_hWnd); }
    // The window under a screen point when it is one of the framework's own objects, else null.
    static CWnd* FromPointPermanent(POINT point) { return FromHandlePermanent(::WindowFromPoint(point)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    void CreateSolidCaret(int width, int height) { ::CreateCaret(m_hWnd, nullptr, width, height); }
    void CreateCaret(CBitmap* bitmap) { ::CreateCaret(m_hWnd, bitmap ? (HBITMAP)*bitmap : nullptr, 0, 0); }
    static void SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
    void ShowCaret() { ::ShowCaret(m_hWnd); }
    void HideCaret() { ::HideCaret(m_hWnd); }
    static void DestroyCaret() { ::DestroyCaret(); }

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

    // Handlers behind the ON_WM_ entries: each gives the message its default processing, so a
    // derived handler calls its base for the default.
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
    void OnLButtonDown(UINT nFlags, CPoint point) { Default(); }
    void OnLButtonUp(UINT nFlags, CPoint point) { Default(); }
    void OnLButtonDblClk(UINT nFlags, CPoint point) { Default(); }
    void OnMouseMove(UINT nFlags, CPoint point) { Default(); }
    void OnTimer(UINT_PTR nIDEvent) { Default(); }
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point) { return (BOOL)Default(); }
    void OnCaptureChanged(CWnd* pWnd) { Default(); }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) { return (BOOL)Default(); }
    void OnSize(UINT nType, int cx, int cy) { Default(); }
    void OnSetFocus(CWnd* pOldWnd) { Default(); }
    void OnKillFocus(CWnd* pNewWnd) { Default(); }
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) { Default(); }
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) { Default(); }
    BOOL OnEraseBkgnd(CDC* pDC) { return (BOOL)Default(); }
    void OnPaint() { Default(); }
    int OnCreate(LPCREATESTRUCTA cs) { return (int)Default(); }
    void OnDestroy() { Default(); }
    void OnClose() { Default(); }

protected:
    // The class's own window procedure, called for default processing; null for our own classes.
    WNDPROC m_pfnSuper = nullptr;

    friend LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    friend struct WndCreationHook;
};

// The window procedure of every window the framework owns.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The framework's own window class for plain windows and views ("AfxWnd"): arrow cursor, no
// background brush (views paint all of their area), double clicks.
LPCSTR AfxWndClassName();
// Registers (once) a window class with the given style, cursor, background and icon; answers its
// name, or null when registration failed.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);

// Frees the calling thread's temporary window wrappers (the message loop does it when idle).
void AfxDeleteTempWndObjects();
