// The repaint after an edit that adds or removes lines: the lines below move by pixel scroll and
// only the edited lines are drawn again, yet the window shows exactly what a full repaint draws; in
// the coloured view an edit that recolours the lines below repaints them; a caret jump leaves no
// stale selection on the screen.
#include "ViewFixture.h"

#include <string>
#include <vector>

namespace {
class ViewEditRepaint : public ViewFixture {
protected:
    // Shows the view whole on the screen without its caret, the caret at the start of line.
    void Prepare(CEditScrollView* view, int line) {
        view->SendMessage(WM_KILLFOCUS); // no caret in the pictures
        int at = (int)view->GetEditDocument()->GetLineOffset(line);
        view->SetSelection(at, at);
        ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump();
    }
    // What waits to be painted, in lines of the text area's width.
    static int PendingRows(CEditScrollView* view) {
        HRGN pending = ::CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(view->m_hWnd, pending, FALSE);
        std::vector<char> data(::GetRegionData(pending, 0, nullptr));
        auto* region = reinterpret_cast<RGNDATA*>(data.data());
        long area = 0;
        if (!data.empty() && ::GetRegionData(pending, (DWORD)data.size(), region) != 0) {
            const RECT* rects = reinterpret_cast<const RECT*>(region->Buffer);
            for (DWORD i = 0; i < region->rdh.nCount; ++i)
                area += (long)(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
        }
        ::DeleteObject(pending);
        CRect client;
        view->GetClientRect(&client);
        long row = (long)(client.Width() - view->Metrics().leftMargin) * view->Metrics().unit.cy;
        return (int)((area + row - 1) / row);
    }
    // Shift+Down from a line's start, as the keyboard sends it: Shift first, which sets the anchor.
    static void SelectLine(CEditScrollView* view) {
        Key(view, VK_SHIFT, false, true);
        Key(view, VK_DOWN, false, true);
        view->UpdateWindow();
    }
    void ExpectScreenIsRepaint(CEditScrollView* view, const char* step) {
        view->UpdateWindow();
        Pump();
        EXPECT_EQ(ScreenDiffersFromRepaint(view), 0) << step;
    }
};

} // namespace

TEST_F(ViewEditRepaint, EnterJoinsDeletionAndPasteScrollTheLinesBelowAndLeaveAFullRepaintsPicture) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "IPOIN " + std::to_string(i) + " ; \xB5\xDA" + std::string(i % 7, '\t') + "x\n";
    ForBothViews(text, [&](CEditScrollView* view) {
        view->TitleArrow().SetTitleLine(9); // the arrow marks its row before and after the lines move
        Prepare(view, 5);
        Key(view, VK_END);
        view->UpdateWindow();
        Key(view, VK_RETURN);
        EXPECT_LE(PendingRows(view), 2) << "Enter draws its two lines only";
        ExpectScreenIsRepaint(view, "Enter");

        Key(view, VK_BACK);
        EXPECT_LE(PendingRows(view), 2) << "joining two lines draws the joined line and the bottom row";
        ExpectScreenIsRepaint(view, "Backspace at a line's start");

        Key(view, VK_HOME);
        SelectLine(view);
        view->SendMessage(WM_COMMAND, ID_EDIT_COPY);
        Key(view, VK_DELETE);
        EXPECT_LE(PendingRows(view), 2) << "deleting a selected line draws one line and the bottom row";
        ExpectScreenIsRepaint(view, "Delete of a selected line");

        view->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
        EXPECT_LE(PendingRows(view), 2) << "pasting a line draws the edited lines only";
        ExpectScreenIsRepaint(view, "Ctrl+V of one line");

        int seven = (int)view->GetEditDocument()->GetLineOffset(7); // two lines edited, none added
        view->SetSelection(seven + 2, (int)view->GetEditDocument()->GetLineOffset(8) + 2);
        view->ReplaceSelection("Q\nR");
        ExpectScreenIsRepaint(view, "a replacement over a line feed with one");

        Key(view, VK_DELETE, true); // a word, then the line feed it reaches at the line's end
        Key(view, VK_END);
        Key(view, VK_DELETE);
        ExpectScreenIsRepaint(view, "Delete of a line feed");
    });
}

TEST_F(ViewEditRepaint, AnEditThatRecoloursTheLinesBelowRepaintsThem) {
    // A quote opened on line 3 and closed on line 6 colours the lines between as a remark; deleting
    // the closing line carries the remark on to the next quote, far below.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += i == 3 ? "OPEN \"remark\n" : i == 6 ? "CLOSE\" x\n" : i == 30 ? "END \" y\n" : "IPOIN 1 2\n";
    CColorEditView* view = OpenColored(text);
    Prepare(view, 6);
    SelectLine(view);
    Key(view, VK_DELETE);
    EXPECT_GT(PendingRows(view), 10) << "the recoloured lines below are drawn again";
    ExpectScreenIsRepaint(view, "Delete of the line that closed a remark");

    view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    ExpectScreenIsRepaint(view, "Undo");
    Prepare(view, 10);
    Key(view, VK_RETURN);
    EXPECT_LE(PendingRows(view), 2) << "Enter below the remark recolours nothing";
    ExpectScreenIsRepaint(view, "Enter below the remark");
}

TEST_F(ViewEditRepaint, CtrlHomeAndCtrlEndLeaveNoStaleSelectionOnTheScreen) {
    std::string text = Lines(12, "selected or not");
    ForBothViews(text, [&](CEditScrollView* view) {
        int lineFour = (int)text.find("selected or not 4");
        for (UINT key : {VK_HOME, VK_END}) {
            view->SetSelection(lineFour, lineFour + 12);
            view->UpdateWindow();
            Key(view, key, true, false);
            EXPECT_EQ(view->Model().Selection().start, view->Model().Selection().end);
            ExpectScreenIsRepaint(view, key == VK_HOME ? "Ctrl+Home" : "Ctrl+End");
        }
    });
}
