// The printing tests' helpers: dialog answers, the test printer, and Ghostscript run from Wine.
#include "PrintTestKit.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/win/FileDialog.h"
#include "framework/win/PrintDialog.h"

CPrintAnswers::CPrintAnswers() {
    AfxSetModalHook(&CPrintAnswers::Answer, this, &m_previous, &m_previousContext);
}

CPrintAnswers::~CPrintAnswers() {
    AfxSetModalHook(m_previous, m_previousContext);
}

BOOL CPrintAnswers::Answer(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
    auto* self = static_cast<CPrintAnswers*>(context);
    switch (request.kind) {
    case AFX_MODAL_PRINTDIALOG: {
        ++self->printDialogs;
        auto* dialog = static_cast<CPrintDialog*>(request.dialog);
        if (self->fromPage != 0) {
            dialog->m_pd.Flags = (dialog->m_pd.Flags & ~PD_ALLPAGES) | PD_PAGENUMS;
            dialog->m_pd.nFromPage = (WORD)self->fromPage;
            dialog->m_pd.nToPage = (WORD)self->toPage;
        }
        if (!self->outputFile.empty()) dialog->m_pd.Flags |= PD_PRINTTOFILE;
        *answer = self->printAnswer;
        return TRUE;
    }
    case AFX_MODAL_FILEDIALOG: {
        ++self->fileDialogs;
        auto* dialog = static_cast<CFileDialog*>(request.dialog);
        lstrcpynA(dialog->m_szFileName, self->outputFile.c_str(), MAX_PATH);
        *answer = self->outputFile.empty() ? IDCANCEL : IDOK;
        return TRUE;
    }
    case AFX_MODAL_MESSAGEBOX:
        self->messages.emplace_back(request.text);
        *answer = IDOK;
        return TRUE;
    default:
        return self->m_previous != nullptr && self->m_previous(self->m_previousContext, request, answer);
    }
}

const char kTestPrinter[] = "Tessolin Test Printer";

HDC CreateTestPrinterDC(const DEVMODEA* mode) {
    return ::CreateDCA(nullptr, kTestPrinter, nullptr, mode);
}

namespace {
// Runs Ghostscript through the shell and waits for it.
bool RunGhostscript(const std::string& arguments) {
    return RunUnixShell("/usr/bin/gs -q -dNOPAUSE -dBATCH -dSAFER " + arguments) == 0;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

std::vector<std::string> PrintedPages(const std::string& windowsPath) {
    std::vector<std::string> pages;
    std::string pattern = TempPath("tessolin-printed-%d.txt");
    auto name = [&](int i) {
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, pattern.c_str(), i);
        return std::string(path);
    };
    for (int i = 1; i < 100; ++i) ::DeleteFileA(name(i).c_str());
    if (!RunGhostscript("-sDEVICE=txtwrite -sOutputFile=" + UnixPath(pattern) + " " + UnixPath(windowsPath)))
        return pages;
    for (int i = 1; ::GetFileAttributesA(name(i).c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        pages.push_back(ReadWhole(name(i)));
    return pages;
}

bool RenderPrintedPage(const std::string& windowsPath, int page, int dpi, CGreyImage& image) {
    std::string output = TempPath("tessolin-printed-page.pgm"), number = std::to_string(page);
    if (!RunGhostscript("-sDEVICE=pgmraw -r" + std::to_string(dpi) + " -dFirstPage=" + number +
                        " -dLastPage=" + number + " -dTextAlphaBits=1 -sOutputFile=" + UnixPath(output) +
                        " " + UnixPath(windowsPath)))
        return false;
    // A binary PGM: "P5", width, height, maximum (comment lines between them), one white-space byte,
    // then the pixels.
    std::istringstream in(ReadWhole(output));
    auto next = [&in] {
        while (in >> std::ws && in.peek() == '#') in.ignore(1 << 20, '\n');
        int value = 0;
        in >> value;
        return value;
    };
    std::string magic;
    in >> magic;
    image.width = next();
    image.height = next();
    if (magic != "P5" || image.width <= 0 || image.height <= 0 || next() != 255) return false;
    in.get();
    image.pixels.resize((size_t)image.width * image.height);
    return (bool)in.read((char*)image.pixels.data(), (std::streamsize)image.pixels.size());
}

std::string NumberedLines(int count) {
    std::string text;
    char line[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "LINE%04d %.*s\n", i, i % 23, "=======================");
        text += line;
    }
    return text;
}
