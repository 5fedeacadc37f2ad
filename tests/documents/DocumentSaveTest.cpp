// Saving: the written bytes, round trips through every family, and failures that keep the old file.
#include <gtest/gtest.h>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"
#include "framework/win/MessageBox.h"
#include "tests/common/FileTestKit.h"
#include "tests/common/UnixShell.h"

namespace {
class DocumentSave : public CFileTest {
protected:
    // A plain document opened on a source file and marked changed.
    void SetUp() override {
        ASSERT_EQ(doc.OpenFile(folder.Write("source.dat", "new text\r\n").c_str()), 1);
        doc.SetModifiedFlag(TRUE);
    }
    CBlackEditDoc doc;
};
} // namespace

TEST_F(DocumentSave, SavingWritesCrLfWithoutTheTerminatorAndReadsBackUnchangedInEveryFamily) {
    main->m_texts.clear();
    const std::string original = "title\r\n\tvalue 1.5 ; remark\r\n\xB5\xDA\xD2\xBB\xD5\xC2\r\nlast";
    std::string path = folder.Write("round.dat", original);
    CBlackEditDoc plain;
    CColorEditDoc colored;
    CCheckEditDoc check;
    CDataEditDoc data;
    for (CEditDocument* d : std::initializer_list<CEditDocument*>{&plain, &colored, &check, &data}) {
        ASSERT_EQ(d->OpenFile(path.c_str()), 1);
        std::string text = DocumentText(*d);
        for (int cycle = 0; cycle < 2; ++cycle) {
            d->SetModifiedFlag(TRUE);
            ASSERT_TRUE(d->OnSaveDocument(path.c_str()));
            EXPECT_FALSE(d->IsModified());
            EXPECT_EQ(CScratchFolder::ReadAll(path), original) << d->GetRuntimeClass()->m_lpszClassName;
            ASSERT_EQ(d->OpenFile(path.c_str()), 1);
            EXPECT_EQ(DocumentText(*d), text);
        }
    }
    EXPECT_EQ(boxes.GetCount(), 0);
    ASSERT_FALSE(main->m_texts.empty());
    EXPECT_EQ(main->m_texts[1],
              "\xB4\xE6\xB4\xA2\xCE\xC4\xBC\xFE:<" + std::string(CString(path.c_str()).MakeLower()) + ">\n");
}

// Each way a save can fail, with the folder and the temporary folder listed before and after: the
// message is shown, the document stays modified, and not a byte or a file is left or lost.
TEST_F(DocumentSave, AFailedSaveShowsTheMessageKeepsTheDocumentModifiedAndLeavesTheFoldersAsTheyWere) {
    std::string directory = folder.Path("adir"), held = folder.Write("held.dat", "old bytes\r\n");
    std::string linked = folder.Write("linked.dat", "linked bytes\r\n"),
                locked = folder.Write("ro.dat", "ro\r\n");
    ASSERT_TRUE(::CreateDirectoryA(directory.c_str(), nullptr));
    ASSERT_TRUE(::CreateHardLinkA(folder.Path("second.dat").c_str(), linked.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    struct Row {
        const char* name;
        std::string target;
        const std::string* holdOpen; // a file another program holds open without sharing it, or null
        DWORD sharing;
    };
    const Row rows[] = {
        {"a folder that does not exist", folder.Path("absent\\Target.dat"), nullptr, 0},
        {"a folder as the target", directory, nullptr, 0},
        {"a read-only file", locked, nullptr, 0},
        {"a file held open for reading only", held, &held, FILE_SHARE_READ},
        {"a file held open without sharing", held, &held, 0},
        {"a file with two names, held open", linked, &linked, FILE_SHARE_READ},
    };
    const std::string here = folder.Path("*"), temporary = TempPath("tsl*");
    int boxesBefore = boxes.GetCount();
    for (const Row& row : rows) {
        std::string before = Listing(here), temporaryBefore = Listing(temporary);
        HANDLE holder = row.holdOpen == nullptr
                            ? INVALID_HANDLE_VALUE
                            : ::CreateFileA(row.holdOpen->c_str(), GENERIC_READ, row.sharing, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
        ASSERT_EQ(holder == INVALID_HANDLE_VALUE, row.holdOpen == nullptr) << row.name;
        EXPECT_FALSE(doc.OnSaveDocument(row.target.c_str())) << row.name;
        if (holder != INVALID_HANDLE_VALUE) ::CloseHandle(holder);
        EXPECT_EQ(boxes.GetCount(), ++boxesBefore) << row.name;
        EXPECT_NE(std::string(boxes.GetText(boxesBefore - 1)).find(row.target), std::string::npos)
            << row.name;
        EXPECT_TRUE(doc.IsModified()) << row.name;
        EXPECT_EQ(Listing(here), before) << row.name;
        EXPECT_EQ(Listing(temporary), temporaryBefore) << row.name;
    }
    EXPECT_EQ(CScratchFolder::ReadAll(held), "old bytes\r\n");
    EXPECT_EQ(CScratchFolder::ReadAll(folder.Path("second.dat")), "linked bytes\r\n");
    EXPECT_TRUE(::GetFileAttributesA(directory.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DocumentLifecycle, EachFamilyIsCreatableByNameAnswersItsInterfaceAndClosingTellsTheApp) {
    for (const char* name : {"CBlackEditDoc", "CColorEditDoc", "CCheckEditDoc", "CDataEditDoc"}) {
        auto* doc = dynamic_cast<CEditDocument*>(CRuntimeClass::CreateObject(name));
        ASSERT_NE(doc, nullptr) << name;
        const IID id = {0xF6898245, 0x462B, 0x11D1, {0xB9, 0x9D, 0x00, 0xA0, 0xC9, 0x76, 0x3A, 0x0A}};
        IUnknown* dispatch = nullptr;
        EXPECT_EQ(doc->InternalQueryInterface(id, (void**)&dispatch), S_OK) << name;
        if (dispatch != nullptr) dispatch->Release();
        EXPECT_EQ(doc->InternalQueryInterface(IID_IClassFactory, (void**)&dispatch), E_NOINTERFACE);
        int before = theApp.m_closeCommands;
        doc->OnCloseDocument();
        EXPECT_EQ(theApp.m_closeCommands, before + 1);
    }
    CDataEditDoc fresh;
    ASSERT_TRUE(fresh.OnNewDocument());
    EXPECT_EQ(fresh.GetTextString().GetCapacity(), 65536);
}

TEST_F(DocumentSave, AReplacedFileKeepsItsAttributes) {
    std::string hidden = folder.Write("hidden.dat", "old\r\n");
    ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_NE(::GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "the file system keeps the attribute";
    EXPECT_TRUE(doc.OnSaveDocument(hidden.c_str()));
    EXPECT_EQ(CScratchFolder::ReadAll(hidden), "new text\r\n");
    EXPECT_NE(::GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "the file stays hidden";
    EXPECT_EQ(boxes.GetCount(), 0);

    EXPECT_EQ(CountFiles(folder.Path("tsl*")), 0) << "no temporary file is left behind";
}
