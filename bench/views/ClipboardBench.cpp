// The clipboard and undo commands at scale, in a real editor view of a generated data file:
//   select all + copy of the whole text, and the clipboard's rendering of it for another program;
//   paste of a 50 MB clipboard text in the middle, and its undo;
//   undo and redo of a 100,000-change list record (a replace-all), checked byte for byte;
//   the memory undo records take against the bytes they hold.
// Each figure is one command to painted (UpdateWindow), in milliseconds.
// Usage: bench_clipboard [--megabytes=100] [--view=CColorEditView|CBlackEditView]
#include "BenchViews.h"

#include <psapi.h>

#include "framework/win/OleClipboard.h"
#include "undo/UndoInfo.h"

namespace {
CWinApp theApp("bench_clipboard");

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&counters, sizeof counters);
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.WorkingSetSize;
}

void PutClipboardText(HWND owner, size_t bytes) {
    std::string text = bench::DataFile((long long)bytes);
    text.resize(bytes);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes + 1);
    auto* p = (char*)::GlobalLock(block);
    std::memcpy(p, text.data(), bytes);
    p[bytes] = 0;
    ::GlobalUnlock(block);
    if (::OpenClipboard(owner)) {
        ::EmptyClipboard();
        ::SetClipboardData(CF_TEXT, block);
        ::CloseClipboard();
    }
}

// Replaces the first count hits of find by replacement as a replace-all does: one batch of edits and
// one list record. The number of hits replaced.
int ReplaceAll(CEditDocument* doc, const char* find, const char* replacement, int count) {
    auto* record = new CListUndoInfo(UNDO_REPLACE);
    size_t findLength = std::strlen(find), replacementLength = std::strlen(replacement);
    int hits = 0;
    doc->BeginBatch();
    const char* text = doc->GetTextBuffer(0);
    std::string snapshot(text, (size_t)doc->GetLength());
    long shift = 0;
    for (size_t at = snapshot.find(find); at != std::string::npos && hits < count;
         at = snapshot.find(find, at + findLength)) {
        int pos = (int)((long)at + shift);
        doc->Delete(pos, (int)findLength);
        doc->Insert(pos, replacement);
        record->Add(pos, find, replacement);
        shift += (long)replacementLength - (long)findLength;
        ++hits;
    }
    doc->EndBatch();
    doc->SetUndoInfo(record);
    return hits;
}

void ListRecordMemory() {
    const int items = 100000;
    SIZE_T before = PrivateBytes();
    auto* record = new CListUndoInfo(UNDO_REPLACE);
    for (int i = 0; i < items; ++i) record->Add(i * 10, "node", "NODE!");
    SIZE_T used = PrivateBytes() - before;
    double held = (double)items * 9;
    std::printf("list record of %d changes (4 + 5 bytes each): %.1f MB for %.1f MB held (%.2fx)\n", items,
                used / 1048576.0, held / 1048576.0, used / held);
    delete record;
}

void LargeRecordMemory() {
    std::string text = bench::DataFile(50LL << 20);
    SIZE_T before = PrivateBytes();
    auto* record = new CUndoInfo;
    record->Add(UNDO_INSERT, 0, text.c_str());
    SIZE_T used = PrivateBytes() - before;
    std::printf("one record of a %.1f MB paste: %.1f MB (%.3fx)\n", text.size() / 1048576.0, used / 1048576.0,
                (double)used / (double)text.size());
    delete record;
}
} // namespace

int main(int argc, char** argv) {
    bench::Options options(argc, argv, {100});
    AfxOleInit();
    bench::Host host(theApp, options);
    std::printf("%s, 1000 x 700 client, one command to painted (ms)\n", options.viewClass);
    for (int megabytes : options.sizes) {
        CEditScrollView* view = host.Open(megabytes, 1000, 700);
        if (view == nullptr) continue;
        CEditDocument* doc = view->GetEditDocument();
        double copy = bench::CommandMs(view, ID_EDIT_SELECTALL) + bench::CommandMs(view, ID_EDIT_COPY);
        double start = bench::Now();
        COleDataSource::FlushClipboard(); // what another program's first read costs
        double render = (bench::Now() - start) * 1e3;
        std::printf("%4d MB  select all + copy %10.1f   rendered for another program %10.1f\n", megabytes,
                    copy, render);

        PutClipboardText(view->m_hWnd, 50u << 20);
        view->SetSelection((int)doc->GetLength() / 2, (int)doc->GetLength() / 2);
        double paste = bench::CommandMs(view, ID_EDIT_PASTE);
        double undoPaste = bench::CommandMs(view, ID_EDIT_UNDO);
        std::printf("%4d MB  paste of 50 MB %10.1f   its undo %10.1f\n", megabytes, paste, undoPaste);

        std::string original = bench::DocumentText(doc);
        start = bench::Now();
        int hits = ReplaceAll(doc, "node", "NODE!", 100000);
        double replace = (bench::Now() - start) * 1e3;
        bench::Replay r = bench::UndoAndRedo(view, original, bench::DocumentText(doc));
        std::printf("%4d MB  %d-hit list record: made %.1f, undo %.1f (%s), redo %.1f (%s)\n", megabytes,
                    hits, replace, r.undoMs, r.Verdict(r.undoExact), r.redoMs, r.Verdict(r.redoExact));
        bench::Host::Close(view);
    }
    LargeRecordMemory();
    ListRecordMemory();
    return 0;
}
