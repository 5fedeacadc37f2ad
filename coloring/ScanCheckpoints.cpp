// Scan checkpoints: found by scanning forward lazily, cut back by edits, taken up again after them.
#include "coloring/ScanCheckpoints.h"

#include <algorithm>

void CScanCheckpoints::Clear() {
    m_points.clear();
    m_valid = 0;
    m_edits.clear();
    m_misses.clear();
}

void CScanCheckpoints::Missed(const CString& marker, int from) {
    for (MissFact& fact : m_misses) {
        if (fact.marker.size() == (size_t)marker.GetLength() && fact.marker == (const char*)marker) {
            fact.from = std::min(fact.from, from);
            return;
        }
    }
    m_misses.push_back(MissFact{std::string(marker, (size_t)marker.GetLength()), from});
}

void CScanCheckpoints::Invalidate(size_t first) {
    m_valid = std::min(m_valid, std::max<size_t>(first, 1));
}

void CScanCheckpoints::Edited(const TextPieces& text, int pos, int removed, int inserted, bool removedZero) {
    if (m_points.empty()) return;
    // A valid checkpoint stays valid while nothing its passes read has changed.
    auto firstTouched = std::upper_bound(m_points.begin(), m_points.begin() + (long)m_valid, pos,
                                         [](int p, const Point& point) { return p < point.reach; });
    Invalidate((size_t)(firstTouched - m_points.begin()));
    bool madeMarker = ShiftMisses(text, pos, removed, inserted, removedZero);
    ShiftStale(pos, removed, inserted);
    AddEditedRange(pos, removed, inserted, madeMarker);
}

// The ranges move with the text; the new one merges with those it touches. Past kMaxRanges they
// become one range over them all, so a long series of edits (an undo of a replace-all, newest hit
// first) costs each edit a bounded amount; the only loss is that no resync falls inside that range.
void CScanCheckpoints::AddEditedRange(int pos, int removed, int inserted, bool madeMarker) {
    const size_t kMaxRanges = 64;
    int delta = inserted - removed;
    EditedRange added{pos, pos + inserted, madeMarker};
    std::vector<EditedRange> ranges;
    ranges.reserve(m_edits.size() + 1);
    for (EditedRange r : m_edits) {
        r.start = r.start >= pos + removed ? r.start + delta : std::min(r.start, pos);
        r.end = r.end >= pos + removed ? r.end + delta : (r.end > pos ? pos + inserted : r.end);
        if (r.end < added.start || r.start > added.end) {
            ranges.push_back(r);
            continue;
        }
        added.start = std::min(added.start, r.start);
        added.end = std::max(added.end, r.end);
        added.madeMarker = added.madeMarker || r.madeMarker;
    }
    int lastValid = m_points[m_valid - 1].pos;
    auto at = std::lower_bound(ranges.begin(), ranges.end(), added.start,
                               [](const EditedRange& r, int p) { return r.start < p; });
    ranges.insert(at, added);
    // Ranges wholly behind the valid checkpoints matter to no resync any more.
    ranges.erase(
        std::remove_if(ranges.begin(), ranges.end(), [&](const EditedRange& r) { return r.end < lastValid; }),
        ranges.end());
    if (ranges.size() > kMaxRanges) {
        EditedRange all{ranges.front().start, ranges.front().end, false};
        for (const EditedRange& r : ranges) {
            all.end = std::max(all.end, r.end);
            all.madeMarker = all.madeMarker || r.madeMarker;
        }
        ranges.assign(1, all);
    }
    m_edits.swap(ranges);
}

// A search that found no marker stays right unless the edit may have made one.
bool CScanCheckpoints::ShiftMisses(const TextPieces& text, int pos, int removed, int inserted,
                                   bool removedZero) {
    bool made = false;
    for (MissFact& fact : m_misses) {
        if (!removedZero && !CMarkerIndex::MayHaveMade(text, fact.marker, pos, inserted)) {
            if (fact.from >= pos + removed && fact.from != INT_MAX) {
                fact.from += inserted - removed;
            } else if (fact.from > pos && fact.from != INT_MAX) {
                fact.from = pos;
            }
            continue;
        }
        made = true;
        // The passes from the miss on may now find the marker: every checkpoint after it goes.
        auto first = std::upper_bound(m_points.begin(), m_points.begin() + (long)m_valid, fact.from,
                                      [](int p, const Point& point) { return p < point.pos; });
        Invalidate((size_t)(first - m_points.begin()));
        fact.from = INT_MAX;
    }
    return made;
}

