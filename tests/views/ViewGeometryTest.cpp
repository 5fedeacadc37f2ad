// Scroll sizes and text geometry of real views, with the metrics their font really has.
#include "ViewFixture.h"

namespace {
class ViewGeometry : public ViewFixture {};
} // namespace

TEST_F(ViewGeometry, TotalSizesAreScaledIntoSixteenBitsAndPagesCountWholeCells) {
    CColorEditView* view = OpenColored("short\n");
    ASSERT_NE(view, nullptr);
    view->SetScaledScrollSizes(MM_TEXT, CSize(200, 40000));
    EXPECT_EQ(BarTotal(view), CSize(164, 32767));
    SCROLLINFO vertical = BarInfo(view, SB_VERT);
    EXPECT_EQ(vertical.nMax, 32766);
    EXPECT_EQ((int)vertical.nPage, 400 / view->Metrics().unit.cy);
    EXPECT_EQ((int)BarInfo(view, SB_HORZ).nPage, 640 / view->Metrics().unit.cx);
    view->SetScaledScrollSizes(MM_TEXT, CSize(32766, 10));
    EXPECT_EQ(BarTotal(view), CSize(32766, 10));
    view->SetScaledScrollSizes(MM_TEXT, CSize(32767, 1));
    EXPECT_EQ(BarTotal(view), CSize(32767, 1));
    view->SetScaledScrollSizes(MM_TEXT, CSize(5, 65534));
    EXPECT_EQ(BarTotal(view), CSize(3, 32767)) << "2.5 rounds away from zero";

    view->CalcScrollSize();
    SCROLLINFO small = BarInfo(view, SB_VERT);
    EXPECT_EQ(small.nMax, view->GetDocument()->GetTotalWidth().cy - 1) << "a short text: maximum total - 1";
    EXPECT_TRUE(::IsWindowEnabled(view->m_hWnd));
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(::GetScrollBarInfo(view->m_hWnd, OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the bars stay even when nothing scrolls";
}

TEST_F(ViewGeometry, ExtentsTabsAndHitTestsFollowTheCellGrid) {
    CBlackEditView* view = OpenPlain("ab\tc\nline two\n\xB5\xDA"
                                     "ab\n");
    ASSERT_NE(view, nullptr);
    int cw = view->Metrics().unit.cx, lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
    ASSERT_GT(cw, 0);
    EXPECT_EQ(m, 2 * cw);
    EXPECT_EQ(view->GetExtent("ab\tc", 0, 0), CPoint(5 * cw, 0)) << "a, b, tab to the stop at 4, c";
    EXPECT_EQ(view->GetExtent("\t", 0, 0).x, 4 * cw);
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
}

TEST_F(ViewGeometry, TextRangesIncludeGbkCharactersCutByEitherEdge) {
    CBlackEditView* view = OpenPlain("ab\xB5\xDA"
                                     "cd\xB6\xFE"
                                     "ef\n\n");
    ASSERT_NE(view, nullptr);
    int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin;
    CRange range;
    // The left edge falls inside the first pair (cells 2 and 3), the right edge inside the second (6, 7).
    int x = view->GetTextRange(0, m + 3 * cw, m + 7 * cw, m, range);
    EXPECT_EQ(x, m + 2 * cw) << "the cut character is drawn whole";
    EXPECT_EQ(range.first, 2);
    EXPECT_EQ(range.last, 8);
    EXPECT_EQ(view->GetTextRange(1, m + 3 * cw, m + 7 * cw, m, range), -1)
        << "an empty line left of the edge";
    EXPECT_EQ(view->GetTextRange(1, 0, m + 7 * cw, m, range), m);
    EXPECT_EQ(range.first, range.last);
}
