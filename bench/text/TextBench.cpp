// Text storage figures on a ~100 MB data file: chunked load, a full Reset, an unchanged Reset,
// OffsetToLine and a missing FindNoCase, each with its ratio to a memchr pass counting line feeds.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "text/BlackString.h"

namespace {
const size_t kBytes = 100u << 20;

// Short numeric records, tab-separated rows and now and then a GBK title, plus the zero byte.
const std::string& DataFile() {
    static const std::string text = [] {
        static const char* const lines[] = {
            "   12   0.500   1.250e+03   7\n",
            "\t4.0\t-2.5\t0.0\n",
            "  NPOIN  128  3.75\n",
            "  1  2  3  4  5  6  7  8\n",
            "END\n",
        };
        std::mt19937 rng(11);
        std::string s;
        s.reserve(kBytes + 64);
        for (int n = 0; s.size() < kBytes; ++n)
            s += (n % 997 == 0) ? "\xb5\xda\xb6\xfe\xd5\xc2 \xbd\xda\xb5\xe3\n" : lines[rng() % 5];
        s += '\0';
        return s;
    }();
    return text;
}

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

int CountLineFeeds(const char* p, const char* end) {
    int n = 0;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)))) != nullptr) {
        ++n;
        ++p;
    }
    return n;
}

// Seconds per memchr pass over the data file: the best of five, measured in this run.
double BoundSeconds() {
    static const double bound = [] {
        const std::string& text = DataFile();
        double best = 1e9;
        for (int k = 0; k < 5; ++k) {
            auto t0 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(CountLineFeeds(text.data(), text.data() + text.size()));
            best = std::min(best, Seconds(t0));
        }
        return best;
    }();
    return bound;
}

// A buffer holding the data file, rebuilt once.
CBlackString& LoadedBuffer() {
    static CBlackString* buffer = [] {
        CBlackString* b = new CBlackString;
        b->CStringEx::Insert(0, DataFile().c_str());
        b->SetLength(b->GetTextSize() + 1); // the zero byte that follows the text
        b->Reset();
        return b;
    }();
    return *buffer;
}

void Report(benchmark::State& state, double seconds, size_t bytes) {
    double perPass = seconds / (double)state.iterations();
    state.SetBytesProcessed((int64_t)(bytes * state.iterations()));
    state.counters["x_memchr"] = perPass / BoundSeconds();
    state.counters["bound_MB/s"] = (double)bytes / BoundSeconds() / 1e6;
}

void BM_MemchrLineFeeds(benchmark::State& state) {
    const std::string& text = DataFile();
    auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) benchmark::DoNotOptimize(CountLineFeeds(text.data(), text.data() + text.size()));
    Report(state, Seconds(t0), text.size());
}

// 1024-byte chunks land in the block and extend the table, as the plain document reads a file.
void BM_ChunkedLoad(benchmark::State& state) {
    const std::string& text = DataFile();
    CStringEx block;
    block.SetBufferSize((int)text.size() + 65536);
    std::memcpy(block.GetBuffer(), text.data(), text.size());
    double seconds = 0;
    for (auto _ : state) {
        CLineTable table;
        auto t0 = std::chrono::steady_clock::now();
        long start = 0, end = 0;
        int width = 0;
        for (size_t at = 0; at < text.size(); at += 1024) {
            end = (long)std::min(text.size(), at + 1024);
            table.CalcTextSize(block, start, end, width);
        }
        seconds += Seconds(t0);
        benchmark::DoNotOptimize(table.GetLineCount());
    }
    Report(state, seconds, text.size());
}

// A full rebuild: setting the length tells the table the text may have changed behind its back.
void BM_Reset(benchmark::State& state) {
    CBlackString& b = LoadedBuffer();
    auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        b.SetLength(b.GetTextSize());
        b.Reset();
        benchmark::DoNotOptimize(b.GetLineCount());
    }
    Report(state, Seconds(t0), (size_t)b.GetLength());
}

// The documents' Reset after every edit when nothing changed since the last one.
void BM_ResetUnchanged(benchmark::State& state) {
    CBlackString& b = LoadedBuffer();
    for (auto _ : state) {
        b.Reset();
        benchmark::DoNotOptimize(b.GetLineCount());
    }
}

void BM_OffsetToLine(benchmark::State& state) {
    CBlackString& b = LoadedBuffer();
    std::mt19937 rng(3);
    std::vector<int> positions(1000000);
    for (int& p : positions) p = (int)(rng() % (unsigned)b.GetLength());
    auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        long long sum = 0;
        for (int p : positions) sum += b.OffsetToLine(p);
        benchmark::DoNotOptimize(sum);
    }
    double calls = (double)positions.size() * (double)state.iterations();
    state.SetItemsProcessed((int64_t)calls);
    state.counters["ns_per_call"] = Seconds(t0) * 1e9 / calls;
    state.counters["lines"] = b.GetLineCount();
}

void BM_FindNoCaseMiss(benchmark::State& state) {
    CBlackString& b = LoadedBuffer();
    auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) benchmark::DoNotOptimize(b.FindNoCase("Missing Word"));
    Report(state, Seconds(t0), (size_t)b.GetLength());
}
} // namespace

BENCHMARK(BM_MemchrLineFeeds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChunkedLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResetUnchanged);
BENCHMARK(BM_OffsetToLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNoCaseMiss)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
