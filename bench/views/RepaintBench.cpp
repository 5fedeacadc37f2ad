// Full repaints of a 1600 x 1000 editor view of a generated data file, at the top, the middle and the
// end of the text, for 1 MB and 100 MB files: painting must cost the same whatever the file's size or
// the place in it. Each figure is the best of the repeats of InvalidateRect + UpdateWindow.
// Usage: bench_views [--megabytes=1,100] [--repeats=N] [--view=CColorEditView|CBlackEditView]
#include "BenchViews.h"

namespace {
CWinApp theApp("bench_views");

// Each repaint recolours the visible window first, as the first paint after an edit or a scroll does.
double BestRepaint(CEditScrollView* view, int repeats) {
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        view->UpdateColors();
        view->InvalidateRect(nullptr, FALSE);
        double start = bench::Now();
        ::UpdateWindow(view->m_hWnd);
        double seconds = bench::Now() - start;
        if (seconds < best) best = seconds;
    }
    return best;
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv);
    bench::Host host(theApp, options);
    std::printf("%s, 1600 x 1000 client, best of %d full repaints (ms)\n", options.viewClass,
                options.repeats);
    std::printf("%-8s %10s %10s %10s\n", "file", "top", "middle", "end");
    for (int megabytes : options.sizes) {
        CEditScrollView* view = host.Open(megabytes, 1600, 1000);
        if (view == nullptr) continue;
        CEditDocument* doc = view->GetEditDocument();
        double figures[3] = {0, 0, 0};
        long places[3] = {0, doc->GetLength() / 2, doc->GetLength() - 1};
        for (int k = 0; k < 3; ++k) {
            view->SetCurrentPosition((int)places[k]);
            bench::Pump();
            figures[k] = BestRepaint(view, options.repeats) * 1e3;
        }
        std::printf("%4d MB %10.2f %10.2f %10.2f\n", megabytes, figures[0], figures[1], figures[2]);
        bench::Host::Close(view);
    }
    return 0;
}
