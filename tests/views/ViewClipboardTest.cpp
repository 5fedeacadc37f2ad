// The clipboard and undo commands of both views through real WM_COMMAND messages and the real
// clipboard, and another program (clipboard_peer) reading and writing that clipboard.
#include <cstring>
#include <functional>

#include "ViewFixture.h"

#include "framework/base/MemoryBlock.h"
#include "tests/common/ClipboardTestKit.h"
#include "undo/UndoInfo.h"
#include "tests/common/MemorySeamKit.h"

namespace {
class ViewClipboard : public ViewFixture {
protected:
    // Both families in turn, each in a fresh document holding text.
    // A command as the menu sends it: to the main frame, which routes it to the active view.
    static void Command(UINT id) { main->SendMessage(WM_COMMAND, id, 0); }
    // Whether the command's update handler, reached through the main frame, enables it.
    static int Enabled(UINT id) { return UpdateState(main, id); }
    // The clipboard's CF_TEXT bytes up to their zero, read with plain USER32 calls.
    static std::string ClipboardText() {
        if (!OpenClipboardPatiently(main->m_hWnd)) return "<cannot open>";
        std::string text = "<none>";
        if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
            text = (const char*)::GlobalLock(h);
            ::GlobalUnlock(h);
        }
        ::CloseClipboard();
        return text;
    }
    static void PutClipboardText(const std::string& text) {
        ASSERT_TRUE(OpenClipboardPatiently(main->m_hWnd));
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
    }
    // Runs the peer to its end, serving the clipboard's requests meanwhile; its standard output.
    static std::string RunPeer(const std::string& arguments) {
        HANDLE process = StartPeer(arguments);
        std::string out;
        if (process == nullptr) return "<no peer>";
        WaitServing(process);
        DWORD got = 0;
        char buffer[4096];
        while (::PeekNamedPipe(s_output, nullptr, 0, nullptr, &got, nullptr) && got > 0 &&
               ::ReadFile(s_output, buffer, sizeof buffer, &got, nullptr) && got > 0)
            out.append(buffer, got);
        ::CloseHandle(process);
        ::CloseHandle(s_output);
        s_output = nullptr;
        return out;
    }
    static HANDLE StartPeer(const std::string& arguments) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!::CreatePipe(&s_output, &write, &inherit, 1 << 16)) return nullptr;
        ::SetHandleInformation(s_output, HANDLE_FLAG_INHERIT, 0);
        HANDLE process = StartPeerProgram(arguments, write);
        ::CloseHandle(write);
        if (process == nullptr) {
            ::CloseHandle(s_output);
            s_output = nullptr;
        }
        return process;
    }
    // Waits for handle with the message queue served, as the clipboard's delayed rendering needs.
    static void WaitServing(HANDLE handle) {
        for (int i = 0; i < 2000; ++i) {
            DWORD r = ::MsgWaitForMultipleObjects(1, &handle, FALSE, 20, QS_ALLINPUT);
            if (r == WAIT_OBJECT_0) return;
            Pump();
        }
    }
    static HANDLE s_output;
};
HANDLE ViewClipboard::s_output = nullptr;
} // namespace

TEST_F(ViewClipboard, CopyAndPasteGiveTheSameBytesWithLineFeedsOnly) {
    ForBothViews("one\ntwo\nthree\n", [](CEditScrollView* view) {
        view->SetSelection(0, 8); // "one\ntwo\n"
        Command(ID_EDIT_COPY);
        EXPECT_EQ(ClipboardText(), "one\ntwo\n");
        EXPECT_EQ(view->Model().Selection().start, 0);
        EXPECT_EQ(view->Model().Selection().end, 8);
        EXPECT_FALSE(view->GetEditDocument()->IsModified());
        view->SetSelection(14, 14);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "one\ntwo\nthree\none\ntwo\n");
        EXPECT_EQ(view->Caret(), 14) << "an empty selection leaves the caret in front of the pasted text";
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
    });
}

TEST_F(ViewClipboard, PasteRemovesEveryCarriageReturnAndOverASelectionEndsAtItsStart) {
    ForBothViews("abcdef\n", [](CEditScrollView* view) {
        PutClipboardText("x\r\ny\r\rz");
        view->SetSelection(1, 4);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "ax\nyzef\n");
        EXPECT_EQ(view->Caret(), 1);
        EXPECT_EQ(view->Model().Selection().start, view->Model().Selection().end);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "abcdef\n");
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), "ax\nyzef\n");
        Command(ID_EDIT_UNDO);
        view->SetSelection(6, 6);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "abcdefx\nyz\n");
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "abcdef\n");
    });
}

