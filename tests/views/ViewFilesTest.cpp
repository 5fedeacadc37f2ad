// Awkward files in real views: bytes that are half a character, odd line ends, a 10 MB line, GBK names
// and long paths, and files that cannot be opened. Each opens (or is refused with the message), takes
// the caret keys, typing and the mouse, and leaves the text whole.
#include "ViewFixture.h"

#include <fstream>

#include "documents/HostMessages.h"
#include "tests/common/ClipboardTestKit.h"
#include "tests/common/FileTestKit.h"
#include "tests/common/UnixShell.h"

namespace {
class ViewFiles : public ViewFixture {
protected:
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The caret keys, a click past the end, typing and Backspace: the selection stays in the text.
    static void Exercise(CEditScrollView* view) {
        for (UINT key : {VK_END, VK_LEFT, VK_RIGHT, VK_HOME, VK_DOWN, VK_UP})
            for (bool control : {false, true}) {
                Key(view, key, control, false);
                int last = (int)view->GetEditDocument()->GetLength() - 1;
                ASSERT_TRUE(0 <= view->Caret() && view->Caret() <= last) << "key " << key;
                ASSERT_LE(view->Model().Selection().end, last);
            }
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 390));
        view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(600, 390));
        Key(view, VK_END, true, false);
        std::string before = Text(view);
        Type(view, "x");
        Key(view, VK_BACK);
        EXPECT_TRUE(Text(view) == before) << "typed and taken back";
    }
};
} // namespace

TEST_F(ViewFiles, HalfCharactersOddLineEndsAndAMissingLastLineEndOpenAndEdit) {
    const std::string files[] = {
        "abc\xB5",                          // a lead byte as the last byte
        "\x80",                             // bytes with bit 7 set, alone
        "x\xFF\r\ny\xFF",                   //
        "one\r\r\ntwo\rthree",              // CR CR LF, a lone CR, no line end at the end
        std::string("nul\0in\0it", 10),     // NUL bytes
        "\x1A",                             // only the end-of-file mark
        "\xB5\xDA\xD2\xBB\xD5\xC2\r\n\xB5", // a whole character, then half of one
    };
    std::string path = TempPath("tessolin-odd.dat");
    for (const std::string& bytes : files) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        WriteBytes(path, bytes);
        for (CMultiDocTemplate* docTemplate : {coloredTemplate, plainTemplate}) {
            CEditScrollView* view = ViewOf(docTemplate->OpenDocumentFile(path.c_str()));
            ASSERT_NE(view, nullptr);
            Exercise(view);
            view->UpdateWindow();
            theApp.CloseAllDocuments(FALSE);
            Pump();
        }
    }
}

// With its line feed: the widest line counts only lines that end in one, and a line without one
// scrolls no further than the lines before it.
TEST_F(ViewFiles, ATenMegabyteLineOpensAndTakesKeysTypingAndTheMouse) {
    std::string path = TempPath("tessolin-long-line.dat"), line(10 << 20, 'a');
    for (size_t i = 0; i < line.size(); i += 97) line[i] = ' ';
    WriteBytes(path, line + "\r\n");
    CEditScrollView* view = ViewOf(coloredTemplate->OpenDocumentFile(path.c_str()));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetEditDocument()->GetLength(), (long)line.size() + 2);
    Exercise(view);
    Key(view, VK_HOME, true, false);
    Key(view, VK_END);
    int atEnd = view->Model().First().column;
    EXPECT_GT(atEnd, (10 << 20) - 200) << "the caret at the line's end is in view";
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 16000), 0);
    view->UpdateWindow();
    EXPECT_EQ(view->GetScrollPos(SB_HORZ), 16000) << "the line scrolls sideways";
    EXPECT_EQ(view->GetEditDocument()->GetLineCount(), 2);
    view->GetEditDocument()->SetModifiedFlag(FALSE);
}

