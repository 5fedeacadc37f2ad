// Editing at scale: the edit sequences a document and view perform (typing at one place, edits at
// random places, replace runs front to back, replace-all, loading) on 1, 10 and 100 MB data texts,
// for CBlackString and CColorString, against the literal contiguous buffer, with the memchr and
// memmove bounds beside them. Prints one table; every figure is the best of a few repetitions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "coloring/ColorString.h"
#include "tests/text/LiteralBuffer.h"
#include "text/BlackString.h"
#include "text/LineIndex.h"

namespace {
const int kMB = 1 << 20;
const int kHitsPerMB = 1000; // 100,000 hits in 100 MB
int g_repeats = 3;

// Short numeric records, tab-separated rows, now and then a GBK title; every line whose number is a
// multiple of the hit spacing carries the marker MARK. Ends with the documents' zero byte.
std::string DataText(int bytes) {
    static const char* const lines[] = {
        "   12   0.500   1.250e+03   7\n",
        "\t4.0\t-2.5\t0.0\n",
        "  NPOIN  128  3.75\n",
        "  1  2  3  4  5  6  7  8\n",
        "END\n",
    };
    std::mt19937 rng(11);
    std::string s;
    s.reserve((size_t)bytes + 64);
    int spacing = kMB / kHitsPerMB;
    int nextHit = spacing / 2;
    for (int n = 0; (int)s.size() < bytes - 40; ++n) {
        if ((int)s.size() >= nextHit) {
            s += "  MARK 9\n";
            nextHit += spacing;
        } else {
            s += (n % 997 == 0) ? "\xb5\xda\xb6\xfe\xd5\xc2 \xbd\xda\xb5\xe3\n" : lines[rng() % 5];
        }
    }
    s += '\0';
    return s;
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Best time of g_repeats runs of body (each gets a fresh setup).
double Best(const std::function<void()>& setup, const std::function<void()>& body) {
    double best = 1e30;
    for (int r = 0; r < g_repeats; ++r) {
        setup();
        double t0 = Now();
        body();
        best = std::min(best, Now() - t0);
    }
    return best;
}

// The figures a document and view read after every edit.
template <class B> void AfterEdit(B& b, int pos) {
    b.Reset(0);
    benchmark::DoNotOptimize(b.GetTotalWidth());
    int line = b.OffsetToLine(pos);
    benchmark::DoNotOptimize(b.GetLineCount());
    benchmark::DoNotOptimize(b.GetLineOffset(line));
}
void AfterEdit(LiteralBuffer& b, int pos) {
    b.Reset();
    benchmark::DoNotOptimize(b.widest + b.height);
    int line = b.OffsetToLine(pos);
    benchmark::DoNotOptimize(b.lineCount + b.Entry(line));
}

template <class B> void Load(B& b, const std::string& text) {
    b.ClearContents();
    b.SetBufferSize((int)text.size() + 65536);
    std::memcpy(b.GetBuffer(), text.data(), text.size());
    b.SetLength((int)text.size());
    b.Reset(0);
}
void Load(LiteralBuffer& b, const std::string& text) {
    b = LiteralBuffer();
    b.SetBufferSize((int)text.size() + 65536);
    std::memcpy(b.block.data(), text.data(), text.size());
    b.length = (int)text.size();
    b.Reset();
}

// The edit sequences, each returning the number of edits it made.
template <class B> int Typing(B& b, int at, int count) {
    for (int k = 0; k < count; ++k) {
        if (k % 50 == 49)
            b.Return(at + k);
        else
            b.Insert(at + k, (char)('a' + k % 26));
        AfterEdit(b, at + k);
    }
    return count;
}

template <class B> int RandomEdits(B& b, const std::vector<int>& positions) {
    int k = 0;
    for (int pos : positions) {
        switch (k++ % 4) {
        case 0:
            b.Insert(pos, 'x');
            break;
        case 1:
            b.Return(pos);
            break;
        case 2:
            b.Delete(pos, 1);
            break;
        default:
            b.Replace(pos, 1, "yz");
            break;
        }
        AfterEdit(b, pos);
    }
    return k;
}

// Replacements front to back, delete 3 bytes and insert 5, as the views' replace-all does hit by hit.
template <class B> int ReplaceRun(B& b, int hits, int spacing, int limit) {
    int done = 0;
    for (int k = 0; k < hits && done < limit; ++k, ++done) {
        int pos = spacing / 2 + k * (spacing + 2);
        b.Replace(pos, 3, "abcde");
        AfterEdit(b, pos);
    }
    return done;
}

std::vector<int> RandomPositions(int length, int count) {
    std::mt19937 rng(5);
    std::vector<int> p((size_t)count);
    for (int& x : p) x = (int)(rng() % (unsigned)(length - 8));
    return p;
}

struct Row {
    std::string what;
    double fast;      // seconds per operation
    double reference; // seconds per operation, literal buffer
    double bound;     // seconds per operation of the bound, 0 when none
    const char* boundName;
};
std::vector<Row> g_rows;

void Print(const Row& r) {
    if (r.reference > 0)
        std::printf("%-44s %12.3f %14.3f %9.0fx", r.what.c_str(), r.fast * 1e6, r.reference * 1e6,
                    r.reference / r.fast);
    else // no literal run
        std::printf("%-44s %12.3f %14s %10s", r.what.c_str(), r.fast * 1e6, "-", "-");
    if (r.bound > 0)
        std::printf(" %12.3f %-8s %6.2f\n", r.bound * 1e6, r.boundName, r.fast / r.bound);
    else
        std::printf("\n");
    std::fflush(stdout);
}

void Add(Row r) {
    Print(r);
    g_rows.push_back(r);
}

// memmove of the bytes behind each position by one byte, in a plain block of the same size.
double MemmoveBound(const std::string& text, const std::vector<int>& positions) {
    std::vector<char> block(text.begin(), text.end());
    block.resize(block.size() + 16);
    size_t n = text.size();
    return Best([] {},
                [&] {
                    for (int pos : positions) {
                        std::memmove(block.data() + pos + 1, block.data() + pos, n - (size_t)pos);
                        benchmark::ClobberMemory();
                    }
                }) /
           (double)positions.size();
}

// The gap-move bound: a gap buffer moves the bytes between the previous and the new edit position,
// here as one memmove of that many bytes in a plain block of the same size.
double GapMoveBound(const std::string& text, const std::vector<int>& positions) {
    std::vector<char> block(text.begin(), text.end());
    block.resize(block.size() + 16);
    return Best([] {},
                [&] {
                    int previous = (int)text.size() / 2;
                    for (int pos : positions) {
                        int from = std::min(previous, pos), count = std::abs(pos - previous);
                        std::memmove(block.data() + from + 1, block.data() + from, (size_t)count);
                        benchmark::ClobberMemory();
                        previous = pos;
                    }
                }) /
           (double)positions.size();
}

double MemchrBound(const std::string& text) {
    return Best([] {},
                [&] {
                    const char* p = text.data();
                    const char* end = p + text.size();
                    int n = 0;
                    while ((p = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)))) !=
                           nullptr) {
                        ++n;
                        ++p;
                    }
                    benchmark::DoNotOptimize(n);
                });
}

