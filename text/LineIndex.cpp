// CLineIndex: the block directory, its pending shift, and the rescans of edited lines.
#include "text/LineIndex.h"

#include <algorithm>

#include "text/LineScan.h"

namespace {
const int kFillLines = CLineBlock::kMaxLines * 3 / 4; // a rewritten block keeps room to grow
const int kFewLines = CLineBlock::kMaxLines / 8;      // a block this small joins a neighbour
} // namespace

// Gathers scanned lines into m_scan: each line feed completes the width of the line before it.
class LineCollector : public LineSink {
public:
    explicit LineCollector(std::vector<LineEntry>& lines) : m_lines(lines) {}
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
    std::vector<LineEntry>& m_lines;
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
    LineCollector sink(m_scan);
    int width = 0;
    if (!ScanLineWidths(piece[0], from, size[0], tabSize, width, sink)) return false;
    if (!ScanLineWidths(piece[1], from + size[0], size[1], tabSize, width, sink)) return false;
    m_scan.back().width = width;
    return true;
}

void CLineIndex::Release() {
    std::vector<CLineBlock>().swap(m_blocks);
    std::vector<int>().swap(m_firsts);
    std::vector<int>().swap(m_bases);
    std::vector<LineEntry>().swap(m_scan);
    m_count = m_stepAt = m_stepBy = m_stepLines = m_lastEdit = 0;
    m_block.store(0, std::memory_order_relaxed);
    m_widths.Clear();
}

size_t CLineIndex::HeldBytes() const {
    size_t bytes =
        sizeof(CLineBlock) * m_blocks.capacity() + sizeof(int) * (m_firsts.capacity() + m_bases.capacity());
    for (const CLineBlock& block : m_blocks) bytes += block.HeldBytes();
    return bytes + sizeof(LineEntry) * m_scan.capacity();
}

// The last block whose first line is at or before line k; the block of the previous lookup and the
// one after it are tried first.
int CLineIndex::BlockOfLine(int k) const {
    int n = Blocks();
    int b = m_block.load(std::memory_order_relaxed);
    for (int c = b; c <= b + 1 && c < n; ++c)
        if (First(c) <= k && (c + 1 == n || k < First(c + 1))) {
            if (c != b) m_block.store(c, std::memory_order_relaxed);
            return c;
        }
    int at = 0;
    for (int left = n; left > 1;) {
        int half = left / 2;
        at = First(at + half) <= k ? at + half : at;
        left -= half;
    }
    m_block.store(at, std::memory_order_relaxed);
    return at;
}

int CLineIndex::BlockOfPos(int pos) const {
    int n = Blocks();
    int b = m_block.load(std::memory_order_relaxed);
    if (b < n && Base(b) <= pos && (b + 1 == n || pos < Base(b + 1))) return b;
    int at = 0;
    for (int left = n; left > 1;) {
        int half = left / 2;
        at = Base(at + half) <= pos ? at + half : at;
        left -= half;
    }
    return at;
}

int CLineIndex::Start(int k) const {
    int b = BlockOfLine(k);
    return Base(b) + m_blocks[(size_t)b].Offset(k - First(b));
}

int CLineIndex::Width(int k) const {
    int b = BlockOfLine(k);
    return m_blocks[(size_t)b].Width(k - First(b));
}

int CLineIndex::LineOf(int pos) const {
    if (m_count <= 1) return 0;
    int b = BlockOfPos(pos);
    return First(b) + m_blocks[(size_t)b].Find(pos - Base(b));
}

int CLineIndex::LineNear(int pos, int hint) const {
    if (hint < 0 || hint >= m_count) return LineOf(pos);
    // Typing stays on the hint's line or steps to the next one.
    for (int k = hint; k <= hint + 1 && k < m_count; ++k)
        if (Start(k) <= pos && (k + 1 == m_count || pos < Start(k + 1))) return k;
    int n = Blocks();
    int b = BlockOfLine(hint);
    for (int c = std::max(b - 1, 0); c <= b + 1 && c < n; ++c)
        if (Base(c) <= pos && (c + 1 == n || pos < Base(c + 1)))
            return First(c) + m_blocks[(size_t)c].Find(pos - Base(c));
    return LineOf(pos);
}

// Moves the pending shift's boundary to block b, settling the directory entries it passes.
void CLineIndex::StepTo(int b) {
    if (m_stepBy != 0 || m_stepLines != 0) {
        int sign = b > m_stepAt ? 1 : -1;
        int lines = sign * m_stepLines, by = sign * m_stepBy;
        for (int c = std::min(b, m_stepAt), end = std::max(b, m_stepAt); c < end; ++c) {
            m_firsts[(size_t)c] += lines;
            m_bases[(size_t)c] += by;
        }
    }
    m_stepAt = b;
}

