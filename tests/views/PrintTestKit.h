// What the printing tests share: a stand-in for the user at the print and file dialogs, the test
// printer's context, and reading printed PostScript back through Ghostscript.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win/Dc.h"
#include "framework/win/MessageBox.h"
#include "tests/common/UnixShell.h"

// Answers the print dialog (IDOK unless told otherwise, with a page range and print-to-file when
// set), the print-to-file dialog (with outputFile) and message boxes (recorded, answered IDOK);
// anything else goes to the hook it replaced. Restores that hook when destroyed.
class CPrintAnswers {
public:
    CPrintAnswers();
    ~CPrintAnswers();
    CPrintAnswers(const CPrintAnswers&) = delete;
    CPrintAnswers& operator=(const CPrintAnswers&) = delete;

    INT_PTR printAnswer = IDOK;
    UINT fromPage = 0, toPage = 0; // a range when fromPage is set
    std::string outputFile;        // print to this file when set (a Windows path)
    int printDialogs = 0;
    int fileDialogs = 0;
    std::vector<std::string> messages;

private:
    static BOOL Answer(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer);
    AFX_MODAL_HOOK m_previous = nullptr;
    void* m_previousContext = nullptr;
};

// The test printer the Wine prefix gets (600 dpi, 5100 x 6600 pixels), and a printing context of it
// (with mode's paper when given), null without one.
extern const char kTestPrinter[];
HDC CreateTestPrinterDC(const DEVMODEA* mode = nullptr);
// The text of each printed page of a PostScript file, as Ghostscript reads it.
std::vector<std::string> PrintedPages(const std::string& windowsPath);
// A page of a PostScript file rendered by Ghostscript in grey at dpi: width, height and a byte a pixel.
struct CGreyImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    unsigned char At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};
bool RenderPrintedPage(const std::string& windowsPath, int page, int dpi, CGreyImage& image);
// The lines of a test document: "LINE0000 ..." up to count - 1, each a different length.
std::string NumberedLines(int count);
