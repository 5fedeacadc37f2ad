// What the views paint, read as pixels: background, margin, arrow, coloured runs and selections; and the
// cell grid it stands on: partial repaints and scrolls give the pixels of a full repaint, a tab is drawn
// as the blanks its cells are, and a font whose own advances are not the cell draws on the cells.
#include <random>
#include <vector>

#include "ViewFixture.h"

namespace {
using ViewPaint = ViewFixture;

LOGFONTA ProportionalFont() {
    LOGFONTA font = {};
    font.lfHeight = 18;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpyA(font.lfFaceName, "Arial");
    return font;
}

// A plain view in a proportional face: its glyphs' advances differ from the cell measured from "A".
class CProportionalView : public CBlackEditView {
    DECLARE_DYNCREATE(CProportionalView)

protected:
    LOGFONTA ViewFont() const override { return ProportionalFont(); }
};
IMPLEMENT_DYNCREATE(CProportionalView, CBlackEditView)

const COLORREF kWhite = 0xFFFFFF, kBlack = 0x000000, kMargin = 0xE1E1E1, kBlue = 0xFF0000;

// The cells [first, last) of a line in client pixels, unscrolled.
CRect Cells(CEditScrollView* view, int line, int first, int last) {
    int cw = view->Metrics().unit.cx, lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
    return CRect(m + first * cw, line * lh, m + last * cw, (line + 1) * lh);
}

// How many pixels of the rectangle differ between two client pictures of the given width.
int Differing(const std::vector<DWORD>& a, const std::vector<DWORD>& b, int width, const CRect& r) {
    int differing = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            differing += a[(size_t)y * width + x] != b[(size_t)y * width + x];
    return differing;
}

// How many of count random rectangles, repainted alone, differ anywhere from the full repaint.
int PartialRepaintsDiffering(CEditScrollView* view, std::mt19937& random, int count) {
    CRect client;
    view->GetClientRect(&client);
    std::vector<DWORD> full = RenderClient(view, nullptr);
    int differing = 0;
    for (int i = 0; i < count; ++i) {
        int x1 = (int)(random() % (unsigned)client.right), x2 = (int)(random() % (unsigned)client.right);
        int y1 = (int)(random() % (unsigned)client.bottom), y2 = (int)(random() % (unsigned)client.bottom);
        CRect r(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
        differing += Differing(RenderClient(view, &r), full, client.right, r) != 0;
    }
    return differing;
}

// Lines of a data file: keywords (coloured runs), tabs on and off the stops, GBK characters (节点, 荷载).
std::string DataLines(size_t bytes) {
    static const char* const rows[] = {
        "  NPOIN\t128\t3.75\t1.250e+03\n",
        "abcd\tx\tlive load\n",
        "\xBD\xDA\xB5\xE3\t12\t\xBA\xC9\xD4\xD8 0.000\t-1.5\n",
        "  IPOIN 12 /* Load cases */ \"quoted\ttext\"\n",
        "\t\tnested\t\xBD\xDA\xB5\xE3\tend\n",
        "1   000 0.000\tW\n",
    };
    std::string text;
    for (size_t i = 0; text.size() < bytes; ++i) text += rows[i % 6];
    return text;
}
} // namespace

TEST_F(ViewPaint, WhiteTextAreaGreyMarginAndTheArrowOnlyOnTheTitleLine) {
    CColorEditView* view = OpenColored(Lines(60, "  value"));
    int lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
    view->TitleArrow().SetTitleLine(2);
    Picture picture;
    Paint(view, picture);
    EXPECT_EQ(picture.At(600, 5), kWhite);
    EXPECT_FALSE(picture.Only(CRect(0, 2 * lh, m, 3 * lh), kMargin)) << "the arrow shows on the title line";
    EXPECT_TRUE(picture.Only(CRect(0, 3 * lh, m, 400), kMargin)) << "and on no other";
    EXPECT_TRUE(picture.Only(CRect(0, 0, m, 2 * lh), kMargin));
    EXPECT_EQ(picture.At(0, 2 * lh), kMargin) << "the arrow's transparent colour keeps the margin";
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    Picture scrolled;
    Paint(view, scrolled);
    EXPECT_TRUE(scrolled.Only(CRect(0, 0, m, 400), kMargin))
        << "scrolled past the title line: a plain margin";
}

TEST_F(ViewPaint, AKeywordRunTakesItsColourAndASelectionInsideItIsDrawnInverted) {
    CColorEditView* view = OpenColored("  IPOIN 12\n", 640, 400, true);
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
    EXPECT_TRUE(selected.Has(Cells(view, 0, 2, 3), kBlue) && selected.Has(Cells(view, 0, 5, 7), kBlue))
        << "before and after the selection: still blue";
    EXPECT_FALSE(selected.Has(Cells(view, 0, 2, 3), kBlack));
}

// Glyphs are smoothed: strokes are light pixels on the black ground, dark ones on the white ground.
TEST_F(ViewPaint, ASelectionBlackensExactlyItsCellsWithWhiteTextAndOneCellOfAnEmptyLine) {
    ForBothViews("ab\t\tcd\n\nxyz\n", [&](CEditScrollView* view) {
        view->SetSelection(2, 9); // the two tabs (cells 2 to 8), "cd", the empty line and x
        Picture picture;
        Paint(view, picture);
        int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin;
        EXPECT_TRUE(picture.Only(Cells(view, 0, 2, 8), kBlack)) << "every pixel of the tabs' cells";
        int lh = view->Metrics().unit.cy;
        EXPECT_FALSE(picture.Only(CRect(m + 2 * cw - 1, 0, m + 2 * cw, lh), kBlack))
            << "not the column before";
        EXPECT_FALSE(picture.Only(CRect(m + cw, 2 * lh, m + cw + 1, 3 * lh), kBlack)) << "nor the one after";
        EXPECT_TRUE(picture.Only(Cells(view, 1, 0, 1), kBlack)) << "an empty selected line shows one cell";
        EXPECT_FALSE(picture.Has(Cells(view, 1, 1, 2), kBlack)) << "only one";
        auto shade = [&](const CRect& r, bool light) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    if ((GetRValue(picture.At(x, y)) >= 0x80) == light) return true;
            return false;
        };
        EXPECT_TRUE(shade(Cells(view, 0, 8, 10), true)) << "c and d in white on black";
        EXPECT_EQ(picture.At(Cells(view, 0, 1, 2).left + 1, 0), kWhite) << "b on white";
        EXPECT_TRUE(shade(Cells(view, 0, 1, 2), false)) << "in black";
        EXPECT_EQ(picture.At(Cells(view, 2, 1, 2).left + 1, Cells(view, 2, 1, 2).top + 1), kWhite)
            << "y unselected";
        view->SetSelection(0, 0);
        Picture none;
        Paint(view, none);
        EXPECT_FALSE(none.Has(Cells(view, 1, 0, 1), kBlack)) << "an unselected empty line shows nothing";
    });
}

