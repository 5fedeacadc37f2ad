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
