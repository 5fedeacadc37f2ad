// Printing: the page layout against the test printer (600 dpi, 6600 pixels a page, a 96 dpi screen),
// the printer context's mapping, and real print runs read back from the PostScript they wrote.
#include "PrintTestKit.h"
#include "ViewFixture.h"

#include <winspool.h>

#include <cstdio>
#include <cstdlib>

#include "framework/win/PrintDialog.h"

namespace {
using ViewPrint = ViewFixture;

// A printing context of the test printer (with mode's paper when given), as the print commands make it.
struct TestPrinter {
    CDC dc;
    explicit TestPrinter(const DEVMODEA* mode = nullptr) {
        dc.Attach(CreateTestPrinterDC(mode));
        dc.m_bPrinting = TRUE;
    }
};

// The first and the last numbered line on a printed page ("LINE0057-LINE0113"), from every LINE it
// holds: lines out of order or missing between them show as a different range or count.
std::string PrintedRange(const std::string& page) {
    std::vector<int> numbers;
    for (size_t at = 0; (at = page.find("LINE", at)) != std::string::npos; at += 4)
        numbers.push_back(std::atoi(page.c_str() + at + 4));
    for (size_t i = 1; i < numbers.size(); ++i)
        if (numbers[i] != numbers[i - 1] + 1) return "a gap after LINE" + std::to_string(numbers[i - 1]);
    char range[32] = "none";
    if (!numbers.empty())
        std::snprintf(range, sizeof range, "LINE%04d-LINE%04d", numbers.front(), numbers.back());
    return range;
}
} // namespace

TEST(PrintPageLayout, LinesPerPageAndTheLinesOfAPage) {
    CPrintPageLayout second = CPrintPageLayout::Compute(6600, 600, 96, 18, 2);
    EXPECT_EQ(second.linesPerPage, 57) << "96 x 6600 / 600 = 1056 screen pixels, 1056 / 18 - 1";
    EXPECT_EQ(second.firstLine, 57);
    EXPECT_EQ(second.lastLine, 113);
    EXPECT_EQ(CPrintPageLayout::Compute(6600, 600, 96, 18, 1).firstLine, 0);
    EXPECT_EQ(CPrintPageLayout::Compute(6600, 600, 96, -18, 1).linesPerPage, 57) << "a height given negative";
    EXPECT_EQ(CPrintPageLayout::Compute(6600, 600, 120, 18, 1).linesPerPage, 1320 / 18 - 1);

    // Shorter than two font heights: no layout at all.
    EXPECT_EQ(CPrintPageLayout::Compute(225, 600, 96, 18, 1).linesPerPage, 1) << "36 pixels: one line";
    EXPECT_EQ(CPrintPageLayout::Compute(224, 600, 96, 18, 1).linesPerPage, 0) << "35 pixels: none";
    EXPECT_EQ(CPrintPageLayout::Compute(0, 600, 96, 18, 1).linesPerPage, 0);
    EXPECT_EQ(CPrintPageLayout::Compute(6600, 0, 96, 18, 1).linesPerPage, 0) << "no resolution";
    EXPECT_EQ(CPrintPageLayout::Compute(6600, 600, 96, 0, 1).linesPerPage, 0) << "no font height";

    // The screen height is multiplied before it is divided, in 64 bits.
    CPrintPageLayout tall = CPrintPageLayout::Compute(2000000000, 600, 96, 18, 1);
    EXPECT_EQ(tall.linesPerPage, (int)(96LL * 2000000000 / 600 / 18 - 1));
    CPrintPageLayout distant = CPrintPageLayout::Compute(6600, 600, 96, 18, 4000000000u);
    EXPECT_GE(distant.firstLine, 0) << "a page number past every line does not wrap";
    EXPECT_EQ(distant.lastLine - distant.firstLine, 56);
}

TEST_F(ViewPrint, BeginPrintingCountsThePagesAndEachPagesContextMapsScreenPixels) {
    TestPrinter printer;
    ASSERT_NE(printer.dc.m_hDC, nullptr) << "the test printer is installed in the prefix";
    ASSERT_EQ(printer.dc.GetDeviceCaps(VERTRES), 6600);
    ForBothViews(NumberedLines(114), [&](CEditScrollView* view) {
        ASSERT_EQ(view->GetEditDocument()->GetLineCount(), 115) << "114 lines and the empty last one";
        CPrintInfo info;
        view->OnBeginPrinting(&printer.dc, &info);
        EXPECT_TRUE(info.m_bContinuePrinting);
        EXPECT_EQ(view->PrintPages().LinesPerPage(), 57);
        EXPECT_EQ(info.GetMaxPage(), 3u) << "115 / 57 + 1";
        EXPECT_EQ(info.m_nNumPreviewPages, 3u);
        EXPECT_EQ(info.m_pPD->m_pd.nMaxPage, 3);

        info.m_nCurPage = 2;
        view->OnPrepareDC(&printer.dc, &info);
        EXPECT_EQ(view->PrintPages().FirstLine(), 57);
        EXPECT_EQ(view->PrintPages().LastLine(), 113);
        EXPECT_EQ(printer.dc.GetMapMode(), MM_ANISOTROPIC);
        POINT pixel = {96, 192};
        printer.dc.LPtoDP(&pixel);
        EXPECT_EQ(pixel.x, 600) << "one screen inch is one printed inch";
        EXPECT_EQ(pixel.y, 1200);
    });
    ForBothViews("one short line\n", [&](CEditScrollView* view) {
        CPrintInfo info;
        view->OnBeginPrinting(&printer.dc, &info);
        EXPECT_EQ(info.GetMaxPage(), 1u) << "a short document prints one page";
    });
}