// Typing once the caret is there: the first key, which brings the gap from the end of the loaded
// text to the middle, is timed on its own (firstKey).
template <class B> double TimeTyping(const std::string& text, int count, double* firstKey = nullptr) {
    B b;
    int at = (int)text.size() / 2;
    if (firstKey != nullptr) *firstKey = Best([&] { Load(b, text); }, [&] { Typing(b, at, 1); });
    return Best(
               [&] {
                   Load(b, text);
                   Typing(b, at, 1);
               },
               [&] { Typing(b, at + 1, count); }) /
           count;
}

template <class B> double TimeRandom(const std::string& text, const std::vector<int>& positions) {
    B b;
    return Best([&] { Load(b, text); }, [&] { RandomEdits(b, positions); }) / (double)positions.size();
}

template <class B> double TimeReplaceRun(const std::string& text, int hits, int limit) {
    B b;
    int done = 0;
    double t = Best([&] { Load(b, text); }, [&] { done = ReplaceRun(b, hits, kMB / kHitsPerMB, limit); });
    return t / done;
}

// Line of a position at random places, after scattered edits left the line index with a gap and a
// pending shift, as a view's clicks and paints ask it; the bound is a binary search of a plain array
// of the same line starts.
template <class B> double TimeLineOf(const std::string& text, const std::vector<int>& edits) {
    B b;
    std::vector<int> probes = RandomPositions((int)text.size() - 64, 1000000);
    return Best(
               [&] {
                   Load(b, text);
                   RandomEdits(b, edits);
               },
               [&] {
                   long long sum = 0;
                   for (int pos : probes) sum += b.OffsetToLine(pos);
                   benchmark::DoNotOptimize(sum);
               }) /
           (double)probes.size();
}

