// Files that other programs change while they are open in real views: reloads, the question and its
// answers, deletion and rename, and a growing file followed to its end.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "documents/DataEditDocs.h"
#include "documents/FileWatch.h"
#include "documents/HostMessages.h"
#include "framework/win/DocTemplate.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/WinApp.h"
#include "views/BlackEditView.h"
#include "views/ColorEditView.h"

CWinApp theApp("FileWatchTests");

namespace {
CMDIFrameWnd* g_main = nullptr;
CMultiDocTemplate* g_colored = nullptr;
CMultiDocTemplate* g_plain = nullptr;

void Pump() {
    for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Serves messages (the watch's timer among them) for up to ms or until done answers true.
template <class F> bool Serve(int ms, F done) {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < (DWORD)ms;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
        if (done()) return true;
    }
    return done();
}

void WriteBytes(const std::string& path, const std::string& bytes, DWORD creation = CREATE_ALWAYS) {
    HANDLE file =
        ::CreateFileA(path.c_str(), creation == OPEN_ALWAYS ? FILE_APPEND_DATA : GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, creation, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    ::CloseHandle(file);
}
void AppendBytes(const std::string& path, const std::string& bytes) {
    WriteBytes(path, bytes, OPEN_ALWAYS);
}

std::string Text(CEditDocument* doc) {
    return std::string(doc->GetTextBuffer(0), (size_t)doc->GetLength() - 1);
}

// The text file format's reading of a whole file, for the coloured (keepNul) or the plain family.
std::string AsText(const std::string& bytes, bool keepNul) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i] == '\0' && !keepNul ? ' ' : bytes[i];
    }
    return text;
}

CEditScrollView* ViewOf(CDocument* doc, int n) {
    POSITION position = doc->GetFirstViewPosition();
    CView* view = nullptr;
    for (int i = 0; i <= n && position != nullptr; ++i) view = doc->GetNextView(position);
    return dynamic_cast<CEditScrollView*>(view);
}

class FileWatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (g_main != nullptr) return;
        g_main = new CMDIFrameWnd;
        ASSERT_TRUE(g_main->LoadFrame(1, WS_OVERLAPPEDWINDOW));
        g_main->MoveWindow(0, 0, 900, 700);
        g_main->ShowWindow(SW_SHOW);
        theApp.m_pMainWnd = g_main;
        g_colored = new CMultiDocTemplate(1, RUNTIME_CLASS(CDataEditDoc), RUNTIME_CLASS(CMDIChildWnd),
                                          RUNTIME_CLASS(CColorEditView));
        g_plain = new CMultiDocTemplate(1, RUNTIME_CLASS(CBlackEditDoc), RUNTIME_CLASS(CMDIChildWnd),
                                        RUNTIME_CLASS(CBlackEditView));
        theApp.AddDocTemplate(g_colored);
        theApp.AddDocTemplate(g_plain);
    }
    FileWatchTest() {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "tessolin-watch-" + std::to_string(::GetTickCount());
        ::CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "\\listing.txt";
    }
    void TearDown() override {
        theApp.CloseAllDocuments(FALSE);
        Pump();
        for (const char* name : {"listing.txt", "moved.txt"}) ::DeleteFileA((folder + "\\" + name).c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    CEditDocument* Open(CMultiDocTemplate* docTemplate, const std::string& bytes) {
        WriteBytes(path, bytes);
        return dynamic_cast<CEditDocument*>(docTemplate->OpenDocumentFile(path.c_str()));
    }
    // A second view of the document in a frame of its own.
    CEditScrollView* SecondView(CEditDocument* doc, CMultiDocTemplate* docTemplate) {
        CFrameWnd* frame = docTemplate->CreateNewFrame(doc, nullptr);
        docTemplate->InitialUpdateFrame(frame, doc);
        return ViewOf(doc, 1);
    }
    static std::string Lines(int count, const char* body) {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::string(body) + std::to_string(i) + "\r\n";
        return text;
    }

    std::string folder, path;
    CModalRecorder boxes{IDNO};
};

TEST_F(FileWatchTest, RewriteReloadsWithoutAskingAndKeepsEachViewOnItsLines) {
    CEditDocument* doc = Open(g_plain, Lines(200, "old "));
    ASSERT_NE(doc, nullptr);
    CEditScrollView* second = SecondView(doc, g_plain);
    ASSERT_NE(second, nullptr);
    ViewOf(doc, 0)->SetPlace({150, 3, 140});
    second->SetPlace({10, 2, 5});
    // An edit saved: the history holds a record of the old text, our own save asks nothing.
    ViewOf(doc, 0)->SendMessage(WM_CHAR, 'x', 1);
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    ASSERT_TRUE(doc->CanUndo());
    Serve(300, [] { return false; });
    EXPECT_EQ(boxes.GetCount(), 0);

    WriteBytes(path, Lines(100, "new line "));
    ASSERT_TRUE(Serve(3000, [&] { return Text(doc) == AsText(Lines(100, "new line "), false); }));
    EXPECT_EQ(boxes.GetCount(), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndo()) << "records of the old text would corrupt the new one";
    EXPECT_EQ(ViewOf(doc, 0)->Model().CaretLine(), 100) << "clamped to the last line";
    EXPECT_EQ(second->Model().CaretLine(), 10);
    EXPECT_EQ(second->Model().Caret(), doc->LineStart(10) + 2);
    EXPECT_EQ(second->Model().First().line, 5);
}

TEST_F(FileWatchTest, EditedDocumentAsksOnceAndTheAnswerDecides) {
    CEditDocument* doc = Open(g_colored, "first\r\n");
    ASSERT_NE(doc, nullptr);
    ViewOf(doc, 0)->SendMessage(WM_CHAR, 'E', 1);
    WriteBytes(path, "second version\r\n");
    ASSERT_TRUE(Serve(3000, [&] { return boxes.GetCount() == 1; }));
    EXPECT_NE(std::string(boxes.GetText(0)).find(path), std::string::npos);
    EXPECT_EQ(boxes.GetRecord(0).type & MB_YESNO, (UINT)MB_YESNO);
    // No: the edits stay, and the same change is not asked about again.
    Serve(400, [] { return false; });
    EXPECT_EQ(boxes.GetCount(), 1);
    EXPECT_EQ(Text(doc), "Efirst\n");
    EXPECT_TRUE(doc->IsModified());

    boxes.QueueAnswer(IDYES);
    WriteBytes(path, "third version\r\n");
    ASSERT_TRUE(Serve(3000, [&] { return boxes.GetCount() == 2; }));
    EXPECT_EQ(Text(doc), "third version\n");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(FileWatchTest, DeletionAndRenameAreReportedOnceAndSaveWritesTheFileAgain) {
    CEditDocument* doc = Open(g_plain, "kept\r\n");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(::DeleteFileA(path.c_str()));
    ASSERT_TRUE(Serve(3000, [&] { return boxes.GetCount() == 1; }));
    Serve(300, [] { return false; });
    EXPECT_EQ(boxes.GetCount(), 1);
    EXPECT_EQ(boxes.GetRecord(0).type & MB_YESNO, 0u);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Text(doc), "kept\n");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));

    ASSERT_TRUE(::MoveFileA(path.c_str(), (folder + "\\moved.txt").c_str()));
    ASSERT_TRUE(Serve(3000, [&] { return boxes.GetCount() == 2; }));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FileWatchTest, TwoDocumentsOfOneFileBothReload) {
    CEditDocument* plain = Open(g_plain, "one\r\n");
    auto* colored = dynamic_cast<CEditDocument*>(g_colored->OpenDocumentFile(path.c_str()));
    ASSERT_TRUE(plain != nullptr && colored != nullptr);
    WriteBytes(path, "two\r\nlines\r\n");
    EXPECT_TRUE(
        Serve(3000, [&] { return Text(plain) == "two\nlines\n" && Text(colored) == "two\nlines\n"; }));
    EXPECT_EQ(boxes.GetCount(), 0);
}

TEST_F(FileWatchTest, HostReloadForgetsTheHistory) {
    CEditDocument* doc = Open(g_colored, "abc\r\n");
    ASSERT_NE(doc, nullptr);
    ViewOf(doc, 0)->SendMessage(WM_CHAR, 'x', 1);
    WriteBytes(path, "q\r\n");
    doc->OnCmdMsg(HostMessage(kMsgFileReload), 0, nullptr, nullptr);
    EXPECT_EQ(Text(doc), "q\n");
    EXPECT_EQ(doc->Undo(), -1);
    EXPECT_EQ(Text(doc), "q\n");
}

