// Undo figures: recording 100,000 typed characters (a record each, or merged into runs held in
// one text block per record), undoing and redoing a replace-all record of 100,000 items, and a 1 MB
// typing session through the typing path with and without deep history (grouped into words).
// Time is the recording pass (or one undo plus one redo) alone; the heap figure is what the
// history holds per character once every record is kept.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "undo/Undo.h"

namespace {

const int kCharacters = 100000;
const int kItems = 100000;

// A document whose text operations only count what they are asked to do, so the figures are the
// manager's and the records' own cost, not a buffer's.
class CountingDocument : public CUndo {
public:
    explicit CountingDocument(long depth) : CUndo(depth, 65536) {}
    virtual ~CountingDocument() = default;

    void Serialize(CArchive&) override {}
    void DeleteContents() override {}
    void Insert(int, const char* text) override {
        inserted += (long long)std::char_traits<char>::length(text);
    }
    void Delete(int, int count) override { deleted += count; }
    void ScrollToCurrent(int pos) override { caret = pos; }

    long long inserted = 0;
    long long deleted = 0;
    int caret = -1;
};

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Types kCharacters characters, runLength at a time: a run of 1 is a typed character's record
// (Add(pos, ch)), a longer run one insertion record holding the whole run in its text block.
// range(1) is the undo depth: 25 as in the documents, or enough to keep every record.
void BM_RecordTyping(benchmark::State& state) {
    const int runLength = (int)state.range(0);
    const long depth = (long)state.range(1);
    const std::string run(runLength, 'q');
    double seconds = 0;
    size_t heldBytes = 0;
    for (auto _ : state) {
        size_t heapBefore = HeapInUse();
        CountingDocument* doc = new CountingDocument(depth);
        auto t0 = std::chrono::steady_clock::now();
        for (int pos = 0; pos < kCharacters; pos += runLength) {
            CUndoInfo* info = new CUndoInfo;
            if (runLength == 1)
                info->Add(pos, 'q');
            else
                info->Add(UNDO_INSERT, pos, run.c_str());
            doc->SetUndoInfo(info);
        }
        double pass = Seconds(t0);
        seconds += pass;
        state.SetIterationTime(pass);
        heldBytes = HeapInUse() - heapBefore;
        benchmark::DoNotOptimize(doc->CanUndo());
        delete doc;
    }
    double iterations = (double)state.iterations();
    state.counters["ns_per_char"] = seconds * 1e9 / iterations / kCharacters;
    state.counters["records"] = (kCharacters + runLength - 1) / runLength;
    state.counters["held_bytes_per_char"] = (double)heldBytes / kCharacters;
}

// A replace-all of "ab" by "xyz" with kItems hits, each hit three bytes past the previous one.
CListUndoInfo* ReplaceAllRecord() {
    CListUndoInfo* list = new CListUndoInfo(UNDO_REPLACE);
    for (int i = 0; i < kItems; ++i) list->Add(i * 4, "ab", "xyz");
    return list;
}

void BM_ListRecordUndoRedo(benchmark::State& state) {
    CountingDocument doc(25);
    auto t0 = std::chrono::steady_clock::now();
    doc.SetUndoInfo(ReplaceAllRecord());
    double buildSeconds = Seconds(t0);
    double undoSeconds = 0;
    double redoSeconds = 0;
    for (auto _ : state) {
        auto t1 = std::chrono::steady_clock::now();
        int undoCaret = doc.Undo();
        undoSeconds += Seconds(t1);
        auto t2 = std::chrono::steady_clock::now();
        int redoCaret = doc.Redo();
        redoSeconds += Seconds(t2);
        state.SetIterationTime(Seconds(t1));
        benchmark::DoNotOptimize(undoCaret + redoCaret);
    }
    // Every pass must have replayed every item: 2 bytes and 3 bytes each way per item.
    if (doc.inserted != 5LL * kItems * (long long)state.iterations() || doc.caret != (kItems - 1) * 4 + 3)
        state.SkipWithError("the replay did not cover every item");
    double iterations = (double)state.iterations();
    state.counters["items"] = kItems;
    state.counters["record_ns_per_item"] = buildSeconds * 1e9 / kItems;
    state.counters["undo_ns_per_item"] = undoSeconds * 1e9 / iterations / kItems;
    state.counters["redo_ns_per_item"] = redoSeconds * 1e9 / iterations / kItems;
    state.counters["undo_ms"] = undoSeconds * 1e3 / iterations;
    state.counters["redo_ms"] = redoSeconds * 1e3 / iterations;
}

// Types 1 MB of six-byte words ("abcde ") a character at a time through the typing path, 10 ms
// apart; range(0) is 1 for deep history, 0 for the documents' 26 steps. Then every step is undone
// and redone once.
void BM_TypingSession(benchmark::State& state) {
    const int kTyped = 1 << 20;
    const bool deep = state.range(0) != 0;
    double typeSeconds = 0, undoSeconds = 0, redoSeconds = 0;
    size_t heldBytes = 0;
    int steps = 0;
    for (auto _ : state) {
        size_t heapBefore = HeapInUse();
        CountingDocument* doc = new CountingDocument(25);
        doc->SetDeepHistory(deep ? TRUE : FALSE);
        auto t0 = std::chrono::steady_clock::now();
        for (int pos = 0; pos < kTyped; ++pos) {
            CUndoInfo* info = new CUndoInfo;
            info->Add(pos, pos % 6 == 5 ? ' ' : 'a' + pos % 6);
            doc->SetTypedUndoInfo(info, (unsigned long)pos * 10);
        }
        typeSeconds += Seconds(t0);
        state.SetIterationTime(Seconds(t0));
        heldBytes = HeapInUse() - heapBefore;
        auto t1 = std::chrono::steady_clock::now();
        for (steps = 0; doc->Undo() != -1; ++steps) {
        }
        undoSeconds += Seconds(t1);
        auto t2 = std::chrono::steady_clock::now();
        while (doc->Redo() != -1) {
        }
        redoSeconds += Seconds(t2);
        delete doc;
    }
    double iterations = (double)state.iterations();
    state.counters["steps"] = steps;
    state.counters["type_ns_per_char"] = typeSeconds * 1e9 / iterations / kTyped;
    state.counters["held_MB"] = (double)heldBytes / (1 << 20);
    state.counters["held_bytes_per_step"] = (double)heldBytes / std::max(steps, 1);
    state.counters["undo_all_ms"] = undoSeconds * 1e3 / iterations;
    state.counters["redo_all_ms"] = redoSeconds * 1e3 / iterations;
}

} // namespace

BENCHMARK(BM_TypingSession)
    ->ArgNames({"deep"})
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordTyping)
    ->ArgNames({"run", "depth"})
    ->Args({1, 25})
    ->Args({1, kCharacters})
    ->Args({31, kCharacters})
    ->Args({1000, kCharacters})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListRecordUndoRedo)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