double LineOfBound(const std::string& text) {
    std::vector<int> starts = {0};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') starts.push_back((int)i + 1);
    std::vector<int> probes = RandomPositions((int)text.size() - 64, 1000000);
    return Best([] {},
                [&] {
                    long long sum = 0;
                    for (int pos : probes)
                        sum += std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin() - 1;
                    benchmark::DoNotOptimize(sum);
                }) /
           (double)probes.size();
}

// Replace-all of hits markers, then the view's rebuild; seconds for the whole command.
template <class B> double TimeFindReplace(const std::string& text, bool noCase, int expected) {
    B b;
    int count = 0;
    double t = Best([&] { Load(b, text); },
                    [&] {
                        count = noCase ? b.FindReplaceNoCase("mark", "mark_x", 1)
                                       : b.FindReplace("MARK", "MARK_X", 1);
                        AfterEdit(b, 0);
                    });
    if (count != expected) std::printf("!! %d replacements, expected %d\n", count, expected);
    return t;
}

// The literal buffer's replace-all is quadratic: its first few hits are timed, each costing a
// search to the end and a move of the tail; over the whole run both average half the text.
double LiteralFindReplace(const std::string& text, int hits) {
    LiteralBuffer b;
    int sample = std::min(hits, 20);
    double t = Best([&] { Load(b, text); },
                    [&] {
                        // The first sample hits: a text cut after them has the same cost per hit.
                        for (int k = 0; k < sample; ++k) {
                            int p = b.Find("MARK", 0);
                            b.StrReplace(p, 4, "MARK_X");
                            benchmark::DoNotOptimize(p);
                        }
                    });
    double perHit = t / sample;
    return perHit * hits * (hits > sample ? 0.5 : 1.0) + Best([&] {}, [&] { b.Reset(); });
}

// The line index's own memory, in bytes a line, once built and after 100,000 edits scattered over
// the whole text (inserted bytes, line feeds, deletions, replacements; made front to back, so that
// the text's gap moves little and the run stays short).
void IndexMemory(const std::string& text, const std::string& tag) {
    CStringEx s;
    s.SetBufferSize((int)text.size() + 65536);
    std::memcpy(s.GetBuffer(), text.data(), text.size());
    s.SetLength((int)text.size());
    CLineIndex index;
    if (!index.Build(s, 4)) return;
    double builtBytes = (double)index.HeldBytes(), built = builtBytes / index.Count();
    std::vector<int> positions = RandomPositions((int)text.size() - 64, 100000);
    std::sort(positions.begin(), positions.end());
    int k = 0, shift = 0;
    for (int pos : positions) {
        int at = pos + shift;
        int removed = 0, inserted = 1;
        switch (k++ % 4) {
        case 0:
            s.Insert(at, 'x');
            break;
        case 1:
            s.Insert(at, '\n');
            break;
        case 2:
            s.Delete(at, 1), removed = 1, inserted = 0;
            break;
        default:
            s.Replace(at, 1, "yz"), removed = 1, inserted = 2;
            break;
        }
        shift += inserted - removed;
        if (!index.Apply(s, at, removed, inserted, 4) && !index.Build(s, 4)) return;
        s.ClearJournal();
    }
    std::printf("%-44s %12.2f bytes a line built, %.2f after 100,000 scattered edits (%.3f / %.3f x text)\n",
                (tag + "line index memory").c_str(), built, (double)index.HeldBytes() / index.Count(),
                builtBytes / (double)text.size(), (double)index.HeldBytes() / (double)s.GetTextSize());
}

