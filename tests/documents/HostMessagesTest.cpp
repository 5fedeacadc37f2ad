// The host message table: identifiers agree with any other module's registration of the names.
#include "documents/HostMessages.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <set>

TEST(HostMessages, IdentifiersAreTheRegisteredNumbersOfTheNamesInAnyOrderAndCase) {
    std::set<UINT> distinct;
    for (int row = kHostMessageCount - 1; row >= 0; --row) {
        EXPECT_EQ(RegisterWindowMessageA(g_hostMessageNames[row]), g_hostMessages[row])
            << g_hostMessageNames[row];
        EXPECT_GE(g_hostMessages[row], 0xC000u) << g_hostMessageNames[row];
        distinct.insert(g_hostMessages[row]);
    }
    // Only "Font Changed" and "Font changed" share a number.
    EXPECT_EQ(distinct.size(), size_t(kHostMessageCount - 1));
    EXPECT_EQ(HostMessage(kMsgFontChanged), HostMessage(kMsgFontChangedLower));
    EXPECT_EQ(RegisterWindowMessageA("SHOW MESSAGE"), HostMessage(kMsgShowMessage));
    EXPECT_EQ(RegisterWindowMessageA(FINDMSGSTRINGA), HostMessage(kMsgFindReplace));
}
