// Command targets: message maps, command routing and the command-state updates of menus and panes.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "framework/base/Object.h"
#include "framework/base/String.h"

class CCmdTarget;
class CCmdUI;
class CWnd;

// A menu handle, as the command-state updates address it.
class CMenu {
public:
    HMENU m_hMenu = nullptr;
};

// Command notification codes carried by OnCmdMsg.
enum : int { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1 };

// Filled instead of calling the handler when OnCmdMsg is only asked whether one exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

// One window message or command on its way through the message maps of a class chain.
// A window message has isCommand false and its answer goes to result; a command carries the
// routing arguments of OnCmdMsg.
struct AFX_MSGCALL {
    bool isCommand;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    UINT nID;
    int nCode;
    void* pExtra;
    AFX_CMDHANDLERINFO* pHandlerInfo;

    static AFX_MSGCALL Message(UINT message, WPARAM wParam, LPARAM lParam) {
        return {false, message, wParam, lParam, 0, 0, 0, nullptr, nullptr};
    }
    static AFX_MSGCALL Command(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
        return {true, 0, 0, 0, 0, id, code, extra, info};
    }
    bool IsMessage(UINT m) const { return !isCommand && message == m; }
    bool IsCommandFor(UINT id, int code) const { return isCommand && nID == id && nCode == code; }
    bool IsCommandIn(UINT first, UINT last, int code) const {
        return isCommand && nID >= first && nID <= last && nCode == code;
    }
    // A command handler matched: report it when only asked, else let the caller run it.
    bool OnlyAsking(CCmdTarget* target) const {
        if (pHandlerInfo == nullptr) return false;
        pHandlerInfo->pTarget = target;
        return true;
    }
};

// A class's message map: its own dispatch function (an if-chain the macros expand to) and the
// map of its base class, so lookup walks the class chain from the most derived class up.
struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    BOOL (*pfnDispatch)(CCmdTarget* target, AFX_MSGCALL& call);
};

// The root of everything that receives commands: documents, windows, the application.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override;

    // Offers the command to this object's message map; nCode CN_UPDATE_COMMAND_UI passes a CCmdUI*
    // in pExtra. With pHandlerInfo set, a found handler is reported and not called.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Automation: an IDispatch without members, answered for IUnknown, IDispatch and every
    // interface identifier of the class's interface map.
    void EnableAutomation();
    BOOL IsAutomationEnabled() const { return m_dispatch != nullptr; }
    LPDISPATCH GetIDispatch(BOOL addRef);
    // S_OK and an added reference when the object answers the interface, else E_NOINTERFACE.
    HRESULT InternalQueryInterface(const IID& iid, void** object);
    ULONG ExternalAddRef() { return ++m_dwRef; }
    ULONG ExternalRelease() { return --m_dwRef; }

    // Runs the maps of the class chain; TRUE when some entry took the call.
    BOOL DispatchToMaps(AFX_MSGCALL& call);

protected:
    static const AFX_MSGMAP messageMap;
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The interface identifiers the class answers with its dispatch interface; null-terminated.
    virtual const IID* const* GetInterfaceMap() const;

private:
    class DispatchImpl;
    DispatchImpl* m_dispatch = nullptr;
    ULONG m_dwRef = 1;
};

// Application-wide automation lock: open automation-enabled documents keep the application alive.
void AfxOleLockApp();
void AfxOleUnlockApp();
LONG AfxOleGetLockCount();

// The state of one menu item or status-bar pane while its command's update handler decides it.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;      // the popup holding the item, for menu items
    CWnd* m_pOther = nullptr;      // the status bar, for panes
    BOOL m_bEnableChanged = FALSE; // set by the first Enable: a handler exists
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetText(LPCSTR text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Routes the update to target; without a handler a menu item stays enabled when
    // disableIfNoHandler is FALSE, and is greyed when it is TRUE.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};

// Message-map macros. A map expands to one plain function whose if-chain tries the entries in
// order; END_MESSAGE_MAP answers FALSE so the lookup goes on with the base class's map.
#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP messageMap;                                                                      \
    static BOOL DispatchMessageMap(CCmdTarget* target, AFX_MSGCALL& call);                                   \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP theClass::messageMap = {&baseClass::messageMap, &theClass::DispatchMessageMap};         \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return &theClass::messageMap;                                                                        \
    }                                                                                                        \
    BOOL theClass::DispatchMessageMap(CCmdTarget* target, AFX_MSGCALL& call) {                               \
        theClass* self = static_cast<theClass*>(target);                                                     \
        (void)self;

#define END_MESSAGE_MAP()                                                                                    \
    return FALSE;                                                                                            \
    }

// Commands: handlers take nothing and return nothing; update handlers take the CCmdUI.
#define ON_COMMAND(id, memberFxn)                                                                            \
    if (call.IsCommandFor((UINT)(id), CN_COMMAND)) {                                                         \
        if (!call.OnlyAsking(self)) self->memberFxn();                                                       \
        return TRUE;                                                                                         \
    }

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
    if (call.IsCommandFor((UINT)(id), CN_UPDATE_COMMAND_UI)) {                                               \
        if (!call.OnlyAsking(self)) self->memberFxn(static_cast<CCmdUI*>(call.pExtra));                      \
        return TRUE;                                                                                         \
    }

