// Colouring figures: scan rate over a data file, cost of one visible window, run-list memory.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "coloring/ColorScanner.h"
#include "coloring/ColorString.h"

namespace {

// The data-file vocabulary: semicolon, double-quote and apostrophe comments, chapter titles, end markers.
template <class Rules> void AddDataFileRules(Rules& rules) {
    static const char* chapters[] = {"\xB5\xDA\xD2\xBB\xD5\xC2", "\xB5\xDA\xB6\xFE\xD5\xC2",
                                     "\xB5\xDA\xC8\xFD\xD5\xC2", "\xB5\xDA\xCB\xC4\xD5\xC2",
                                     "\xB5\xDA\xCE\xE5\xD5\xC2"};
    rules.AddComment(";", "\n", 0x006F00);
    rules.AddComment("\"", "\"", 0x006F00);
    rules.AddComment("'", "'", 0x006F00);
    for (const char* chapter : chapters) rules.AddTitle(chapter, 0xE1007D);
    rules.AddTitle("Chapter", 0xE1007D);
    rules.AddTitle("CHAPTER", 0xE1007D);
    for (const char* word : {"OVER", "over", "END", "end"}) rules.AddKeyword(word, 0xFF0000);
}

// A data file of about bytes bytes: numeric records with remarks, headings, names and end markers.
std::string DataFile(size_t bytes) {
    std::mt19937 rng(7);
    static const char* lines[] = {
        "   12   0.500   1.250e+03   7   ; node coordinates\n",
        "\xB5\xDA\xB6\xFE\xD5\xC2 \xBD\xDA\xB5\xE3\xD7\xF8\xB1\xEA\n",
        "  NPOIN  128  'pier A'  \"span\"  3.75\n",
        "  1  2  3  4  5  6  7  8  9  10  11  12  13  14\n",
        "END\n",
        "Chapter 4 loads\n",
        "\t4.0\t-2.5\t0.0\tOVER\n",
    };
    std::string text;
    text.reserve(bytes + 64);
    while (text.size() < bytes) text += lines[rng() % 7];
    text += '\0';
    return text;
}

struct Buffer {
    std::string text;
    CColorRuleSet rules;
    CColorArray runs;
    CMarkerIndex markers;
    std::vector<int> lineStarts;

