// CLineBlock: a run of consecutive lines with their starts and widths packed into under two bytes a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// One line of a text: where it starts and how many cells it is wide.
struct LineEntry {
    int start;
    int width;
};

// Why packed: on texts of short lines a four-byte start and a four-byte width cost a quarter of the
// text's own bytes. Starts: a block cuts its lines into groups of kGroup; a group keeps its first
// line's start as two bytes relative to the block's first line, and every line but the group's last
// the step to the next line's start in one byte, so a start is the group's start plus at most
// kGroup - 1 steps. A group with a step that does not fit a byte (a line of 256 bytes or more) keeps
// all its starts as two-byte offsets from the group's start in a long-group list instead.
// Widths: a line ends with its line feed, so its width is its length less one plus the cells its
// tabs add; a line keeps only its tab count, in four bits. The block's last line, whose length the
// block does not know, keeps its width in m_lastWidth; a line whose width that does not describe (a
// tab count of 15 or more, or a width from other rules) keeps it in the wide list.
// Invariants: 1 <= Count() <= kMaxLines once filled; Offset(0) == 0; offsets strictly increase and
// stay <= kMaxOffset; bit g of m_longGroups is set exactly for the groups in the long-group list,
// which holds them in group order; the wide list holds exactly the lines but the last whose tab count
// is kInWide, sorted by line. Storage: one allocation of m_cap / kGroup group starts, m_cap step bytes
// and m_cap / 2 tab-count bytes (m_cap a multiple of kGroup).
class CLineBlock {
public:
    static constexpr int kMaxLines = 512;
    static constexpr int kMaxOffset = 0xffff;
    static constexpr int kGroup = 16;

    // tabSize: the cells of a tab in the widths the block is given (any width is kept exactly; this
    // only decides which fit the tab counts).
    explicit CLineBlock(int tabSize)
        : m_tabCells((uint8_t)(tabSize > 1 && tabSize < 256 ? tabSize - 1 : 0)) {}
    ~CLineBlock() { Free(); }
    CLineBlock(CLineBlock&& other) noexcept { Take(other); }
    CLineBlock& operator=(CLineBlock&& other) noexcept;
    CLineBlock(const CLineBlock&) = delete;
    CLineBlock& operator=(const CLineBlock&) = delete;

    int Count() const { return m_count; }
    int Offset(int i) const {
        int g = i / kGroup;
        if (m_longGroups >> g & 1) return m_starts[g] + LongGroup(g)[i % kGroup];
        uint64_t low, high; // the group's steps, byte j at bits 8j (x86-64 is little-endian)
        std::memcpy(&low, Steps() + g * kGroup, 8);
        std::memcpy(&high, Steps() + g * kGroup + 8, 8);
        int k = i % kGroup;
        return m_starts[g] + SumBytes(low & FirstBytes(k)) + SumBytes(high & FirstBytes(k - 8));
    }
    int Width(int i) const;
    // The last line i with Offset(i) <= rel; rel >= 0.
    int Find(int rel) const;
    // The lines [i, i + n), their starts made absolute with base.
    void CopyOut(int i, int n, int base, LineEntry* out) const;
    size_t HeldBytes() const {
        return (size_t)m_cap * 3 / 2 + (size_t)m_cap / kGroup * 2 + sizeof(LongStarts) * (size_t)m_longCap +
               sizeof(Wide) * (size_t)m_wideCap;
    }

