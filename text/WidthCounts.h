// CWidthCounts: how many lines have each width, so the widest line is known again after it shrinks
// or goes.
#pragma once

#include <map>
#include <vector>

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
