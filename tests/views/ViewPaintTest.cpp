// Painting into a memory context and reading its pixels: background, margin, arrow, runs, selection.
#include "ViewFixture.h"

namespace {
class ViewPaint : public ViewFixture {};

const COLORREF kWhite = 0xFFFFFF, kBlack = 0x000000, kMargin = 0xE1E1E1, kBlue = 0xFF0000;

// The cells [first, last) of a line in client pixels, unscrolled.
CRect Cells(CEditScrollView* view, int line, int first, int last) {
    int cw = view->Metrics().unit.cx, lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
    return CRect(m + first * cw, line * lh, m + last * cw, (line + 1) * lh);
}
} // namespace

TEST_F(ViewPaint, WhiteTextAreaGreyMarginAndTheArrowOnlyOnTheTitleLine) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "  value " + std::to_string(i) + "\n";
    CColorEditView* view = OpenColored(text);
    ASSERT_NE(view, nullptr);
    int lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
    view->TitleArrow().SetTitleLine(2);
    Picture picture;
    Paint(view, picture);
    EXPECT_EQ(picture.At(600, 5), kWhite);
    EXPECT_EQ(picture.At(1, 5 * lh + 1), kMargin);
    EXPECT_FALSE(picture.Only(CRect(0, 2 * lh, m, 3 * lh), kMargin)) << "the arrow shows on the title line";
    EXPECT_TRUE(picture.Only(CRect(0, 3 * lh, m, 400), kMargin)) << "and on no other";
    EXPECT_EQ(picture.At(0, 2 * lh), kMargin) << "the arrow's transparent colour keeps the margin";

    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    ASSERT_EQ(view->Model().First().line, 5);
    Picture scrolled;
    Paint(view, scrolled);
    EXPECT_TRUE(scrolled.Only(CRect(0, 0, m, 400), kMargin))
        << "scrolled past the title line: a plain margin";
}

TEST_F(ViewPaint, AKeywordRunTakesItsColourAndASelectionInsideItIsDrawnInverted) {
    CColorEditView* view = OpenColored("  IPOIN 12\n", 640, 400, true);
    ASSERT_NE(view, nullptr);
    view->UpdateColors();
    Picture picture;
    Paint(view, picture);
    EXPECT_TRUE(picture.Has(Cells(view, 0, 2, 7), kBlue)) << "the keyword IPOIN in blue";
    EXPECT_FALSE(picture.Has(Cells(view, 0, 8, 10), kBlue)) << "the number in the text colour";

    view->SetSelection(3, 5); // "PO", inside the keyword's run
    Picture selected;
    Paint(view, selected);
    EXPECT_TRUE(selected.Has(Cells(view, 0, 3, 5), 0x00FFFF)) << "inverted blue";
    EXPECT_TRUE(selected.Has(Cells(view, 0, 3, 5), kBlack)) << "on black";
    EXPECT_FALSE(selected.Has(Cells(view, 0, 3, 5), kBlue));
    EXPECT_TRUE(selected.Has(Cells(view, 0, 2, 3), kBlue)) << "before the selection: still blue";
    EXPECT_TRUE(selected.Has(Cells(view, 0, 5, 7), kBlue)) << "after it: still blue";
    EXPECT_FALSE(selected.Has(Cells(view, 0, 2, 3), kBlack));
}

TEST_F(ViewPaint, PlainSelectionIsWhiteOnBlackAndAnEmptySelectedLineShowsOneBlackCell) {
    CBlackEditView* view = OpenPlain("abc\n\nxyz\n");
    ASSERT_NE(view, nullptr);
    view->SetSelection(1, 7);
    Picture picture;
    Paint(view, picture);
    CRect emptyCell = Cells(view, 1, 0, 1);
    EXPECT_EQ(picture.At(emptyCell.left + 1, emptyCell.top + 1), kBlack);
    EXPECT_EQ(picture.At(emptyCell.right + 2, emptyCell.top + 1), kWhite) << "only one cell";
    CRect selected = Cells(view, 0, 1, 3), unselected = Cells(view, 0, 0, 1);
    EXPECT_EQ(picture.At(selected.left + 1, selected.top), kBlack) << "b and c on a black ground";
    // Glyphs are smoothed: strokes are light pixels on the black ground, dark ones on the white ground.
    auto hasShade = [&](const CRect& r, bool light) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if ((GetRValue(picture.At(x, y)) >= 0x80) == light) return true;
        return false;
    };
    EXPECT_TRUE(hasShade(selected, true)) << "in white";
    EXPECT_EQ(picture.At(unselected.left + 1, unselected.top), kWhite) << "a on white";
    EXPECT_TRUE(hasShade(unselected, false)) << "in black";
    EXPECT_EQ(picture.At(Cells(view, 2, 2, 3).left + 1, Cells(view, 2, 2, 3).top + 1), kWhite)
        << "z unselected";

    view->SetSelection(0, 0);
    Picture none;
    Paint(view, none);
    EXPECT_FALSE(none.Has(Cells(view, 1, 0, 1), kBlack)) << "an unselected empty line shows nothing";
}

TEST_F(ViewPaint, TheColouredViewColoursExactlyTheVisibleWindowBeforeDrawing) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "OVER ; line " + std::to_string(i) + "\n";
    CColorEditView* view = OpenColored(text);
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    view->SetRenderFlag(1);
    Picture picture;
    Paint(view, picture);
    EXPECT_FALSE(view->GetRenderFlag());
    CColorEditDoc* doc = view->GetDocument();
    CColorArray& runs = doc->GetTextString().GetColorArray();
    int last = 400 / view->Metrics().unit.cy + 10;
    EXPECT_EQ(runs.StartPos(), doc->GetLineOffset(10));
    ASSERT_GT(runs.GetColorNumber(), 0);
    EXPECT_EQ(runs.GetColorPos(runs.GetColorNumber() - 1), doc->GetLineOffset(last + 1))
        << "the runs end with the last line that fits";
}

// The views share one off-screen picture: a window larger than any painted before is painted whole,
// and a paint with a selection leaves nothing of it to the next paint.
TEST_F(ViewPaint, TheSharedPictureGrowsForALargerWindowAndStartsCleanEveryPaint) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += std::string(300, 'H') + "\n";
    CBlackEditView* view = OpenPlain(text, 1500, 1000);
    ASSERT_NE(view, nullptr);
    int lh = view->Metrics().unit.cy;
    CRect client;
    view->GetClientRect(&client);
    CRect lastRow(client.right - 200, (client.bottom / lh - 1) * lh, client.right - 10,
                  client.bottom / lh * lh);
    Picture whole;
    Paint(view, whole);
    EXPECT_TRUE(whole.Has(lastRow, kBlack)) << "text in the far corner of a 1500 x 1000 window";
    EXPECT_TRUE(whole.Has(lastRow, kWhite));

    view->SetSelection(0, 20);
    Picture selected;
    Paint(view, selected);
    EXPECT_EQ(selected.At((Cells(view, 0, 5, 6).left + 1), lh - 1), kBlack) << "inverted cell";
    view->SetSelection(0, 0);
    Picture plain;
    Paint(view, plain);
    EXPECT_EQ(plain.At((Cells(view, 0, 5, 6).left + 1), lh - 1), kWhite);
}
