// Scrolling, the scroll bars and the caret, driven by the window messages a user's actions produce, and
// the text geometry of the cell grid with the metrics the font really has.
#include "ViewFixture.h"

namespace {
using ViewScroll = ViewFixture;
} // namespace

TEST_F(ViewScroll, LineAndThumbMessagesMoveTheFirstLineWithinItsLimits) {
    CBlackEditView* view = OpenPlain(Lines(200));
    view->SendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(view->Model().First().line, 0) << "line up at the top changes nothing";
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 1);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 150));
    EXPECT_EQ(view->Model().First().line, 150);
    int limit = 201 - 400 / view->Metrics().unit.cy + 1;
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, limit));
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(view->Model().First().line, limit) << "no line down past the last screenful";
    view->SendMessage(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(view->Model().First().column, 0);
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(view->Model().First().column, 1);
}

TEST_F(ViewScroll, ACaretOutsideTheWindowScrollsOntoTheLastFullRowOrFiveColumnsBeyondTheEdge) {
    CColorEditView* view = OpenColored(Lines(300) + std::string(300, 'x') + "\n");
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

    int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin;
    int column = (640 - m) / cw, at = (int)doc->GetLineOffset(300) + column; // the first cell at the edge
    int x = m + column * cw, dx = 5 * cw - (640 / cw - 1) * cw + x;
    view->SetSelection(at, at);
    EXPECT_EQ(view->ScrollToCaret(), 1);
    EXPECT_EQ(view->Model().First().column, dx / cw);
    EXPECT_EQ(view->SystemCaret().Point().x, x - dx);
    view->SetSelection(at - column, at - column);
    view->ScrollToCaret();
    EXPECT_EQ(view->Model().First().column, 0) << "back to the line start";
    EXPECT_TRUE(view->SystemCaret().IsShown());
}

TEST_F(ViewScroll, PageDownMovesTheCaretAndDoesNothingOnTheLastLine) {
    CColorEditView* view = OpenColored(Lines(100));
    CEditDocument* doc = view->GetEditDocument();
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(doc->OffsetToLine(view->Caret()), 400 / view->Metrics().unit.cy);
    EXPECT_EQ(view->Model().Selection().start, view->Caret());
    int last = (int)doc->GetLineOffset(100);
    view->SetSelection(last, last);
    view->ScrollToCaret();
    int firstLine = view->Model().First().line;
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(view->Caret(), last);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), firstLine);
}

TEST_F(ViewScroll, TheCaretLivesWithTheFocusAndHidesInTheMargin) {
    CBlackEditView* view = OpenPlain(Lines(5));
    view->SendMessage(WM_SETFOCUS);
    EXPECT_TRUE(view->SystemCaret().IsShown());
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_LT(view->SystemCaret().Point().x, view->Metrics().leftMargin);
    EXPECT_FALSE(view->SystemCaret().IsShown()) << "in the margin";
    view->SendMessage(WM_HSCROLL, SB_LINELEFT);
    EXPECT_TRUE(view->SystemCaret().IsShown());
    view->SendMessage(WM_KILLFOCUS);
    view->SendMessage(WM_KILLFOCUS);
    EXPECT_FALSE(view->SystemCaret().IsShown()) << "a second loss changes nothing";
}

// The documents reach the view through the link: the undo callback, the open and the reload.
TEST_F(ViewScroll, TheDocumentsMoveTheCaretAndAskForColoursThroughTheirView) {
    CColorEditView* view = OpenColored(Lines(200));
    CColorEditDoc* doc = view->GetDocument();
    int pos = (int)doc->GetLineOffset(150) + 2;
    view->SetRenderFlag(0);
    doc->ScrollToCurrent(pos);
    EXPECT_EQ(Sel(view), Span(pos, pos));
    EXPECT_TRUE(view->GetRenderFlag());
    int first = view->Model().First().line;
    EXPECT_TRUE(first <= 150 && 150 < first + 400 / view->Metrics().unit.cy) << "the caret's line is visible";
    view->SetRenderFlag(0);
    doc->ReloadFile();
    EXPECT_TRUE(view->GetRenderFlag()) << "a reload refreshes the colours";
    CBlackEditView* plain = OpenPlain(Lines(50));
    plain->GetEditDocument()->ScrollToCurrent(300);
    EXPECT_EQ(plain->Caret(), 300);
}

