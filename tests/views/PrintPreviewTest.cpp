// The print preview: taking the frame's pane and giving it back, its buttons and page texts, and its
// pages drawn as they print (compared with Ghostscript's rendering of the printed PostScript).
#include "PrintTestKit.h"
#include "ViewFixture.h"

#include "framework/win/PrintPreview.h"

namespace {
class PrintPreview : public ViewFixture {
protected:
    static CPreviewView* Preview() { return CPreviewView::FindFor(main); }
    static CPreviewView* OpenPreview(CEditScrollView* view) {
        view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
        return Preview();
    }
    static void Click(CPreviewView* preview, UINT id) {
        ::SendMessageA(::GetDlgItem(preview->m_hWnd, (int)id), BM_CLICK, 0, 0);
    }
    static bool Enabled(CPreviewView* preview, UINT id) {
        return ::IsWindowEnabled(::GetDlgItem(preview->m_hWnd, (int)id)) != FALSE;
    }
    static std::string StatusText() { return (LPCSTR)statusBar->GetPaneText(0); }
    // A page drawn by the preview at the actual size into a white picture of the page's size.
    static void DrawPage(CPreviewView* preview, UINT page, int width, int height, Picture& picture) {
        picture.Make(width, height);
        preview->DrawPage(CDC::FromHandle(picture.dc), page, CRect(0, 0, width, height));
    }
    // Any ink: a glyph's smoothed edge counts as well as its core.
    static bool Ink(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 250; }
    // The vertical scroll bar the preview shows (null for none) and the rectangle round its buttons.
    static HWND VerticalBar(CPreviewView* preview, CRect& buttons) {
        HWND bar = nullptr;
        buttons.SetRectEmpty();
        for (HWND child = ::GetWindow(preview->m_hWnd, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char name[32] = "";
            ::GetClassNameA(child, name, sizeof name);
            CRect r;
            ::GetWindowRect(child, &r);
            if (lstrcmpiA(name, "Button") == 0) buttons.UnionRect(buttons, r);
            if (lstrcmpiA(name, "ScrollBar") == 0 && (::GetWindowLongA(child, GWL_STYLE) & SBS_VERT) &&
                ::IsWindowVisible(child))
                bar = child;
        }
        return bar;
    }
};

// For each text row of a page (rows of rowHeight pixels), the rightmost dark column, or -1.
template <typename DarkAt> std::vector<int> RowExtents(int width, int rows, int rowHeight, DarkAt dark) {
    std::vector<int> extents((size_t)rows, -1);
    for (int row = 0; row < rows; ++row)
        for (int y = row * rowHeight; y < (row + 1) * rowHeight; ++y)
            for (int x = width - 1; x > extents[(size_t)row]; --x)
                if (dark(x, y)) {
                    extents[(size_t)row] = x;
                    break;
                }
    return extents;
}
} // namespace

// The preview takes the frame's pane, steps through the pages with its buttons and keys, zooms and
// scrolls (its scroll bar below the buttons), and gives the pane and the focus back.
TEST_F(PrintPreview, TakesTheFramesPaneStepsZoomsScrollsAndGivesThePaneBack) {
    CBlackEditView* view = OpenPlain(NumberedLines(140));
    HWND client = main->m_hWndMDIClient;
    CPrintAnswers answers;
    CPreviewView* preview = OpenPreview(view);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(answers.printDialogs, 0) << "a preview asks no dialog";
    EXPECT_EQ(::GetDlgItem(main->m_hWnd, AFX_IDW_PANE_FIRST), preview->m_hWnd);
    EXPECT_FALSE(::IsWindowVisible(client));
    EXPECT_TRUE(statusBar->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), preview->m_hWnd);
    CRect pane, frameClient;
    preview->GetWindowRect(&pane);
    main->GetClientRect(&frameClient);
    EXPECT_EQ(pane.Width(), frameClient.Width()) << "laid out as the frame's pane";