// Appends scanned lines to the last block during a full build; a line is stored once its line feed
// gives its width, so the open line waits in m_open.
class CLineIndex::Appender : public LineSink {
public:
    explicit Appender(CLineIndex& index) : m_index(index) {}
    bool Take(const LineBatch& batch) override {
        for (int j = 0; j < batch.n; ++j) {
            if (!Add(batch.widths[j])) return false;
            m_index.m_widths.Add(batch.widths[j]);
            m_open = batch.starts[j];
        }
        return true;
    }
    // Stores the open line with its width.
    bool Add(int width) {
        if (m_block == nullptr || m_block->Count() == CLineBlock::kMaxLines ||
            m_open - m_base > CLineBlock::kMaxOffset) {
            if (!NewBlock()) return false;
        }
        if (!m_block->Append(m_open - m_base, width)) return false;
        ++m_index.m_count;
        return true;
    }

private:
    bool NewBlock() {
        CLineIndex& x = m_index;
        try {
            CLineBlock block(x.m_tabSize);
            if (!block.Reserve(CLineBlock::kMaxLines)) return false;
            x.m_blocks.push_back(std::move(block));
            x.m_firsts.push_back(x.m_count);
            x.m_bases.push_back(m_open);
        } catch (...) {
            return false;
        }
        m_block = &x.m_blocks.back();
        m_base = m_open;
        return true;
    }

    CLineIndex& m_index;
    CLineBlock* m_block = nullptr; // the last block, where lines are appended
    int m_base = 0;
    int m_open = 0;
};

bool CLineIndex::Build(const CStringEx& text, int tabSize, int lines) {
    m_tabSize = tabSize;
    m_blocks.clear();
    m_firsts.clear();
    m_bases.clear();
    m_count = m_stepAt = m_stepBy = m_stepLines = m_lastEdit = 0;
    m_block.store(0, std::memory_order_relaxed);
    m_widths.Clear();
    int length = std::max(text.GetTextSize(), 0);
    // A first guess of the line count, so that most texts need no regrowth of the directory.
    size_t blocks = (size_t)(lines > 0 ? lines : length / 24) / CLineBlock::kMaxLines + 2;
    try {
        m_blocks.reserve(blocks);
        m_firsts.reserve(blocks);
        m_bases.reserve(blocks);
    } catch (...) {
        Release();
        return false;
    }
    const char* piece[2];
    int size[2];
    text.GetPieces(0, length, piece[0], size[0], piece[1], size[1]);
    Appender sink(*this);
    int width = 0;
    if (!ScanLineWidths(piece[0], 0, size[0], tabSize, width, sink) ||
        !ScanLineWidths(piece[1], size[0], size[1], tabSize, width, sink) || !sink.Add(width)) {
        Release();
        return false;
    }
    m_stepAt = Blocks();
    return true;
}

