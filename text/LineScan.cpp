// Line scan: memchr finds each line feed and each tab, so the pass runs at library search speed.
#include "text/LineScan.h"

#include "text/LineScanBatch.h"

#include <cstring>

namespace {
// Tabs in [p, end): each one widens the line by tabSize - 1 beyond its own cell.
int CountTabs(const char* p, const char* end) {
    int tabs = 0;
    while (p < end) {
        const char* t = static_cast<const char*>(std::memchr(p, '\t', (size_t)(end - p)));
        if (t == nullptr) break;
        ++tabs;
        p = t + 1;
    }
    return tabs;
}
} // namespace

LineScanResult ScanLineStarts(const char* text, int from, int to, int tabSize, CIntArray& starts, int& width,
                              int& widest) {
    LineScanResult result = {0, true};
    if (text == nullptr || from >= to) return result;
    StartBatch batch(starts);
    const char* p = text + from;
    const char* end = text + to;
    int initial = starts.GetSize();
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)));
        const char* stop = lf ? lf : end;
        width += (int)(stop - p) + (tabSize - 1) * CountTabs(p, stop);
        if (lf == nullptr) break;
        if (widest < width) widest = width;
        width = 0;
        if (!batch.Add((int)(lf - text) + 1)) {
            result.complete = false;
            break;
        }
        p = lf + 1;
    }
    if (result.complete && !batch.Flush()) result.complete = false;
    result.lineFeeds = starts.GetSize() - initial;
    return result;
}

bool ScanLineWidths(const char* p, int base, int count, int tabSize, int& width, LineSink& sink) {
    LineBatch batch;
    const char* start = p;
    const char* end = p + count;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', (size_t)(end - p)));
        const char* stop = lf ? lf : end;
        width += (int)(stop - p) + (tabSize - 1) * CountTabs(p, stop);
        if (lf == nullptr) break;
        batch.starts[batch.n] = base + (int)(lf - start) + 1;
        batch.widths[batch.n++] = width;
        width = 0;
        if (batch.n == LineBatch::kSize) {
            if (!sink.Take(batch)) return false;
            batch.n = 0;
        }
        p = lf + 1;
    }
    return batch.n == 0 || sink.Take(batch);
}
