// Input latency in a real 1000 x 700 editor view: the time from sending a typed character, Enter,
// Backspace, Delete of a selected line, Ctrl+V of one line, one drag step or one wheel notch to the end of
// the resulting UpdateWindow, colouring included, at the top, the middle and the end of 1 MB and 100 MB data
// files. Nothing on these paths may depend on the file's size. Each figure is the median of the repeats, in
// milliseconds. With --one-line each file is a single line (no line feed): typing, Backspace, a drag step
// along the line and one horizontal scroll step, at its start, middle and end, and the memory the process
// holds beside the text's size.
// Usage: bench_input [--megabytes=1,100] [--repeats=N] [--view=CColorEditView|CBlackEditView] [--one-line]
//                    [--options=gbk,colors,long,undo]
#include <windows.h>

#include <psapi.h>

#include <algorithm>

#include "BenchViews.h"

namespace {
CWinApp theApp("bench_input");

LPARAM At(CPoint p) {
    return MAKELPARAM((WORD)(short)p.x, (WORD)(short)p.y);
}

// Sends one input (the i-th of the run) and waits for the paint it caused; prepare runs untimed first.
template <class Send, class Prepare>
double MedianMs(CEditScrollView* view, int repeats, Send send, Prepare prepare) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        ::UpdateWindow(view->m_hWnd);
        bench::Pump();
        double start = bench::Now();
        send(i);
        ::UpdateWindow(view->m_hWnd);
        times.push_back((bench::Now() - start) * 1e3);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
template <class Send> double MedianMs(CEditScrollView* view, int repeats, Send send) {
    return MedianMs(view, repeats, send, [] {});
}

// The caret's whole line selected, line feed included.
void SelectCaretLine(CEditScrollView* view) {
    CEditDocument* doc = view->GetEditDocument();
    long line = doc->OffsetToLine(view->Caret());
    view->SetSelection((int)doc->GetLineOffset(line), (int)doc->GetLineOffset(line + 1));
}

// One data line on the clipboard, as text.
bool PutLineOnClipboard(HWND owner) {
    static const char line[] = "  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16\r\n";
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof line);
    if (block != nullptr) {
        std::memcpy(::GlobalLock(block), line, sizeof line);
        ::GlobalUnlock(block);
        if (::SetClipboardData(CF_TEXT, block) == nullptr) ::GlobalFree(block);
    }
    ::CloseClipboard();
    return block != nullptr;
}

// One drag step: the mouse pressed halfLines half lines down at the 20th column, each step moved to
// to(i, that x, the line height), released where it was pressed.
template <class To> double DragStepMs(CEditScrollView* v, int n, int halfLines, To to) {
    int lh = v->Metrics().unit.cy, x = v->Metrics().leftMargin + 20 * v->Metrics().unit.cx;
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(CPoint(x, halfLines * lh / 2)));
    double ms =
        MedianMs(v, n, [v, lh, x, to](int i) { v->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(to(i, x, lh))); });
    v->SendMessage(WM_LBUTTONUP, 0, At(CPoint(x, halfLines * lh / 2)));
    return ms;
}

struct Action {
    const char* name;
    double (*measure)(CEditScrollView* view, int repeats);
};

