// The resource chain of the application and its extension libraries.
#include "framework/win/ExtensionModule.h"

#include "framework/win/WinApp.h"

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

namespace {
CCriticalSection& ChainLock() {
    static CCriticalSection lock;
    return lock;
}
CDynLinkLibrary* g_firstLibrary = nullptr;
} // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
    if (module == nullptr) return FALSE;
    if (state.bInitialized) return TRUE;
    state.hModule = module;
    state.hResource = module;
    state.pFirstSharedClass = CRuntimeClass::FromName("CObject");
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all) {
    if (!state.bInitialized) return;
    for (;;) {
        CDynLinkLibrary* found = nullptr;
        {
            CSingleLock lock(ChainLock());
            for (CDynLinkLibrary* library = g_firstLibrary; library != nullptr; library = library->m_pNextDLL)
                if (library->m_hModule == state.hModule) found = library;
        }
        if (found == nullptr) break;
        delete found;
    }
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource) {
    CSingleLock lock(ChainLock());
    CDynLinkLibrary** link = &g_firstLibrary;
    while (*link != nullptr) link = &(*link)->m_pNextDLL;
    *link = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
    CSingleLock lock(ChainLock());
    for (CDynLinkLibrary** link = &g_firstLibrary; *link != nullptr; link = &(*link)->m_pNextDLL)
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
}

CDynLinkLibrary* AfxGetFirstDynLinkLibrary() {
    return g_firstLibrary;
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
    HINSTANCE own = AfxGetResourceHandle();
    if (::FindResourceA(own, name, type) != nullptr) return own;
    CSingleLock lock(ChainLock());
    for (CDynLinkLibrary* library = g_firstLibrary; library != nullptr; library = library->m_pNextDLL)
        if (library->m_hResource != nullptr && ::FindResourceA(library->m_hResource, name, type) != nullptr)
            return library->m_hResource;
    return nullptr;
}
