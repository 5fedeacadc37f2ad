// CWindowColors: the colours of the coloured view's visible lines as its window was last rendered.
#pragma once

#include <utility>
#include <vector>

#include <windows.h>

class CColorEditDoc;

// Each line's runs are kept with their ends counted from the line's start, so that the same line
// moved by an edit compares equal. The copy is tagged with the window's first line and the view's
// edit count at the time it was taken: it describes that text at that scroll position only.
class CWindowColors {
public:
    // Takes the runs of lines first ... last from the document's last rendering.
    void Capture(CColorEditDoc* doc, int first, int last, unsigned serial);
    void Clear() { m_lineStarts.clear(); }
    bool Describes(int firstLine, unsigned serial) const {
        return !m_lineStarts.empty() && m_first == firstLine && m_serial == serial;
    }
    // Whether every line from line on that this copy and earlier both hold looks as it did in earlier,
    // where it stood shift lines higher up (lower down when shift is negative).
    bool SameFrom(const CWindowColors& earlier, int line, int shift) const;

private:
    int Count() const { return (int)m_lineStarts.size() - 1; }
    bool SameLine(int k, const CWindowColors& other, int j) const;

    int m_first = 0;
    unsigned m_serial = 0;
    std::vector<int> m_lineStarts;                // each line's first run in m_runs, then the end
    std::vector<std::pair<int, COLORREF>> m_runs; // run end from the line's start, colour
};
