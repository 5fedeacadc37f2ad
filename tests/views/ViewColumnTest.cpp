// Column blocks in both views through real messages: Alt+Shift+arrow system keys, Alt+click and
// Alt+drag, the block painted as a selection, copy, cut, Delete and paste with the clipboard's block
// format and as plain lines, typing into an empty block, and each edit's undo and redo.
#include <cstring>
#include <string>

#include "ViewFixture.h"

#include "tests/common/ClipboardTestKit.h"

namespace {
const char kJie[] = "\xBD\xDA"; // 节

class ViewColumn : public ViewFixture {
protected:
    void TearDown() override {
        Alt(false);
        ViewFixture::TearDown();
    }
    static void Alt(bool down) {
        BYTE state[256];
        ::GetKeyboardState(state);
        state[VK_MENU] = down ? 0x80 : 0;
        ::SetKeyboardState(state);
    }
    // Alt+Shift+key as the system sends it: a system key with the context bit.
    static void AltShiftKey(CWnd* view, UINT key, int times = 1) {
        Alt(true);
        Modifiers(false, true);
        for (int i = 0; i < times; ++i) view->SendMessage(WM_SYSKEYDOWN, key, 1 | (1 << 29));
        Modifiers(false, false);
        Alt(false);
    }
    // The client point on the boundary before cell of line (unscrolled).
    static CPoint CellPoint(CEditScrollView* view, int line, int cell) {
        const CViewMetrics& m = view->Metrics();
        return CPoint(m.leftMargin + cell * m.unit.cx, line * m.unit.cy + m.unit.cy / 2);
    }
    static LPARAM At(CPoint p) { return MAKELPARAM(p.x, p.y); }
    struct Block {
        int firstLine, lastLine, firstCell, endCell;
        bool operator==(const Block& o) const {
            return firstLine == o.firstLine && lastLine == o.lastLine && firstCell == o.firstCell &&
                   endCell == o.endCell;
        }
    };
    static Block BlockOf(CEditScrollView* view) {
        Block b{0, 0, 0, 0};
        view->GetColumnSelection(&b.firstLine, &b.lastLine, &b.firstCell, &b.endCell);
        return b;
    }
    static void Command(UINT id) { main->SendMessage(WM_COMMAND, id, 0); }
    // The clipboard's data in format, as bytes up to the block's size.
    static std::string Clipboard(UINT format) {
        if (!OpenClipboardPatiently(main->m_hWnd)) return "<cannot open>";
        std::string data = "<none>";
        if (HANDLE h = ::GetClipboardData(format)) {
            data.assign((const char*)::GlobalLock(h), ::GlobalSize(h));
            ::GlobalUnlock(h);
        }
        ::CloseClipboard();
        return data;
    }
};

TEST_F(ViewColumn, AltShiftArrowsGrowABlockFromTheCaretAndAnOrdinaryKeyEndsIt) {
    ForBothViews("abcd\nab\tc\nabcdef\n", [&](CEditScrollView* view) {
        view->SetSelection(1, 1);
        AltShiftKey(view, VK_RIGHT, 2);
        AltShiftKey(view, VK_DOWN, 2);
        EXPECT_EQ(BlockOf(view), (Block{0, 2, 1, 3}));
        Command(ID_EDIT_COPY);
        // The tab covers cells 2 and 3 of the second line: the right edge takes it whole.
        EXPECT_EQ(Clipboard(CF_TEXT).c_str(), std::string("bc\r\nb\t\r\nbc\r\n"));
        Key(view, VK_RIGHT);
        EXPECT_EQ(BlockOf(view), (Block{-1, -1, -1, -1}));
    });
}

TEST_F(ViewColumn, AltDragSelectsCellsAndAPlainClickEndsTheBlock) {
    ForBothViews("abcdef\nabcdef\nabcdef\n", [&](CEditScrollView* view) {
        Alt(true);
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(CellPoint(view, 0, 4)));
        view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(CellPoint(view, 2, 2)));
        view->SendMessage(WM_LBUTTONUP, 0, At(CellPoint(view, 2, 2)));
        Alt(false);
        EXPECT_EQ(BlockOf(view), (Block{0, 2, 2, 4}));
        Alt(true);
        Modifiers(false, true);
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(CellPoint(view, 1, 5)));
        view->SendMessage(WM_LBUTTONUP, 0, At(CellPoint(view, 1, 5)));
        Modifiers(false, false);
        Alt(false);
        EXPECT_EQ(BlockOf(view), (Block{0, 1, 4, 5})) << "Alt+Shift+click moves the corner";
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(CellPoint(view, 1, 1)));
        view->SendMessage(WM_LBUTTONUP, 0, At(CellPoint(view, 1, 1)));
        EXPECT_EQ(BlockOf(view), (Block{-1, -1, -1, -1}));
        EXPECT_EQ(view->Caret(), 8);
    });
}

