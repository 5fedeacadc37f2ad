// Find and replace at scale in a real editor view of a generated data file, through the find
// dialog's notification as the dialog sends it:
//   Find Next over the whole text without a hit;
//   replace-all of up to 100,000 hits as one command to painted, its undo and redo, byte-checked.
// Usage: bench_find [--megabytes=100] [--view=CColorEditView|CBlackEditView]
#include "BenchViews.h"
#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
CWinApp theApp("bench_find");

double NotifyMs(CEditScrollView* view, DWORD flags, const char* find, const char* replace) {
    CFindReplaceDialog* dialog = view->GetFindDialog();
    dialog->m_fr.Flags = flags;
    lstrcpynA(dialog->m_fr.lpstrFindWhat, find, dialog->m_fr.wFindWhatLen);
    lstrcpynA(dialog->m_fr.lpstrReplaceWith, replace, dialog->m_fr.wReplaceWithLen);
    bench::Pump();
    double start = bench::Now();
    view->SendMessage(HostMessage(kMsgFindReplace), 0, (LPARAM)&dialog->m_fr);
    ::UpdateWindow(view->m_hWnd);
    return (bench::Now() - start) * 1e3;
}

int Count(const std::string& text, const char* find) {
    int n = 0;
    for (size_t at = text.find(find); at != std::string::npos; at = text.find(find, at + 1)) ++n;
    return n;
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv, {100});
    bench::Host host(theApp, options);
    std::printf("%s, 1000 x 700 client, one command to painted (ms)\n", options.viewClass);
    for (int megabytes : options.sizes) {
        CEditScrollView* view = host.Open(megabytes, 1000, 700);
        if (view == nullptr) continue;
        CEditDocument* doc = view->GetEditDocument();
        view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
        if (view->GetFindDialog() == nullptr) {
            std::printf("no find dialog\n");
            return 1;
        }
        double miss = NotifyMs(view, FR_DOWN, "no such text", "");
        std::printf("%4d MB  Find Next without a hit %10.1f\n", megabytes, miss);

        // "OVER" is a keyword of the data lines; the hits cover the whole text.
        std::string original = bench::DocumentText(doc);
        int hits = Count(original, "OVER");
        double all = NotifyMs(view, FR_REPLACEALL | FR_DOWN | FR_MATCHCASE, "OVER", "UNDER");
        bench::Replay r = bench::UndoAndRedo(view, original, bench::DocumentText(doc));
        std::printf("%4d MB  replace all of %d hits %10.1f, undo %.1f (%s), redo %.1f (%s)\n", megabytes,
                    hits, all, r.undoMs, r.Verdict(r.undoExact), r.redoMs, r.Verdict(r.redoExact));
        ::DestroyWindow(view->GetFindDialog()->m_hWnd);
        bench::Host::Close(view);
    }
    return 0;
}
