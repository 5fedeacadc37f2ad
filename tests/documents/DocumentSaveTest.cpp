// Saving: the written bytes, round trips through every family, and failures that keep the old file.
#include <gtest/gtest.h>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"
#include "framework/win/MessageBox.h"
#include "tests/common/FileTestKit.h"

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

TEST_F(DocumentSave, AFailedSaveShowsTheMessageKeepsTheDocumentModifiedAndTouchesNoFile) {
    std::string noFolder = folder.Path("absent\\Target.dat");
    EXPECT_FALSE(doc.OnSaveDocument(noFolder.c_str()));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(boxes.GetCount(), 1);
    EXPECT_NE(std::string(boxes.GetText(0)).find(noFolder), std::string::npos);

    std::string directory = folder.Path("adir");
    ASSERT_TRUE(::CreateDirectoryA(directory.c_str(), nullptr));
    EXPECT_FALSE(doc.OnSaveDocument(directory.c_str()));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(boxes.GetCount(), 2);
    EXPECT_TRUE(::GetFileAttributesA(directory.c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    // A target that another program holds open without letting it be replaced.
    std::string held = folder.Write("held.dat", "old bytes\r\n");
    HANDLE holder =
        ::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(doc.OnSaveDocument(held.c_str()));
    ::CloseHandle(holder);
    EXPECT_EQ(CScratchFolder::ReadAll(held), "old bytes\r\n") << "the original stays byte for byte";
    EXPECT_TRUE(doc.IsModified());

    EXPECT_EQ(CountFiles(folder.Path("tsl*")), 0) << "no temporary file is left behind";
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

TEST_F(DocumentSave, AReadOnlyFileIsRefusedAndAReplacedFileKeepsItsAttributes) {
    std::string locked = folder.Write("locked.dat", "kept bytes\r\n");
    ASSERT_TRUE(::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(doc.OnSaveDocument(locked.c_str()));
    EXPECT_EQ(boxes.GetCount(), 1) << "refused with the message";
    EXPECT_EQ(CScratchFolder::ReadAll(locked), "kept bytes\r\n");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NE(::GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    ::SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);

    std::string hidden = folder.Write("hidden.dat", "old\r\n");
    ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_NE(::GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "the file system keeps the attribute";
    EXPECT_TRUE(doc.OnSaveDocument(hidden.c_str()));
    EXPECT_EQ(CScratchFolder::ReadAll(hidden), "new text\r\n");
    EXPECT_NE(::GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "the file stays hidden";
    EXPECT_EQ(boxes.GetCount(), 1);

    EXPECT_EQ(CountFiles(folder.Path("tsl*")), 0) << "no temporary file is left behind";
}
