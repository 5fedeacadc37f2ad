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
    m_lastWidth = other.m_lastWidth;
    m_tabCells = other.m_tabCells;
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
    other.m_lastWidth = 0;
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
    m_lastWidth = 0;
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
    if (i == m_count - 1) return m_lastWidth;
    int tabs = Tabs(i);
    if (tabs == kInWide) {
        int rank = WideRank(i);
        return rank < m_wideCount ? m_wide[rank].width : 0;
    }
    return Offset(i + 1) - Offset(i) - 1 + tabs * m_tabCells;
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

void CLineBlock::DecodeStarts(int first, int n, int* rel) const {
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
    DecodeStarts(i, n, rel);
    for (int j = 0; j < n; ++j) out[j] = {base + rel[j], Width(i + j)};
}

bool CLineBlock::Reserve(int cap) {
    cap = std::min(cap, kMaxLines);
    return cap <= m_cap || Resize(cap);
}

// Moves the entries into a new allocation of cap lines (cap >= Count()), rounded up to whole groups.
bool CLineBlock::Resize(int cap) {
    cap = (cap + kGroup - 1) / kGroup * kGroup;
    auto* moved = static_cast<uint16_t*>(memblock::Malloc((size_t)cap / kGroup * 2 + (size_t)cap * 3 / 2));
    if (moved == nullptr) return false;
    if (m_count > 0) {
        std::memcpy(moved, m_starts, sizeof(uint16_t) * (size_t)((m_count + kGroup - 1) / kGroup));
        uint8_t* steps = reinterpret_cast<uint8_t*>(moved + cap / kGroup);
        std::memcpy(steps, Steps(), (size_t)m_count);
        std::memcpy(steps + cap, TabBytes(), (size_t)(m_count + 1) / 2);
    }
    std::free(m_starts);
    m_starts = moved;
    m_cap = (uint16_t)cap;
    return true;
}

namespace {
// Room for count entries in a side list, growing it to about twice its size.
template <class T> bool ReserveList(T*& list, uint16_t& cap, int count) {
    if (count <= cap) return true;
    int grown = std::max(count, cap * 2 + 2);
    auto* moved = static_cast<T*>(memblock::Realloc(list, sizeof(T) * (size_t)grown));
    if (moved == nullptr) return false;
    list = moved;
    cap = (uint16_t)grown;
    return true;
}
} // namespace

bool CLineBlock::ReserveLong(int count) {
    return ReserveList(m_long, m_longCap, count);
}

bool CLineBlock::ReserveWide(int count) {
    return ReserveList(m_wide, m_wideCap, count);
}

bool CLineBlock::AppendSlowly(int offset, int width) {
    if (m_count == m_cap && !Reserve(m_cap == 0 ? 32 : m_cap * 2)) return false;
    if (m_count == m_cap) return false;
    int i = m_count, g = i / kGroup, k = i % kGroup;
    int longs = __builtin_popcount(m_longGroups);
    bool becomesLong = k > 0 && !(m_longGroups >> g & 1) && offset - m_last > 0xff;
    int tabs = i > 0 ? TabsOf(m_lastWidth, offset - m_last) : 0;
    if (becomesLong && !ReserveLong(longs + 1)) return false;
    if (tabs == kInWide && !ReserveWide(m_wideCount + 1)) return false;
    if (tabs == kInWide) m_wide[m_wideCount++] = {i - 1, m_lastWidth};
    if (i > 0) SetTabs(i - 1, tabs);
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
    m_last = (uint16_t)offset;
    m_lastWidth = width;
    ++m_count;
    return true;
}

// Bit j set: the range's group j has a step that does not fit a byte.
uint32_t CLineBlock::LongGroupsIn(const int* rel, int count) {
    uint32_t longs = 0;
    for (int first = 0, group = 0; first < count; first += kGroup, ++group) {
        bool isLong = false;
        for (int j = first + 1; j < std::min(count, first + kGroup); ++j)
            isLong |= rel[j] - rel[j - 1] > 0xff;
        longs |= (uint32_t)isLong << group;
    }
    return longs;
}

// The groups from g on made again from the offsets and tab counts of their count lines (rel[k] and
// tabs[k] being line g * kGroup + k). The long-group list has room and holds no group from g on.
void CLineBlock::Encode(int g, const int* rel, const uint8_t* tabs, int count, uint32_t longs) {
    uint8_t* steps = Steps();
    int rank = __builtin_popcount(m_longGroups);
    for (int first = 0, group = g; first < count; first += kGroup, ++group) {
        int end = std::min(count, first + kGroup);
        m_starts[group] = (uint16_t)rel[first];
        if (longs >> (group - g) & 1) {
            m_longGroups |= 1u << group;
            for (int j = first; j < end; ++j)
                m_long[rank].offset[j - first] = (uint16_t)(rel[j] - rel[first]);
            ++rank;
        } else {
            for (int j = first; j + 1 < end; ++j)
                steps[group * kGroup + j - first] = (uint8_t)(rel[j + 1] - rel[j]);
        }
    }
    for (int j = 0; j < count; ++j) SetTabs(g * kGroup + j, tabs[j]);
}