TEST_F(ViewPaint, TheColouredViewColoursExactlyTheVisibleWindowBeforeDrawing) {
    CColorEditView* view = OpenColored(Lines(100, "OVER ; line"));
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    view->SetRenderFlag(1);
    Picture picture;
    Paint(view, picture);
    EXPECT_FALSE(view->GetRenderFlag());
    CColorEditDoc* doc = view->GetDocument();
    CColorArray& runs = doc->GetTextString().GetColorArray();
    EXPECT_EQ(runs.StartPos(), doc->GetLineOffset(10));
    ASSERT_GT(runs.GetColorNumber(), 0);
    EXPECT_EQ(runs.GetColorPos(runs.GetColorNumber() - 1),
              doc->GetLineOffset(400 / view->Metrics().unit.cy + 11))
        << "the runs end with the last line that fits";
}

// The views share one off-screen picture: a window larger than any painted before is painted whole,
// and a paint with a selection leaves nothing of it to the next paint.
TEST_F(ViewPaint, TheSharedPictureGrowsForALargerWindowAndStartsCleanEveryPaint) {
    CBlackEditView* view = OpenPlain(Lines(80, std::string(300, 'H').c_str()), 1500, 1000);
    int lh = view->Metrics().unit.cy;
    CRect client;
    view->GetClientRect(&client);
    CRect lastRow(client.right - 200, (client.bottom / lh - 1) * lh, client.right - 10,
                  client.bottom / lh * lh);
    Picture whole;
    Paint(view, whole);
    EXPECT_TRUE(whole.Has(lastRow, kBlack) && whole.Has(lastRow, kWhite)) << "text in the far corner";
    view->SetSelection(0, 20);
    Picture selected;
    Paint(view, selected);
    EXPECT_EQ(selected.At(Cells(view, 0, 5, 6).left + 1, lh - 1), kBlack) << "inverted cell";
    view->SetSelection(0, 0);
    Picture plain;
    Paint(view, plain);
    EXPECT_EQ(plain.At(Cells(view, 0, 5, 6).left + 1, lh - 1), kWhite);
}