const Action kActions[] = {
    {"type x",
     [](CEditScrollView* v, int n) { return MedianMs(v, n, [v](int) { v->SendMessage(WM_CHAR, 'x', 1); }); }},
    {"Backspace", [](CEditScrollView* v,
                     int n) { return MedianMs(v, n, [v](int) { v->SendMessage(WM_KEYDOWN, VK_BACK, 1); }); }},
    {"Enter", [](CEditScrollView* v,
                 int n) { return MedianMs(v, n, [v](int) { v->SendMessage(WM_KEYDOWN, VK_RETURN, 1); }); }},
    {"Delete line",
     [](CEditScrollView* v, int n) {
         return MedianMs(
             v, n, [v](int) { v->SendMessage(WM_KEYDOWN, VK_DELETE, 1); }, [v] { SelectCaretLine(v); });
     }},
    {"Ctrl+V line",
     [](CEditScrollView* v, int n) {
         if (!PutLineOnClipboard(v->m_hWnd)) return -1.0;
         return MedianMs(v, n, [v](int) { v->SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0); });
     }},
    {"drag step",
     [](CEditScrollView* v, int n) {
         return DragStepMs(v, n, 4, [](int i, int x, int lh) {
             return CPoint(x + (i % 3) * 8, (6 + i % 4) * lh + lh / 2);
         });
     }},
    {"wheel notch",
     [](CEditScrollView* v, int n) {
         CRect r;
         v->GetWindowRect(&r);
         CPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
         return MedianMs(v, n, [v, centre](int i) {
             short delta = (short)(i % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA);
             v->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)delta), At(centre));
         });
     }},
};
// On a single line: the drag runs along the line, and the scroll step is horizontal.
const Action kLineActions[] = {
    kActions[0],
    kActions[1],
    {"drag step",
     [](CEditScrollView* v, int n) {
         return DragStepMs(v, n, 1,
                           [](int i, int x, int lh) { return CPoint(x + (1 + i % 6) * 40, lh / 2); });
     }},
    {"scroll step",
     [](CEditScrollView* v, int n) {
         return MedianMs(v, n, [v](int i) {
             v->SendMessage(WM_HSCROLL, MAKEWPARAM(i % 2 == 0 ? SB_LINERIGHT : SB_LINELEFT, 0), 0);
         });
     }},
};

// The committed private memory, as the document bench counts it.
double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return (double)counters.PagefileUsage / (1 << 20);
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv);
    if (options.repeats < 9) options.repeats = 21;
    bench::Host host(theApp, options);
    std::printf("%s, 1000 x 700 client, median of %d inputs to painted (ms)\n", options.viewClass,
                options.repeats);
    std::printf("%-8s %-12s %10s %10s %10s\n", "file", "input", "top", "middle", "end");
    // The memory figure leaves out what any open view holds (window, font, the framework's state): a
    // view of a two-byte file stays open beside the measured one.
    CEditScrollView* small = options.oneLine ? host.Open(0, 400, 300) : nullptr;
    double base = PrivateMegabytes();
    for (int megabytes : options.sizes) {
        CEditScrollView* view = host.Open(megabytes, 1000, 700);
        if (view == nullptr) continue;
        CEditDocument* doc = view->GetEditDocument();
        if (options.oneLine)
            std::printf("%4d MB  one line of %ld bytes; the process holds %.1f MB more than with a two-byte "
                        "file open\n",
                        megabytes, doc->GetLength(), PrivateMegabytes() - base);
        const Action* begin = options.oneLine ? kLineActions : kActions;
        const Action* end = options.oneLine ? std::end(kLineActions) : std::end(kActions);
        for (const Action* action = begin; action != end; ++action) {
            double figures[3] = {0, 0, 0};
            for (int k = 0; k < 3; ++k) {
                // Away from the text's ends, so the wheel can turn both ways and Backspace has bytes.
                long length = doc->GetLength();
                long place = k == 0 ? 4000 : k == 1 ? length / 2 : length - 4000;
                if (options.oneLine) place = k == 0 ? 40 : k == 1 ? length / 2 : length - 40;
                view->SetSelection((int)place, (int)place);
                view->SetCurrentPosition((int)place);
                figures[k] = action->measure(view, options.repeats);
            }
            std::printf("%4d MB  %-12s %10.3f %10.3f %10.3f\n", megabytes, action->name, figures[0],
                        figures[1], figures[2]);
        }
        if (options.oneLine)
            std::printf(
                "%4d MB  after the inputs the process holds %.1f MB more than with a two-byte file open\n",
                megabytes, PrivateMegabytes() - base);
        bench::Host::Close(view);
    }
    if (small != nullptr) bench::Host::Close(small);
    return 0;
}
