// Crash recovery: a killed host's typing recovered byte for byte, the answer No, saving, closing, the
// switch that turns recovery off, and edits made while a snapshot is being copied.
#include <windows.h>

#include <functional>

#include "../common/FileTestKit.h"
#include "../documents/DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/RecoveryFiles.h"
#include "documents/RecoveryWriter.h"
#include "include/tessolin/tessolin.h"

namespace {
const char kQuestion[] =
    "\xBB\xD6\xB8\xB4\xCE\xB4\xB1\xA3\xB4\xE6\xB5\xC4\xD0\xDE\xB8\xC4?"; // 恢复未保存的修改?
const char kFileBytes[] = "\xB5\xDA\xD2\xBB\xD5\xC2 one\r\nline two\r\n";
const char kFileText[] = "\xB5\xDA\xD2\xBB\xD5\xC2 one\nline two\n";

CEditDocument* NewDocument() {
    return dynamic_cast<CEditDocument*>(CRuntimeClass::CreateObject("CBlackEditDoc"));
}

// Runs the writer's timer work now, as if the typing had stopped long ago, until the write is done.
void WriteRecoveryNow(CEditDocument& doc) {
    CRecoveryWriter& writer = doc.GetRecoveryWriter();
    for (DWORD start = ::GetTickCount(); writer.IsPending() && ::GetTickCount() - start < 10000; ::Sleep(5))
        writer.Tick(::GetTickCount() + 3000);
}

// The text bytes of the recovery file kept for path.
std::string RecoveredText(const std::string& path) {
    HANDLE file = ::CreateFileA(recovery::FileFor(path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ULONGLONG size = 0;
    std::string text;
    DWORD read = 0;
    if (file != INVALID_HANDLE_VALUE && recovery::ReadHeader(file, size)) {
        text.resize((size_t)size);
        if (!::ReadFile(file, &text[0], (DWORD)size, &read, nullptr) || read != size) text = "<short>";
    }
    ::CloseHandle(file);
    return text;
}

// Starts the test host on path typing keys; once it has written its recovery file, runs whileAlive
// and kills the host.
void TypeAndKill(const std::string& path, const char* keys, const std::function<void()>& whileAlive = {}) {
    HANDLE written = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinRecoveryTestWritten");
    ASSERT_NE(written, nullptr);
    std::string command = "recovery_child.exe \"" + path + "\" \"" + keys + "\" TessolinRecoveryTestWritten";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &child));
    HANDLE both[2] = {written, child.hProcess};
    DWORD which = ::WaitForMultipleObjects(2, both, FALSE, 60000);
    if (which == WAIT_OBJECT_0 && whileAlive) whileAlive();
    ::TerminateProcess(child.hProcess, 9);
    ::WaitForSingleObject(child.hProcess, 10000);
    DWORD code = 0;
    ::GetExitCodeProcess(child.hProcess, &code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ::CloseHandle(written);
    ASSERT_EQ(which, WAIT_OBJECT_0) << "the host ended with " << code << " before writing";
}

class Recovery : public CFileTest {
protected:
    Recovery() {
        ::SetEnvironmentVariableA("TESSOLIN_RECOVERY_DIR", kept.Path("").c_str());
        path = folder.Write("data.txt", kFileBytes);
    }
    ~Recovery() override { ::SetEnvironmentVariableA("TESSOLIN_RECOVERY_DIR", nullptr); }
    int RecoveryFiles() const { return CountFiles(kept.Path("*.tsr")); }

    CScratchFolder kept;
    std::string path;
};
} // namespace

TEST_F(Recovery, AKilledHostsTypingComesBackOnYesAndGoesOnNo) {
    TypeAndKill(path, "a\xD6\xD0\r", [&] {
        CEditDocument* doc = NewDocument();
        ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
        EXPECT_EQ(boxes.GetCount(), 0) << "the edits of a host still running are not offered";
        EXPECT_EQ(DocumentText(*doc), kFileText);
        doc->OnCloseDocument();
    });
    ASSERT_EQ(RecoveryFiles(), 1);
    boxes.QueueAnswer(IDYES);
    CEditDocument* doc = NewDocument();
    ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
    ASSERT_EQ(boxes.GetCount(), 1);
    EXPECT_EQ(boxes.GetRecord(0).text, kQuestion);
    EXPECT_EQ(boxes.GetRecord(0).type & MB_TYPEMASK, (UINT)MB_YESNO);
    EXPECT_EQ(DocumentText(*doc), std::string("a\xD6\xD0\n") + kFileText);
    EXPECT_TRUE(doc->IsModified());
    doc->OnCloseDocument();
    EXPECT_EQ(RecoveryFiles(), 0) << "closing without saving throws the recovery file away";

    // The editor window offers it too.
    TypeAndKill(path, "c");
    boxes.QueueAnswer(IDNO);
    HWND editor = ::CreateWindowExA(0, TESSOLIN_EDIT_CLASSA, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)path.c_str()));
    EXPECT_EQ(boxes.GetText(1), kQuestion);
    char text[64] = {};
    ::GetWindowTextA(editor, text, sizeof text);
    EXPECT_STREQ(text, kFileBytes);
    EXPECT_EQ(::SendMessageA(editor, EM_GETMODIFY, 0, 0), 0);
    EXPECT_EQ(RecoveryFiles(), 0);
    ::DestroyWindow(editor);
}

TEST_F(Recovery, SavingAndClosingDeleteTheFileAndSwitchedOffNoneIsWritten) {
    CEditDocument* doc = NewDocument();
    ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
    doc->SetPathName(path.c_str());
    doc->InsertAt(0, "x");
    WriteRecoveryNow(*doc);
    EXPECT_EQ(RecoveryFiles(), 1);
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    EXPECT_EQ(RecoveryFiles(), 0);

    recovery::SetEnabled(false);
    doc->InsertAt(0, "y");
    WriteRecoveryNow(*doc);
    recovery::SetEnabled(true);
    EXPECT_EQ(RecoveryFiles(), 0);
    doc->InsertAt(0, "z");
    WriteRecoveryNow(*doc);
    EXPECT_EQ(RecoveryFiles(), 1);
    doc->OnCloseDocument();
    EXPECT_EQ(RecoveryFiles(), 0);
    EXPECT_NE(recovery::FileFor(folder.Path("a\\data.txt").c_str()), recovery::FileFor(path.c_str()));
}

// Input waiting stops the copy after one slice; the edits before and after the copied part must
// both reach the file.
TEST_F(Recovery, EditsWhileTheSnapshotIsCopiedAreInTheFileWritten) {
    CEditDocument* doc = NewDocument();
    ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
    doc->SetPathName(path.c_str());
    doc->InsertAt(10, std::string(3 << 20, 'q').c_str());
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
    doc->GetRecoveryWriter().Tick(::GetTickCount() + 3000);
    EXPECT_EQ(doc->GetRecoveryWriter().GetLastCost().slices, 0) << "no write was handed over yet";
    doc->InsertAt(5, "early");
    doc->InsertAt((int)doc->GetLength() - 1, "late");
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    WriteRecoveryNow(*doc);
    EXPECT_EQ(RecoveredText(path), DocumentText(*doc));
    doc->OnCloseDocument();
}