// At the start of a short text and in the middle of 1 MB and 100 MB of it: random partial repaints, and
// the screen and partial repaints after scrolls through real scroll-bar messages.
TEST_F(ViewPaint, PartialRepaintsAndScrollsDrawWhatAFullRepaintDraws) {
    std::mt19937 random(36);
    for (size_t bytes : {(size_t)1200, (size_t)1 << 20, (size_t)100 << 20}) {
        SCOPED_TRACE(bytes);
        std::string text = DataLines(bytes);
        int middle = bytes < 5000 ? 0 : (int)text.find('\n', text.size() / 2) + 1;
        ForBothViews(text, [&](CEditScrollView* view) {
            // From inside a keyword on a line through two tabs and a GBK character further down.
            view->SetSelection(middle + 4, middle + (int)text.find("live"));
            view->ScrollToCaret();
            view->UpdateColors();
            view->Invalidate(FALSE);
            view->UpdateWindow();
            if (middle > 0) {
                ASSERT_GT(view->Model().First().line, 1000);
            }
            EXPECT_EQ(PartialRepaintsDiffering(view, random, 40), 0);
            const std::pair<UINT, UINT> scrolls[] = {{WM_HSCROLL, SB_LINERIGHT},
                                                     {WM_VSCROLL, SB_LINEDOWN},
                                                     {WM_HSCROLL, SB_LINERIGHT},
                                                     {WM_HSCROLL, SB_LINELEFT},
                                                     {WM_VSCROLL, SB_LINEUP}};
            for (auto [message, code] : scrolls) {
                view->SendMessage(message, code, 0);
                view->UpdateWindow();
                EXPECT_EQ(ScreenDiffersFromRepaint(view), 0) << "the screen after a scroll";
                EXPECT_EQ(PartialRepaintsDiffering(view, random, 12), 0) << "partial repaints after a scroll";
            }
        });
    }
}

TEST_F(ViewPaint, ATabIsDrawnAsTheBlanksOfItsCells) {
    std::string tabs = "abcd\tx\n  NPOIN\t128\t3.75\t1.250e+03\n\t\tx\na\tb\tc\n\xBD\xDA\t\xB5\xE3\n", blanks;
    int column = 0;
    for (char c : tabs) { // each tab as the spaces that reach its stop (every four cells)
        int cells = c == '\t' ? 4 - column % 4 : 1;
        blanks += c == '\t' ? std::string((size_t)cells, ' ') : std::string(1, c);
        column = c == '\n' ? 0 : column + cells;
    }
    std::vector<DWORD> pictures[2];
    for (int i = 0; i < 2; ++i) {
        CBlackEditView* view = OpenPlain(i == 0 ? tabs : blanks);
        pictures[i] = RenderClient(view);
        for (size_t p = 0; p < pictures[i].size(); ++p) // the text area only
            if ((int)(p % 640) < view->Metrics().leftMargin) pictures[i][p] = 0;
        theApp.CloseAllDocuments(FALSE);
    }
    EXPECT_TRUE(pictures[0] == pictures[1]) << "pixels where the tabs' lines differ from the spaces' lines";
}

TEST_F(ViewPaint, AFontsOwnAdvancesDoNotMoveTheGlyphsOffTheirCells) {
    static CMultiDocTemplate* proportional = [] {
        auto* added = new CMultiDocTemplate(1, RUNTIME_CLASS(CBlackEditDoc), RUNTIME_CLASS(CMDIChildWnd),
                                            RUNTIME_CLASS(CProportionalView));
        theApp.AddDocTemplate(added);
        return added;
    }();
    auto open = [&](const char* text) {
        return static_cast<CEditScrollView*>(Open(proportional, text, 640, 400));
    };
    CEditScrollView* narrow = open("iiiiiW\n");
    int cw = narrow->Metrics().unit.cx, lh = narrow->Metrics().unit.cy, m = narrow->Metrics().leftMargin;
    HDC dc = ::GetDC(nullptr);
    LOGFONTA description = ProportionalFont();
    HGDIOBJ old = ::SelectObject(dc, ::CreateFontIndirectA(&description));
    SIZE five = {};
    ::GetTextExtentPoint32A(dc, "iiiii", 5, &five);
    ::DeleteObject(::SelectObject(dc, old));
    ::ReleaseDC(nullptr, dc);
    ASSERT_NE(five.cx, 5 * cw) << "the face's advances must differ from the cell, or this proves nothing";
    std::vector<DWORD> afterNarrow = RenderClient(narrow);
    std::mt19937 random(5);
    EXPECT_EQ(PartialRepaintsDiffering(narrow, random, 30), 0);
    theApp.CloseAllDocuments(FALSE);
    CEditScrollView* blank = open("     W\n");
    EXPECT_EQ(Differing(afterNarrow, RenderClient(blank), 640, CRect(m + 5 * cw, 0, m + 7 * cw, lh)), 0)
        << "W stands on the sixth cell after five narrow glyphs as after five blanks";
}
