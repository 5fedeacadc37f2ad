// CLineIndex: the gap-stored line entries, the pending shift, and the rescans of edited lines.
#include "text/LineIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/base/MemoryBlock.h"
#include "text/LineScan.h"

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

// Gathers scanned lines into m_scan: each line feed completes the width of the line before it.
class CLineIndex::Collector : public LineSink {
public:
    explicit Collector(std::vector<Line>& lines) : m_lines(lines) {}
    bool Take(const LineBatch& batch) override {
        try {
            for (int j = 0; j < batch.n; ++j) {
                m_lines.back().width = batch.widths[j];
                m_lines.push_back({batch.starts[j], 0});
            }
            return true;
        } catch (...) {
            return false;
        }
    }

private:
    std::vector<Line>& m_lines;
};

// Lines of the bytes [from, to): m_scan[0] starts at from; the last entry's width is the running
// width at to.
bool CLineIndex::Scan(const CStringEx& text, int from, int to, int tabSize) {
    try {
        m_scan.clear();
        m_scan.push_back({from, 0});
    } catch (...) {
        return false;
    }
    const char* piece[2];
    int size[2];
    text.GetPieces(from, to, piece[0], size[0], piece[1], size[1]);
    Collector sink(m_scan);
    int width = 0;
    if (!ScanLineWidths(piece[0], from, size[0], tabSize, width, sink)) return false;
    if (!ScanLineWidths(piece[1], from + size[0], size[1], tabSize, width, sink)) return false;
    m_scan.back().width = width;
    return true;
}

void CLineIndex::Release() {
    std::free(m_buf);
    m_buf = nullptr;
    m_count = m_cap = m_gap = m_stepAt = m_stepBy = m_lastEdit = 0;
    m_widths.Clear();
    std::vector<Line>().swap(m_scan);
}

bool CLineIndex::Reserve(int count) {
    if (count <= m_cap) return true;
    long long grown = std::max<long long>(count, (long long)m_cap + m_cap / 2 + 64);
    if (grown > 0x7fffffff / (long long)sizeof(Line)) return false;
    int cap = (int)grown;
    Line* buf = static_cast<Line*>(memblock::Malloc(sizeof(Line) * (size_t)cap));
    if (buf == nullptr) return false;
    int tail = m_count - m_gap;
    if (m_gap > 0) std::memcpy(buf, m_buf, sizeof(Line) * (size_t)m_gap);
    if (tail > 0) std::memcpy(buf + cap - tail, m_buf + m_cap - tail, sizeof(Line) * (size_t)tail);
    std::free(m_buf);
    m_buf = buf;
    m_cap = cap;
    return true;
}

void CLineIndex::MoveGap(int k) {
    int gap = m_cap - m_count;
    if (gap > 0 && k < m_gap)
        std::memmove(m_buf + k + gap, m_buf + k, sizeof(Line) * (size_t)(m_gap - k));
    else if (gap > 0 && k > m_gap)
        std::memmove(m_buf + m_gap, m_buf + m_gap + gap, sizeof(Line) * (size_t)(k - m_gap));
    m_gap = k;
}

void CLineIndex::AddToStored(int from, int to, int delta) {
    int gap = m_cap - m_count;
    for (int k = from, end = std::min(to, m_gap); k < end; ++k) m_buf[k].start += delta;
    for (int k = std::max(from, m_gap); k < to; ++k) m_buf[k + gap].start += delta;
}

// Moves the pending shift's boundary to k, settling the entries it passes.
void CLineIndex::StepTo(int k) {
    if (m_stepBy != 0 && k > m_stepAt) AddToStored(m_stepAt, k, m_stepBy);
    if (m_stepBy != 0 && k < m_stepAt) AddToStored(k, m_stepAt, -m_stepBy);
    m_stepAt = k;
}

// The lines fall into at most three stretches, cut where the gap is and where the pending shift
// begins: each is stored in one piece and off its starts by one amount, so it is searched as a plain
// sorted array. The halving has no branch and fetches both possible next probes early: on large
// texts the cache misses, not the comparisons, are the cost.
int CLineIndex::LineOf(int pos) const {
    if (m_count <= 1) return 0;
    int low = std::clamp(std::min(m_gap, m_stepAt), 0, m_count);
    int high = std::clamp(std::max(m_gap, m_stepAt), 0, m_count);
    int first = 0, end = m_count;
    if (high < m_count && Start(high) <= pos) {
        first = high;
    } else if (low < high && Start(low) <= pos) {
        first = low;
        end = high;
    } else {
        end = low > 0 ? low : high; // Start(0) is 0: the first stretch holds pos
    }
    const Line* stretch = m_buf + Physical(first);
    const Line* at = stretch;
    int value = pos - (first >= m_stepAt ? m_stepBy : 0);
    for (int n = end - first; n > 1;) {
        int half = n / 2;
        __builtin_prefetch(at + half / 2);
        __builtin_prefetch(at + half + half / 2);
        at = at[half].start <= value ? at + half : at;
        n -= half;
    }
    return first + (int)(at - stretch);
}

