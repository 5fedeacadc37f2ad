// Resource, name and owner lookup for the drawing, dialog and control classes.
#include "framework/win/HostLookup.h"

#include "framework/win/ExtensionModule.h"
#include "framework/win/WinApp.h"
#include "framework/win/Wnd.h"

HINSTANCE FindResourceModule(LPCSTR name, LPCSTR type) {
    return AfxFindResourceHandle(name, type);
}

// String resources live in blocks of 16 (RT_STRING, block id / 16 + 1).
CString LoadResourceString(UINT id) {
    HINSTANCE module = FindResourceModule(MAKEINTRESOURCEA((id >> 4) + 1), (LPCSTR)RT_STRING);
    char text[1024];
    int n = module != nullptr ? ::LoadStringA(module, id, text, sizeof text) : 0;
    return n > 0 ? CString(text, n) : CString();
}

CString ApplicationName() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pszAppName != nullptr) return CString(app->m_pszAppName);
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    CString name(path, n < sizeof path ? (int)n : 0);
    name = name.Mid(name.ReverseFind('\\') + 1);
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

HWND MessageBoxOwner() {
    HWND active = ::GetActiveWindow();
    if (active != nullptr) return active;
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->m_hWnd : nullptr;
}