void RunSize(int mb) {
    std::string text = DataText(mb * kMB);
    int hits = 0;
    for (size_t at = text.find("MARK"); at != std::string::npos; at = text.find("MARK", at + 4)) ++hits;
    std::printf("\n--- %d MB text, %d lines, %d markers ---\n", mb,
                (int)std::count(text.begin(), text.end(), '\n'), hits);
    double memchrBound = MemchrBound(text);
    int literalOps = mb >= 100 ? 4 : mb >= 10 ? 12 : 60;
    std::string tag = std::to_string(mb) + " MB ";

    // Loading: 1024-byte chunks extend the table as the plain document reads a file.
    {
        CBlackString b;
        double load = Best(
            [&] {
                b.ClearContents();
                b.SetBufferSize((int)text.size() + 65536);
            },
            [&] {
                long start = 0, end = 0;
                int width = 0;
                for (size_t at = 0; at < text.size(); at += 1024) {
                    size_t n = std::min<size_t>(1024, text.size() - at);
                    std::memcpy(b.GetBuffer() + at, text.data() + at, n);
                    end = (long)(at + n);
                    b.CalcTextSize(start, end, width);
                }
            });
        LiteralBuffer r;
        double literalLoad = Best(
            [&] {
                r = LiteralBuffer();
                r.SetBufferSize((int)text.size() + 65536);
            },
            [&] {
                std::memcpy(r.block.data(), text.data(), text.size());
                r.length = (int)text.size();
                r.Reset();
            });
        Add({tag + "load (chunked CalcTextSize)", load, literalLoad, memchrBound, "memchr"});
        // What the loader cannot avoid: the file's bytes landing in a new block, page by page.
        double fresh = Best([] {},
                            [&] {
                                std::vector<char>* block = new std::vector<char>();
                                block->reserve(text.size());
                                for (size_t at = 0; at < text.size(); at += 1024)
                                    block->insert(block->end(), text.begin() + (long)at,
                                                  text.begin() + (long)std::min(text.size(), at + 1024));
                                benchmark::DoNotOptimize(block->data());
                                delete block;
                            });
        std::printf("%-44s %12.3f us\n", (tag + "bound: 1 KiB chunks copied into a new block").c_str(),
                    fresh * 1e6);
        // The first Reset after a chunked load builds the line index in new memory.
        double first = Best(
            [&] {
                b.ClearContents();
                b.SetBufferSize((int)text.size() + 65536);
                std::memcpy(b.GetBuffer(), text.data(), text.size());
                long start = 0, end = (long)text.size();
                int width = 0;
                b.CalcTextSize(start, end, width);
            },
            [&] { b.Reset(0); });
        Add({tag + "first Reset after a chunked load", first, literalLoad, memchrBound, "memchr"});
        // A later full rebuild (the text changed behind the table's back) reuses the index memory.
        CBlackString c;
        double again = Best(
            [&] {
                Load(c, text);
                c.SetLength(c.GetTextSize());
            },
            [&] { c.Reset(0); });
        Add({tag + "full rebuild, index memory kept", again, literalLoad, memchrBound, "memchr"});
    }

    std::vector<int> positions = RandomPositions((int)text.size(), 400);
    std::vector<int> few(positions.begin(), positions.begin() + literalOps);
    double moveBound = MemmoveBound(text, positions);
    {
        std::vector<char> block(text.begin(), text.end());
        block.resize(block.size() + 16);
        size_t half = text.size() / 2;
        double halfMove =
            Best([] {},
                 [&] {
                     std::memmove(block.data() + half + 1, block.data() + half, text.size() - half);
                     benchmark::ClobberMemory();
                 });
        std::printf("%-44s %12.3f us (memchr pass %.3f us)\n",
                    (tag + "bound: memmove of the second half").c_str(), halfMove * 1e6, memchrBound * 1e6);
    }

    IndexMemory(text, tag);

    int typed = 20000;
    double literalTyping = TimeTyping<LiteralBuffer>(text, literalOps);
    double firstKey = 0;
    Add({tag + "typing at one place (CBlackString)", TimeTyping<CBlackString>(text, typed, &firstKey),
         literalTyping, 0, ""});
    std::printf("%-44s %12.3f us\n", (tag + "first key in the middle (CBlackString)").c_str(),
                firstKey * 1e6);
    Add({tag + "typing at one place (CColorString)", TimeTyping<CColorString>(text, typed), literalTyping, 0,
         ""});

    double gapBound = GapMoveBound(text, positions);
    std::printf("%-44s %12.3f us per edit\n", (tag + "bound: gap moves between the edit positions").c_str(),
                gapBound * 1e6);
    double literalRandom = TimeRandom<LiteralBuffer>(text, few);
    Add({tag + "edit at a random place (CBlackString)", TimeRandom<CBlackString>(text, positions),
         literalRandom, moveBound, "memmove"});
    Add({tag + "edit at a random place (CColorString)", TimeRandom<CColorString>(text, positions),
         literalRandom, moveBound, "memmove"});
    std::printf("%-44s x gap-move bound: %.2f (CBlackString), %.2f (CColorString)\n",
                (tag + "edit at a random place").c_str(), g_rows[g_rows.size() - 2].fast / gapBound,
                g_rows.back().fast / gapBound);

    double lineOfBound = LineOfBound(text);
    std::vector<int> scattered(positions.begin(), positions.begin() + 100);
    Add({tag + "line of a position (CBlackString)", TimeLineOf<CBlackString>(text, scattered), 0, lineOfBound,
         "array"});
    Add({tag + "line of a position (CColorString)", TimeLineOf<CColorString>(text, scattered), 0, lineOfBound,
         "array"});

    // Replacements every 1000 bytes: 100,000 in 100 MB.
    int run = mb * 1000;
    double literalRun = TimeReplaceRun<LiteralBuffer>(text, run, literalOps);
    double blackRun = TimeReplaceRun<CBlackString>(text, run, run);
    double colorRun = TimeReplaceRun<CColorString>(text, run, run);
    Add({tag + "Replace run, per hit (CBlackString)", blackRun, literalRun, 0, ""});
    Add({tag + "Replace run, per hit (CColorString)", colorRun, literalRun, 0, ""});
    std::printf("%-44s %12.3f ms (CColorString %.3f ms) for %d replacements\n",
                (tag + "Replace run, whole (CBlackString)").c_str(), blackRun * run * 1e3,
                colorRun * run * 1e3, run);

    double literalAll = LiteralFindReplace(text, hits);
    Add({tag + "FindReplace all, whole command (CBlackString)",
         TimeFindReplace<CBlackString>(text, false, hits), literalAll, memchrBound, "memchr"});
    Add({tag + "FindReplaceNoCase all, whole (CBlackString)", TimeFindReplace<CBlackString>(text, true, hits),
         literalAll, memchrBound, "memchr"});
    Add({tag + "FindReplace all, whole command (CColorString)",
         TimeFindReplace<CColorString>(text, false, hits), literalAll, memchrBound, "memchr"});
}
} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {1, 10, 100};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--repeats=", 10) == 0) g_repeats = std::max(1, std::atoi(argv[i] + 10));
        if (std::strncmp(argv[i], "--sizes=", 8) == 0) {
            sizes.clear();
            for (const char* p = argv[i] + 8; *p; ++p)
                if (std::atoi(p) > 0) {
                    sizes.push_back(std::atoi(p));
                    while (p[1] && p[1] != ',') ++p;
                }
        }
    }
    std::printf("Times in microseconds per operation (whole command for replace-all); best of %d runs.\n",
                g_repeats);
    std::printf("%-44s %12s %14s %10s %12s %-8s %6s\n", "sequence", "fast us", "literal us", "speed-up",
                "bound us", "bound", "x bound");
    for (int mb : sizes) RunSize(mb);
    return 0;
}
