// Column blocks at scale, in a real editor view of a generated data file: a block of 10,000 lines
// (12 cells wide) copied, pasted back in the middle of the text from the clipboard's block format, and
// the paste's undo and redo checked byte for byte; then the block cut.
// Each figure is one command to painted (UpdateWindow), in milliseconds.
// Usage: bench_column [--megabytes=1,100] [--view=CColorEditView|CBlackEditView]
#include "BenchViews.h"

#include "framework/win/OleClipboard.h"

namespace {
CWinApp theApp("bench_column");

const int kBlockLines = 10000;
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv);
    AfxOleInit();
    bench::Host host(theApp, options);
    std::printf("%s, 1000 x 700 client, %d-line block, one command to painted (ms)\n", options.viewClass,
                kBlockLines);
    for (int megabytes : options.sizes) {
        CEditScrollView* view = host.Open(megabytes, 1000, 700);
        if (view == nullptr) continue;
        CEditDocument* doc = view->GetEditDocument();
        int middle = (int)doc->GetLineCount() / 2 - kBlockLines / 2;
        if (middle < 0) middle = 0;
        view->SetColumnSelection(middle, middle + kBlockLines - 1, 4, 16);
        double copy = bench::CommandMs(view, ID_EDIT_COPY);
        std::string before = bench::DocumentText(doc);
        view->SetColumnSelection(-1, -1, -1, -1);
        view->SetSelection((int)doc->GetLineOffset(middle) + 2, (int)doc->GetLineOffset(middle) + 2);
        double paste = bench::CommandMs(view, ID_EDIT_PASTE);
        std::string after = bench::DocumentText(doc);
        bench::Replay r = bench::UndoAndRedo(view, before, after);
        std::printf("%4d MB  block copy %8.1f   block paste %8.1f   undo %8.1f (%s)   redo %8.1f (%s)\n",
                    megabytes, copy, paste, r.undoMs, r.Verdict(r.undoExact), r.redoMs,
                    r.Verdict(r.redoExact));
        view->SetColumnSelection(middle, middle + kBlockLines - 1, 4, 16);
        double cut = bench::CommandMs(view, ID_EDIT_CUT);
        std::printf("%4d MB  block cut %8.1f\n", megabytes, cut);
        bench::Host::Close(view);
    }
    return 0;
}