TEST_F(ViewFiles, GbkNamesAndLongPathsOpenAndSave) {
    // 数据文件 (data file) in the name, and a path close to MAX_PATH.
    std::string gbk = TempPath("\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE.dat"), deep = TempPath("tessolin-deep");
    ::CreateDirectoryA(deep.c_str(), nullptr);
    std::string longName = deep + "\\" + std::string(MAX_PATH - 2 - deep.size() - 5, 'n') + ".dat";
    for (const std::string& path : {gbk, longName}) {
        SCOPED_TRACE(path);
        WriteBytes(path, "first line\r\n");
        CEditScrollView* view = ViewOf(coloredTemplate->OpenDocumentFile(path.c_str()));
        ASSERT_NE(view, nullptr);
        Type(view, "Z");
        EXPECT_TRUE(view->GetDocument()->OnSaveDocument(path.c_str()));
        EXPECT_EQ(ReadBytes(path), "Zfirst line\r\n");
        theApp.CloseAllDocuments(FALSE);
        ::DeleteFileA(path.c_str());
    }
    ::RemoveDirectoryA(deep.c_str());
}

// The second program (tests/views/peer) opens the file without sharing it and keeps it open until
// told to let go. A sparse file of 3 GB is more than a text position reaches: refused before any read.
TEST_F(ViewFiles, AFolderAHeldAMissingAndAHugeFileAreRefusedWithTheMessageAndTheOpenOneKept) {
    std::string held = TempPath("tessolin-held.dat"), huge = TempPath("tessolin-huge.dat");
    std::string folder = TempPath("tessolin-folder");
    ASSERT_TRUE(WriteSparseFile(huge, 3LL << 30));
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WriteBytes(held, "held\r\n");
    HANDLE peer = HoldByPeer("hold-file \"" + held + "\"");
    ASSERT_NE(peer, nullptr) << "the other program holds the file";
    CBlackEditView* open = OpenPlain("an open document\n");
    for (const std::string& path : {folder, held, TempPath("tessolin-absent.dat"), huge}) {
        SCOPED_TRACE(path);
        CModalRecorder boxes(IDOK);
        for (CMultiDocTemplate* docTemplate : {coloredTemplate, plainTemplate})
            EXPECT_EQ(docTemplate->OpenDocumentFile(path.c_str()), nullptr);
        EXPECT_EQ(boxes.GetCount(), 2) << "a message for each refusal";
        EXPECT_EQ(Text(open), "an open document\n") << "the open document is as it was";
    }
    {
        CModalRecorder boxes(IDOK);
        open->GetEditDocument()->SetModifiedFlag(TRUE);
        EXPECT_FALSE(open->GetEditDocument()->OnSaveDocument(held.c_str()));
        EXPECT_EQ(boxes.GetCount(), 1) << "saving over the held file is refused with the message";
        EXPECT_TRUE(open->GetEditDocument()->IsModified());
    }
    EXPECT_TRUE(ReleasePeer(peer));
    EXPECT_EQ(ReadBytes(held), "held\r\n") << "the held file is untouched";
    open->GetEditDocument()->SetModifiedFlag(FALSE);
    Exercise(open);
    ::RemoveDirectoryA(folder.c_str());
    ::DeleteFileA(huge.c_str());
}

// The file shrinks on disk under a view whose caret is near its old end; the host's reload command
// brings the new text in and the view's caret, selection and keys stay inside it.
TEST_F(ViewFiles, AFileChangedOnDiskReloadsIntoItsViewWithTheSelectionInTheNewText) {
    std::string path = TempPath("tessolin-changing.dat"), lines;
    for (int i = 0; i < 300; ++i) lines += "LINE " + std::to_string(i) + " \xB5\xDA\xD2\xBB\r\n";
    for (CMultiDocTemplate* docTemplate : {coloredTemplate, plainTemplate}) {
        WriteBytes(path, lines);
        CEditScrollView* view = ViewOf(docTemplate->OpenDocumentFile(path.c_str()));
        ASSERT_NE(view, nullptr);
        Key(view, VK_END, true, false);
        view->SetSelection(view->Caret() - 30, view->Caret() - 2);
        WriteBytes(path, "short\r\n\xB5\xDA\r\n");
        view->SendMessage(WM_COMMAND, HostMessage(kMsgFileReload), 0);
        EXPECT_EQ(Text(view), "short\n\xB5\xDA\n");
        EXPECT_FALSE(view->GetDocument()->IsModified());
        EXPECT_LE(view->Model().Selection().end, 9);
        EXPECT_LE(view->Caret(), 9);
        Exercise(view);
        theApp.CloseAllDocuments(FALSE);
    }
    ::DeleteFileA(path.c_str());
}
