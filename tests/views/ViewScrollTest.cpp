// Scrolling and the caret, driven by the window messages a user's actions produce.
#include "ViewFixture.h"

namespace {
using ViewScroll = ViewFixture;
} // namespace

TEST_F(ViewScroll, LineAndThumbMessagesMoveTheFirstLineWithinItsLimits) {
    CBlackEditView* view = OpenPlain(Lines(200));
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(view->Model().First().line, 0) << "line up at the top changes nothing";
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(view->Model().First().line, 1);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 1);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 150));
    EXPECT_EQ(view->Model().First().line, 150);
    int limit = (int)view->GetDocument()->GetLineCount() - 400 / view->Metrics().unit.cy + 1;
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, limit));
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(view->Model().First().line, limit) << "no line down past the last screenful";
    view->SendMessage(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(view->Model().First().column, 0);
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(view->Model().First().column, 1);
}

TEST_F(ViewScroll, ACaretBelowTheWindowScrollsItOntoTheLastFullRow) {
    CColorEditView* view = OpenColored(Lines(300));
    ASSERT_NE(view, nullptr);
    CEditDocument* doc = view->GetEditDocument();
    int lh = view->Metrics().unit.cy, rows = 400 / lh;
    view->SetSelection((int)doc->GetLineOffset(rows + 1), (int)doc->GetLineOffset(rows + 1));
    EXPECT_EQ(view->ScrollToCaret(), 1);
    EXPECT_EQ(view->SystemCaret().Point().y, (rows - 1) * lh);
    EXPECT_EQ(view->Model().First().line, 2) << "two lines below the last full row";
    EXPECT_EQ(view->ScrollToCaret(), 0) << "already visible";

    view->SetSelection((int)doc->GetLineOffset(100), (int)doc->GetLineOffset(100));
    view->ScrollToPosition(4);
    EXPECT_EQ(view->Model().First().line, 96);
    EXPECT_EQ(view->SystemCaret().Point().y, 4 * lh);
}

TEST_F(ViewScroll, ACaretPastTheRightEdgeScrollsFiveColumnsBeyondIt) {
    CBlackEditView* view = OpenPlain(std::string(300, 'x') + "\n");
    ASSERT_NE(view, nullptr);
    int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin;
    int lastColumn = (640 / cw - 1) * cw;
    int column = (640 - m) / cw; // the first cell that reaches the right edge
    view->SetSelection(column, column);
    int x = m + column * cw;
    ASSERT_GE(x + cw, 640);
    int dx = 5 * cw - lastColumn + x;
    EXPECT_EQ(view->ScrollToCaret(), 1);
    EXPECT_EQ(view->Model().First().column, dx / cw);
    EXPECT_EQ(view->SystemCaret().Point().x, x - dx);

    view->SetSelection(0, 0);
    view->ScrollToCaret();
    EXPECT_EQ(view->Model().First().column, 0) << "back to the line start";
    EXPECT_TRUE(view->SystemCaret().IsShown());
}

TEST_F(ViewScroll, PageDownMovesTheCaretAndDoesNothingOnTheLastLine) {
    CColorEditView* view = OpenColored(Lines(100));
    ASSERT_NE(view, nullptr);
    CEditDocument* doc = view->GetEditDocument();
    int page = 400 / view->Metrics().unit.cy;
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(doc->OffsetToLine(view->Caret()), page);
    EXPECT_EQ(view->Model().Selection().start, view->Caret());

    int last = (int)doc->GetLineOffset(doc->GetLineCount() - 1);
    view->SetSelection(last, last);
    view->ScrollToCaret();
    int firstLine = view->Model().First().line;
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(view->Caret(), last);
    EXPECT_EQ(view->Model().First().line, firstLine);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), firstLine);
}

TEST_F(ViewScroll, TheCaretLivesWithTheFocusAndHidesInTheMargin) {
    CBlackEditView* view = OpenPlain(Lines(5));
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_SETFOCUS);
    EXPECT_TRUE(view->SystemCaret().IsShown());
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_LT(view->SystemCaret().Point().x, view->Metrics().leftMargin);
    EXPECT_FALSE(view->SystemCaret().IsShown()) << "in the margin";
    view->SendMessage(WM_HSCROLL, SB_LINELEFT);
    EXPECT_TRUE(view->SystemCaret().IsShown());
    view->SendMessage(WM_KILLFOCUS);
    EXPECT_FALSE(view->SystemCaret().IsShown());
    view->SendMessage(WM_KILLFOCUS);
    EXPECT_FALSE(view->SystemCaret().IsShown()) << "a second loss changes nothing";
}