// A range of commands: the handler takes the command's id.
#define ON_COMMAND_RANGE(first, last, memberFxn)                                                             \
    if (call.IsCommandIn((UINT)(first), (UINT)(last), CN_COMMAND)) {                                         \
        if (!call.OnlyAsking(self)) self->memberFxn(call.nID);                                               \
        return TRUE;                                                                                         \
    }

#define ON_UPDATE_COMMAND_UI_RANGE(first, last, memberFxn)                                                   \
    if (call.IsCommandIn((UINT)(first), (UINT)(last), CN_UPDATE_COMMAND_UI)) {                               \
        if (!call.OnlyAsking(self)) self->memberFxn(static_cast<CCmdUI*>(call.pExtra));                      \
        return TRUE;                                                                                         \
    }

// Any message, fixed or registered: LRESULT handler(WPARAM, LPARAM). A registered message names
// the variable or expression that holds its number, read when the message arrives.
#define ON_MESSAGE(message, memberFxn)                                                                       \
    if (call.IsMessage((UINT)(message))) {                                                                   \
        call.result = self->memberFxn(call.wParam, call.lParam);                                             \
        return TRUE;                                                                                         \
    }
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn) ON_MESSAGE(messageVariable, memberFxn)

#define AFX_ON_WM(message, callExpression)                                                                   \
    if (call.IsMessage(message)) {                                                                           \
        callExpression;                                                                                      \
        return TRUE;                                                                                         \
    }

#define AFX_WP_UINT ((UINT)call.wParam)
#define AFX_LP_POINT CPoint((short)LOWORD(call.lParam), (short)HIWORD(call.lParam))

#define ON_WM_KEYDOWN()                                                                                      \
    AFX_ON_WM(WM_KEYDOWN, self->OnKeyDown(AFX_WP_UINT, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_KEYUP()                                                                                        \
    AFX_ON_WM(WM_KEYUP, self->OnKeyUp(AFX_WP_UINT, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, self->OnChar(AFX_WP_UINT, LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_LBUTTONDOWN() AFX_ON_WM(WM_LBUTTONDOWN, self->OnLButtonDown(AFX_WP_UINT, AFX_LP_POINT))
#define ON_WM_LBUTTONUP() AFX_ON_WM(WM_LBUTTONUP, self->OnLButtonUp(AFX_WP_UINT, AFX_LP_POINT))
#define ON_WM_LBUTTONDBLCLK() AFX_ON_WM(WM_LBUTTONDBLCLK, self->OnLButtonDblClk(AFX_WP_UINT, AFX_LP_POINT))
#define ON_WM_MOUSEMOVE() AFX_ON_WM(WM_MOUSEMOVE, self->OnMouseMove(AFX_WP_UINT, AFX_LP_POINT))
// The wheel's point arrives in screen coordinates, as the platform sends it.
#define ON_WM_MOUSEWHEEL()                                                                                   \
    AFX_ON_WM(WM_MOUSEWHEEL, call.result = self->OnMouseWheel(LOWORD(call.wParam),                           \
                                                              (short)HIWORD(call.wParam), AFX_LP_POINT))
#define ON_WM_CAPTURECHANGED()                                                                               \
    AFX_ON_WM(WM_CAPTURECHANGED, self->OnCaptureChanged(CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, self->OnTimer((UINT_PTR)call.wParam))
#define ON_WM_SIZE()                                                                                         \
    AFX_ON_WM(WM_SIZE, self->OnSize(AFX_WP_UINT, (short)LOWORD(call.lParam), (short)HIWORD(call.lParam)))
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, self->OnSetFocus(CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, self->OnKillFocus(CWnd::FromHandle((HWND)call.wParam)))
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_ON_WM(WM_SETCURSOR, call.result = self->OnSetCursor(CWnd::FromHandle((HWND)call.wParam),             \
                                                            LOWORD(call.lParam), HIWORD(call.lParam)))
#define ON_WM_HSCROLL()                                                                                      \
    AFX_ON_WM(WM_HSCROLL, self->OnHScroll(LOWORD(call.wParam), HIWORD(call.wParam),                          \
                                          (CScrollBar*)CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_VSCROLL()                                                                                      \
    AFX_ON_WM(WM_VSCROLL, self->OnVScroll(LOWORD(call.wParam), HIWORD(call.wParam),                          \
                                          (CScrollBar*)CWnd::FromHandle((HWND)call.lParam)))
#define ON_WM_ERASEBKGND()                                                                                   \
    AFX_ON_WM(WM_ERASEBKGND, call.result = self->OnEraseBkgnd(CDC::FromHandle((HDC)call.wParam)))
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, self->OnPaint())
#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, call.result = self->OnCreate((LPCREATESTRUCTA)call.lParam))
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, self->OnDestroy())
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, self->OnClose())
