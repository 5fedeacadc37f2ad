// The clipboard and undo commands of both views through real WM_COMMAND messages and the real
// clipboard, and another program (clipboard_peer) reading and writing that clipboard.
#include <cstring>
#include <functional>

#include "ViewFixture.h"

#include "tests/common/ClipboardTestKit.h"
#include "undo/UndoInfo.h"

namespace {
class ViewClipboard : public ViewFixture {
protected:
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
    // An empty text leaves the clipboard empty.
    static void PutClipboardText(const std::string& text) {
        ASSERT_TRUE(OpenClipboardPatiently(main->m_hWnd));
        ::EmptyClipboard();
        if (text.empty()) return (void)::CloseClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
    }
};
} // namespace

TEST_F(ViewClipboard, CopyCutAndPasteCarryLineFeedsOnlyAndUndoWhole) {
    ForBothViews("one\ntwo\nthree\n", [](CEditScrollView* view) {
        PutClipboardText("kept");
        view->SetSelection(2, 2);
        Command(ID_EDIT_COPY);
        EXPECT_EQ(ClipboardText(), "kept") << "a copy of nothing leaves the clipboard alone";
        view->SetSelection(0, 8);
        Command(ID_EDIT_COPY);
        EXPECT_EQ(ClipboardText(), "one\ntwo\n");
        EXPECT_FALSE(view->GetEditDocument()->IsModified());
        view->SetSelection(14, 14);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "one\ntwo\nthree\none\ntwo\n");
        EXPECT_EQ(view->Caret(), 14) << "an empty selection leaves the caret in front of the pasted text";
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
        Command(ID_EDIT_UNDO);

        PutClipboardText("x\r\ny\r\rz"); // every carriage return goes
        view->SetSelection(1, 4);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "ox\nyztwo\nthree\n");
        EXPECT_EQ(Sel(view), Span(1, 1)) << "over a selection: the caret at its start";
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "one\ntwo\nthree\n");

        Command(ID_EDIT_SELECTALL);
        EXPECT_EQ(Sel(view), Span(0, 14));
        Command(ID_EDIT_CUT);
        EXPECT_EQ(ClipboardText(), "one\ntwo\nthree\n");
        EXPECT_EQ(view->GetEditDocument()->GetLength(), 1) << "only the terminator is left";
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "one\ntwo\nthree\n");
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), "");
        PutClipboardText("kept");
        Command(ID_EDIT_CUT); // nothing selected: nothing happens
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

// How suspensions of the recording nest is the undo manager's (tests/undo); the views hand both calls
// on.
TEST_F(ViewClipboard, UpdateHandlersGreyExactlyWhenThereIsNothingToDoAndRecordingIsSuspended) {
    ForBothViews("abc\n", [](CEditScrollView* view) {
        auto states = [] {
            return std::vector<int>{Enabled(ID_EDIT_UNDO), Enabled(ID_EDIT_REDO), Enabled(ID_EDIT_COPY),
                                    Enabled(ID_EDIT_CUT)};
        };
        view->DisableCheckPoint();
        Type(view, "x");
        EXPECT_FALSE(view->GetEditDocument()->CanUndo());
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
        view->EnableCheckPoint();
        EXPECT_EQ(states(), (std::vector<int>{0, 0, 0, 0}));
        view->SetSelection(0, 2);
        EXPECT_EQ(states(), (std::vector<int>{0, 0, 1, 1}));
        Type(view, "Z");
        EXPECT_EQ(states(), (std::vector<int>{1, 0, 0, 0}));
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(states(), (std::vector<int>{0, 1, 0, 0}));
        Command(ID_EDIT_REDO);
        EXPECT_EQ(states(), (std::vector<int>{1, 0, 0, 0}));
        PutClipboardText("");
        EXPECT_EQ(Enabled(ID_EDIT_PASTE), 0);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "Zbc\n");
        PutClipboardText("p");
        EXPECT_EQ(Enabled(ID_EDIT_PASTE), 1);
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
        EXPECT_EQ(BarInfo(view, SB_VERT).nMax, 1) << "the scroll range of two lines";
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), "bbb\nb1 bbb\nb2 bbb\nb3\n");
        EXPECT_EQ(doc->GetLineCount(), 5);
        EXPECT_EQ(BarInfo(view, SB_VERT).nMax, 4);
    });
}

TEST_F(ViewClipboard, AnotherProgramReadsCodePage936AndUnicodeAndItsUnicodePastesAsGbk) {
    // 第一章 and a line feed
    ForBothViews("x\xB5\xDA\xD2\xBB\xD5\xC2\ny\n", [](CEditScrollView* view) {
        view->SetSelection(1, 8);
        Command(ID_EDIT_COPY);
        std::string out = RunPeer("read");
        EXPECT_NE(out.find("TEXT b5 da d2 bb d5 c2 0a"), std::string::npos) << out;
        EXPECT_NE(out.find("UNICODE 7b2c 4e00 7ae0 000a"), std::string::npos) << out;
        ASSERT_EQ(RunPeer("put-unicode 7b2c4e007ae0000d000a0041"), "");
        view->SetSelection(0, 1);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "\xB5\xDA\xD2\xBB\xD5\xC2\nA\xB5\xDA\xD2\xBB\xD5\xC2\ny\n");
    });
}

TEST_F(ViewClipboard, AClipboardHeldOpenOrEmptyElsewhereLosesNothing) {
    ForBothViews("keep this\n", [](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        view->SetSelection(5, 9);
        Command(ID_EDIT_COPY);
        HANDLE peer = HoldByPeer("hold");
        ASSERT_NE(peer, nullptr) << "the other program holds the clipboard";
        view->SetSelection(0, 4);
        Command(ID_EDIT_CUT);
        EXPECT_EQ(Text(view), "keep this\n") << "a cut the clipboard did not take removes nothing";
        view->SetSelection(2, 2);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "keep this\n");
        EXPECT_FALSE(doc->IsModified());
        EXPECT_TRUE(ReleasePeer(peer));
        EXPECT_EQ(ClipboardText(), "this");
        ASSERT_EQ(RunPeer("empty"), "");
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), "keep this\n");
        EXPECT_FALSE(doc->CanUndo());
    });
}

TEST_F(ViewClipboard, APasteThatRunsOutOfMemoryIsWholeOrNotAtAll) {
    std::string big;
    for (int i = 0; i < 8000; ++i) big += "pasted line " + std::to_string(i) + "\r\n";
    std::string pasted = big;
    for (size_t at; (at = pasted.find('\r')) != std::string::npos;) pasted.erase(at, 1);
    ForBothViews("first\nlast\n", [&](CEditScrollView* view) {
        PutClipboardText(big);
        EXPECT_TRUE(WholeOrRefused(view, "first\n" + pasted + "last\n", 60, [&] {
            view->SetSelection(6, 6);
            Command(ID_EDIT_PASTE);
        })) << "some allocation of the paste went through the seam";
    });
}
