// Search rates on a 10 MB data file: RegFind against std::regex and PCRE2, KmpFindNoCase against
// memmem and a naive case-blind loop. Every pattern matches only in the file's last line, so each
// search reads the whole text. A summary of MB/s and ratios follows Google Benchmark's table.
#include <benchmark/benchmark.h>

#include <pthread.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "Pcre2Search.h"
#include "regex/KmpFind.h"
#include "regex/RegExp.h"

namespace {

// Numeric records with remarks, GBK headings, names and near misses of the patterns below; the
// final line is the only one holding MATERIAL, '#' or e+99.
const std::string& DataFile() {
    static const std::string text = [] {
        static const char* lines[] = {
            "   12   0.500   1.250e+03   7   ; node coordinates\n",
            "\xB5\xDA\xB6\xFE\xD5\xC2 \xBD\xDA\xB5\xE3\xD7\xF8\xB1\xEA\n",
            "  NPOIN  128  'pier A'  \"span\"  3.75\n",
            "  1  2  3  4  5  6  7  8  9  10  11  12  13  14\n",
            "  mat  3  MATER  sect  SUPPOR  ; mass and section\n",
            "END\n",
            "\t4.0\t-2.5\t0.0\tOVER\n",
        };
        std::mt19937 rng(7);
        std::string t;
        t.reserve((10u << 20) + 64);
        while (t.size() < (10u << 20)) t += lines[rng() % 7];
        t += "MATERIAL 42 7.5e+99 #END\n";
        return t;
    }();
    return text;
}

struct Pattern {
    const char* name;
    const char* regex;
};
// The same pattern text for all three engines: it means the same in each of them.
const Pattern kPatterns[] = {
    {"literal", "MATERIAL"},
    {"nocase_literal", "[Mm][Aa][Tt][Ee][Rr][Ii][Aa][Ll]"},
    {"keywords", "MATERIAL|SECTION|SUPPORT"},
    {"class_star", "[0-9][0-9]*\\.[0-9]*e\\+99"},
    {"anchored", "^[^#]*#END"},
};
const char* kKmpMiss = "Material 43";

// Runs fn on a thread with a 4 GB stack (reserved, touched only as needed): libstdc++'s std::regex
// recurses once per subject byte taken by a repetition.
void OnLargeStack(const std::function<void()>& fn) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, size_t(4) << 30);
    pthread_t thread;
    auto body = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    if (pthread_create(&thread, &attr, body, const_cast<std::function<void()>*>(&fn)) == 0)
        pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

// Every pattern matches in the last line only; the anchored one matches from the start up to it.
void Expect(benchmark::State& state, const Pattern& p, long got) {
    long lastLine = (long)DataFile().size() - 25;
    bool anchored = p.regex[0] == '^';
    bool right = anchored ? got == 0 : got >= lastLine && got < lastLine + 25;
    if (!right) state.SkipWithError(("unexpected result " + std::to_string(got)).c_str());
}

void BM_RegFind(benchmark::State& state, const Pattern& p) {
    const std::string& text = DataFile();
    CRegExp re;
    if (!re.RegComp(p.regex)) return state.SkipWithError("does not compile");
    long got = -1;
    for (auto _ : state) benchmark::DoNotOptimize(got = re.RegFind(text.c_str()));
    Expect(state, p, got);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}

void BM_StdRegex(benchmark::State& state, const Pattern& p) {
    const std::string& text = DataFile();
    std::regex re(p.regex);
    long got = -1;
    for (auto _ : state) {
        OnLargeStack([&] {
            std::cmatch m;
            got =
                std::regex_search(text.c_str(), text.c_str() + text.size(), m, re) ? (long)m.position(0) : -1;
        });
        benchmark::DoNotOptimize(got);
    }
    Expect(state, p, got);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}

void BM_Pcre2(benchmark::State& state, const Pattern& p, bool jit) {
    const std::string& text = DataFile();
    Pcre2Pattern* re = Pcre2Compile(p.regex, jit);
    if (!re) return state.SkipWithError("does not compile");
    long got = -1;
    for (auto _ : state) benchmark::DoNotOptimize(got = Pcre2Find(re, text.data(), text.size()));
    Pcre2Free(re);
    Expect(state, p, got);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}

