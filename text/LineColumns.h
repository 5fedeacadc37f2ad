// Cell columns along long lines: the walk over a line's cells resumed from a checkpoint near the
// place asked for instead of from the line's start.
#pragma once

#include <algorithm>
#include <vector>

#include "text/CharBoundaries.h"
#include "text/StringEx.h"

// What a walk over a line's bytes has counted when it reaches offset. A byte takes one cell, a tab
// moves to the next tab stop; the two cell counts differ in the control bytes they count: cells
// counts the white-space controls (carriage return, form feed, vertical tab) as a cell, visibleCells
// counts printable bytes and bytes with bit 7 set only. counted is the number of bytes that took a
// cell in cells or were tabs, highs the number of bytes with bit 7 set. gbkOpen tells that the byte
// before offset is a GBK lead byte not yet paired, so that the last character boundary by the code
// page's rule is offset - 1 rather than offset.
struct CColumnState {
    int offset = 0;
    int cells = 0;
    int visibleCells = 0;
    int counted = 0;
    int highs = 0;
    bool gbkOpen = false;

    int GbkBoundary() const { return gbkOpen ? offset - 1 : offset; }
    // The state one byte further on.
    void Step(unsigned char b, int tabSize);
};

// Per long line, the walk's state every kStep bytes from the line's start, found lazily as far as
// asked. Lines are known by their start offset; a few of them are kept, the least recently used going
// first. Invariant: entry k of a line is the state at start + k x kStep, reached by walking the
// current text from start, and start is the start of a line. An edit keeps the entries before it
// and moves the lines after it; a line whose start it removed is forgotten.
class CLineColumns {
public:
    static const int kStep = 4096;
    // Lines shorter than this are walked from their start.
    static const int kLongLine = 2 * kStep;

    explicit CLineColumns(int tabSize) : m_tabSize(tabSize) {}
    int TabSize() const { return m_tabSize; }

    // The state at the last checkpoint at or before pos of the line [start, end) (end: its line feed).
    CColumnState Before(const CStringEx& text, int start, int end, int pos);
    // The state at the last checkpoint before end at which more(state) holds, or the line's start;
    // more must stay false once it turns false along the line.
    template <class More> CColumnState LastWhere(const CStringEx& text, int start, int end, More more);
    void Edited(int pos, int removed, int inserted);
    void Clear() { m_lines.clear(); }

private:
    struct Line {
        int start;
        std::vector<CColumnState> points;
        unsigned lastUse;
    };

    Line& LineAt(int start);
    // Walks on from the last known entry until it lies at or beyond limit (or end is reached); false
    // when no entry was added.
    bool Extend(const CStringEx& text, Line& line, int end, int limit);

    int m_tabSize;
    std::vector<Line> m_lines;
    unsigned m_clock = 0;
};

template <class More>
CColumnState CLineColumns::LastWhere(const CStringEx& text, int start, int end, More more) {
    end = std::min(end, text.GetTextSize());
    if (end - start < kLongLine || start < 0) return CColumnState{start};
    Line& line = LineAt(start);
    while (more(line.points.back()) && line.points.back().offset + kStep < end &&
           Extend(text, line, end, line.points.back().offset + 64 * kStep)) {
    }
    size_t lo = 0, hi = line.points.size(); // more holds at lo, fails at hi (or hi is the end)
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        (more(line.points[mid]) ? lo : hi) = mid;
    }
    return line.points[lo];
}
