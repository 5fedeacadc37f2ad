// The host message table: identifiers agree with any other module's registration of the names.
#include "documents/HostMessages.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <set>

TEST(HostMessages, IdentifiersAreRegisteredMessageNumbers) {
    std::set<UINT> distinct;
    for (int row = 0; row < kHostMessageCount; ++row) {
        UINT id = g_hostMessages[row];
        EXPECT_GE(id, 0xC000u) << g_hostMessageNames[row];
        EXPECT_LE(id, 0xFFFFu) << g_hostMessageNames[row];
        distinct.insert(id);
    }
    // Only "Font Changed" and "Font changed" share a number.
    EXPECT_EQ(distinct.size(), size_t(kHostMessageCount - 1));
    EXPECT_EQ(HostMessage(kMsgFontChanged), HostMessage(kMsgFontChangedLower));
}

TEST(HostMessages, HostRegisteringInAnyOrderGetsTheSameNumbers) {
    for (int row = kHostMessageCount - 1; row >= 0; --row)
        EXPECT_EQ(RegisterWindowMessageA(g_hostMessageNames[row]), g_hostMessages[row])
            << g_hostMessageNames[row];
    EXPECT_EQ(RegisterWindowMessageA("SHOW MESSAGE"), HostMessage(kMsgShowMessage));
    EXPECT_EQ(RegisterWindowMessageA("file load"), HostMessage(kMsgFileLoad));
}

TEST(HostMessages, FindReplaceIsTheCommonDialogNotification) {
    EXPECT_EQ(RegisterWindowMessageA(FINDMSGSTRINGA), HostMessage(kMsgFindReplace));
}
