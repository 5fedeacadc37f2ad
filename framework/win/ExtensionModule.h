// Extension modules: libraries that join the application's resource chain when they load.
#pragma once

#include <windows.h>

#include "framework/win/CmdTarget.h"

// A library's descriptor, filled by AfxInitExtensionModule in its entry point.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
    // The run-time class registry is process-wide, so the library's classes are found by name
    // as soon as its static initialisers have run; this records the registry head at that point.
    CRuntimeClass* pFirstSharedClass = nullptr;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Removes the module's libraries from the chain and deletes them.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// One library in the resource chain; the chain owns it (AfxTermExtensionModule deletes it).
// The chain is searched in the order the libraries joined, after the application itself.
class CDynLinkLibrary : public CCmdTarget {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    CDynLinkLibrary* m_pNextDLL = nullptr;
};

// The first library of the chain, for walking it.
CDynLinkLibrary* AfxGetFirstDynLinkLibrary();
// The module holding the resource: the application's resources first, then each library's;
// null when none has it.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
