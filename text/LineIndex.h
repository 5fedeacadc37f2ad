// CLineIndex: line starts and widths kept in step with a text by patching only the lines an edit
// touches, for the line table's rebuilds on large texts.
#pragma once

#include <map>
#include <vector>

#include "text/StringEx.h"

// How many lines have each width, so the widest line is known again after it shrinks or goes.
class CWidthCounts {
public:
    void Clear();
    void Add(int width);
    void Remove(int width);
    int Max() const { return m_max; }

private:
    static const int kSmall = 4096;
    std::vector<int> m_small; // counts of widths below kSmall, allocated on first use
    std::map<int, int> m_large;
    int m_max = 0;
};

// Invariants (after Build or Apply): the entries are exactly the lines of the text: entry 0 starts
// at 0, entry k + 1 just after the k-th line feed; width k is the width of line k without its line
// feed (for the last line: of all its bytes); the width counts hold every line but the last.
// Storage: a gap of free entries at index m_gap, so that lines are added and removed where the
// edits are without moving the others; and a pending shift: entries from m_stepAt on are stored
// m_stepBy lower than their start. Moving that boundary costs the entries it passes, so edits that
// stay in one place or move front to back cost only the lines they touch.
class CLineIndex {
public:
    CLineIndex() = default;
    ~CLineIndex() { Release(); }
    CLineIndex(const CLineIndex&) = delete;
    CLineIndex& operator=(const CLineIndex&) = delete;

    // Every line of the whole text; false when memory ran out (the index is then empty). lines is a
    // guess of the line count (0: none), so the entries are allocated once.
    bool Build(const CStringEx& text, int tabSize, int lines = 0);
    // After removed bytes at pos became inserted bytes of text (the index describing the text before):
    // rescans only the lines from the one holding pos to the one holding the end of the change.
    // false when the edit does not fit the index or memory ran out; the index must then be rebuilt.
    bool Apply(const CStringEx& text, int pos, int removed, int inserted, int tabSize);
    void Release();

    int Count() const { return m_count; }
    int Start(int k) const { return Entry(k).start + (k >= m_stepAt ? m_stepBy : 0); }
    int Width(int k) const { return Entry(k).width; }
    // The last line k with Start(k) <= pos (pos >= 0).
    int LineOf(int pos) const;
    // The same, searched outwards from line hint: cheap when pos lies a few lines away.
    int LineNear(int pos, int hint) const;
    int Widest() const { return m_widths.Max(); }

private:
    struct Line {
        int start;
        int width;
    };
    class Collector;
    class Appender;

    int Physical(int k) const { return k < m_gap ? k : k + (m_cap - m_count); }
    const Line& Entry(int k) const { return m_buf[Physical(k)]; }
    bool Reserve(int count);
    void TrimGap();
    void MoveGap(int k);
    void StepTo(int k);
    void AddToStored(int from, int to, int delta);
    bool Scan(const CStringEx& text, int from, int to, int tabSize);

    Line* m_buf = nullptr;
    int m_count = 0;
    int m_cap = 0;
    int m_gap = 0;
    int m_stepAt = 0;
    int m_stepBy = 0;
    int m_lastEdit = 0; // the line of the last edit, where the next one usually is
    CWidthCounts m_widths;
    std::vector<Line> m_scan; // the lines of the last rescan
};