// The wide list after Replace: entries before i kept, those of the gone lines dropped, the added
// lines' own (those whose tab count is kInWide), then the later entries renumbered. The list has
// room beforehand.
void CLineBlock::ReplaceWide(int i, int gone, const LineEntry* lines, const uint8_t* tabs, int added,
                             int fresh) {
    int lo = WideRank(i), hi = WideRank(i + gone);
    if (lo == m_wideCount && fresh == 0) return;
    std::memmove(m_wide + lo + fresh, m_wide + hi, sizeof(Wide) * (size_t)(m_wideCount - hi));
    m_wideCount = (uint16_t)(m_wideCount + lo + fresh - hi);
    for (int k = lo + fresh; k < m_wideCount; ++k) m_wide[k].line += added - gone;
    for (int j = 0, k = lo; j < added; ++j)
        if (tabs[j] == kInWide) m_wide[k++] = {i + j, lines[j].width};
}

// Typing's edit: one line of a group of steps rewritten in place (its start stays), its step and tab
// count adjusted and the later groups moved. false, with the block unchanged, when the edit needs the
// general way.
bool CLineBlock::ReplaceOneLine(int i, const LineEntry& line, int delta) {
    int g = i / kGroup;
    if (m_longGroups >> g & 1) return false;
    bool last = i + 1 == m_count;
    bool stepped = !last && (i + 1) % kGroup != 0; // the step to the next line is stored
    int length = last ? 0 : Offset(i + 1) + delta - Offset(i);
    int tabs = last ? 0 : TabsOf(line.width, length);
    if ((stepped && length > 0xff) || (!last && (tabs == kInWide || Tabs(i) == kInWide))) return false;
    if (stepped) Steps()[i] = (uint8_t)length;
    if (last)
        m_lastWidth = line.width;
    else
        SetTabs(i, tabs);
    for (int h = g + 1; h * kGroup < m_count; ++h) m_starts[h] = (uint16_t)(m_starts[h] + delta);
    if (!last) m_last = (uint16_t)(m_last + delta);
    return true;
}

bool CLineBlock::Replace(int i, int gone, const LineEntry* lines, int added, int base, int delta) {
    int count = m_count - gone + added;
    int tail = m_count - i - gone;
    if (count < 1 || count > kMaxLines || i < 0 || i >= m_count || tail < 0 || added < 1) return false;
    if (lines[0].start - base != Offset(i) || lines[added - 1].start - base > kMaxOffset) return false;
    if (tail > 0 && m_last + delta > kMaxOffset) return false;
    if (gone == 1 && added == 1 && ReplaceOneLine(i, lines[0], delta)) return true;
    // The lines encoded again: from the group of line i to the block's end, or, when the line count
    // stays and no group there is or becomes long, to the end of the last added line's group.
    int g = i / kGroup, first = g * kGroup, groups = (count + kGroup - 1) / kGroup;
    int lastGroup = added == gone ? std::min((i + added - 1) / kGroup, groups - 1) : groups - 1;
    int rel[kMaxLines];
    uint8_t tabs[kMaxLines];
    uint32_t longs = 0, changed = 0;
    int n = 0;
    for (bool partial = lastGroup < groups - 1;; partial = false, lastGroup = groups - 1) {
        n = std::min(count, (lastGroup + 1) * kGroup) - first;
        int before = i - first, after = n - before - added;
        DecodeStarts(first, before, rel);
        for (int j = 0; j < added; ++j) rel[before + j] = lines[j].start - base;
        DecodeStarts(i + gone, after, rel + before + added);
        for (int j = before + added; j < n; ++j) rel[j] += delta;
        longs = LongGroupsIn(rel, n);
        // Every group from g on when the range ends the block, as groups past the new count go too.
        changed = partial ? (~0u << g) & ((2u << lastGroup) - 1) : ~0u << g;
        if (!partial || (!(m_longGroups & changed) && longs == 0)) {
            int next = first + n < count ? Offset(first + n - added + gone) + delta : -1;
            for (int j = 0; j < before; ++j) tabs[j] = (uint8_t)Tabs(first + j);
            for (int j = 0; j < added; ++j) {
                int end = before + j + 1 < n ? rel[before + j + 1] : next;
                tabs[before + j] = (uint8_t)(end < 0 ? 0 : TabsOf(lines[j].width, end - rel[before + j]));
            }
            for (int j = before + added; j < n; ++j) tabs[j] = (uint8_t)Tabs(first + j - added + gone);
            break;
        }
    }
    int fresh = 0;
    for (int j = 0; j < added; ++j) fresh += tabs[i - first + j] == kInWide;
    if (count > m_cap && !Reserve(count + count / 4)) return false;
    if (!ReserveLong(__builtin_popcount(m_longGroups & ~changed) + __builtin_popcount(longs))) return false;
    if (!ReserveWide(m_wideCount + fresh)) return false;
    ReplaceWide(i, gone, lines, tabs + (i - first), added, fresh);
    m_longGroups &= ~changed; // the groups after the range keep theirs: it ends the block or holds none
    Encode(g, rel, tabs, n, longs);
    for (int h = lastGroup + 1; h < groups; ++h) m_starts[h] = (uint16_t)(m_starts[h] + delta);
    if (tail == 0) m_lastWidth = lines[added - 1].width;
    m_count = (uint16_t)count;
    m_last = (uint16_t)Offset(count - 1);
    if (count < m_cap / 4) Shrink(); // deletions must not leave mostly empty blocks behind
    return true;
}

// Gives back the room of a block that lost most of its lines; on failure the block keeps it.
void CLineBlock::Shrink() {
    Resize(m_count * 2);
}
