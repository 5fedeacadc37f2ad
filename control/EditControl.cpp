// The "TessolinEdit" window: its class, its window procedure, and the life of its document and view.
#include "control/EditControl.h"

#include <new>

#include "control/EmbeddedView.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"
#include "framework/win/WinApp.h"
#include "include/tessolin/tessolin.h"
#include "views/BlackEditView.h"
#include "views/ColorEditView.h"

namespace {
// The application object of a host that is not a framework application: the documents and the print
// path ask for one; it has no main window and runs no message loop.
class CControlApp : public CWinApp {
public:
    CControlApp() : CWinApp("TessolinEdit") { m_hInstance = ::GetModuleHandleA(nullptr); }
};

CControlApp* g_app = nullptr;

void EnsureApplication() {
    if (AfxGetApp() == nullptr) g_app = new CControlApp; // lives as long as the process
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         (LPCSTR)&ThisModule, &module);
    return module;
}

// The class is there from the moment the library is loaded until it is unloaded.
struct CClassRegistration {
    CClassRegistration() : module(ThisModule()) { CEditControl::Register(module); }
    ~CClassRegistration() { ::UnregisterClassA(TESSOLIN_EDIT_CLASSA, module); }
    HINSTANCE module;
};
const CClassRegistration g_registration;

// A new document and a view of its family for the kind.
CEditScrollView* MakeEditor(CEditControl& control, DWORD kind, CEditDocument*& doc) {
    switch (kind & TES_KINDMASK) {
    case TES_PLAIN:
        doc = new CBlackEditDoc;
        return new CEmbeddedView<CBlackEditView>(control);
    case TES_COLORED:
        doc = new CColorEditDoc;
        break;
    case TES_DATAFILE:
        doc = new CDataEditDoc;
        break;
    default:
        doc = new CCheckEditDoc;
        break;
    }
    return new CEmbeddedView<CColorEditView>(control);
}
} // namespace

extern "C" BOOL WINAPI TessolinRegisterClasses(HINSTANCE instance) {
    return CEditControl::Register(instance != nullptr ? instance : ThisModule());
}

BOOL CEditControl::Register(HINSTANCE instance) {
    InstallControlReports();
    WNDCLASSEXA wc = {};
    if (::GetClassInfoExA(instance, TESSOLIN_EDIT_CLASSA, &wc)) return TRUE;
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = &CEditControl::WindowProc;
    wc.cbWndExtra = sizeof(CEditControl*);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = TESSOLIN_EDIT_CLASSA;
    return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CEditControl::OwnsApplication() {
    return g_app != nullptr && AfxGetApp() == g_app;
}

LRESULT CALLBACK CEditControl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = (CEditControl*)::GetWindowLongPtrA(hwnd, 0);
    if (message == WM_NCCREATE && control == nullptr) {
        control = new (std::nothrow) CEditControl(hwnd);
        if (control == nullptr) return FALSE;
        ::SetWindowLongPtrA(hwnd, 0, (LONG_PTR)control);
    }
    if (control == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, 0, 0);
        delete control;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return control->Handle(message, wParam, lParam);
}

LRESULT CEditControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    CControlScope scope(*this);
    switch (message) {
    case WM_CREATE:
        return Create(*(const CREATESTRUCTA*)lParam) ? 0 : -1;
    case WM_DESTROY:
        Destroy();
        return 0;
    case WM_SIZE:
        if (m_view != nullptr) ::MoveWindow(m_view->m_hWnd, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (m_view != nullptr) ::SetFocus(m_view->m_hWnd);
        return 0;
    case WM_GETDLGCODE:
        return m_view != nullptr ? ::SendMessageA(m_view->m_hWnd, message, wParam, lParam) : 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_COMMAND: // keys and commands sent to the editor's window go to its view, as typed there
        if (m_view != nullptr && (message != WM_COMMAND || lParam == 0))
            return ::SendMessageA(m_view->m_hWnd, message, wParam, lParam);
        return 0;
    default:
        break;
    }
    LRESULT result = 0;
    if (EditMessage(message, wParam, lParam, result) || TessolinMessage(message, wParam, lParam, result))
        return result;
    return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
}

bool CEditControl::Create(const CREATESTRUCTA& cs) {
    EnsureApplication();
    CEditDocument* doc = nullptr;
    CEditScrollView* view = MakeEditor(*this, (DWORD)cs.style, doc);
    if (!doc->OnNewDocument()) {
        delete view;
        delete doc;
        return false;
    }
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    RECT rect;
    ::GetClientRect(m_hwnd, &rect);
    // A view that fails to create has deleted itself.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, rect,
                      CWnd::FromHandle(m_hwnd), AFX_IDW_PANE_FIRST, &context)) {
        doc->m_bAutoDelete = FALSE;
        delete doc;
        return false;
    }
    m_doc = doc;
    m_view = view;
    view->SendMessage(WM_INITIALUPDATE);
    if (cs.lpszName != nullptr && cs.lpszName[0] != '\0') SetText(cs.lpszName);
    m_notifier.Settle();
    return true;
}

// The host decided: the document closes without asking to save, its view goes with it.
void CEditControl::Destroy() {
    CEditDocument* doc = m_doc;
    m_view = nullptr;
    m_doc = nullptr;
    if (doc != nullptr) doc->OnCloseDocument();
    m_notifier.Mute();
}

void CEditControl::LeaveScope() {
    if (--m_depth == 0 && m_view != nullptr) m_notifier.Flush();
}

void CEditControl::Command(UINT id) {
    if (m_view != nullptr) ::SendMessageA(m_view->m_hWnd, WM_COMMAND, id, 0);
}