// Rewrites the blocks from fromBlock to toBlock (true directory values) whole: their lines with lines
// first..last replaced by m_scan and the later ones moved by delta, cut into blocks of room to grow.
// A result of few lines takes a neighbour in, so deletions do not leave a trail of tiny blocks.
bool CLineIndex::Repack(int fromBlock, int toBlock, int first, int last, int delta) {
    int old = 0;
    for (int b = fromBlock; b <= toBlock; ++b) old += m_blocks[(size_t)b].Count();
    int total = old - (last - first + 1) + (int)m_scan.size();
    if (total < kFewLines && toBlock - fromBlock + 1 < Blocks()) {
        if (toBlock + 1 < Blocks())
            StepTo(++toBlock + 1);
        else
            --fromBlock;
    }
    int firstLine = First(fromBlock);
    std::vector<LineEntry> lines; // the rewritten blocks' lines, starts absolute
    std::vector<CLineBlock> fresh;
    std::vector<int> bases, firsts;
    try {
        for (int b = fromBlock; b <= toBlock; ++b) {
            const CLineBlock& block = m_blocks[(size_t)b];
            size_t at = lines.size();
            lines.resize(at + (size_t)block.Count());
            block.CopyOut(0, block.Count(), Base(b), lines.data() + at);
        }
        auto cut = lines.begin() + (first - firstLine);
        cut = lines.erase(cut, cut + (last - first + 1));
        cut = lines.insert(cut, m_scan.begin(), m_scan.end()) + (ptrdiff_t)m_scan.size();
        for (; cut != lines.end(); ++cut) cut->start += delta;
        int count = (int)lines.size();
        int pieces = (count + kFillLines - 1) / kFillLines;
        int per = (count + pieces - 1) / pieces;
        for (int j = 0; j < count; ++j) {
            const LineEntry& line = lines[(size_t)j];
            if (fresh.empty() || fresh.back().Count() == per ||
                line.start - bases.back() > CLineBlock::kMaxOffset) {
                fresh.emplace_back(m_tabSize);
                bases.push_back(line.start);
                if (!fresh.back().Reserve(std::min(per, count - j))) return false;
            }
            if (!fresh.back().Append(line.start - bases.back(), line.width)) return false;
        }
        firsts.resize(fresh.size());
        for (size_t b = 0, line = (size_t)firstLine; b < fresh.size(); line += (size_t)fresh[b++].Count())
            firsts[b] = (int)line;
        size_t blocks = m_blocks.size() - (size_t)(toBlock - fromBlock + 1) + fresh.size();
        m_blocks.reserve(blocks);
        m_firsts.reserve(blocks);
        m_bases.reserve(blocks);
    } catch (...) {
        return false;
    }
    // Nothing below allocates: the directory has its room and the blocks move.
    auto at = [fromBlock](auto& v) { return v.begin() + fromBlock; };
    int gone = toBlock - fromBlock + 1;
    m_blocks.erase(at(m_blocks), at(m_blocks) + gone);
    m_firsts.erase(at(m_firsts), at(m_firsts) + gone);
    m_bases.erase(at(m_bases), at(m_bases) + gone);
    m_firsts.insert(at(m_firsts), firsts.begin(), firsts.end());
    m_bases.insert(at(m_bases), bases.begin(), bases.end());
    m_blocks.insert(at(m_blocks), std::make_move_iterator(fresh.begin()),
                    std::make_move_iterator(fresh.end()));
    m_stepAt = fromBlock + (int)fresh.size();
    m_block.store(fromBlock, std::memory_order_relaxed);
    if (m_blocks.size() * 4 < m_blocks.capacity()) { // a directory left mostly empty by deletions
        m_blocks.shrink_to_fit();
        m_firsts.shrink_to_fit();
        m_bases.shrink_to_fit();
    }
    return true;
}

// Lines first..last become m_scan and the later lines move by delta.
bool CLineIndex::Replace(int first, int last, int delta) {
    int bf = BlockOfLine(first), bl = BlockOfLine(last);
    int gone = last - first + 1, added = (int)m_scan.size();
    StepTo(bl + 1);
    bool done = false;
    if (bf == bl) {
        CLineBlock& block = m_blocks[(size_t)bf];
        bool tiny = block.Count() - gone + added < kFewLines && Blocks() > 1;
        done = !tiny && block.Replace(first - First(bf), gone, m_scan.data(), added, Base(bf), delta);
    }
    if (!done && !Repack(bf, bl, first, last, delta)) return false;
    m_stepBy += delta;
    m_stepLines += added - gone;
    return true;
}

bool CLineIndex::Apply(const CStringEx& text, int pos, int removed, int inserted, int tabSize, int tabDelta,
                       bool feedsChanged) {
    int n = m_count;
    int length = text.GetTextSize();
    if (n < 1 || pos < 0 || removed < 0 || inserted < 0 || tabSize != m_tabSize) return false;
    int first = LineNear(pos, m_lastEdit), last = LineNear(pos + removed, first);
    int delta = inserted - removed;
    int from = Start(first);
    bool tail = last + 1 < n; // a line after the change keeps its entry
    int to = tail ? Start(last + 1) + delta : length;
    if (to < pos + inserted || to > length || (tail && text.GetAt(to - 1) != '\n')) return false;
    if (!feedsChanged && first == last) {
        // One line, its line feeds untouched: a line of megabytes is not scanned for a typed byte.
        try {
            m_scan.assign(1, LineEntry{from, Width(first) + delta + (tabSize - 1) * tabDelta});
        } catch (...) {
            return false;
        }
    } else {
        if (!Scan(text, from, to, tabSize)) return false;
        if (tail) {
            if (m_scan.size() < 2 || m_scan.back().start != to) return false;
            m_scan.pop_back();
        }
    }
    int added = (int)m_scan.size(), gone = last - first + 1;
    int count = n - gone + added;
    // New widths first, so a shrinking widest line does not send the counts searching downwards.
    for (int j = 0; j < added; ++j)
        if (first + j < count - 1) m_widths.Add(m_scan[(size_t)j].width);
    for (int k = first; k <= last; ++k)
        if (k < n - 1) m_widths.Remove(Width(k));
    if (!Replace(first, last, delta)) return false;
    m_count = count;
    m_lastEdit = first;
    return true;
}