TEST_F(ViewClipboard, SelectAllAndCutLeaveOnlyTheLastByteAndUndoBringsEverythingBack) {
    ForBothViews("first line\nsecond line\n", [](CEditScrollView* view) {
        Command(ID_EDIT_SELECTALL);
        EXPECT_EQ(view->Model().Selection().start, 0);
        EXPECT_EQ(view->Model().Selection().end, 23);
        Command(ID_EDIT_CUT);
        EXPECT_EQ(ClipboardText(), "first line\nsecond line\n");
        EXPECT_EQ(Text(view), "");
        EXPECT_EQ(view->GetEditDocument()->GetLength(), 1);
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "first line\nsecond line\n");
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), "");
        Command(ID_EDIT_CUT); // nothing selected: nothing happens
        EXPECT_EQ(ClipboardText(), "first line\nsecond line\n");
    });
}

TEST_F(ViewClipboard, CopyOfAnEmptySelectionLeavesTheClipboardAlone) {
    ForBothViews("abc\n", [](CEditScrollView* view) {
        PutClipboardText("kept");
        view->SetSelection(2, 2);
        Command(ID_EDIT_COPY);
        EXPECT_EQ(ClipboardText(), "kept");
    });
}

TEST_F(ViewClipboard, ASelectionOfWholeBlockStepsStillEndsInAZero) {
    std::string text(8192 + 10, 'q');
    text[4096] = 'E';
    ForBothViews(text + "\n", [](CEditScrollView* view) {
        for (int length : {4096, 8192, 4095, 1}) {
            view->SetSelection(0, length);
            Command(ID_EDIT_COPY);
            ASSERT_TRUE(OpenClipboardPatiently(main->m_hWnd));
            HANDLE h = ::GetClipboardData(CF_TEXT);
            ASSERT_NE(h, nullptr);
            EXPECT_GT(::GlobalSize(h), (SIZE_T)length);
            auto* bytes = (const char*)::GlobalLock(h);
            EXPECT_EQ(bytes[length], 0) << length;
            EXPECT_EQ(std::strlen(bytes), (size_t)length);
            ::GlobalUnlock(h);
            ::CloseClipboard();
        }
    });
}

TEST_F(ViewClipboard, UpdateHandlersGreyExactlyWhenThereIsNothingToDo) {
    ForBothViews("abc\n", [](CEditScrollView* view) {
        EXPECT_EQ(Enabled(ID_EDIT_UNDO), 0);
        EXPECT_EQ(Enabled(ID_EDIT_REDO), 0);
        EXPECT_EQ(Enabled(ID_EDIT_COPY), 0);
        EXPECT_EQ(Enabled(ID_EDIT_CUT), 0);
        view->SetSelection(0, 2);
        EXPECT_EQ(Enabled(ID_EDIT_COPY), 1);
        EXPECT_EQ(Enabled(ID_EDIT_CUT), 1);
        Type(view, "Z");
        EXPECT_EQ(Enabled(ID_EDIT_UNDO), 1);
        EXPECT_EQ(Enabled(ID_EDIT_REDO), 0);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Enabled(ID_EDIT_UNDO), 0);
        EXPECT_EQ(Enabled(ID_EDIT_REDO), 1);
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Enabled(ID_EDIT_REDO), 0);
        ASSERT_TRUE(OpenClipboardPatiently(main->m_hWnd));
        ::EmptyClipboard();
        ::CloseClipboard();
        EXPECT_EQ(Enabled(ID_EDIT_PASTE), 0);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "Zc\n");
        PutClipboardText("p");
        EXPECT_EQ(Enabled(ID_EDIT_PASTE), 1);
    });
}

TEST_F(ViewClipboard, RecordingSuspendedTwiceStaysSuspendedAfterOneResume) {
    ForBothViews("abc\n", [](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        view->EnableCheckPoint(); // at 0 already: stays 0
        view->DisableCheckPoint();
        view->DisableCheckPoint();
        view->EnableCheckPoint();
        Type(view, "x");
        EXPECT_FALSE(doc->CanUndo());
        EXPECT_TRUE(doc->IsModified());
        view->EnableCheckPoint();
        Type(view, "y");
        EXPECT_TRUE(doc->CanUndo());
        view->EnableCheckPoint();
        view->DisableCheckPoint(); // one suspension after surplus resumes still suspends
        Type(view, "z");
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "xzabc\n") << "only the typed y was recorded";
    });
}

// The undo of a record of many changes replays them as one batch: the text, the caret and the
// view's layout end as after the single steps.
TEST_F(ViewClipboard, UndoOfAListRecordRestoresTheTextAndLaysOutOnce) {
    ForBothViews("a1 a2 a3\n", [](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        auto* record = new CListUndoInfo(UNDO_REPLACE);
        for (int pos : {0, 7, 14}) { // "a" -> "bbb" at each hit, in the text as it grows
            doc->Delete(pos, 1);
            doc->Insert(pos, "bbb\nb");
            record->Add(pos, "a", "bbb\nb");
        }
        doc->SetUndoInfo(record);
        ASSERT_EQ(Text(view), "bbb\nb1 bbb\nb2 bbb\nb3\n");
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "a1 a2 a3\n");
        EXPECT_EQ(view->Caret(), 1) << "the caret behind the oldest change";
        EXPECT_EQ(view->GetTotalSize().cy, 2);
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), "bbb\nb1 bbb\nb2 bbb\nb3\n");
        EXPECT_EQ(doc->GetLineCount(), 5);
        EXPECT_EQ(view->GetTotalSize().cy, 5);
    });
}

