// The editor library joins the resource chain while it loads, with its own module handle.
#include <gtest/gtest.h>
#include <windows.h>

#include "documents/HostMessages.h"
#include "framework/win/ExtensionModule.h"

TEST(LibraryEntry, TheLoadedLibraryIsInTheResourceChainOnce) {
    HMODULE library = nullptr; // any address inside the library names its module
    ASSERT_TRUE(::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     (LPCSTR)&g_hostMessages, &library));
    ASSERT_NE(library, ::GetModuleHandleA(nullptr));
    int entries = 0;
    for (CDynLinkLibrary* link = AfxGetFirstDynLinkLibrary(); link != nullptr; link = link->m_pNextDLL)
        entries += link->m_hModule == library && link->m_hResource == library;
    EXPECT_EQ(entries, 1);
}
