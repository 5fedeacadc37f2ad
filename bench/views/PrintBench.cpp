// Printing at scale in a real editor view of a generated data file, on the prefix's default printer:
//   the page count (the run's begin-printing step);
//   the print preview opened and painted, a step to the last pages, a step back;
//   printing one page from the middle, and ten, into a PostScript file (the dialog answered with the range).
// Nothing of it may grow with the document beyond its line count. Usage:
//   bench_print [--megabytes=1,100] [--view=CColorEditView|CBlackEditView]
#include "BenchViews.h"
#include "framework/win/FileDialog.h"
#include "framework/win/PrintDialog.h"
#include "framework/win/PrintPreview.h"

namespace {
CWinApp theApp("bench_print");

// The print dialog's answer: pages [from, to] into the file.
struct Answers {
    UINT from = 1, to = 1;
    std::string file;
    static BOOL Hook(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
        auto* self = static_cast<Answers*>(context);
        if (request.kind == AFX_MODAL_PRINTDIALOG) {
            auto* dialog = static_cast<CPrintDialog*>(request.dialog);
            dialog->m_pd.Flags = (dialog->m_pd.Flags & ~PD_ALLPAGES) | PD_PAGENUMS | PD_PRINTTOFILE;
            dialog->m_pd.nFromPage = (WORD)self->from;
            dialog->m_pd.nToPage = (WORD)self->to;
        } else if (request.kind == AFX_MODAL_FILEDIALOG) {
            lstrcpynA(static_cast<CFileDialog*>(request.dialog)->m_szFileName, self->file.c_str(), MAX_PATH);
        } else {
            std::printf("message: %s\n", request.text);
        }
        *answer = request.kind == AFX_MODAL_MESSAGEBOX ? IDCANCEL : IDOK;
        return TRUE;
    }
};

double PreviewCommandMs(CPreviewView* preview, UINT id) {
    bench::Pump();
    double start = bench::Now();
    preview->SendMessage(WM_COMMAND, id, 0);
    ::UpdateWindow(preview->m_hWnd);
    return (bench::Now() - start) * 1e3;
}

long long FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

void PrintPages(CEditScrollView* view, Answers& answers, UINT from, UINT to, int megabytes) {
    answers.from = from;
    answers.to = to;
    ::DeleteFileA(answers.file.c_str());
    double ms = bench::CommandMs(view, ID_FILE_PRINT);
    std::printf("%4d MB  print pages %u-%u to a file %10.1f  (%lld bytes of PostScript)\n", megabytes, from,
                to, ms, FileBytes(answers.file));
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv, {1, 100});
    bench::Host host(theApp, options);
    Answers answers;
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    answers.file = std::string(folder) + "tessolin-bench-print.ps";
    AfxSetModalHook(&Answers::Hook, &answers);
    std::printf("%s, 1000 x 700 client (ms)\n", options.viewClass);
    for (int megabytes : options.sizes) {
        CEditScrollView* view = host.Open(megabytes, 1000, 700);
        if (view == nullptr) continue;
        CDC printer;
        printer.Attach(::CreateDCA(nullptr, "Tessolin Test Printer", nullptr, nullptr));
        if (printer.m_hDC == nullptr) {
            std::printf("no test printer in this prefix\n");
            return 1;
        }
        printer.m_bPrinting = TRUE;
        CPrintInfo info;
        double start = bench::Now();
        view->OnBeginPrinting(&printer, &info);
        std::printf("%4d MB  page count (%u pages of %d lines) %10.3f\n", megabytes, info.GetMaxPage(),
                    view->PrintPages().LinesPerPage(), (bench::Now() - start) * 1e3);

        double open = bench::CommandMs(view, ID_FILE_PRINT_PREVIEW);
        CPreviewView* preview = CPreviewView::FindFor(view);
        if (preview == nullptr) {
            std::printf("no preview\n");
            return 1;
        }
        ::UpdateWindow(preview->m_hWnd);
        std::printf("%4d MB  preview opened and painted %10.1f\n", megabytes, open);
        bench::Pump();
        start = bench::Now();
        preview->GoToPage(preview->GetPageCount());
        ::UpdateWindow(preview->m_hWnd);
        std::printf("%4d MB  preview to the last pages %10.1f\n", megabytes, (bench::Now() - start) * 1e3);
        std::printf("%4d MB  preview a page back %10.1f\n", megabytes,
                    PreviewCommandMs(preview, AFX_ID_PREVIEW_PREV));
        preview->Close();

        UINT middle = info.GetMaxPage() / 2;
        PrintPages(view, answers, middle, middle, megabytes);
        PrintPages(view, answers, middle, middle + 9, megabytes);
        bench::Host::Close(view);
    }
    return 0;
}