// What a small scroll leaves on the screen (moved pixels plus the repainted strip) is what a full
// repaint from the new position draws.
TEST_F(ViewScroll, AfterASmallScrollTheWindowShowsWhatAFullRepaintDraws) {
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += "IPOIN " + std::to_string(i) + " ; remark \xB5\xDA\xD2\xBB\xD5\xC2 " +
                std::string(i % 30, 'x') + "\n";
    CColorEditView* view = OpenColored(text, 640, 400, true);
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

TEST_F(ViewScroll, TotalSizesAreScaledIntoSixteenBitsAndPagesCountWholeCells) {
    CColorEditView* view = OpenColored("short\n");
    const struct {
        CSize total, bars; // the maxima the bars get: the scaled size less one
    } sizes[] = {{{200, 40000}, {163, 32766}},
                 {{32766, 10}, {32765, 9}},
                 {{32767, 1}, {32766, 0}},
                 {{5, 65534}, {2, 32766}}}; // 2.5 rounds away from zero
    for (const auto& row : sizes) {
        SCOPED_TRACE(::testing::Message() << row.total.cx << " x " << row.total.cy);
        view->SetScaledScrollSizes(MM_TEXT, row.total);
        EXPECT_EQ(BarInfo(view, SB_HORZ).nMax, row.bars.cx);
        EXPECT_EQ(BarInfo(view, SB_VERT).nMax, row.bars.cy);
        if (row.total.cx != 200) continue;
        EXPECT_EQ((int)BarInfo(view, SB_VERT).nPage, 400 / view->Metrics().unit.cy) << "pages in whole cells";
        EXPECT_EQ((int)BarInfo(view, SB_HORZ).nPage, 640 / view->Metrics().unit.cx);
    }
    view->CalcScrollSize();
    EXPECT_EQ(BarInfo(view, SB_VERT).nMax, view->GetDocument()->GetTotalWidth().cy - 1)
        << "a short text: maximum total - 1";
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(::GetScrollBarInfo(view->m_hWnd, OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the bars stay even when nothing scrolls";
}

TEST_F(ViewScroll, ExtentsTabsRangesAndHitTestsFollowTheCellGrid) {
    CBlackEditView* view = OpenPlain("ab\tc\nline two\n\xB5\xDA"
                                     "ab\xB6\xFE"
                                     "ef\n\n");
    int cw = view->Metrics().unit.cx, lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
    ASSERT_GT(cw, 0);
    EXPECT_EQ(m, 2 * cw);
    EXPECT_EQ(view->GetExtent("ab\tc", 0, 0), CPoint(5 * cw, 0)) << "a, b, tab to the stop at 4, c";
    EXPECT_EQ(view->GetExtent("abcd\t", 0, 0).x, 8 * cw) << "a tab on a stop moves a full tab on";
    EXPECT_EQ(view->GetExtent("a\x01"
                              "b",
                              0, 1),
              CPoint(2 * cw, lh))
        << "a control byte takes no cell";
    EXPECT_EQ(view->SelectionPoint(CPoint(1, lh + 2)), 5) << "the margin gives the line start";
    EXPECT_EQ(view->SelectionPoint(CPoint(m + cw / 2 + 1, lh + 2)), 6) << "the right half of a cell";
    EXPECT_EQ(view->SelectionPoint(CPoint(m + 500, lh + 2)), 13) << "right of the end: the line feed";
    EXPECT_EQ(view->SelectionPoint(CPoint(m, 20 * lh)), view->GetDocument()->GetLength() - 1);
    EXPECT_EQ(view->SelectionPoint(CPoint(m + cw / 2 + 1, 2 * lh + 2)), 14)
        << "never between the two bytes of a GBK character";
    // The left edge falls inside the first pair (cells 0 and 1), the right edge inside the second (4, 5).
    CRange range;
    EXPECT_EQ(view->GetTextRange(2, m + cw, m + 5 * cw, m, range), m) << "the cut character is drawn whole";
    EXPECT_EQ(range.first, 14);
    EXPECT_EQ(range.last, 20);
    EXPECT_EQ(view->GetTextRange(3, m + 3 * cw, m + 7 * cw, m, range), -1)
        << "an empty line left of the edge";
    EXPECT_EQ(view->GetTextRange(3, 0, m + 7 * cw, m, range), m);
    EXPECT_EQ(range.first, range.last);
}