long NaiveNoCase(const char* text, const char* pattern) {
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? (char)(c + 32) : c; };
    for (const char* t = text; *t; ++t) {
        size_t k = 0;
        while (pattern[k] && fold(t[k]) == fold(pattern[k])) ++k;
        if (!pattern[k]) return t - text;
    }
    return -1;
}

void BM_SubstringMiss(benchmark::State& state, int which) {
    const std::string& text = DataFile();
    long got = 0;
    for (auto _ : state) {
        if (which == 0)
            got = KmpFindNoCase(text.c_str(), kKmpMiss);
        else if (which == 1)
            got = memmem(text.data(), text.size(), kKmpMiss, std::strlen(kKmpMiss)) ? 0 : -1;
        else
            got = NaiveNoCase(text.c_str(), kKmpMiss);
        benchmark::DoNotOptimize(got);
    }
    if (got != -1) state.SkipWithError("the miss was found");
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}

// Console table as usual, plus the MB/s of each run kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                m_mbs[BaseName(run.benchmark_name())] = (double)DataFile().size() / (1 << 20) /
                                                        (run.real_accumulated_time / (double)run.iterations);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-16s %10s %10s %10s %10s %12s %12s\n", "pattern", "RegFind", "std::regex", "PCRE2",
                    "PCRE2-JIT", "x std::regex", "x PCRE2");
        for (const Pattern& p : kPatterns) {
            double ours = Get("RegFind/", p.name), std = Get("StdRegex/", p.name);
            double pcre = Get("Pcre2/", p.name), jit = Get("Pcre2Jit/", p.name);
            std::printf("%-16s %10.1f %10.1f %10.1f %10.1f %12.2f %12.2f\n", p.name, ours, std, pcre, jit,
                        std > 0 ? ours / std : 0.0, pcre > 0 ? ours / pcre : 0.0);
        }
        double kmp = Get("Substring/", "KmpFindNoCase"), mem = Get("Substring/", "memmem");
        double naive = Get("Substring/", "naive_nocase");
        std::printf("\nmiss of \"%s\" (MB/s): KmpFindNoCase %.1f, memmem %.1f, naive %.1f; "
                    "KMP / memmem %.2f, KMP / naive %.2f\n",
                    kKmpMiss, kmp, mem, naive, mem > 0 ? kmp / mem : 0.0, naive > 0 ? kmp / naive : 0.0);
        std::printf("(MB = 2^20 bytes; 0.0 = not run)\n");
    }

private:
    static std::string BaseName(std::string name) {
        size_t suffix = name.find("/real_time");
        return suffix == std::string::npos ? name : name.substr(0, suffix);
    }
    double Get(const std::string& engine, const char* pattern) const {
        auto it = m_mbs.find(engine + pattern);
        return it == m_mbs.end() ? 0.0 : it->second;
    }
    std::map<std::string, double> m_mbs;
};

void RegisterAll() {
    for (const Pattern& p : kPatterns) {
        benchmark::RegisterBenchmark((std::string("RegFind/") + p.name).c_str(), BM_RegFind, p)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("StdRegex/") + p.name).c_str(), BM_StdRegex, p)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (Pcre2Available()) {
            benchmark::RegisterBenchmark((std::string("Pcre2/") + p.name).c_str(), BM_Pcre2, p, false)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark((std::string("Pcre2Jit/") + p.name).c_str(), BM_Pcre2, p, true)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    const char* substring[] = {"KmpFindNoCase", "memmem", "naive_nocase"};
    for (int k = 0; k < 3; ++k)
        benchmark::RegisterBenchmark((std::string("Substring/") + substring[k]).c_str(), BM_SubstringMiss, k)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!Pcre2Available()) std::printf("PCRE2 not built in: its columns stay 0.0\n");
    RegisterAll();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
