// The recovery write's cost per write at 1 MB and 100 MB: the time on the user-interface thread
// (the sliced snapshot and the hand-over), its longest slice, and the worker's time to write, flush
// and rename; keys posted by a typist thread while the snapshot is copied, timed from post to handled;
// and keys typed into the view while the worker writes, timed to painted, against the same keys with
// no write running. The caret is in the middle of the text. The recovery folder is one of the
// temporary folder.
// Usage: bench_recovery [--megabytes=1,100] [--repeats=N]
#include <algorithm>
#include <atomic>

#include "BenchViews.h"
#include "documents/RecoveryWriter.h"

namespace {
CWinApp theApp("bench_recovery");

double TypeKeyMs(CEditScrollView* view) {
    double start = bench::Now();
    view->SendMessage(WM_CHAR, 'x', 1);
    ::UpdateWindow(view->m_hWnd);
    return (bench::Now() - start) * 1e3;
}

struct Keys {
    std::vector<double> ms;
    void Add(double t) { ms.push_back(t); }
    double Median() {
        if (ms.empty()) return 0;
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    }
    double Max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    double Percentile95() {
        if (ms.empty()) return 0;
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() * 95 / 100];
    }
};

// A typist on another thread: a key posted to the view every 50 ms (a fast typist's pace), the next
// one only once the last was handled; postedAt is when the waiting key was posted, 0 when none waits.
struct Typist {
    HWND view = nullptr;
    std::atomic<bool> stop{false};
    std::atomic<double> postedAt{0};
    static DWORD WINAPI Run(LPVOID param) {
        auto* typist = static_cast<Typist*>(param);
        while (!typist->stop) {
            if (typist->postedAt == 0) {
                typist->postedAt = bench::Now();
                ::PostMessageA(typist->view, WM_CHAR, 'y', 1);
            }
            ::Sleep(50);
        }
        return 0;
    }
};

// The timer's work run until the snapshot is handed over, as if the typing had paused 2 s ago, while
// the typist's keys come in; each key is timed from its post to its handling.
void CopyWhileTyping(CEditScrollView* view, CRecoveryWriter& writer, Keys& copying) {
    Typist typist;
    typist.view = view->m_hWnd;
    HANDLE thread = ::CreateThread(nullptr, 0, Typist::Run, &typist, 0, nullptr);
    CEditDocument* doc = view->GetEditDocument();
    while (!writer.IsWriting()) {
        writer.Tick(::GetTickCount() + 3000);
        double posted = typist.postedAt;
        if (posted == 0) continue;
        // One message at a time, so that timer work coming after the key is not counted in its time.
        MSG msg;
        for (long before = doc->GetLength(); doc->GetLength() == before;)
            if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        copying.Add((bench::Now() - posted) * 1e3);
        typist.postedAt = 0;
    }
    typist.stop = true;
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    bench::Pump();
}

// One write: the copy beside the typist, then keys typed while the worker writes.
void WriteOnce(CEditScrollView* view, CRecoveryWriter& writer, Keys& copying, Keys& during) {
    CopyWhileTyping(view, writer, copying);
    while (writer.IsWriting()) {
        during.Add(TypeKeyMs(view));
        bench::Pump();
        ::Sleep(2);
        writer.Tick(::GetTickCount()); // typing goes on: nothing new is due, the finished write is seen
    }
}

void Measure(bench::Host& host, int megabytes, int repeats) {
    CEditScrollView* view = host.Open(megabytes, 800, 600);
    if (view == nullptr) return;
    CRecoveryWriter& writer = view->GetEditDocument()->GetRecoveryWriter();
    CEditDocument* doc = view->GetEditDocument();
    int middle = (int)doc->GetLineOffset(doc->GetLineCount() / 2);
    view->SetSelection(middle, middle);
    Keys quiet, copying, during;
    for (int i = 0; i < 20; ++i) quiet.Add(TypeKeyMs(view));
    for (int r = 0; r < repeats; ++r) {
        TypeKeyMs(view);
        WriteOnce(view, writer, copying, during);
        // The timer's work may also run inside the message pumps: the cost counts it wherever it ran.
        const RecoveryWriteCost& cost = writer.GetLastCost();
        std::printf(
            "%4d MB write %d: user-interface thread %.1f ms (copy %.1f ms in %d slices, longest slice "
            "%.2f ms; allocation and hand-over %.1f ms), worker %.0f ms for %lld bytes\n",
            megabytes, r + 1, cost.copyMs + cost.otherMs, cost.copyMs, cost.slices, cost.longestSliceMs,
            cost.otherMs, cost.workerMs, cost.bytes);
    }
    std::printf("%4d MB keys typed with no write: median %.2f ms p95 %.2f ms max %.2f ms (to painted)\n",
                megabytes, quiet.Median(), quiet.Percentile95(), quiet.Max());
    std::printf("%4d MB keys posted during the snapshots' copying (%d keys): median %.2f ms p95 %.2f ms max "
                "%.2f ms (post to handled)\n",
                megabytes, (int)copying.ms.size(), copying.Median(), copying.Percentile95(), copying.Max());
    std::printf("%4d MB keys typed while the worker writes (%d keys): median %.2f ms p95 %.2f ms max %.2f ms "
                "(to painted)\n",
                megabytes, (int)during.ms.size(), during.Median(), during.Percentile95(), during.Max());
    bench::Host::Close(view);
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv);
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string kept = std::string(folder) + "tessolin-recovery-bench";
    ::SetEnvironmentVariableA("TESSOLIN_RECOVERY_DIR", kept.c_str());
    bench::Host host(theApp, options);
    for (int megabytes : options.sizes) Measure(host, megabytes, options.repeats);
    ::RemoveDirectoryA(kept.c_str());
    return 0;
}
