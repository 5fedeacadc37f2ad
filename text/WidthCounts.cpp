// CWidthCounts: width counts in a dense table for common widths and a map for the rest.
#include "text/WidthCounts.h"

#include <algorithm>

void CWidthCounts::Clear() {
    std::fill(m_small.begin(), m_small.end(), 0);
    m_large.clear();
    m_max = 0;
}

void CWidthCounts::Add(int width) {
    if (width < 0) width = 0;
    if (width < kSmall) {
        if (m_small.empty()) m_small.assign(kSmall, 0);
        ++m_small[(size_t)width];
    } else {
        ++m_large[width];
    }
    if (width > m_max) m_max = width;
}

void CWidthCounts::Remove(int width) {
    if (width < 0) width = 0;
    if (width < kSmall) {
        if (m_small.empty() || m_small[(size_t)width] == 0) return;
        --m_small[(size_t)width];
        if (width != m_max || m_small[(size_t)width] > 0) return;
    } else {
        auto it = m_large.find(width);
        if (it == m_large.end()) return;
        if (--it->second > 0) return;
        m_large.erase(it);
        if (width != m_max) return;
    }
    // The widest width is gone: the next one down.
    if (!m_large.empty()) {
        m_max = m_large.rbegin()->first;
        return;
    }
    int w = std::min(m_max, kSmall - 1);
    while (w > 0 && (m_small.empty() || m_small[(size_t)w] == 0)) --w;
    m_max = w;
}
