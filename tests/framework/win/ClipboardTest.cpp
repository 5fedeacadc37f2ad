// A memory file over a lent block, and the OLE clipboard classes: a data source's block reaching a
// reader in this process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/win/MemFile.h"
#include "framework/win/OleClipboard.h"

TEST(MemFile, ALentBlockIsReadNeitherOverflowedNorFreed) {
    BYTE block[4] = {'1', '2', '3', '4'};
    char out[8] = {};
    {
        CMemFile lent(block, sizeof block);
        EXPECT_EQ(lent.Read(out, 8), 4u);
        lent.SeekToBegin();
        EXPECT_TRUE(lent.Write("ab", 2));
        EXPECT_FALSE(lent.Write("cdef", 4)) << "past a fixed block";
    } // the destructor must not free the caller's block
    EXPECT_EQ(std::memcmp(block, "ab34", 4), 0);
}

TEST(OleClipboard, ASourcesBlockReachesEveryReaderAsACopyOfItsOwn) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 7);
    std::strcpy((char*)::GlobalLock(block), "second");
    ::GlobalUnlock(block);
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, block);
    ASSERT_TRUE(source->SetClipboard());

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
    HGLOBAL first = data.GetGlobalData(CF_TEXT), second = data.GetGlobalData(CF_TEXT);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ((const char*)::GlobalLock(first), "second");
    ::GlobalUnlock(first);
    EXPECT_NE(first, second) << "every reader gets a block of its own";
    ::GlobalFree(first);
    ::GlobalFree(second);
}
