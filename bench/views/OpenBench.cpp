// Opening a file in a view under Wine: from the template's OpenDocumentFile to the end of the paint
// of the new frame and view, for a file of two bytes and generated data files of 1 and 100 MB, with
// the document closed between repetitions. Prints the median, best and worst in milliseconds.
// Usage: bench_open [--megabytes=0,1,100] [--repeats=N] [--view=CBlackEditView]
#include "BenchViews.h"

#include <algorithm>

namespace {
CWinApp theApp("bench_open");
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv, {0, 1, 100});
    bench::Host host(theApp, options);
    std::printf("open to painted, %s, %d repetitions (ms)\n", options.viewClass, options.repeats);
    for (int megabytes : options.sizes) {
        bench::EnsureFile(megabytes);
        std::vector<double> times;
        for (int r = 0; r < options.repeats; ++r) {
            bench::Pump();
            double start = bench::Now();
            CEditScrollView* view = host.OpenView(megabytes);
            if (view == nullptr) {
                std::printf("%d MB: open failed\n", megabytes);
                return 1;
            }
            ::RedrawWindow(host.MainWindow()->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            times.push_back((bench::Now() - start) * 1e3);
            bench::Host::Close(view);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-10s median %8.1f   best %8.1f   worst %8.1f\n",
                    megabytes > 0 ? (std::to_string(megabytes) + " MB").c_str() : "2 bytes",
                    times[times.size() / 2], times.front(), times.back());
    }
    return 0;
}
