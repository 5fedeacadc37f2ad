// Memory files and the OLE clipboard classes: growth, holes and fixed blocks; a data source's blocks
// reaching a reader in this process and, after a flush, the plain clipboard.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/win/MemFile.h"
#include "framework/win/OleClipboard.h"
#include "tests/common/ClipboardTestKit.h"

namespace {
HGLOBAL TextBlock(const char* text) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::strcpy((char*)::GlobalLock(block), text);
    ::GlobalUnlock(block);
    return block;
}

std::string GlobalText(HGLOBAL block) {
    if (block == nullptr) return "<null>";
    std::string text = (const char*)::GlobalLock(block);
    ::GlobalUnlock(block);
    return text;
}
} // namespace

TEST(MemFile, GrowsFillsHolesWithZerosAndALentBlockNeitherOverflowsNorIsFreed) {
    CMemFile file(16);
    ASSERT_TRUE(file.Write("abc", 3));
    EXPECT_EQ(file.Seek(6, CFile::begin), 6u);
    ASSERT_TRUE(file.Write("xyz", 3));
    file.SeekToBegin();
    char out[16] = {};
    EXPECT_EQ(file.Read(out, sizeof out), 9u);
    EXPECT_EQ(std::memcmp(out, "abc\0\0\0xyz", 9), 0) << "the hole a seek left is zeros";
    EXPECT_EQ(file.Seek(-1, CFile::begin), CFile::kSeekFailed);
    EXPECT_TRUE(file.SetLength(2));
    EXPECT_EQ(file.GetPosition(), 2u);

    BYTE block[4] = {'1', '2', '3', '4'};
    {
        CMemFile lent(block, sizeof block);
        EXPECT_EQ(lent.Read(out, 8), 4u);
        lent.SeekToBegin();
        EXPECT_TRUE(lent.Write("ab", 2));
        EXPECT_FALSE(lent.Write("cdef", 4)) << "past a fixed block";
    } // the destructor must not free the caller's block
    EXPECT_EQ(std::memcmp(block, "ab34", 4), 0);
}

TEST(SharedFile, DetachesAZeroFilledGlobalBlockOfWholeSteps) {
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 4096);
    EXPECT_EQ(file.Detach(), nullptr) << "nothing written: no block";
    std::string text(5000, 'g');
    ASSERT_TRUE(file.Write(text.data(), (UINT)text.size()));
    HGLOBAL block = file.Detach();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(::GlobalSize(block), 8192u);
    EXPECT_EQ(GlobalText(block), text);
    ::GlobalFree(block);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(OleClipboard, ASourceReachesAReaderAndAfterAFlushThePlainClipboard) {
    ASSERT_TRUE(OpenClipboardPatiently(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    {
        COleDataObject empty;
        ASSERT_TRUE(empty.AttachClipboard());
        EXPECT_EQ(empty.GetGlobalData(CF_TEXT), nullptr) << "an empty clipboard offers no text";
    }
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, TextBlock("first"));
    source->CacheGlobalData(CF_TEXT,
                            TextBlock("second")); // replaces the first block
    ASSERT_TRUE(source->SetClipboard());

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
    HGLOBAL first = data.GetGlobalData(CF_TEXT), second = data.GetGlobalData(CF_TEXT);
    EXPECT_EQ(GlobalText(first), "second");
    EXPECT_NE(first, second) << "every reader gets a block of its own";
    ::GlobalFree(first);
    ::GlobalFree(second);
    data.Release();

    COleDataSource::FlushClipboard();
    ASSERT_TRUE(OpenClipboardPatiently(nullptr));
    EXPECT_EQ(GlobalText(::GetClipboardData(CF_TEXT)), "second");
    ::CloseClipboard();
}
