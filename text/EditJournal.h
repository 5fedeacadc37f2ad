// CEditJournal: the stretches of a string changed since its line table last caught up.
#pragma once

#include <cstddef>
#include <vector>

// Each range [lo, hi) is a stretch of the current text that replaced oldLength bytes of the text the
// line table was last built from. Invariants: ranges are in increasing order, every later edit lies
// at or after the start of the last range, and between two ranges the text holds a line feed, so the
// table can catch up range by range, rescanning only the lines each range touches. An edit before
// the last range folds all ranges into one; an edit the string cannot describe (a length set from
// outside, a new block) makes the journal invalid, and the table then rebuilds from the whole text.
class CEditJournal {
public:
    // tabDelta: tabs in [lo, hi) less tabs in the oldLength bytes they replaced; feedsChanged: some edit
    // of the range inserted or removed a line feed (then the range's lines must be scanned again).
    struct Range {
        int lo;
        int hi;
        int oldLength;
        int tabDelta;
        bool feedsChanged;
    };

    bool IsValid() const { return m_valid; }
    bool IsEmpty() const { return m_ranges.empty(); }
    const std::vector<Range>& Ranges() const { return m_ranges; }
    // End of the last range, or -1 when there is none.
    int LastEnd() const { return m_ranges.empty() ? -1 : m_ranges.back().hi; }

    // removed bytes at pos became inserted bytes; lineFeedBefore tells whether the text between the
    // last range's end and pos holds a line feed (asked only when pos lies past that end); tabDelta
    // and feedsChanged describe the edit's bytes as a range's do.
    void Record(int pos, int removed, int inserted, bool lineFeedBefore, int tabDelta, bool feedsChanged);
    void Clear();
    void Invalidate();

private:
    void FoldAll();
    static const std::size_t kMaxRanges = 1u << 20;

    std::vector<Range> m_ranges;
    bool m_valid = false;
};
