// Window objects: the handle map, creation with the framework's window procedure, message routing.
#include "framework/win/Wnd.h"

#include <vector>

#include "framework/win/Frame.h"
#include "framework/win/HandleMap.h"
#include "framework/win/WndCreationHook.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {
void SetWndHandle(CWnd* wnd, void* handle) {
    wnd->m_hWnd = (HWND)handle;
}

HandleMap<CWnd>& WndMap() {
    static HandleMap<CWnd> map(&SetWndHandle);
    return map;
}

// The message being handled on this thread, for Default(); nested calls save and restore it.
struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local CurrentMessage t_current;
} // namespace

thread_local WndCreationHook* WndCreationHook::current = nullptr;

LRESULT CALLBACK WndCreationHook::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    WndCreationHook* self = current;
    if (code == HCBT_CREATEWND && self != nullptr && self->waiting != nullptr) {
        CWnd* wnd = self->waiting;
        self->waiting = nullptr;
        self->attached = true;
        HWND hwnd = (HWND)wParam;
        wnd->Attach(hwnd);
        WNDPROC old = (WNDPROC)::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
        if (old != &AfxWndProc) wnd->m_pfnSuper = old;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

WndCreationHook::WndCreationHook(CWnd* wnd) : waiting(wnd), outer(current) {
    hook = ::SetWindowsHookExA(WH_CBT, &OnCbt, nullptr, ::GetCurrentThreadId());
    current = this;
}

WndCreationHook::~WndCreationHook() {
    current = outer;
    if (hook != nullptr) ::UnhookWindowsHookEx(hook);
}

CWnd::~CWnd() {
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this) return;
    // The object is going first: give the window back its own procedure, then destroy it.
    HWND hwnd = Detach();
    if (m_pfnSuper != nullptr) ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    ::DestroyWindow(hwnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return WndMap().FromHandle<CWnd>(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    return WndMap().FindPermanent(hwnd);
}

BOOL CWnd::Attach(HWND hwnd) {
    if (hwnd == nullptr || m_hWnd != nullptr) return FALSE;
    m_hWnd = hwnd;
    WndMap().AddPermanent(hwnd, this);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd != nullptr) WndMap().RemovePermanent(hwnd, this);
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd)) return FALSE;
    WNDPROC old = (WNDPROC)::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
    if (old != &AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (cs.lpszClass == nullptr) cs.lpszClass = AfxWndClassName();
    return cs.lpszClass != nullptr;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    if (m_hWnd != nullptr) return FALSE;
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = ::GetModuleHandleA(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND hwnd;
    bool attached;
    {
        WndCreationHook hook(this);
        hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
        attached = hook.Attached();
    }
    // A window refused during WM_CREATE went through WM_NCDESTROY and PostNcDestroy already.
    if (hwnd == nullptr && !attached) PostNcDestroy();
    return hwnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    thread_local MSG msg;
    msg = MSG();
    msg.message = t_current.message;
    msg.wParam = t_current.wParam;
    msg.lParam = t_current.lParam;
    return &msg;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    return OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr, nullptr);
}

void CWnd::CalcWindowRect(LPRECT clientRect, UINT adjustType) {
    DWORD exStyle = GetExStyle();
    if (adjustType == 0) exStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(clientRect, GetStyle(), FALSE, exStyle);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    AFX_MSGCALL call = AFX_MSGCALL::Message(message, wParam, lParam);
    if (!DispatchToMaps(call)) return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (LONG_PTR)changed);
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

CWnd* CWnd::GetDescendantWindow(int id) const {
    // Most asked-for windows (a frame's bars) are direct children: one look-up finds them.
    if (HWND child = ::GetDlgItem(m_hWnd, id)) return FromHandle(child);
    std::vector<HWND> level{m_hWnd};
    while (!level.empty()) {
        std::vector<HWND> next;
        for (HWND parent : level)
            for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (::GetDlgCtrlID(child) == id) return FromHandle(child);
                next.push_back(child);
            }
        level.swap(next);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(wnd);
    }
    return nullptr;
}

CString CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    CString text;
    if (length <= 0) return text;
    char* buffer = text.GetBuffer(length + 1);
    int copied = ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
    return text;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)(font ? (HFONT)*font : nullptr), redraw);
}

int CWnd::ReleaseDC(CDC* dc) {
    if (dc == nullptr) return 0;
    HDC hdc = dc->Detach();
    return ::ReleaseDC(m_hWnd, hdc);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) {
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
    ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
}

// Views set their bars' positions after every caret move; the platform would redraw an unchanged bar.
int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) {
    int old = ::GetScrollPos(m_hWnd, bar);
    if (old == pos) return old;
    return ::SetScrollPos(m_hWnd, bar, pos, redraw);
}

int CWnd::GetScrollPos(int bar) const {
    return ::GetScrollPos(m_hWnd, bar);
}

void CWnd::EnableScrollBarCtrl(int bar, BOOL enable) {
    // The window's own bars are shown and enabled together; a hidden bar takes no room.
    ::ShowScrollBar(m_hWnd, bar, enable);
    ::EnableScrollBar(m_hWnd, bar, enable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (deep) {
            CWnd* wrapper = FromHandle(child);
            wrapper->SendMessageToDescendants(message, wParam, lParam, TRUE);
        }
    }
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage saved = t_current;
    t_current = {message, wParam, lParam};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_current = saved;
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) == wnd) {
        if (wnd->m_pfnSuper != nullptr) ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)wnd->m_pfnSuper);
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    return AfxCallWndProc(wnd, hwnd, message, wParam, lParam);
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    // Three pointers in hex make up to 56 characters: the slots leave room for the longest name.
    static char names[64][80];
    static int used = 0;
    char name[80];
    wsprintfA(name, "Afx:%x:%p:%p:%p", classStyle, (void*)cursor, (void*)background, (void*)icon);
    for (int i = 0; i < used; ++i)
        if (lstrcmpA(names[i], name) == 0) return names[i];
    if (used == 64) return nullptr;
    WNDCLASSA wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (::RegisterClassA(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    lstrcpyA(names[used], name);
    return names[used++];
}

LPCSTR AfxWndClassName() {
    static LPCSTR name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    return name;
}

void AfxDeleteTempWndObjects() {
    WndMap().DeleteTemporaries();
}