// Stale entries move with the text; one inside the replaced bytes is no pass start any more.
void CScanCheckpoints::ShiftStale(int pos, int removed, int inserted) {
    size_t out = m_valid;
    for (size_t k = m_valid; k < m_points.size(); ++k) {
        Point point = m_points[k];
        if (point.pos >= pos && point.pos < pos + removed) continue;
        if (point.pos >= pos + removed) point.pos += inserted - removed;
        if (point.reach > pos) point.reach = std::max(point.reach + inserted - removed, pos + inserted);
        m_points[out++] = point;
    }
    m_points.resize(out);
}

bool CScanCheckpoints::MeetsStale(size_t& cursor, int pass) const {
    while (cursor < m_points.size() && m_points[cursor].pos < pass) ++cursor;
    return cursor < m_points.size() && m_points[cursor].pos == pass;
}

int CScanCheckpoints::StaleLimit(int pass) const {
    for (const EditedRange& r : m_edits) {
        if (r.end <= pass && r.start < pass) continue;
        return r.start <= pass || r.madeMarker ? pass : r.start;
    }
    return INT_MAX;
}

// The scan has met the earlier scan again at the stale entry staleIndex: from there to the next edit
// the two are the same scan, so the stale entries whose passes read nothing of it hold again.
void CScanCheckpoints::Resync(std::vector<Point>& fresh, size_t staleIndex, int reach, int limit) {
    m_points[staleIndex].reach = reach;
    size_t held = staleIndex + 1;
    while (held < m_points.size() && std::max(m_points[held].reach, reach) <= limit) {
        m_points[held].reach = std::max(m_points[held].reach, reach);
        ++held;
    }
    if (limit == INT_MAX) {
        for (; held < m_points.size(); ++held) m_points[held].reach = std::max(m_points[held].reach, reach);
        m_edits.clear();
    }
    m_points.erase(m_points.begin() + (long)m_valid, m_points.begin() + (long)staleIndex);
    m_points.insert(m_points.begin() + (long)m_valid, fresh.begin(), fresh.end());
    m_valid += fresh.size() + (held - staleIndex);
    fresh.clear();
}

int CScanCheckpoints::StartFor(int pos, CColorScanner& scanner, int textLength) {
    if (m_valid == 0) {
        m_points.insert(m_points.begin(), Point{0, 0});
        m_valid = 1;
    }
    m_lookahead = scanner.LongestMarker() + 1;
    scanner.ReportMisses(this);
    int answer = 0;
    while (!ScanToward(pos, scanner, textLength - 1, answer)) {
    }
    scanner.ReportMisses(nullptr);
    return answer;
}

// One stretch of the forward scan from the last valid checkpoint: false when it stopped at a resync,
// after which the valid checkpoints reach further and the search starts again.
bool CScanCheckpoints::ScanToward(int pos, CColorScanner& scanner, int end, int& answer) {
    auto after = std::upper_bound(m_points.begin(), m_points.begin() + (long)m_valid, pos,
                                  [](int p, const Point& point) { return p < point.pos; });
    if (after != m_points.begin() + (long)m_valid) {
        answer = (after - 1)->pos;
        return true;
    }
    std::vector<Point> fresh;
    Point last = m_points[m_valid - 1];
    answer = last.pos;
    int reach = last.reach;
    size_t cursor = m_valid;
    int passes = 0;
    for (int p = last.pos; p < end && p <= pos;) {
        p = scanner.ScanPass(p, end);
        reach = std::max(reach, p + m_lookahead);
        if (++passes % 4096 == 0) scanner.ClearRuns();
        if (p >= end) break;
        int limit = 0;
        if (MeetsStale(cursor, p) && (limit = StaleLimit(p)) > p) {
            Resync(fresh, cursor, reach, limit);
            return false;
        }
        if (p - last.pos >= kSpacing) {
            last = Point{p, reach};
            fresh.push_back(last);
            if (p <= pos) answer = p;
        }
    }
    // The fresh entries replace the stale ones they passed.
    size_t passed = m_valid;
    int lastFresh = fresh.empty() ? INT_MIN : fresh.back().pos;
    while (passed < m_points.size() && m_points[passed].pos <= lastFresh) ++passed;
    m_points.erase(m_points.begin() + (long)m_valid, m_points.begin() + (long)passed);
    m_points.insert(m_points.begin() + (long)m_valid, fresh.begin(), fresh.end());
    m_valid += fresh.size();
    return true;
}
