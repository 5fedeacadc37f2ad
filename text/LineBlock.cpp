// CLineBlock: packed line entries, their growth, and the in-place replacement of a few lines.
#include "text/LineBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/base/MemoryBlock.h"

namespace {
// Adds delta to the offsets [from, to), eight to a step: typing moves every start after the caret.
void AddToOffsets(uint16_t* offsets, int from, int to, int delta) {
    typedef uint16_t Lanes __attribute__((vector_size(16)));
    Lanes by = Lanes{} + (uint16_t)delta;
    int k = from;
    // Aligned stores, so that the searches reading single offsets right after get them forwarded.
    for (; k < to && ((uintptr_t)(offsets + k) & 15) != 0; ++k) offsets[k] = (uint16_t)(offsets[k] + delta);
    for (; k + 8 <= to; k += 8) {
        Lanes v;
        std::memcpy(&v, offsets + k, sizeof v);
        v += by;
        std::memcpy(offsets + k, &v, sizeof v);
    }
    for (; k < to; ++k) offsets[k] = (uint16_t)(offsets[k] + delta);
}
} // namespace

CLineBlock& CLineBlock::operator=(CLineBlock&& other) noexcept {
    if (this != &other) {
        Free();
        Take(other);
    }
    return *this;
}

void CLineBlock::Take(CLineBlock& other) {
    m_offsets = other.m_offsets;
    m_count = other.m_count;
    m_cap = other.m_cap;
    m_wide = other.m_wide;
    m_wideCount = other.m_wideCount;
    m_wideCap = other.m_wideCap;
    other.m_offsets = nullptr;
    other.m_wide = nullptr;
    other.m_count = other.m_cap = other.m_wideCount = other.m_wideCap = 0;
}

void CLineBlock::Free() {
    std::free(m_offsets);
    std::free(m_wide);
    m_offsets = nullptr;
    m_wide = nullptr;
    m_count = m_cap = m_wideCount = m_wideCap = 0;
}

// The rank in the wide list of the first entry at or after line.
int CLineBlock::WideRank(int line) const {
    const Wide* begin = m_wide;
    const Wide* end = m_wide + m_wideCount;
    return (int)(std::lower_bound(begin, end, line, [](const Wide& w, int l) { return w.line < l; }) -
                 m_wide);
}

int CLineBlock::Width(int i) const {
    int width = Widths()[i];
    if (width < kWide) return width;
    int rank = WideRank(i);
    return rank < m_wideCount ? m_wide[rank].width : width;
}

// Halving without a branch: the offsets of one block lie in a few cache lines.
int CLineBlock::Find(int rel) const {
    if (rel > kMaxOffset) rel = kMaxOffset;
    const uint16_t* at = m_offsets;
    for (int n = m_count; n > 1;) {
        int half = n / 2;
        at = at[half] <= rel ? at + half : at;
        n -= half;
    }
    return (int)(at - m_offsets);
}

void CLineBlock::CopyOut(int i, int n, int base, LineEntry* out) const {
    for (int j = 0; j < n; ++j) out[j] = {base + m_offsets[i + j], Width(i + j)};
}

bool CLineBlock::Reserve(int cap) {
    cap = std::min(cap, kMaxLines);
    return cap <= m_cap || Resize(cap);
}

// Moves the entries into a new allocation of cap lines (cap >= Count()).
bool CLineBlock::Resize(int cap) {
    auto* moved = static_cast<uint16_t*>(memblock::Malloc((size_t)cap * 3));
    if (moved == nullptr) return false;
    if (m_count > 0) {
        std::memcpy(moved, m_offsets, sizeof(uint16_t) * (size_t)m_count);
        std::memcpy(reinterpret_cast<uint8_t*>(moved + cap), Widths(), (size_t)m_count);
    }
    std::free(m_offsets);
    m_offsets = moved;
    m_cap = cap;
    return true;
}

bool CLineBlock::ReserveWide(int count) {
    if (count <= m_wideCap) return true;
    int cap = std::max(count, m_wideCap * 2 + 4);
    auto* grown = static_cast<Wide*>(memblock::Realloc(m_wide, sizeof(Wide) * (size_t)cap));
    if (grown == nullptr) return false;
    m_wide = grown;
    m_wideCap = cap;
    return true;
}

bool CLineBlock::AppendSlowly(int offset, int width) {
    if (m_count == m_cap && !Reserve(m_cap == 0 ? 32 : m_cap * 2)) return false;
    if (m_count == m_cap) return false;
    if (width >= kWide) {
        if (!ReserveWide(m_wideCount + 1)) return false;
        m_wide[m_wideCount++] = {m_count, width};
    }
    m_offsets[m_count] = (uint16_t)offset;
    Widths()[m_count] = WidthByte(width);
    ++m_count;
    return true;
}

// The wide list after Replace: entries before i kept, those of the gone lines dropped, the added
// lines' own, then the later entries renumbered. The list has room (ReserveWide) beforehand.
void CLineBlock::ReplaceWide(int i, int gone, const LineEntry* lines, int added, int fresh) {
    int lo = WideRank(i), hi = WideRank(i + gone);
    if (lo == m_wideCount && fresh == 0) return;
    std::memmove(m_wide + lo + fresh, m_wide + hi, sizeof(Wide) * (size_t)(m_wideCount - hi));
    m_wideCount += lo + fresh - hi;
    for (int k = lo + fresh; k < m_wideCount; ++k) m_wide[k].line += added - gone;
    for (int j = 0, k = lo; j < added; ++j)
        if (lines[j].width >= kWide) m_wide[k++] = {i + j, lines[j].width};
}

bool CLineBlock::Replace(int i, int gone, const LineEntry* lines, int added, int base, int delta) {
    int count = m_count - gone + added;
    int tail = m_count - i - gone;
    if (count < 1 || count > kMaxLines || i < 0 || tail < 0) return false;
    if (i == 0 && (added == 0 || lines[0].start != base)) return false; // offset 0 is the block's start
    if (added > 0 && (lines[0].start - base < (i > 0 ? m_offsets[i - 1] + 1 : 0) ||
                      lines[added - 1].start - base > kMaxOffset))
        return false;
    if (tail > 0 && m_offsets[m_count - 1] + delta > kMaxOffset) return false;
    int fresh = 0;
    for (int j = 0; j < added; ++j) fresh += lines[j].width >= kWide;
    if (count > m_cap && !Reserve(count + count / 4)) return false;
    if (!ReserveWide(m_wideCount + fresh)) return false;
    ReplaceWide(i, gone, lines, added, fresh);
    uint8_t* widths = Widths();
    if (added != gone) {
        std::memmove(m_offsets + i + added, m_offsets + i + gone, sizeof(uint16_t) * (size_t)tail);
        std::memmove(widths + i + added, widths + i + gone, (size_t)tail);
    }
    for (int j = 0; j < added; ++j) {
        m_offsets[i + j] = (uint16_t)(lines[j].start - base);
        widths[i + j] = WidthByte(lines[j].width);
    }
    if (delta != 0) AddToOffsets(m_offsets, i + added, count, delta);
    m_count = count;
    if (count < m_cap / 4) Shrink(); // deletions must not leave mostly empty blocks behind
    return true;
}

// Gives back the room of a block that lost most of its lines; on failure the block keeps it.
void CLineBlock::Shrink() {
    Resize(m_count * 2);
}