TEST_F(ViewPrint, TheScreenContextKeepsItsMappingAndAPageTooShortIsRefused) {
    CBlackEditView* view = OpenPlain(NumberedLines(20));
    CClientDC screen(view);
    view->OnPrepareDC(&screen, nullptr);
    EXPECT_EQ(screen.GetMapMode(), MM_TEXT);
    EXPECT_EQ(screen.GetWindowOrg(), CPoint(0, 0));

    // A sheet 5 mm high: 118 printer pixels, 18 screen pixels, one font height.
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
    mode.dmPaperLength = 50;
    mode.dmPaperWidth = 2159;
    TestPrinter printer(&mode);
    CDC& tiny = printer.dc;
    ASSERT_NE(tiny.m_hDC, nullptr);
    ASSERT_LT(tiny.GetDeviceCaps(VERTRES), 2 * 18 * 600 / 96) << "the driver took the short sheet";
    CPrintAnswers answers;
    CPrintInfo info;
    view->OnBeginPrinting(&tiny, &info);
    EXPECT_FALSE(info.m_bContinuePrinting);
    ASSERT_EQ(answers.messages.size(), 1u) << "refused with a message";
    EXPECT_EQ(view->PrintPages().LinesPerPage(), 0);
    info.m_bContinuePrinting = TRUE;
    view->OnPrepareDC(&tiny, &info);
    EXPECT_FALSE(info.m_bContinuePrinting) << "no page is laid out either";
}

// Through the dialog the range asked for, cancelled nothing; printed directly, the chosen printer at
// once, every page, into the printer's own file.
TEST_F(ViewPrint, ThePrintCommandsPrintTheRangeAskedForNothingWhenCancelledAndDirectlyEveryPage) {
    HANDLE printer = nullptr;
    ASSERT_TRUE(::OpenPrinterA((LPSTR)kTestPrinter, &printer, nullptr));
    DWORD needed = 0;
    ::GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(::GetPrinterA(printer, 2, buffer.data(), needed, &needed));
    ::ClosePrinter(printer);
    std::string port = ((PRINTER_INFO_2A*)buffer.data())->pPortName;
    ForBothViews(NumberedLines(140), [&](CEditScrollView* view) {
        CPrintAnswers answers;
        answers.fromPage = 2;
        answers.toPage = 9; // past the last page: the run stops at page 3
        answers.outputFile = TempPath("tessolin-range.ps");
        view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        EXPECT_EQ(answers.fileDialogs, 1) << "print to file asks where";
        EXPECT_TRUE(answers.messages.empty());
        std::vector<std::string> pages = PrintedPages(answers.outputFile);
        ASSERT_EQ(pages.size(), 2u) << "pages 2 and 3 of 3";
        EXPECT_EQ(PrintedRange(pages[0]), "LINE0057-LINE0113") << pages[0];
        EXPECT_EQ(PrintedRange(pages[1]), "LINE0114-LINE0139") << pages[1];

        answers.printAnswer = IDCANCEL;
        answers.outputFile = TempPath("tessolin-cancelled.ps");
        view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        EXPECT_EQ(answers.printDialogs, 2);
        EXPECT_EQ(answers.fileDialogs, 1);
        EXPECT_EQ(::GetFileAttributesA(answers.outputFile.c_str()), INVALID_FILE_ATTRIBUTES);
        ::DeleteFileA(port.c_str());
        view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
        EXPECT_EQ(answers.printDialogs, 2) << "no dialog";
        pages = PrintedPages(port);
        ASSERT_EQ(pages.size(), 3u);
        EXPECT_EQ(PrintedRange(pages[0]), "LINE0000-LINE0056");
        EXPECT_EQ(PrintedRange(pages[2]), "LINE0114-LINE0139");
    });
}

// Paper has the screen's cell grid: a line with tabs prints as the same line with each tab turned
// into the blanks that reach its stop.
TEST_F(ViewPrint, PrintedTabsReachTheirStopsAsOnTheScreen) {
    CBlackEditView* view = OpenPlain("abcd\tx\t1.5\n  NPOIN\t128\nabcd    x   1.5\n  NPOIN 128\n");
    CPrintAnswers answers;
    answers.outputFile = TempPath("tessolin-tabs.ps");
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    CGreyImage page;
    ASSERT_TRUE(RenderPrintedPage(answers.outputFile, 1, 96, page));
    int lh = view->Metrics().unit.cy, differing = 0, inked = 0;
    for (int y = 0; y < 2 * lh; ++y)
        for (int x = 0; x < page.width; ++x) {
            differing += page.At(x, y) != page.At(x, y + 2 * lh);
            inked += page.At(x, y) < 128;
        }
    EXPECT_GT(inked, 50) << "the lines were printed";
    EXPECT_EQ(differing, 0) << "the tabs' lines against the blanks' lines";
}