TEST_F(ViewColumn, TheBlockIsPaintedAsTheSelectionIs) {
    ForBothViews("abcdef\n  \n      \n", [&](CEditScrollView* view) {
        view->SetSelection(1, 4);
        std::vector<DWORD> range = RenderClient(view);
        view->SetSelection(0, 0);
        view->SetColumnSelection(0, 0, 1, 4);
        EXPECT_TRUE(RenderClient(view) == range) << "one line's block paints as its bytes selected";
        view->SetColumnSelection(0, 2, 1, 4);
        Picture picture;
        Paint(view, picture);
        const CViewMetrics& m = view->Metrics();
        auto cells = [&](int line, int first, int last) {
            return CRect(m.leftMargin + first * m.unit.cx, line * m.unit.cy, m.leftMargin + last * m.unit.cx,
                         (line + 1) * m.unit.cy);
        };
        const COLORREF black = 0x000000, white = 0xFFFFFF;
        EXPECT_TRUE(picture.Only(cells(2, 1, 4), black));
        EXPECT_TRUE(picture.Only(cells(2, 0, 1), white) && picture.Only(cells(2, 4, 6), white));
        EXPECT_TRUE(picture.Only(cells(1, 1, 2), black)) << "the short line's second space";
        EXPECT_TRUE(picture.Only(cells(1, 2, 4), white)) << "nothing past its end";
        EXPECT_TRUE(picture.Only(cells(1, 0, 1), white));
    });
}

TEST_F(ViewColumn, CutAndDeleteRemoveTheBlockFromEveryLineAsOneUndoStep) {
    std::string text = std::string("ab") + kJie + "cd\nxy\n\nabcdefg";
    ForBothViews(text, [&](CEditScrollView* view) {
        // Cell 3 is the right half of 节: the left edge takes the character whole.
        view->SetColumnSelection(0, 3, 3, 5);
        Command(ID_EDIT_CUT);
        std::string cut = "abd\nxy\n\nabcfg";
        EXPECT_EQ(Text(view), cut);
        EXPECT_EQ(Clipboard(CF_TEXT).c_str(), std::string(kJie) + "c\r\n\r\n\r\nde\r\n");
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), text);
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), cut);
        Command(ID_EDIT_UNDO);
        view->SetColumnSelection(0, 3, 0, 1);
        Key(view, VK_DELETE);
        EXPECT_EQ(Text(view), std::string("b") + kJie + "cd\ny\n\nbcdefg");
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), text);
    });
}

TEST_F(ViewColumn, TheClipboardCarriesLinesWideLinesAndTheBlockMarkAndABlockPastesBackAsOne) {
    std::string text = std::string("a") + kJie + "b\nxyz\nqrs";
    ForBothViews(text, [&](CEditScrollView* view) {
        view->SetColumnSelection(0, 1, 1, 3);
        Command(ID_EDIT_COPY);
        UINT mark = ::RegisterClipboardFormatA("MSDEVColumnSelect");
        EXPECT_TRUE(::IsClipboardFormatAvailable(mark));
        std::string wide = Clipboard(CF_UNICODETEXT) + std::string(2, '\0');
        EXPECT_TRUE(std::wstring((const wchar_t*)wide.data()) == L"\x8282\r\nyz\r\n") << "节 is U+8282";
        EXPECT_EQ(Clipboard(CF_TEXT).c_str(), std::string(kJie) + "\r\nyz\r\n");
        view->SetSelection(10, 10); // the last line, before r
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), text.substr(0, 10) + kJie + "rs\n yz") << "padded on the new line";
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), text);
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Text(view), text.substr(0, 10) + kJie + "rs\n yz");
    });
}

// As a block goes through a plain editor such as notepad: read as lines, written back without the mark.
TEST_F(ViewColumn, AnotherProgramReadsTheBlockAsLinesAndItsLinesPasteBackAsText) {
    ForBothViews(std::string("a") + kJie + "b\nxyz\n", [&](CEditScrollView* view) {
        view->SetColumnSelection(0, 1, 1, 3);
        Command(ID_EDIT_COPY);
        std::string out = RunPeer("read");
        EXPECT_NE(out.find("TEXT bd da 0d 0a 79 7a 0d 0a\r\n"), std::string::npos) << out;
        EXPECT_NE(out.find("UNICODE 8282 000d 000a 0079 007a 000d 000a\r\n"), std::string::npos) << out;
        ASSERT_EQ(RunPeer("put-unicode 8282000d000a0079007a000d000a"), "");
        view->SetSelection(0, 0);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Text(view), std::string(kJie) + "\nyz\na" + kJie + "b\nxyz\n");
    });
}

TEST_F(ViewColumn, TypingIntoAnEmptyBlockTypesOnEveryLineOneUndoStepAKey) {
    ForBothViews("abc\nabc\na\nabc\n", [&](CEditScrollView* view) {
        view->SetColumnSelection(0, 3, 2, 2);
        Type(view, "XY");
        view->SendMessage(WM_IME_CHAR, ((unsigned char)kJie[0] << 8) | (unsigned char)kJie[1], 1);
        std::string typed = std::string("XY") + kJie;
        EXPECT_EQ(Text(view), "ab" + typed + "c\nab" + typed + "c\na\nab" + typed + "c\n")
            << "the short line gets nothing";
        EXPECT_EQ(BlockOf(view), (Block{0, 3, 6, 6}));
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "abXYc\nabXYc\na\nabXYc\n");
        Command(ID_EDIT_UNDO);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "abc\nabc\na\nabc\n");
    });
}
} // namespace