// Line ends, pairs of bytes of Chinese characters, a lone CR and a NUL, appended in two writes split
// at every offset: the text is what a fresh read of the file gives.
TEST_F(FileWatchTest, FollowTakesAppendsSplitAnywhere) {
    static const char kPiece[] = "a\r\n\xD6\xD0\xCE\xC4\r\nx\ry\0z\xB0\xA1\r\n";
    const std::string chunk(kPiece, sizeof kPiece - 1);
    for (CMultiDocTemplate* docTemplate : {g_plain, g_colored}) {
        bool keepNul = docTemplate == g_colored;
        std::string file = "head\r\n";
        CEditDocument* doc = Open(docTemplate, file);
        ASSERT_NE(doc, nullptr);
        doc->OnCmdMsg(ID_OPTION_FOLLOW_FILE, CN_COMMAND, nullptr, nullptr);
        ASSERT_TRUE(doc->HasOption(kOptionFollowFile));
        CEditScrollView* top = SecondView(doc, docTemplate);
        top->SetPlace({0, 0, 0});
        ViewOf(doc, 0)->SetPlace({1, 0, 0});
        for (size_t k = 0; k <= chunk.size(); ++k) {
            AppendBytes(path, chunk.substr(0, k));
            CFileWatch::Instance().Poll();
            // Shown so far: a prefix of the text, without half a character, a CR or a NUL at its end.
            std::string shown = Text(doc), whole = AsText(file + chunk, keepNul);
            ASSERT_EQ(whole.compare(0, shown.size(), shown), 0) << "split at " << k;
            size_t i = 0;
            while (i < shown.size()) i += (shown[i] & 0x80) != 0 ? 2 : 1;
            EXPECT_EQ(i, shown.size()) << "split at " << k;
            EXPECT_TRUE(shown.back() != '\r' && shown.back() != '\0') << "split at " << k;
            AppendBytes(path, chunk.substr(k));
            CFileWatch::Instance().Poll();
            file += chunk;
            ASSERT_EQ(Text(doc), AsText(file, keepNul)) << "split at " << k;
        }
        EXPECT_FALSE(doc->IsModified());
        EXPECT_FALSE(doc->CanUndo());
        EXPECT_EQ(ViewOf(doc, 0)->Model().Caret(), doc->GetLength() - 1) << "the end is followed";
        EXPECT_EQ(top->Model().Caret(), 0);
        // 0x1A ends the data: what follows it never joins the text.
        AppendBytes(path, "end\x1A more");
        CFileWatch::Instance().Poll();
        AppendBytes(path, "and more\r\n");
        CFileWatch::Instance().Poll();
        EXPECT_EQ(Text(doc), AsText(file + "end", keepNul));
        theApp.CloseAllDocuments(FALSE);
    }
    EXPECT_EQ(boxes.GetCount(), 0);
}

TEST_F(FileWatchTest, FollowReloadsAFileThatShrankOrWhoseStartChanged) {
    CEditDocument* doc = Open(g_plain, Lines(50, "row "));
    ASSERT_NE(doc, nullptr);
    doc->SetOption(kOptionFollowFile, TRUE);
    WriteBytes(path, Lines(10, "row "));
    CFileWatch::Instance().Poll();
    EXPECT_EQ(Text(doc), AsText(Lines(10, "row "), false));
    WriteBytes(path, "ROW" + Lines(10, "row ").substr(3) + "more\r\n");
    CFileWatch::Instance().Poll();
    EXPECT_EQ(Text(doc), "ROW" + AsText(Lines(10, "row ").substr(3), false) + "more\n");
    EXPECT_EQ(boxes.GetCount(), 0);
}

// A writer thread appends lines in pieces of every size while the messages are served as a host
// serves them.
TEST_F(FileWatchTest, FollowKeepsUpWithAWriter) {
    CEditDocument* doc = Open(g_colored, "");
    ASSERT_NE(doc, nullptr);
    doc->SetOption(kOptionFollowFile, TRUE);
    std::string all;
    for (int i = 0; i < 300; ++i) all += "line " + std::to_string(i) + " \xBD\xE1\xB9\xFB\r\n";
    std::thread writer([&] {
        for (size_t at = 0, n = 1; at < all.size(); at += n, n = n % 37 + 1) {
            AppendBytes(path, all.substr(at, n));
            if (at % 7 == 0) ::Sleep(1);
        }
    });
    bool caught = Serve(10000, [&] { return Text(doc) == AsText(all, true); });
    writer.join();
    EXPECT_TRUE(caught || Serve(3000, [&] { return Text(doc) == AsText(all, true); }));
    EXPECT_EQ(ViewOf(doc, 0)->Model().Caret(), doc->GetLength() - 1);
    EXPECT_FALSE(doc->IsModified());
}
} // namespace
