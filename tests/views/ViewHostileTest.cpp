// Out-of-range and hostile arguments to the views' messages and public members: nothing crashes,
// the text stays as it was, and the selection and scroll position stay inside the text.
#include "ViewFixture.h"

#include <climits>

#include "documents/HostMessages.h"

namespace {
class ViewHostile : public ViewFixture {
protected:
    static void ExpectInside(CEditScrollView* view, const char* after) {
        int last = (int)view->GetEditDocument()->GetLength() - 1;
        EXPECT_LE(0, view->Model().Selection().start) << after;
        EXPECT_LE(view->Model().Selection().start, view->Model().Selection().end) << after;
        EXPECT_LE(view->Model().Selection().end, last) << after;
        EXPECT_GE(view->Caret(), 0) << after;
        EXPECT_LE(view->Caret(), last) << after;
        EXPECT_GE(view->Model().First().line, 0) << after;
        EXPECT_GE(view->Model().First().column, 0) << after;
    }
};
} // namespace

TEST_F(ViewHostile, MembersAndMessagesWithArgumentsOutsideTheTextChangeNothingButTheSelection) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "  LINE " + std::to_string(i) + " \xB5\xDA\xD2\xBB\xD5\xC2\n";
    ForBothViews(text, [&](CEditScrollView* view) {
        view->SetSelection(-5, 1 << 30);
        ExpectInside(view, "SetSelection(-5, 1 << 30)");
        view->SetSelection(INT_MAX, INT_MIN);
        ExpectInside(view, "SetSelection(INT_MAX, INT_MIN)");
        view->SetCurrentPosition(-1000);
        ExpectInside(view, "SetCurrentPosition(-1000)");
        view->ScrollToPosition(INT_MIN);
        view->ScrollToPosition(INT_MAX);
        ExpectInside(view, "ScrollToPosition");
        view->InvalidateLine(-7);
        view->InvalidateLine(INT_MAX, INT_MIN);
        view->OffsetToScreenLine(-3);
        view->SelectionPoint(CPoint(INT_MIN / 2, INT_MAX / 2));
        view->SelectionPoint(CPoint(-32768, -32768));
        ExpectInside(view, "hit tests far outside");
        CRange range;
        view->GetTextRange(INT_MAX, -100000, 100000, 0, range);
        view->GetTextRange(-1, 100, -100, 0, range);
        EXPECT_EQ(view->IsStringWholeWord(-10, 3), 0);
        view->IsStringWholeWord(INT_MAX - 2, 5);

        for (UINT bar : {(UINT)WM_VSCROLL, (UINT)WM_HSCROLL})
            for (UINT code = 0; code <= 10; ++code) {
                view->SendMessage(bar, MAKEWPARAM(code, 0xFFFF), 0);
                view->SendMessage(bar, MAKEWPARAM(code, 0), (LPARAM)0x12345678); // a bar control that is not
                ExpectInside(view, "a scroll message");
            }
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
        std::string longTitle(100000, 'x');
        longTitle += "| 1";
        view->SendMessage(findTitle, 1, (LPARAM)longTitle.c_str());
        view->SendMessage(HostMessage(kMsgFindReplace), 0, 0); // a notification without its record
        ExpectInside(view, "the host's messages");
        EXPECT_EQ(view->FindTitle(nullptr), 0);

        EXPECT_TRUE(Text(view) == text) << "no argument reached the text";
        view->GetEditDocument()->SetModifiedFlag(FALSE);
    });
}

TEST_F(ViewHostile, TheDocumentsAnswerOutOfRangeQueriesWithEmptyResults) {
    CColorEditView* view = OpenColored("alpha\nbeta\n");
    ASSERT_NE(view, nullptr);
    CEditDocument* doc = view->GetEditDocument();
    EXPECT_EQ(doc->GetLine(-1), CString());
    EXPECT_EQ(doc->GetLine(LONG_MAX), CString());
    EXPECT_EQ(doc->GetAt(-1), 0);
    EXPECT_EQ(doc->GetAt(LONG_MAX), 0);
    EXPECT_EQ(doc->GetString(-1, 5), CString());
    EXPECT_EQ(doc->GetString(3, INT_MAX), CString("ha\nbeta\n"));
    EXPECT_EQ(doc->GetString(0, -4), CString());
    doc->GetLineOffset(-1);
    doc->GetLineOffset(LONG_MAX);
    doc->OffsetToLine(-1);
    doc->OffsetToLine(LONG_MAX);
    EXPECT_TRUE(Text(view) == "alpha\nbeta\n");
}
