// Following a growing listing under Wine: a copy of the generated data file of 1 and 100 MB is open
// in a view with the follow option, and a writer thread appends to it in steps of 10 KB (lines split
// wherever the step ends). For each append: from the end of the write to the end of the view's paint
// of the new text (shown), and the editor's own work (the idle-time message that took the bytes in,
// and the paint). Prints median, 95th percentile and worst in milliseconds.
// Usage: bench_follow [--megabytes=1,100] [--repeats=200 appends] [--view=CBlackEditView]
#include "BenchViews.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {
CWinApp theApp("bench_follow");
const size_t kStep = 10240;

struct Figures {
    std::vector<double> shown, work, paint;
};

void Print(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("  %-26s median %7.2f   p95 %7.2f   worst %7.2f\n", what, v[v.size() / 2],
                v[v.size() * 95 / 100], v.back());
}

// The lines a listing writer produces, repeated to count bytes.
std::string Listing(size_t count) {
    std::string s;
    for (unsigned n = 0; s.size() < count; ++n)
        s += "  step " + std::to_string(n) + "  \xBD\xE1\xB9\xFB 1.25e+03  NPOIN " + std::to_string(n * 7) +
             "\r\n";
    s.resize(count);
    return s;
}

// Serves messages as a host's loop does; the message after which the document grew was the watch's
// idle-time check: its duration is the work, and the paint it asked for follows at once.
bool Follow(CEditScrollView* view, const std::string& path, int appends, Figures& figures) {
    CEditDocument* doc = view->GetEditDocument();
    std::string data = Listing(kStep * (size_t)appends);
    std::atomic<double> written{0};
    std::atomic<int> taken{0};
    HANDLE shownEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::thread writer([&] {
        HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        for (int i = 0; i < appends && file != INVALID_HANDLE_VALUE; ++i) {
            ::Sleep((DWORD)(i * 7 % 23)); // out of step with the watch's timer
            DWORD done = 0;
            written = bench::Now();
            ::WriteFile(file, data.data() + (size_t)i * kStep, (DWORD)kStep, &done, nullptr);
            ::WaitForSingleObject(shownEvent, 2000);
        }
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    });
    double deadline = bench::Now() + appends * 0.5 + 10;
    while (taken < appends && bench::Now() < deadline) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            long before = doc->GetLength();
            double start = bench::Now();
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            if (doc->GetLength() == before) continue;
            double took = bench::Now();
            ::UpdateWindow(view->m_hWnd);
            double shown = bench::Now();
            figures.work.push_back((took - start) * 1e3);
            figures.paint.push_back((shown - took) * 1e3);
            figures.shown.push_back((shown - written) * 1e3);
            ++taken;
            ::SetEvent(shownEvent);
        }
    }
    writer.join();
    ::CloseHandle(shownEvent);
    bool caret = view->Model().Caret() == doc->GetLength() - 1;
    std::printf("  appends taken %d of %d; caret at the end: %s; modified: %s; undo: %s\n", (int)taken,
                appends, caret ? "yes" : "NO", doc->IsModified() ? "YES" : "no",
                doc->CanUndo() ? "YES" : "no");
    return taken == appends;
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv, {1, 100});
    int appends = 200;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--repeats=", 10) == 0) appends = std::atoi(argv[i] + 10);
    bench::Host host(theApp, options);
    std::printf("follow: %d appends of %u bytes, %s (ms)\n", appends, (unsigned)kStep, options.viewClass);
    bool ok = true;
    for (int megabytes : options.sizes) {
        std::string source = bench::EnsureFile(megabytes);
        std::string path = source + ".follow";
        if (!::CopyFileA(source.c_str(), path.c_str(), FALSE)) return 1;
        auto* doc = dynamic_cast<CEditDocument*>(theApp.OpenDocumentFile(path.c_str()));
        if (doc == nullptr) return 1;
        doc->SetOption(kOptionFollowFile, TRUE);
        POSITION position = doc->GetFirstViewPosition();
        auto* view = dynamic_cast<CEditScrollView*>(doc->GetNextView(position));
        view->SetSelection(doc->GetLength() - 1, doc->GetLength() - 1);
        view->SetCurrentPosition(doc->GetLength() - 1);
        bench::Pump();
        std::printf("%d MB\n", megabytes);
        Figures figures;
        ok = Follow(view, path, appends, figures) && ok;
        if (!figures.shown.empty()) {
            Print("write to shown", figures.shown);
            Print("work per append (take in)", figures.work);
            Print("work per append (paint)", figures.paint);
        }
        bench::Host::Close(view);
        ::DeleteFileA(path.c_str());
    }
    return ok ? 0 : 1;
}
