// Find and replace at scale in a real editor view of a generated data file, through the find
// dialog's notification as the dialog sends it:
//   Find Next over the whole text without a hit, right after loading and after an edit in the middle
//   (the text then lies on both sides of the buffer's gap);
//   replace-all of exactly 100,000 planted hits, and of every OVER keyword (about 6,600 a megabyte),
//   each as one command to painted, with its undo and redo, byte-checked;
//   a regular-expression replace-all with a group reference over every NPOIN line.
// Usage: bench_find [--megabytes=100] [--view=CColorEditView|CBlackEditView]
#include "BenchViews.h"
#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"
#include "views/FindDialogIds.h"

namespace {
CWinApp theApp("bench_find");

double NotifyMs(CEditScrollView* view, DWORD flags, const char* find, const char* replace) {
    CFindReplaceDialog* dialog = view->FindReplace().Dialog();
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

// Plants the marker at the start of count lines spread evenly over the text, unrecorded. The line
// figures are only current again after the batch, so the places are taken first and filled back to front.
void Plant(CEditDocument* doc, const char* marker, int count) {
    long long lines = doc->GetLineCount() - 1;
    std::vector<long> places;
    for (int k = 0; k < count; ++k) places.push_back(doc->GetLineOffset((long)(lines * k / count)));
    doc->BeginBatch();
    for (int k = count - 1; k >= 0; --k) doc->Replace((int)places[(size_t)k], 0, marker);
    doc->EndBatch();
}

void ReplaceAllRun(CEditScrollView* view, int megabytes, const char* find, const char* replace,
                   const char* hitText = nullptr) {
    CEditDocument* doc = view->GetEditDocument();
    std::string original = bench::DocumentText(doc);
    int hits = Count(original, hitText != nullptr ? hitText : find);
    double all = NotifyMs(view, FR_REPLACEALL | FR_DOWN | FR_MATCHCASE, find, replace);
    std::string replaced = bench::DocumentText(doc);
    if (replaced == original) std::printf("%4d MB  replace all of %s changed nothing\n", megabytes, find);
    bench::Replay r = bench::UndoAndRedo(view, original, replaced);
    std::printf("%4d MB  replace all of %d hits %10.1f, undo %.1f (%s), redo %.1f (%s)\n", megabytes, hits,
                all, r.undoMs, r.Verdict(r.undoExact), r.redoMs, r.Verdict(r.redoExact));
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
        if (view->FindReplace().Dialog() == nullptr) {
            std::printf("no find dialog\n");
            return 1;
        }
        double miss = NotifyMs(view, FR_DOWN, "no such text", "");
        std::printf("%4d MB  Find Next without a hit %10.1f\n", megabytes, miss);
        view->SetSelection((int)(doc->GetLength() / 2), (int)(doc->GetLength() / 2));
        view->SendMessage(WM_CHAR, 'x', 1);
        miss = NotifyMs(view, FR_DOWN, "no such text", "");
        std::printf("%4d MB  Find Next without a hit, gap in the middle %10.1f\n", megabytes, miss);

        Plant(doc, "QZQ", 100000);
        ReplaceAllRun(view, megabytes, "QZQ", "QZQZ");
        // "OVER" is a keyword of the data lines; the hits cover the whole text.
        ReplaceAllRun(view, megabytes, "OVER", "UNDER");
        HWND dialog = view->FindReplace().Dialog()->m_hWnd;
        ::CheckDlgButton(dialog, IDC_FIND_REGEX, BST_CHECKED);
        ReplaceAllRun(view, megabytes, "NPOIN  ([0-9]+)", "NPOIN = \\1", "NPOIN");
        ::CheckDlgButton(dialog, IDC_FIND_REGEX, BST_UNCHECKED);
        ::DestroyWindow(view->FindReplace().Dialog()->m_hWnd);
        bench::Host::Close(view);
    }
    return 0;
}
