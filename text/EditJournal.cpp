// CEditJournal: recording edits as ordered ranges for the line table to replay.
#include "text/EditJournal.h"

#include <algorithm>

void CEditJournal::Clear() {
    m_ranges.clear();
    m_valid = true;
}

void CEditJournal::Invalidate() {
    m_ranges.clear();
    m_valid = false;
}

// One range from the first start to the last end; its old length follows from the summed growth.
void CEditJournal::FoldAll() {
    long long growth = 0;
    Range all = {m_ranges.front().lo, m_ranges.back().hi, 0, 0, false};
    for (const Range& r : m_ranges) {
        growth += (long long)(r.hi - r.lo) - r.oldLength;
        all.tabDelta += r.tabDelta;
        all.feedsChanged = all.feedsChanged || r.feedsChanged;
    }
    all.oldLength = (int)((long long)(all.hi - all.lo) - growth);
    m_ranges.assign(1, all);
}

void CEditJournal::Record(int pos, int removed, int inserted, bool lineFeedBefore, int tabDelta,
                          bool feedsChanged) {
    if (!m_valid) return;
    try {
        if (!m_ranges.empty()) {
            const Range& last = m_ranges.back();
            if (pos > last.hi && lineFeedBefore) {
                if (m_ranges.size() >= kMaxRanges)
                    FoldAll();
                else {
                    m_ranges.push_back({pos, pos + inserted, removed, tabDelta, feedsChanged});
                    return;
                }
            }
            if (pos < m_ranges.back().lo) FoldAll();
        } else {
            m_ranges.push_back({pos, pos + inserted, removed, tabDelta, feedsChanged});
            return;
        }
        // Widen the last range over this edit: its growth changes by inserted - removed.
        Range& r = m_ranges.back();
        long long growth = (long long)(r.hi - r.lo) - r.oldLength + inserted - removed;
        int mappedHi = r.hi >= pos + removed ? r.hi + inserted - removed : pos + inserted;
        r.lo = std::min(r.lo, pos);
        r.hi = std::max(mappedHi, pos + inserted);
        r.oldLength = (int)((long long)(r.hi - r.lo) - growth);
        r.tabDelta += tabDelta;
        r.feedsChanged = r.feedsChanged || feedsChanged;
    } catch (...) {
        Invalidate();
    }
}