TEST_F(ViewClipboard, AnotherProgramReadsTheCopiedTextAsCodePage936AndAsUnicode) {
    // 第一章 and a line feed
    ForBothViews("x\xB5\xDA\xD2\xBB\xD5\xC2\ny\n", [](CEditScrollView* view) {
        view->SetSelection(1, 8);
        Command(ID_EDIT_COPY);
        std::string out = RunPeer("read");
        EXPECT_NE(out.find("TEXT b5 da d2 bb d5 c2 0a"), std::string::npos) << out;
        EXPECT_NE(out.find("UNICODE 7b2c 4e00 7ae0 000a"), std::string::npos) << out;
    });
}

TEST_F(ViewClipboard, UnicodeOnlyTextFromAnotherProgramPastesAsGbkBytes) {
    ForBothViews("[]\n", [](CEditScrollView* view) {
        ASSERT_EQ(RunPeer("put-unicode 7b2c4e007ae0000d000a0041"), "");
        view->SetSelection(1, 1);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "[\xB5\xDA\xD2\xBB\xD5\xC2\nA]\n");
    });
}

TEST_F(ViewClipboard, AClipboardHeldOpenOrEmptyElsewhereLosesNothing) {
    ForBothViews("keep this\n", [](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        view->SetSelection(5, 9);
        Command(ID_EDIT_COPY);
        HANDLE holding = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinPeerHolding");
        HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinPeerRelease");
        ::ResetEvent(holding);
        ::ResetEvent(release);
        HANDLE peer = StartPeer("hold");
        ASSERT_NE(peer, nullptr);
        WaitServing(holding);
        ASSERT_EQ(::WaitForSingleObject(holding, 0), WAIT_OBJECT_0);
        view->SetSelection(0, 4);
        Command(ID_EDIT_CUT);
        EXPECT_EQ(Text(view), "keep this\n") << "a cut the clipboard did not take removes nothing";
        view->SetSelection(2, 2);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "keep this\n");
        EXPECT_FALSE(doc->IsModified());
        ::SetEvent(release);
        WaitServing(peer);
        ::CloseHandle(peer);
        ::CloseHandle(s_output);
        s_output = nullptr;
        ::CloseHandle(holding);
        ::CloseHandle(release);
        EXPECT_EQ(ClipboardText(), "this");
        ASSERT_EQ(RunPeer("empty"), "");
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "keep this\n");
        EXPECT_FALSE(doc->CanUndo());
    });
}

// Each allocation of a paste failing in turn (the memory layer's seam): a paste is either whole, and
// undone whole, or refused with a message leaving the text, its history and the modified flag alone.
TEST_F(ViewClipboard, APasteThatRunsOutOfMemoryIsWholeOrNotAtAll) {
    std::string big;
    for (int i = 0; i < 8000; ++i) big += "pasted line " + std::to_string(i) + "\r\n";
    std::string pasted = big;
    for (size_t at; (at = pasted.find('\r')) != std::string::npos;) pasted.erase(at, 1);
    ForBothViews("first\nlast\n", [&](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        PutClipboardText(big);
        bool refused = false;
        for (int n = 1; n < 60; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
            CModalRecorder boxes(IDOK);
            view->SetSelection(6, 6);
            bool failedOne = WithAllocationFailing(n, [&] { Command(ID_EDIT_PASTE); });
            if (Text(view) == "first\nlast\n") {
                refused = true;
                EXPECT_FALSE(doc->IsModified());
                EXPECT_FALSE(doc->CanUndo()) << "no record of bytes that were never there";
                EXPECT_EQ(boxes.GetCount(), 1) << "the user is told";
                EXPECT_EQ(doc->GetLineCount(), 3);
                EXPECT_LE(view->Model().Selection().end, doc->GetLength() - 1);
            } else {
                ASSERT_TRUE(Text(view) == "first\n" + pasted + "last\n") << "a paste is whole";
                EXPECT_TRUE(doc->IsModified());
                EXPECT_EQ(doc->GetLineCount(), 8003);
                Command(ID_EDIT_UNDO);
                EXPECT_EQ(Text(view), "first\nlast\n");
                doc->SetModifiedFlag(FALSE);
            }
            if (!failedOne) break;
        }
        EXPECT_TRUE(refused) << "some allocation of the paste went through the seam";
    });
}