    explicit Buffer(std::string t) : text(std::move(t)) {
        AddDataFileRules(rules);
        lineStarts.push_back(0);
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') lineStarts.push_back((int)i + 1);
    }
    int Length() const { return (int)text.size(); }
    void Scan(int start, int end) {
        CColorScanner(text.data(), Length(), runs, rules, markers).ParseTextColor(start, end);
    }
    // The stretch a view shows: the start of line first to the end of line first + count - 1.
    void ScanWindow(int first, int count) {
        int last =
            first + count < (int)lineStarts.size() ? lineStarts[(size_t)(first + count)] - 1 : Length() - 1;
        Scan(lineStarts[(size_t)first], last);
    }
};

void BM_WholeDataFile(benchmark::State& state) {
    Buffer buffer(DataFile(10u << 20));
    for (auto _ : state) {
        buffer.markers.Invalidate(); // a whole-file pass as after a change: nothing remembered
        buffer.Scan(0, buffer.Length() - 1);
        benchmark::DoNotOptimize(buffer.runs.GetColorNumber());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * buffer.Length());
}
BENCHMARK(BM_WholeDataFile)->Unit(benchmark::kMillisecond);

// One 60-line window at a random place in a 100 MB file, as repaints ask for it once the file is open.
void WindowBench(benchmark::State& state, bool unclosedQuotes) {
    std::string text = DataFile(100u << 20);
    if (unclosedQuotes) {
        // Apostrophes and double quotes whose partner lies far away or nowhere, in every window.
        for (size_t i = 1000; i + 1 < text.size(); i += 3001) text[i] = (i / 3001) % 2 ? '\'' : '"';
    }
    static Buffer* buffer = nullptr;
    delete buffer;
    buffer = new Buffer(std::move(text));
    std::mt19937 rng(11);
    int lines = (int)buffer->lineStarts.size();
    for (int i = 0; i < 64; ++i) buffer->ScanWindow((int)(rng() % (unsigned)(lines - 60)), 60); // warm-up
    for (auto _ : state) {
        buffer->ScanWindow((int)(rng() % (unsigned)(lines - 60)), 60);
        benchmark::DoNotOptimize(buffer->runs.GetColorNumber());
    }
    delete buffer;
    buffer = nullptr;
}
void BM_Window100MB(benchmark::State& state) {
    WindowBench(state, false);
}
void BM_Window100MBUnclosedQuotes(benchmark::State& state) {
    WindowBench(state, true);
}
BENCHMARK(BM_Window100MB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Window100MBUnclosedQuotes)->Unit(benchmark::kMicrosecond);

// Windows that each hold a double quote whose partner lies 1 MB further on (and, for the last one,
// nowhere): the end-marker search must not rescan that megabyte on every repaint.
void BM_Window100MBFarQuotes(benchmark::State& state) {
    std::string text = DataFile(100u << 20);
    for (char& c : text)
        if (c == '"' || c == '\'') c = '_';
    std::vector<size_t> quotes;
    for (size_t i = 4096; i + 1 < text.size(); i += 1u << 20) text[i] = '"', quotes.push_back(i);
    Buffer* buffer = new Buffer(std::move(text));
    std::vector<int> lines;
    for (size_t q : quotes) {
        auto it = std::upper_bound(buffer->lineStarts.begin(), buffer->lineStarts.end(), (int)q);
        lines.push_back((int)(it - buffer->lineStarts.begin()) - 1);
    }
    std::mt19937 rng(5);
    for (int line : lines) buffer->ScanWindow(line, 60); // first sight of each window
    for (auto _ : state) {
        buffer->ScanWindow(lines[rng() % lines.size()], 60);
        benchmark::DoNotOptimize(buffer->runs.GetColorNumber());
    }
    delete buffer;
}
BENCHMARK(BM_Window100MBFarQuotes)->Unit(benchmark::kMicrosecond);

// A 100 MB coloured buffer of the data file with scan checkpoints on, every window seen once.
struct CheckpointedBuffer {
    CColorString buffer;
    double firstSightMs = 0;