    // The page shown first, how many are shown, the page text and whether Prev and Next are enabled.
    auto state = [&] {
        return std::to_string(preview->GetCurrentPage()) + "+" + std::to_string(preview->GetPagesShown()) +
               " " + StatusText() + (Enabled(preview, AFX_ID_PREVIEW_PREV) ? " prev" : "") +
               (Enabled(preview, AFX_ID_PREVIEW_NEXT) ? " next" : "");
    };
    EXPECT_EQ(preview->GetPageCount(), 3u);
    EXPECT_EQ(state(), "1+2 \xB5\xDA 1-2 \xD2\xB3 next") << "more than one page: two at a time"; // 第 1-2 页
    Click(preview, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(state(), "2+2 \xB5\xDA 2-3 \xD2\xB3 prev") << "the last page shows";
    Click(preview, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(state(), "2+1 \xB5\xDA 2 \xD2\xB3 prev next");
    preview->SendMessage(WM_KEYDOWN, VK_NEXT, 1);
    preview->SendMessage(WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(state(), "3+1 \xB5\xDA 3 \xD2\xB3 prev") << "no page past the last";
    EXPECT_FALSE(Enabled(preview, AFX_ID_PREVIEW_ZOOMOUT));
    CRect buttons;
    EXPECT_EQ(VerticalBar(preview, buttons), nullptr) << "the whole page does not scroll";
    Click(preview, AFX_ID_PREVIEW_ZOOMIN);
    Click(preview, AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_EQ(preview->GetZoom(), CPreviewView::kActualSize);
    EXPECT_FALSE(Enabled(preview, AFX_ID_PREVIEW_ZOOMIN));
    EXPECT_EQ(preview->PageRect(0).Height(), 1056) << "the page's size on screen: 11 inches at 96 dpi";
    preview->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_LT(preview->PageRect(0).top, 32 + 12) << "the keys scroll";
    HWND bar = VerticalBar(preview, buttons);
    ASSERT_NE(bar, nullptr) << "a vertical scroll bar at a zoom that scrolls";
    CRect barRect;
    ::GetWindowRect(bar, &barRect);
    EXPECT_GE(barRect.top, buttons.bottom) << "it starts below the buttons";
    EXPECT_EQ(barRect.right, pane.right);
    int top = preview->PageRect(0).top;
    preview->SendMessage(WM_VSCROLL, SB_PAGEDOWN, (LPARAM)bar);
    EXPECT_LT(preview->PageRect(0).top, top) << "its page-down scrolls the pages";
    EXPECT_GT(::GetScrollPos(bar, SB_CTL), 0);
    Click(preview, AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_EQ(preview->GetZoom(), CPreviewView::kPageWidth);
    Click(preview, AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_FALSE(::IsWindowVisible(bar)) << "back at the whole page the bar goes";

    // Keys typed now reach the preview, not the hidden view.
    main->SetFocus();
    EXPECT_EQ(::GetFocus(), preview->m_hWnd);
    preview->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(::GetDlgItem(main->m_hWnd, AFX_IDW_PANE_FIRST), client);
    EXPECT_TRUE(::IsWindowVisible(client));
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
    EXPECT_NE(StatusText(), "\xB5\xDA 3 \xD2\xB3") << "the page text is gone";
    EXPECT_EQ(Text(view), NumberedLines(140)) << "nothing typed into the document";
}

TEST_F(PrintPreview, OnePageDocumentsAndClosingTheDocumentUnderThePreview) {
    CColorEditView* view = OpenColored("short\n");
    CPrintAnswers answers;
    CPreviewView* preview = OpenPreview(view);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetPageCount(), 1u);
    EXPECT_EQ(preview->GetPagesShown(), 1);
    EXPECT_FALSE(Enabled(preview, AFX_ID_PREVIEW_NUMPAGE));
    EXPECT_FALSE(Enabled(preview, AFX_ID_PREVIEW_NEXT));
    EXPECT_EQ(StatusText(), "\xB5\xDA 1 \xD2\xB3");
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    EXPECT_EQ(Preview(), preview) << "one preview at a time";

    theApp.CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(Preview(), nullptr) << "the preview goes with its view";
    EXPECT_TRUE(::IsWindowVisible(main->m_hWndMDIClient));
    EXPECT_EQ(::GetDlgItem(main->m_hWnd, AFX_IDW_PANE_FIRST), main->m_hWndMDIClient);
}

TEST_F(PrintPreview, PaperShowsNeitherColoursNorSelectionNorMarginNorArrow) {
    CColorEditView* view = OpenColored("  IPOIN 12\n  HHHHHHHH\n", 640, 400, true);
    view->UpdateColors();
    view->SetSelection(2, 7);
    view->TitleArrow().SetTitleLine(0);
    CPrintAnswers answers;
    CPreviewView* preview = OpenPreview(view);
    ASSERT_NE(preview, nullptr);
    Picture page;
    DrawPage(preview, 1, 816, 1056, page);
    int ink = 0;
    bool coloured = false, leftOfText = false;
    int margin = view->Metrics().leftMargin, cw = view->Metrics().unit.cx;
    for (int y = 0; y < 3 * view->Metrics().unit.cy; ++y)
        for (int x = 0; x < 816; ++x) {
            COLORREF c = page.At(x, y);
            coloured |= GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c);
            if (Ink(c)) {
                ++ink;
                leftOfText |= x < margin + 2 * cw - 1;
            }
        }
    EXPECT_GT(ink, 20) << "the lines are printed";
    EXPECT_FALSE(coloured) << "no keyword colour, no inverted selection";
    EXPECT_FALSE(leftOfText) << "nothing in the margin: no strip, no arrow, and both lines start with blanks";
    preview->Close();
}

TEST_F(PrintPreview, ThePreviewsPageIsThePrintedPageAtTheSameScale) {
    CBlackEditView* view = OpenPlain(NumberedLines(100));
    CPrintAnswers answers;
    answers.fromPage = 2;
    answers.toPage = 2;
    answers.outputFile = TempPath("tessolin-compare.ps");
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    CGreyImage printed;
    ASSERT_TRUE(RenderPrintedPage(answers.outputFile, 1, 96, printed));
    ASSERT_EQ(printed.width, 816);
    ASSERT_EQ(printed.height, 1056);

    CPreviewView* preview = OpenPreview(view);
    ASSERT_NE(preview, nullptr);
    Picture shown;
    DrawPage(preview, 2, printed.width, printed.height, shown);
    int rowHeight = view->Metrics().unit.cy, rows = printed.height / rowHeight;
    std::vector<int> printedRows =
        RowExtents(printed.width, rows, rowHeight, [&](int x, int y) { return printed.At(x, y) < 250; });
    std::vector<int> shownRows =
        RowExtents(printed.width, rows, rowHeight, [&](int x, int y) { return Ink(shown.At(x, y)); });
    // Page 2 holds lines 57 to 99 (43 rows of text), each as long as its number makes it; the rows and
    // where each line starts and ends are the same on screen and on paper.
    for (int row = 0; row < rows; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(shownRows[(size_t)row] >= 0, row < 43);
        EXPECT_EQ(printedRows[(size_t)row] >= 0, row < 43);
        // The screen font's hinted advances run up to a few percent short of the printer's exact ones.
        double tolerance = 4 + 0.04 * printedRows[(size_t)row];
        EXPECT_NEAR(shownRows[(size_t)row], printedRows[(size_t)row], tolerance)
            << "the same line length on both";
    }
    preview->Close();
}
