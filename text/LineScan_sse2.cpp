// Line scan for x86-64: sixteen bytes per step, line feeds and tabs found by SSE2 byte compares.
#include <emmintrin.h>

#include "text/LineScan.h"
#include "text/LineScanBatch.h"

namespace {
// Bits [0, b) of a 16-bit mask.
unsigned Below(int b) {
    return (1u << b) - 1;
}
// Set bits of a mask; tabs are sparse, so clearing them one by one beats a library popcount call
// (x86-64's baseline has no popcount instruction).
int Bits(unsigned mask) {
    int n = 0;
    for (; mask != 0; mask &= mask - 1) ++n;
    return n;
}
} // namespace

LineScanResult ScanLineStarts(const char* text, int from, int to, int tabSize, CIntArray& starts, int& width,
                              int& widest) {
    LineScanResult result = {0, true};
    if (text == nullptr || from >= to) return result;
    StartBatch batch(starts);
    int initial = starts.GetSize();
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8('\t');
    int i = from;
    for (; i + 16 <= to && result.complete; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        unsigned lfs = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf));
        unsigned tabs = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, tab));
        int cur = 0;
        while (lfs != 0) {
            int b = __builtin_ctz(lfs);
            width += (b - cur) + (tabSize - 1) * Bits(tabs & Below(b));
            if (widest < width) widest = width;
            width = 0;
            tabs &= ~Below(b + 1);
            cur = b + 1;
            lfs &= lfs - 1;
            if (!batch.Add(i + b + 1)) {
                result.complete = false;
                break;
            }
        }
        width += (16 - cur) + (tabSize - 1) * Bits(tabs);
    }
    for (; i < to && result.complete; ++i) {
        if (text[i] == '\n') {
            if (widest < width) widest = width;
            width = 0;
            result.complete = batch.Add(i + 1);
        } else {
            width += text[i] == '\t' ? tabSize : 1;
        }
    }
    if (result.complete && !batch.Flush()) result.complete = false;
    result.lineFeeds = starts.GetSize() - initial;
    return result;
}

bool ScanLineWidths(const char* text, int base, int count, int tabSize, int& width, LineSink& sink) {
    LineBatch batch;
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8('\t');
    auto add = [&](int at) {
        batch.starts[batch.n] = base + at + 1;
        batch.widths[batch.n++] = width;
        width = 0;
        if (batch.n < LineBatch::kSize) return true;
        bool taken = sink.Take(batch);
        batch.n = 0;
        return taken;
    };
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        unsigned lfs = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf));
        unsigned tabs = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, tab));
        int cur = 0;
        for (; lfs != 0; lfs &= lfs - 1) {
            int b = __builtin_ctz(lfs);
            width += (b - cur) + (tabSize - 1) * Bits(tabs & Below(b));
            tabs &= ~Below(b + 1);
            cur = b + 1;
            if (!add(i + b)) return false;
        }
        width += (16 - cur) + (tabSize - 1) * Bits(tabs);
    }
    for (; i < count; ++i) {
        if (text[i] == '\n') {
            if (!add(i)) return false;
        } else {
            width += text[i] == '\t' ? tabSize : 1;
        }
    }
    return batch.n == 0 || sink.Take(batch);
}
