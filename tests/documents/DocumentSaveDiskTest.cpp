// Saving where the disk gets in the way: a file with a second name, a full disk, and a folder where
// no new file can be made. The disks are small RAM file systems mounted for the test (the Wine
// machines run the tests as root).
#include <gtest/gtest.h>

#include <fstream>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "tests/common/FileTestKit.h"
#include "tests/common/UnixShell.h"

namespace {
// A RAM file system of `kilobytes` with room for `files` files and folders (its root is one),
// mounted at a fresh folder in the temporary folder for the object's lifetime.
class CSmallDisk {
public:
    CSmallDisk(int kilobytes, int files) : m_path(TempPath("tessolin-small-disk")) {
        ::CreateDirectoryA(m_path.c_str(), nullptr);
        m_unix = UnixPath(m_path);
        m_mounted = !m_unix.empty() &&
                    RunUnixShell("mount -t tmpfs -o size=" + std::to_string(kilobytes) +
                                 "k,nr_inodes=" + std::to_string(files) + " tessolin-test " + m_unix) == 0;
    }
    ~CSmallDisk() {
        if (m_mounted) RunUnixShell("umount " + m_unix);
        ::RemoveDirectoryA(m_path.c_str());
    }
    bool Mounted() const { return m_mounted; }
    std::string Path(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path, m_unix;
    bool m_mounted = false;
};

class DocumentSaveDisk : public CFileTest {
protected:
    // Opens a document on `text` (LF line ends) and marks it changed.
    void OpenWith(const std::string& text) {
        ASSERT_EQ(doc.OpenFile(folder.Write("source.dat", text).c_str()), 1);
        doc.SetModifiedFlag(TRUE);
    }
    CBlackEditDoc doc;
};

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "LINE " + std::to_string(100000 + i) + " 1.5 2.5 3.5\n";
    return text;
}

std::string WithCrLf(const std::string& text) {
    std::string file;
    for (char c : text) file += c == '\n' ? "\r\n" : std::string(1, c);
    return file;
}
} // namespace

TEST_F(DocumentSaveDisk, AFileWithASecondNameIsSavedUnderBothNames) {
    OpenWith("new text\n");
    std::string first = folder.Write("first.dat", "old\r\n"), second = folder.Path("second.dat");
    ASSERT_TRUE(::CreateHardLinkA(second.c_str(), first.c_str(), nullptr));
    EXPECT_TRUE(doc.OnSaveDocument(first.c_str()));
    EXPECT_EQ(CScratchFolder::ReadAll(first), "new text\r\n");
    EXPECT_EQ(CScratchFolder::ReadAll(second), "new text\r\n") << "the other name sees the saved text";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(CountFiles(folder.Path("tsl*")), 0);
    EXPECT_EQ(boxes.GetCount(), 0);
}

TEST_F(DocumentSaveDisk, AFullDiskRefusesTheSaveAndLeavesTheOldFileAsItWas) {
    CSmallDisk disk(512, 100);
    ASSERT_TRUE(disk.Mounted()) << "a small file system could not be mounted";
    std::string text = Lines(8000); // about 200 KB
    OpenWith(text);
    std::string target = disk.Path("target.dat"), filler = disk.Path("filler.bin");
    std::ofstream(target, std::ios::binary) << "old bytes\r\n";
    std::ofstream(filler, std::ios::binary) << std::string(400 * 1024, 'f');

    EXPECT_FALSE(doc.OnSaveDocument(target.c_str()));
    EXPECT_EQ(CScratchFolder::ReadAll(target), "old bytes\r\n") << "the original stays byte for byte";
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(boxes.GetCount(), 1);
    EXPECT_EQ(CountFiles(disk.Path("tsl*")), 0) << "no temporary file left";
    std::string fresh = disk.Path("fresh.dat");
    EXPECT_FALSE(doc.OnSaveDocument(fresh.c_str()));
    EXPECT_EQ(::GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES) << "no half-written new file";

    ::DeleteFileA(filler.c_str()); // with the room back the same save succeeds
    EXPECT_TRUE(doc.OnSaveDocument(target.c_str()));
    EXPECT_TRUE(CScratchFolder::ReadAll(target) == WithCrLf(text));
    EXPECT_FALSE(doc.IsModified());
}

// No new file fits beside the target (the file system has no file left), so the save keeps a copy
// of the target in the temporary folder and writes the target in place; when the text does not fit
// either, the copy is written back.
TEST_F(DocumentSaveDisk, WhereNoNewFileCanBeMadeTheFileIsWrittenInPlaceOrPutBack) {
    CSmallDisk disk(128, 2);
    ASSERT_TRUE(disk.Mounted()) << "a small file system could not be mounted";
    std::string target = disk.Path("target.dat"), original = WithCrLf(Lines(2000)); // about 50 KB
    std::ofstream(target, std::ios::binary) << original;
    ASSERT_EQ(
        ::CreateFileA(disk.Path("other.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
        INVALID_HANDLE_VALUE)
        << "the disk must have no room for another file";
    int keptBefore = CountFiles(TempPath("tsl*"));

    OpenWith(Lines(8000)); // about 200 KB: more than the disk holds
    EXPECT_FALSE(doc.OnSaveDocument(target.c_str()));
    EXPECT_TRUE(CScratchFolder::ReadAll(target) == original) << "the kept copy was written back";
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(boxes.GetCount(), 1);

    OpenWith("short\n");
    EXPECT_TRUE(doc.OnSaveDocument(target.c_str()));
    EXPECT_TRUE(CScratchFolder::ReadAll(target) == "short\r\n");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(CountFiles(TempPath("tsl*")), keptBefore) << "the copies are gone";
}
