// CLineBlock: packed line entries, their growth, and the in-place replacement of a few lines.
#include "text/LineBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/base/MemoryBlock.h"

CLineBlock& CLineBlock::operator=(CLineBlock&& other) noexcept {
    if (this != &other) {
        Free();
        Take(other);
    }
    return *this;
}

void CLineBlock::Take(CLineBlock& other) {
    m_starts = other.m_starts;
    m_count = other.m_count;
    m_cap = other.m_cap;
    m_last = other.m_last;
    m_longGroups = other.m_longGroups;
    m_long = other.m_long;
    m_longCap = other.m_longCap;
    m_wide = other.m_wide;
    m_wideCount = other.m_wideCount;
    m_wideCap = other.m_wideCap;
    other.m_starts = nullptr;
    other.m_long = nullptr;
    other.m_wide = nullptr;
    other.m_count = other.m_cap = other.m_last = other.m_longCap = other.m_wideCount = other.m_wideCap = 0;
    other.m_longGroups = 0;
}

void CLineBlock::Free() {
    std::free(m_starts);
    std::free(m_long);
    std::free(m_wide);
    m_starts = nullptr;
    m_long = nullptr;
    m_wide = nullptr;
    m_count = m_cap = m_last = m_longCap = m_wideCount = m_wideCap = 0;
    m_longGroups = 0;
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

// Halving over the group starts, then a walk along at most kGroup - 1 steps.
int CLineBlock::Find(int rel) const {
    int g = 0;
    for (int n = (m_count + kGroup - 1) / kGroup; n > 1;) {
        int half = n / 2;
        g = m_starts[g + half] <= rel ? g + half : g;
        n -= half;
    }
    int i = g * kGroup, end = std::min((int)m_count, i + kGroup);
    if (m_longGroups >> g & 1) {
        const uint16_t* offsets = LongGroup(g) - i;
        for (int r = rel - m_starts[g]; i + 1 < end && offsets[i + 1] <= r;) ++i;
        return i;
    }
    const uint8_t* steps = Steps();
    for (int offset = m_starts[g]; i + 1 < end && offset + steps[i] <= rel;) offset += steps[i++];
    return i;
}

void CLineBlock::Decode(int first, int n, int* rel) const {
    for (int j = 0; j < n;) {
        int g = (first + j) / kGroup;
        int end = std::min(n, (g + 1) * kGroup - first);
        if (m_longGroups >> g & 1) {
            const uint16_t* offsets = LongGroup(g) - g * kGroup;
            for (; j < end; ++j) rel[j] = m_starts[g] + offsets[first + j];
            continue;
        }
        int offset = Offset(first + j);
        for (; j < end; ++j) {
            rel[j] = offset;
            offset += Steps()[first + j];
        }
    }
}

void CLineBlock::CopyOut(int i, int n, int base, LineEntry* out) const {
    int rel[kMaxLines];
    Decode(i, n, rel);
    for (int j = 0; j < n; ++j) out[j] = {base + rel[j], Width(i + j)};
}

bool CLineBlock::Reserve(int cap) {
    cap = std::min(cap, kMaxLines);
    return cap <= m_cap || Resize(cap);
}

// Moves the entries into a new allocation of cap lines (cap >= Count()), rounded up to whole groups.
bool CLineBlock::Resize(int cap) {
    cap = (cap + kGroup - 1) / kGroup * kGroup;
    auto* moved = static_cast<uint16_t*>(memblock::Malloc((size_t)cap * 2 + (size_t)cap / kGroup * 2));
    if (moved == nullptr) return false;
    if (m_count > 0) {
        std::memcpy(moved, m_starts, sizeof(uint16_t) * (size_t)((m_count + kGroup - 1) / kGroup));
        uint8_t* steps = reinterpret_cast<uint8_t*>(moved + cap / kGroup);
        std::memcpy(steps, Steps(), (size_t)m_count);
        std::memcpy(steps + cap, Widths(), (size_t)m_count);
    }
    std::free(m_starts);
    m_starts = moved;
    m_cap = (uint16_t)cap;
    return true;
}

bool CLineBlock::ReserveLong(int count) {
    if (count <= m_longCap) return true;
    int cap = std::max(count, m_longCap * 2 + 1);
    auto* grown = static_cast<LongStarts*>(memblock::Realloc(m_long, sizeof(LongStarts) * (size_t)cap));
    if (grown == nullptr) return false;
    m_long = grown;
    m_longCap = (uint16_t)cap;
    return true;
}

bool CLineBlock::ReserveWide(int count) {
    if (count <= m_wideCap) return true;
    int cap = std::max(count, m_wideCap * 2 + 4);
    auto* grown = static_cast<Wide*>(memblock::Realloc(m_wide, sizeof(Wide) * (size_t)cap));
    if (grown == nullptr) return false;
    m_wide = grown;
    m_wideCap = (uint16_t)cap;
    return true;
}

bool CLineBlock::AppendSlowly(int offset, int width) {
    if (m_count == m_cap && !Reserve(m_cap == 0 ? 32 : m_cap * 2)) return false;
    if (m_count == m_cap) return false;
    int i = m_count, g = i / kGroup, k = i % kGroup;
    int longs = __builtin_popcount(m_longGroups);
    bool becomesLong = k > 0 && !(m_longGroups >> g & 1) && offset - m_last > 0xff;
    if (becomesLong && !ReserveLong(longs + 1)) return false;
    if (width >= kWide) {
        if (!ReserveWide(m_wideCount + 1)) return false;
        m_wide[m_wideCount++] = {i, width};
    }
    if (becomesLong) { // the group is the block's last: its starts so far go to the end of the list
        uint16_t* offsets = m_long[longs].offset;
        offsets[0] = 0;
        for (int j = 1; j < k; ++j) offsets[j] = (uint16_t)(offsets[j - 1] + Steps()[g * kGroup + j - 1]);
        m_longGroups |= 1u << g;
    }
    if (k == 0)
        m_starts[g] = (uint16_t)offset;
    else if (m_longGroups >> g & 1)
        const_cast<uint16_t*>(LongGroup(g))[k] = (uint16_t)(offset - m_starts[g]);
    else
        Steps()[i - 1] = (uint8_t)(offset - m_last);
    Widths()[i] = WidthByte(width);
    m_last = (uint16_t)offset;
    ++m_count;
    return true;
}

int CLineBlock::LongGroupsIn(const int* rel, int count) {
    int longs = 0;
    for (int first = 0; first < count; first += kGroup) {
        bool isLong = false;
        for (int j = first + 1; j < std::min(count, first + kGroup); ++j)
            isLong |= rel[j] - rel[j - 1] > 0xff;
        longs += isLong;
    }
    return longs;
}

// The long-group list has room, and holds no group from g on.
void CLineBlock::Encode(int g, const int* rel, int count) {
    uint8_t* steps = Steps();
    int longs = __builtin_popcount(m_longGroups);
    for (int first = 0; first < count; first += kGroup, ++g) {
        int end = std::min(count, first + kGroup);
        m_starts[g] = (uint16_t)rel[first];
        bool isLong = false;
        for (int j = first + 1; j < end; ++j) isLong |= rel[j] - rel[j - 1] > 0xff;
        if (isLong) {
            m_longGroups |= 1u << g;
            for (int j = first; j < end; ++j)
                m_long[longs].offset[j - first] = (uint16_t)(rel[j] - rel[first]);
            ++longs;
        } else {
            for (int j = first; j + 1 < end; ++j)
                steps[g * kGroup + j - first] = (uint8_t)(rel[j + 1] - rel[j]);
        }
    }
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

// Typing's edit: one line of a group of steps rewritten in place, its neighbours' steps adjusted and
// the later groups moved. false, with the block unchanged, when the edit needs the general way.
bool CLineBlock::ReplaceOneLine(int i, const LineEntry& line, int base, int delta) {
    int g = i / kGroup, k = i % kGroup;
    if ((m_longGroups >> g & 1) || (line.width >= kWide) != (Widths()[i] == kWide)) return false;
    uint8_t* steps = Steps();
    int old = Offset(i), start = line.start - base;
    bool hasNext = k + 1 < kGroup && i + 1 < m_count;
    int before = k > 0 ? steps[i - 1] + start - old : 0;
    int after = hasNext ? steps[i] + old + delta - start : 0;
    if (before < 0 || before > 0xff || after < 0 || after > 0xff) return false;
    if (k > 0)
        steps[i - 1] = (uint8_t)before;
    else
        m_starts[g] = (uint16_t)start;
    if (hasNext) steps[i] = (uint8_t)after;
    if (line.width >= kWide)
        m_wide[WideRank(i)].width = line.width;
    else
        Widths()[i] = (uint8_t)line.width;
    for (int h = g + 1; h * kGroup < m_count; ++h) m_starts[h] = (uint16_t)(m_starts[h] + delta);
    m_last = (uint16_t)(i + 1 < m_count ? m_last + delta : start);
    return true;
}

bool CLineBlock::Replace(int i, int gone, const LineEntry* lines, int added, int base, int delta) {
    int count = m_count - gone + added;
    int tail = m_count - i - gone;
    if (count < 1 || count > kMaxLines || i < 0 || tail < 0) return false;
    if (i == 0 && (added == 0 || lines[0].start != base)) return false; // offset 0 is the block's start
    if (added > 0 && (lines[0].start - base < (i > 0 ? Offset(i - 1) + 1 : 0) ||
                      lines[added - 1].start - base > kMaxOffset))
        return false;
    if (tail > 0 && m_last + delta > kMaxOffset) return false;
    if (gone == 1 && added == 1 && ReplaceOneLine(i, lines[0], base, delta)) return true;
    int fresh = 0;
    for (int j = 0; j < added; ++j) fresh += lines[j].width >= kWide;
    // The new starts of the lines from the first changed group on (all of them, or only those of the
    // changed groups when the line count stays and no group there is or becomes long).
    int g = i / kGroup, first = g * kGroup;
    int lastGroup = added == gone ? (i + std::max(added, 1) - 1) / kGroup : kMaxLines / kGroup;
    int n = std::min(count, (lastGroup + 1) * kGroup) - first;
    int old[kMaxLines], rel[kMaxLines];
    Decode(first, std::min((int)m_count, n - added + gone), old);
    for (int j = 0; j < n; ++j) {
        int line = first + j;
        rel[j] = line < i           ? old[j]
                 : line < i + added ? lines[line - i].start - base
                                    : old[j - added + gone] + delta;
    }
    uint32_t changed = ~0u << g;
    if (n < count - first) changed &= (uint32_t)((2ull << lastGroup) - 1);
    bool onlyShort = !(m_longGroups & changed) && LongGroupsIn(rel, n) == 0;
    if (n < count - first && !onlyShort) {
        lastGroup = kMaxLines / kGroup;
        n = count - first;
        Decode(first, m_count - first, old);
        for (int j = i + added - first; j < n; ++j) rel[j] = old[j - added + gone] + delta;
        changed = ~0u << g;
    }
    int keep = __builtin_popcount(m_longGroups & ~changed);
    if (count > m_cap && !Reserve(count + count / 4)) return false;
    if (!ReserveWide(m_wideCount + fresh)) return false;
    if (!ReserveLong(keep + LongGroupsIn(rel, n))) return false;
    ReplaceWide(i, gone, lines, added, fresh);
    uint8_t* widths = Widths();
    if (added != gone) std::memmove(widths + i + added, widths + i + gone, (size_t)tail);
    for (int j = 0; j < added; ++j) widths[i + j] = WidthByte(lines[j].width);
    if (n == count - first) {
        // The list keeps the groups before g; those from g on are encoded again at its end.
        m_longGroups &= ~changed;
    } else {
        for (int h = lastGroup + 1; h * kGroup < count; ++h) m_starts[h] = (uint16_t)(m_starts[h] + delta);
    }
    Encode(g, rel, n);
    m_count = (uint16_t)count;
    m_last = (uint16_t)Offset(count - 1);
    if (count < m_cap / 4) Shrink(); // deletions must not leave mostly empty blocks behind
    return true;
}

// Gives back the room of a block that lost most of its lines; on failure the block keeps it.
void CLineBlock::Shrink() {
    Resize(m_count * 2);
}
