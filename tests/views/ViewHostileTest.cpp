// Out-of-range and hostile arguments to the views' messages and public members: nothing crashes,
// the text stays as it was, and the selection and scroll position stay inside the text.
#include "ViewFixture.h"

#include <climits>

#include "documents/HostMessages.h"

namespace {
using ViewHostile = ViewFixture;

void ExpectInside(CEditScrollView* view, const char* after) {
    int last = (int)view->GetEditDocument()->GetLength() - 1;
    CTextSelection sel = view->Model().Selection();
    EXPECT_TRUE(0 <= sel.start && sel.start <= sel.end && sel.end <= last) << after;
    EXPECT_TRUE(0 <= view->Caret() && view->Caret() <= last) << after;
    EXPECT_TRUE(view->Model().First().line >= 0 && view->Model().First().column >= 0) << after;
}
} // namespace

TEST_F(ViewHostile, MembersAndMessagesWithArgumentsOutsideTheTextChangeNothingButTheSelection) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "  LINE " + std::to_string(i) + " \xB5\xDA\xD2\xBB\xD5\xC2\n";
    ForBothViews(text, [&](CEditScrollView* view) {
        view->SetSelection(-5, 1 << 30);
        ExpectInside(view, "SetSelection(-5, 1 << 30)");
        view->SetSelection(INT_MAX, INT_MIN);
        view->SetCurrentPosition(-1000);
        view->SetCurrentPosition(1 << 30);
        view->GetEditDocument()->ScrollToCurrent(-1);
        view->ScrollToPosition(INT_MIN);
        view->ScrollToPosition(INT_MAX);
        ExpectInside(view, "positions");
        view->InvalidateLine(-7);
        view->InvalidateLine(INT_MAX, INT_MIN);
        view->OffsetToScreenLine(-3);
        view->SelectionPoint(CPoint(INT_MIN / 2, INT_MAX / 2));
        CRange range;
        view->GetTextRange(INT_MAX, -100000, 100000, 0, range);
        view->GetTextRange(-1, 100, -100, 0, range);
        EXPECT_EQ(view->IsStringWholeWord(-10, 3), 0);
        view->IsStringWholeWord(INT_MAX - 2, 5);
        ExpectInside(view, "hit tests far outside");

        for (UINT bar : {(UINT)WM_VSCROLL, (UINT)WM_HSCROLL})
            for (UINT code = 0; code <= 10; ++code) {
                view->SendMessage(bar, MAKEWPARAM(code, 0xFFFF), 0);
                view->SendMessage(bar, MAKEWPARAM(code, 0), (LPARAM)0x12345678); // a bar control that is not
                ExpectInside(view, "a scroll message");
            }
        view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60000));
        view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 60000));
        Picture picture;
        Paint(view, picture);
        EXPECT_LE(view->Model().First().line, 201) << "painting clamps the position";
        view->SetSelection(3, 3);
        view->ScrollToCaret();
        EXPECT_EQ(view->Model().First().line, 0) << "a valid caret brings the view back";
        EXPECT_EQ(view->SystemCaret().Point().x, view->Metrics().leftMargin) << "its cell at the margin";
        EXPECT_EQ(view->SelectionPoint(CPoint(-100, -100)), 0);

        view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)SHRT_MIN), MAKELPARAM(0x7FFF, 0x7FFF));
        view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL | MK_SHIFT, SHRT_MAX), 0);
        view->SendMessage(WM_CHAR, 0x12345, 1);
        view->SendMessage(WM_CHAR, 0, 1);
        view->SendMessage(WM_IME_CHAR, 0xFFFFFFFF, 1); // more than sixteen bits
        view->SendMessage(WM_IME_CHAR, 0xB000, 1);     // a lead byte without its trail
        view->SendMessage(WM_KEYDOWN, 0xFFFF, 0);
        view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-32768, 32767));
        view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(32767, -32768));
        view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
        view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0xFFFF, 0xFFFF));
        view->SendMessage(WM_SIZE, SIZE_RESTORED, 0);
        view->SendMessage(WM_TIMER, 0xDEAD, 0);
        ExpectInside(view, "keys, characters and the mouse");

        UINT findTitle = HostMessage(kMsgFindTitle);
        view->SendMessage(findTitle, 0xFFFFFFFF, 0); // no text at all
        view->SendMessage(findTitle, 0, (LPARAM) "nospaceanywhere");
        view->SendMessage(findTitle, 0xFFFFFFFF, (LPARAM) " ");
        std::string longTitle = std::string(100000, 'x') + "| 1";
        view->SendMessage(findTitle, 1, (LPARAM)longTitle.c_str());
        view->SendMessage(HostMessage(kMsgFindReplace), 0, 0); // a notification without its record
        ExpectInside(view, "the host's messages");
        EXPECT_EQ(view->FindTitle(nullptr), 0);
        EXPECT_TRUE(Text(view) == text) << "no argument reached the text";
        view->GetEditDocument()->SetModifiedFlag(FALSE);
    });
}

// A failed load leaves the document without even its terminator: the view paints and scrolls nothing.
TEST_F(ViewHostile, AViewOverAFailedLoadPaintsWhiteAndIgnoresScrolls) {
    CColorEditView* view = OpenColored(Lines(30));
    view->GetDocument()->LoadFile("C:\\no\\such\\file.dat");
    EXPECT_EQ(unexpectedBoxes.GetCount(), 1);
    unexpectedBoxes.Clear();
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    Picture empty;
    Paint(view, empty);
    EXPECT_TRUE(empty.Only(CRect(view->Metrics().leftMargin, 0, 600, 300), 0xFFFFFF));
}