    CheckpointedBuffer() {
        AddDataFileRules(buffer);
        std::string text = DataFile(100u << 20);
        buffer.SetBufferSize((int)text.size() + (1 << 20));
        std::memcpy(buffer.GetBuffer(), text.data(), text.size());
        buffer.SetLength((int)text.size());
        buffer.Reset(0);
        buffer.BeginUpdate(0, 0); // the document's loading bracket, left open as it leaves it
        buffer.UseScanCheckpoints(TRUE);
        auto start = std::chrono::steady_clock::now();
        RenderLines(buffer.GetLineCount() - 61);
        firstSightMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    void RenderLines(int first) {
        buffer.RenderWindow(buffer.GetLineOffset(first), buffer.GetLineEndOffset(first + 59));
    }
};

// One 60-line window at a random place, coloured as the whole-text scan colours it.
void BM_CheckpointWindow100MB(benchmark::State& state) {
    CheckpointedBuffer b;
    std::mt19937 rng(11);
    int lines = b.buffer.GetLineCount() - 61;
    for (auto _ : state) {
        b.RenderLines((int)(rng() % (unsigned)lines));
        benchmark::DoNotOptimize(b.buffer.GetColorNumber());
    }
    state.counters["first_sight_ms"] = b.firstSightMs;
    state.counters["checkpoint_bytes"] = (double)b.buffer.GetScanCheckpoints().MemoryBytes();
}
BENCHMARK(BM_CheckpointWindow100MB)->Unit(benchmark::kMicrosecond);

// A byte typed in the window, then the window coloured again: the edit and the repaint's colouring.
// Sixteen keys at each place, as a user types (the first moves the text's gap there).
void BM_CheckpointTypeInWindow100MB(benchmark::State& state) {
    CheckpointedBuffer b;
    std::mt19937 rng(13);
    int lines = b.buffer.GetLineCount() - 61;
    int first = 0, caret = 0, typed = 16;
    for (auto _ : state) {
        if (typed == 16) {
            first = (int)(rng() % (unsigned)lines);
            caret = b.buffer.GetLineOffset(first + 30) + 2;
            typed = 0;
        }
        b.buffer.Insert(caret + typed++, 'x');
        b.RenderLines(first);
        benchmark::DoNotOptimize(b.buffer.GetColorNumber());
    }
}
BENCHMARK(BM_CheckpointTypeInWindow100MB)->Unit(benchmark::kMicrosecond);

// A word typed near the top, then a window near the end coloured (as a second view of the same
// document shows it): the rescan stops where it meets the earlier scan again.
void BM_CheckpointEditFarAbove100MB(benchmark::State& state) {
    CheckpointedBuffer b;
    std::mt19937 rng(17);
    int lines = b.buffer.GetLineCount();
    for (auto _ : state) {
        b.buffer.Insert(b.buffer.GetLineOffset((int)(rng() % 1000u)), "NPOIN ");
        b.RenderLines(lines - 61 - (int)(rng() % 1000u));
        benchmark::DoNotOptimize(b.buffer.GetColorNumber());
    }
}
BENCHMARK(BM_CheckpointEditFarAbove100MB)->Unit(benchmark::kMicrosecond);

// The run list widened to one colour per byte of a 100 MB text after an edit: entries that hold memory.
void BM_RunListWidenedTo100MB(benchmark::State& state) {
    CColorArray runs;
    for (auto _ : state) {
        runs.Reset();
        for (int k = 0; k < 400; ++k) runs.AddColor(0, k * 10);
        runs.InsertAt(50 << 20, 0, 1);
        runs.SetSize((100 << 20) + 1);
        benchmark::DoNotOptimize(runs.GetSize());
    }
    state.counters["stored_entries"] = runs.GetStoredCount();
    state.counters["stored_bytes"] = runs.GetStoredCount() * 8.0;
}
BENCHMARK(BM_RunListWidenedTo100MB);

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Peak memory of a 100 MB coloured buffer (data-file rules, one window coloured) after one typed byte
// and one pasted word, relative to the text size. Run it on its own (--benchmark_filter=PeakMemory):
// the figure is the process's peak above what it held before the buffer was made.
void BM_PeakMemory100MBAfterOneInsert(benchmark::State& state) {
    long before = PeakResidentKiB();
    int textSize = 1;
    for (auto _ : state) {
        std::unique_ptr<CColorString> buffer(new CColorString(1));
        AddDataFileRules(*buffer);
        std::string chunk = DataFile(1u << 20);
        chunk.pop_back();
        buffer->SetBufferSize((100 << 20) + (2 << 20));
        int length = 0;
        for (int k = 0; k < 100; ++k, length += (int)chunk.size())
            std::memcpy(buffer->GetBuffer() + length, chunk.data(), chunk.size());
        buffer->SetLength(length + 1); // the documents' zero byte
        buffer->Reset(0);
        textSize = buffer->GetLength();
        buffer->ParseTextColor(buffer->GetLineOffset(1000), buffer->GetLineEndOffset(1060));
        buffer->Insert(textSize / 2, 'x');
        buffer->Insert(textSize / 3, "NPOIN");
        benchmark::DoNotOptimize(buffer->GetColorArray().GetSize());
    }
    state.counters["peak_over_text"] = (double)(PeakResidentKiB() - before) * 1024.0 / textSize;
}
BENCHMARK(BM_PeakMemory100MBAfterOneInsert)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
