// Files: text-mode conversions at the read buffer's edge and in writing, failures and large
// offsets (the documents' tests read and save files of every shape through these classes).
#include <gtest/gtest.h>

#include <string>

#include "framework/win/File.h"

namespace {
class TempFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH];
        ASSERT_GT(::GetTempPathA(MAX_PATH, dir), 0u);
        path = std::string(dir) + "tessolin_file_test.txt";
        ::DeleteFileA(path.c_str());
    }
    void TearDown() override { ::DeleteFileA(path.c_str()); }

    void WriteRaw(const std::string& bytes) {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        ASSERT_TRUE(file.Write(bytes.data(), (UINT)bytes.size()));
    }
    std::string ReadRaw() {
        CFile file;
        if (!file.Open(path.c_str(), CFile::modeRead)) return "<missing>";
        std::string bytes((size_t)file.GetLength(), '\0');
        bytes.resize(file.Read(&bytes[0], (UINT)bytes.size()));
        return bytes;
    }

    std::string path;
};
} // namespace

TEST_F(TempFiles, ACrLfPairSplitAcrossTheInternalBufferStillJoins) {
    // 65535 letters put the CR last in the 64 KiB read buffer and its LF first in the next fill.
    std::string raw(65535, 'a');
    raw += "\r\nz\r";
    WriteRaw(raw);
    CStdioFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    std::string text(70000, '\0');
    text.resize(file.Read(&text[0], 70000));
    ASSERT_EQ(text.size(), 65535u + 3);
    EXPECT_EQ(text.substr(65535), "\nz\r"); // a CR ending the file stays
}

TEST_F(TempFiles, TextWritingExpandsEveryLf) {
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
        EXPECT_TRUE(file.IsTextMode());
        ASSERT_TRUE(file.Write("a\nb\r\n", 5));
        ASSERT_TRUE(file.WriteString("\n"));
        EXPECT_EQ(file.GetLength(), 9u); // pending bytes count before they reach the disk
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(ReadRaw(), "a\r\nb\r\r\n\r\n");
}

TEST_F(TempFiles, MissingAndInvalidFilesFailWithADescription) {
    CStdioFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, (LONG)ERROR_FILE_NOT_FOUND);
    EXPECT_NE(error.m_strFileName.Find("tessolin_file_test.txt"), -1);
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_TRUE(file.HasFailed());

    EXPECT_FALSE(file.Open("Z:\\no\\such\\dir\\x.txt", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_NE(error.m_cause, CFileException::none);
    EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));

    WriteRaw("data");
    CFile readOnly;
    ASSERT_TRUE(readOnly.Open(path.c_str(), CFile::modeRead));
    EXPECT_FALSE(readOnly.Write("x", 1)); // a handle opened for reading refuses writes
    EXPECT_EQ(readOnly.GetError().m_cause, CFileException::accessDenied);
    EXPECT_FALSE(readOnly.Open(path.c_str(), CFile::modeRead)); // already open
}

TEST_F(TempFiles, LengthsAndPositionsBeyondFourGigabytes) {
    // A sparse 5 GiB file: the size and offsets need 64 bits; only the last bytes hold data.
    const ULONGLONG size = 5ULL << 30;
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
        if (!file.SetLength(size)) GTEST_SKIP() << "no room for a sparse file";
        EXPECT_EQ(file.Seek(-4, CFile::end), size - 4);
        ASSERT_TRUE(file.Write("\r\ntl", 4));
        EXPECT_EQ(file.GetLength(), size);
    }
    CStdioFile text;
    ASSERT_TRUE(text.Open(path.c_str(), CFile::modeRead));
    EXPECT_EQ(text.GetLength(), size);
    EXPECT_EQ(text.Seek(-5, CFile::end), size - 5);
    char tail[8] = {};
    EXPECT_EQ(text.Read(tail, sizeof tail), 4u);
    EXPECT_EQ(std::string(tail, 4), std::string("\0\ntl", 4));
    EXPECT_EQ(text.GetPosition(), size);
}