// Appends scanned lines straight to the entries (the gap at the end) during a full build.
class CLineIndex::Appender : public LineSink {
public:
    explicit Appender(CLineIndex& index) : m_index(index) {}
    bool Take(const LineBatch& batch) override {
        CLineIndex& x = m_index;
        if (!x.Reserve(x.m_count + batch.n)) return false;
        for (int j = 0; j < batch.n; ++j) {
            x.m_buf[x.m_count - 1].width = batch.widths[j];
            x.m_widths.Add(batch.widths[j]);
            x.m_buf[x.m_count++] = {batch.starts[j], 0};
        }
        x.m_gap = x.m_stepAt = x.m_count;
        return true;
    }

private:
    CLineIndex& m_index;
};

bool CLineIndex::Build(const CStringEx& text, int tabSize, int lines) {
    // The entries' memory is kept: a rebuild over it touches no fresh pages.
    m_count = m_gap = m_stepAt = m_stepBy = m_lastEdit = 0;
    m_widths.Clear();
    int length = std::max(text.GetTextSize(), 0);
    // A first guess of the line count, so that most texts need no regrowth.
    if (!Reserve((lines > 0 ? lines : length / 24) + 64)) return false;
    m_buf[0] = {0, 0};
    m_count = m_gap = m_stepAt = 1;
    const char* piece[2];
    int size[2];
    text.GetPieces(0, length, piece[0], size[0], piece[1], size[1]);
    Appender sink(*this);
    int width = 0;
    if (!ScanLineWidths(piece[0], 0, size[0], tabSize, width, sink) ||
        !ScanLineWidths(piece[1], size[0], size[1], tabSize, width, sink)) {
        Release();
        return false;
    }
    m_buf[m_count - 1].width = width;
    TrimGap();
    return true;
}

// Leaves a small gap after a full build: the first edit moves every entry across the gap, and a gap
// of untouched memory would cost a page fault per page on that move.
void CLineIndex::TrimGap() {
    int cap = m_count + std::max(1024, m_count / 64);
    if (cap >= m_cap || m_gap != m_count) return;
    if (Line* buf = static_cast<Line*>(std::realloc(m_buf, sizeof(Line) * (size_t)cap))) {
        m_buf = buf;
        m_cap = cap;
    }
}

int CLineIndex::LineNear(int pos, int hint) const {
    if (hint < 0 || hint >= m_count) return LineOf(pos);
    int lo, hi; // Start(lo) <= pos < Start(hi + 1), or hi the last line
    if (Start(hint) <= pos) {
        int step = 1;
        lo = hint;
        while (lo + step < m_count && Start(lo + step) <= pos) {
            lo += step;
            step *= 2;
        }
        hi = std::min(lo + step - 1, m_count - 1);
    } else {
        int step = 1;
        hi = hint - 1;
        while (hi - step >= 0 && Start(hi - step + 1) > pos) {
            hi -= step;
            step *= 2;
        }
        lo = std::max(hi - step + 1, 0);
    }
    while (lo < hi) {
        int mid = lo + (hi - lo + 1) / 2;
        if (Start(mid) <= pos)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

bool CLineIndex::Apply(const CStringEx& text, int pos, int removed, int inserted, int tabSize) {
    int n = m_count;
    int length = text.GetTextSize();
    if (n < 1 || pos < 0 || removed < 0 || inserted < 0) return false;
    int first = LineNear(pos, m_lastEdit), last = LineNear(pos + removed, first);
    int delta = inserted - removed;
    int from = Start(first);
    bool tail = last + 1 < n; // a line after the change keeps its entry
    int to = tail ? Start(last + 1) + delta : length;
    if (to < pos + inserted || to > length || (tail && text.GetAt(to - 1) != '\n')) return false;
    if (!Scan(text, from, to, tabSize)) return false;
    if (tail) {
        if (m_scan.size() < 2 || m_scan.back().start != to) return false;
        m_scan.pop_back();
    }
    int added = (int)m_scan.size(), gone = last - first + 1;
    int count = n - gone + added;
    if (!Reserve(count)) return false;
    // New widths first, so a shrinking widest line does not send the counts searching downwards.
    for (int j = 0; j < added; ++j)
        if (first + j < count - 1) m_widths.Add(m_scan[(size_t)j].width);
    for (int k = first; k <= last; ++k)
        if (k < n - 1) m_widths.Remove(Width(k));
    StepTo(last + 1);
    if (added == gone) {
        // The same number of lines: overwritten where they are, the gap stays put.
        for (int j = 0; j < added; ++j) m_buf[Physical(first + j)] = m_scan[(size_t)j];
        m_stepBy += delta;
        m_lastEdit = first;
        return true;
    }
    MoveGap(first);
    m_count -= gone;
    m_stepAt -= gone;
    std::memcpy(m_buf + m_gap, m_scan.data(), sizeof(Line) * (size_t)added);
    m_gap += added;
    m_count += added;
    m_stepAt += added;
    m_stepBy += delta;
    m_lastEdit = first;
    return true;
}
