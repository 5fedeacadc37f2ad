// CLineIndex: line starts and widths kept in step with a text by patching only the lines an edit
// touches, for the line table's rebuilds on large texts.
#pragma once

#include <atomic>
#include <vector>

#include "text/LineBlock.h"
#include "text/StringEx.h"
#include "text/WidthCounts.h"

// Invariants (after Build or Apply): the entries are exactly the lines of the text: line 0 starts
// at 0, line k + 1 just after the k-th line feed; width k is the width of line k without its line
// feed (for the last line: of all its bytes); the width counts hold every line but the last.
// Storage: the lines in blocks of up to CLineBlock::kMaxLines (each at least one line, together in
// order), a directory of each block's first line and start, and a pending shift: the directory's
// entries from block m_stepAt on are stored m_stepLines and m_stepBy short of their true values.
// An edit rewrites the entries of the block it falls in and moves the pending boundary, which costs
// the blocks it passes, so neither the entries nor the directory move between edits.
class CLineIndex {
public:
    CLineIndex() = default;
    ~CLineIndex() { Release(); }
    CLineIndex(const CLineIndex&) = delete;
    CLineIndex& operator=(const CLineIndex&) = delete;

    // Every line of the whole text; false when memory ran out (the index is then empty). lines is a
    // guess of the line count (0: none), so the directory is allocated once.
    bool Build(const CStringEx& text, int tabSize, int lines = 0);
    // After removed bytes at pos became inserted bytes of text (the index describing the text before):
    // rescans only the lines from the one holding pos to the one holding the end of the change.
    // false when the edit does not fit the index or memory ran out; the index must then be rebuilt.
    // tabDelta and feedsChanged as the edit journal's range has them: a change inside one line that
    // moved no line feed takes its line's new width from them instead of scanning the line.
    bool Apply(const CStringEx& text, int pos, int removed, int inserted, int tabSize, int tabDelta = 0,
               bool feedsChanged = true);
    void Release();

    int Count() const { return m_count; }
    int Start(int k) const;
    int Width(int k) const;
    // The last line k with Start(k) <= pos (pos >= 0).
    int LineOf(int pos) const;
    // The same, searched first in the block of line hint: cheap when pos lies a few lines away.
    int LineNear(int pos, int hint) const;
    int Widest() const { return m_widths.Max(); }
    // Memory the entries and the directory hold, in bytes.
    size_t HeldBytes() const;

private:
    class Appender;

    int Blocks() const { return (int)m_blocks.size(); }
    int First(int b) const { return m_firsts[(size_t)b] + (b >= m_stepAt ? m_stepLines : 0); }
    int Base(int b) const { return m_bases[(size_t)b] + (b >= m_stepAt ? m_stepBy : 0); }
    int BlockOfLine(int k) const;
    int BlockOfPos(int pos) const;
    void StepTo(int b);
    bool Scan(const CStringEx& text, int from, int to, int tabSize);
    bool Replace(int first, int last, int delta);
    bool Repack(int fromBlock, int toBlock, int first, int last, int delta);

    std::vector<CLineBlock> m_blocks;
    std::vector<int> m_firsts;
    std::vector<int> m_bases;
    int m_count = 0;
    int m_stepAt = 0;
    int m_stepBy = 0;
    int m_stepLines = 0;
    int m_tabSize = 4;                   // what the blocks' widths count a tab as
    int m_lastEdit = 0;                  // the line of the last edit, where the next one usually is
    mutable std::atomic<int> m_block{0}; // the block last looked up: readers of a page go line by line
    CWidthCounts m_widths;
    std::vector<LineEntry> m_scan; // the lines of the last rescan
};
