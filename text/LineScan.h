// The one pass every line rebuild makes: line-feed positions and line widths over a byte range.
#pragma once

#include "framework/base/Array.h"

// Scans bytes [from, to) of text. Each line feed at i appends i + 1 to starts, offers the running
// width to widest and restarts it at 0; tabs add tabSize, other bytes 1. lineFeeds = entries added;
// complete is false only when starts could not grow (the scan then stopped early).
struct LineScanResult {
    int lineFeeds;
    bool complete;
};
LineScanResult ScanLineStarts(const char* text, int from, int to, int tabSize, CIntArray& starts, int& width,
                              int& widest);

// Line starts with the width of the line each line feed completes, gathered in batches.
struct LineBatch {
    static const int kSize = 512;
    int starts[kSize];
    int widths[kSize];
    int n = 0;
};
class LineSink {
public:
    virtual ~LineSink() = default;
    // Takes the batch's n lines; false stops the scan.
    virtual bool Take(const LineBatch& batch) = 0;
};
// Scans the count bytes at p, which stand at text position base. Each line feed at position i hands
// (i + 1, running width) to the sink and restarts the width at 0; tabs add tabSize, other bytes 1.
// false when the sink refused a batch.
bool ScanLineWidths(const char* p, int base, int count, int tabSize, int& width, LineSink& sink);