// The documents reach the view through the link: the undo callback, the open and the reload.
TEST_F(ViewScroll, TheDocumentsMoveTheCaretAndAskForColoursThroughTheirView) {
    CColorEditView* view = OpenColored(Lines(200));
    ASSERT_NE(view, nullptr);
    CColorEditDoc* doc = view->GetDocument();
    int pos = (int)doc->GetLineOffset(150) + 2;
    view->SetRenderFlag(0);
    doc->ScrollToCurrent(pos);
    EXPECT_EQ(view->Caret(), pos);
    EXPECT_EQ(Sel(view), Span(pos, pos));
    EXPECT_TRUE(view->GetRenderFlag());
    EXPECT_LE(view->Model().First().line, 150);
    EXPECT_GT(view->Model().First().line + 400 / view->Metrics().unit.cy, 150)
        << "the caret's line is visible";

    view->SetRenderFlag(0);
    doc->ReloadFile();
    EXPECT_TRUE(view->GetRenderFlag()) << "a reload refreshes the colours";

    CBlackEditView* plain = OpenPlain(Lines(50));
    ASSERT_NE(plain, nullptr);
    int at = (int)plain->GetEditDocument()->GetLineOffset(40);
    plain->GetEditDocument()->ScrollToCurrent(at);
    EXPECT_EQ(plain->Caret(), at);
}

// What a small scroll leaves on the screen (moved pixels plus the repainted strip) is what a full
// repaint from the new position draws.
TEST_F(ViewScroll, AfterASmallScrollTheWindowShowsWhatAFullRepaintDraws) {
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += "IPOIN " + std::to_string(i) + " ; remark \xB5\xDA\xD2\xBB\xD5\xC2 " +
                std::string(i % 30, 'x') + "\n";
    CColorEditView* view = OpenColored(text, 640, 400, true);
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_KILLFOCUS); // no caret in the pictures
    ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    view->UpdateWindow();
    int below = (int)view->GetDocument()->GetLineOffset(400 / view->Metrics().unit.cy + 1);
    view->SetSelection(below + 3, below + 3);
    ASSERT_EQ(view->ScrollToCaret(), 1);
    view->UpdateColors(); // as the editing commands do after a scroll, so the new lines get colours
    view->UpdateWindow();
    Pump();

    EXPECT_EQ(ScreenDiffersFromRepaint(view), 0);
}

// Out-of-range arguments from a host or a stale caller: nothing crashes and the view recovers.
TEST_F(ViewScroll, OutOfRangePositionsAndScrollArgumentsAreSurvived) {
    CColorEditView* view = OpenColored(Lines(30));
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60000));
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 60000));
    view->SendMessage(WM_VSCROLL, 77);
    view->SetSelection(-5, 1 << 30);
    view->SetCurrentPosition(1 << 30);
    view->GetDocument()->ScrollToCurrent(-1);
    Picture picture;
    Paint(view, picture);
    EXPECT_LE(view->Model().First().line, view->GetDocument()->GetTotalWidth().cy)
        << "painting clamps the position";

    view->SetSelection(3, 3);
    view->ScrollToCaret();
    EXPECT_EQ(view->Model().First().line, 0) << "a valid caret brings the view back";
    EXPECT_EQ(view->SystemCaret().Point().x, view->Metrics().leftMargin)
        << "the caret's cell is back at the margin";
    EXPECT_EQ(view->SelectionPoint(CPoint(-100, -100)), 0);

    // A failed load leaves the document without even its terminator.
    view->GetDocument()->LoadFile("C:\\no\\such\\file.dat");
    EXPECT_EQ(unexpectedBoxes.GetCount(), 1);
    unexpectedBoxes.Clear();
    Picture empty;
    Paint(view, empty);
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(empty.At(600, 5), 0xFFFFFFu);
}
