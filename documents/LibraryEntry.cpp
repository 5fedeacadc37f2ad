// The editor library's entry point: joins the application's resource chain when the library loads
// and leaves it when the library goes. The host message table is filled before this runs.
#include <windows.h>

#include "framework/win/ExtensionModule.h"

namespace {
AFX_EXTENSION_MODULE g_editorModule;
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (!AfxInitExtensionModule(g_editorModule, instance)) return FALSE;
        new CDynLinkLibrary(g_editorModule); // owned by the chain
        return TRUE;
    case DLL_PROCESS_DETACH:
        AfxTermExtensionModule(g_editorModule);
        return TRUE;
    default:
        return TRUE;
    }
}