    // Appends a line at offset (greater than the last one, at most kMaxOffset); false when memory ran out.
    bool Append(int offset, int width) {
        int i = m_count, tabs = i > 0 ? TabsOf(m_lastWidth, offset - m_last) : 0;
        if (i == m_cap || tabs == kInWide || offset - m_last > 0xff || (m_longGroups >> (i / kGroup) & 1))
            return AppendSlowly(offset, width);
        if (i % kGroup == 0)
            m_starts[i / kGroup] = (uint16_t)offset;
        else
            Steps()[i - 1] = (uint8_t)(offset - m_last);
        if (i > 0) SetTabs(i - 1, tabs);
        m_last = (uint16_t)offset;
        m_lastWidth = width;
        ++m_count;
        return true;
    }
    // Makes room for cap lines (at most kMaxLines) so that appends up to it cannot fail.
    bool Reserve(int cap);
    // Replaces the gone lines from line i with the added lines (absolute starts, base being the block's
    // start; the first starts where line i did) and moves the starts after them by delta. false, with
    // the block unchanged, when the result would not fit a block or memory ran out.
    bool Replace(int i, int gone, const LineEntry* lines, int added, int base, int delta);
    void Free();

private:
    struct Wide {
        int line;
        int width;
    };
    struct LongStarts {
        uint16_t offset[kGroup];
    };
    static constexpr int kInWide = 15;
    static_assert(kMaxLines % kGroup == 0 && kMaxLines / kGroup <= 32, "the long groups fit one mask");

    // The sum of a word's eight bytes: pairs first, then the four 16-bit lanes in one multiply.
    static int SumBytes(uint64_t x) {
        x = (x & 0x00ff00ff00ff00ffull) + (x >> 8 & 0x00ff00ff00ff00ffull);
        return (int)((x * 0x0001000100010001ull) >> 48);
    }
    // A mask of a word's first n bytes (none for n <= 0).
    static uint64_t FirstBytes(int n) { return n <= 0 ? 0 : n >= 8 ? ~0ull : (1ull << (8 * n)) - 1; }
    uint8_t* Steps() const { return reinterpret_cast<uint8_t*>(m_starts + m_cap / kGroup); }
    uint8_t* TabBytes() const { return Steps() + m_cap; }
    int Tabs(int i) const { return TabBytes()[i / 2] >> (i % 2 * 4) & 15; }
    void SetTabs(int i, int tabs) {
        uint8_t& pair = TabBytes()[i / 2];
        pair = (uint8_t)((pair & ~(15 << (i % 2 * 4))) | tabs << (i % 2 * 4));
    }
    // The tab count that gives width for a line of length bytes, or kInWide when none does.
    int TabsOf(int width, int length) const {
        int extra = width - (length - 1);
        if (extra == 0) return 0;
        if (extra < 0 || m_tabCells == 0) return kInWide;
        // The usual tab of four cells divides by a constant, which compiles to a multiplication.
        int tabs = m_tabCells == 3 ? extra / 3 : extra / m_tabCells;
        return tabs * m_tabCells == extra && tabs < kInWide ? tabs : kInWide;
    }
    const uint16_t* LongGroup(int g) const {
        return m_long[__builtin_popcount(m_longGroups & ((1u << g) - 1))].offset;
    }
    int WideRank(int line) const;
    bool ReserveWide(int count);
    bool ReserveLong(int count);
    bool AppendSlowly(int offset, int width);
    bool Resize(int cap);
    void Shrink();
    bool ReplaceOneLine(int i, const LineEntry& line, int delta);
    void DecodeStarts(int first, int n, int* rel) const;
    static uint32_t LongGroupsIn(const int* rel, int count);
    void Encode(int g, const int* rel, const uint8_t* tabs, int count, uint32_t longs);
    void ReplaceWide(int i, int gone, const LineEntry* lines, const uint8_t* tabs, int added, int fresh);
    void Take(CLineBlock& other);

    // Small fields, as a text has a block for every few hundred lines.
    uint16_t* m_starts = nullptr;
    LongStarts* m_long = nullptr;
    Wide* m_wide = nullptr;
    int m_lastWidth = 0;
    uint32_t m_longGroups = 0;
    uint16_t m_count = 0;
    uint16_t m_cap = 0;
    uint16_t m_last = 0; // the last line's offset
    uint16_t m_longCap = 0;
    uint16_t m_wideCount = 0;
    uint16_t m_wideCap = 0;
    uint8_t m_tabCells = 0; // what a tab adds to a line's width beyond its byte
};
