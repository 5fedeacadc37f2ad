// CLineBlock: a run of consecutive lines with their starts and widths packed into about two bytes a line.
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
// text's own bytes. A block cuts its lines into groups of kGroup: a group keeps its first line's start
// as two bytes relative to the block's first line, and every line but the group's last the step to
// the next line's start in one byte, so a start is the group's start plus at most kGroup - 1 steps.
// A group with a step that does not fit a byte (a line of 256 bytes or more) keeps all its starts as
// two-byte offsets from the group's start in a long-group list instead. A line's width is one byte;
// the few lines of kWide cells or more keep their width in a side list.
// Invariants: 1 <= Count() <= kMaxLines once filled; Offset(0) == 0; offsets strictly increase and
// stay <= kMaxOffset; bit g of m_longGroups is set exactly for the groups in the long-group list,
// which holds them in group order; a width byte below kWide is the width, a byte of kWide means the
// width is in the wide list, which holds exactly those lines, sorted by line. Storage: one allocation
// of m_cap / kGroup group starts, m_cap step bytes and m_cap width bytes (m_cap a multiple of kGroup).
class CLineBlock {
public:
    static constexpr int kMaxLines = 512;
    static constexpr int kMaxOffset = 0xffff;
    static constexpr int kGroup = 16;

    CLineBlock() = default;
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
        return (size_t)m_cap * 2 + (size_t)m_cap / kGroup * 2 + sizeof(LongStarts) * (size_t)m_longCap +
               sizeof(Wide) * (size_t)m_wideCap;
    }

    // Appends a line at offset (greater than the last one, at most kMaxOffset); false when memory ran out.
    bool Append(int offset, int width) {
        int i = m_count;
        if (i == m_cap || width >= kWide || width < 0 || offset - m_last > 0xff ||
            (m_longGroups >> (i / kGroup) & 1))
            return AppendSlowly(offset, width);
        if (i % kGroup == 0)
            m_starts[i / kGroup] = (uint16_t)offset;
        else
            Steps()[i - 1] = (uint8_t)(offset - m_last);
        Widths()[i] = (uint8_t)width;
        m_last = (uint16_t)offset;
        ++m_count;
        return true;
    }
    // Makes room for cap lines (at most kMaxLines) so that appends up to it cannot fail.
    bool Reserve(int cap);
    // Replaces the gone lines from line i with the added lines (absolute starts, base being the block's
    // start) and moves the starts after them by delta. false, with the block unchanged, when the result
    // would not fit a block or memory ran out.
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
    static constexpr int kWide = 0xff;
    static_assert(kMaxLines % kGroup == 0 && kMaxLines / kGroup <= 32, "the long groups fit one mask");

    // The sum of a word's eight bytes: pairs first, then the four 16-bit lanes in one multiply.
    static int SumBytes(uint64_t x) {
        x = (x & 0x00ff00ff00ff00ffull) + (x >> 8 & 0x00ff00ff00ff00ffull);
        return (int)((x * 0x0001000100010001ull) >> 48);
    }
    // A mask of a word's first n bytes (none for n <= 0).
    static uint64_t FirstBytes(int n) { return n <= 0 ? 0 : n >= 8 ? ~0ull : (1ull << (8 * n)) - 1; }
    uint8_t* Steps() const { return reinterpret_cast<uint8_t*>(m_starts + m_cap / kGroup); }
    uint8_t* Widths() const { return Steps() + m_cap; }
    const uint16_t* LongGroup(int g) const {
        return m_long[__builtin_popcount(m_longGroups & ((1u << g) - 1))].offset;
    }
    int WideRank(int line) const;
    bool ReserveWide(int count);
    bool ReserveLong(int count);
    bool AppendSlowly(int offset, int width);
    bool Resize(int cap);
    bool ReplaceOneLine(int i, const LineEntry& line, int base, int delta);
    void Shrink();
    // The offsets of the lines [first, first + n) into rel.
    void Decode(int first, int n, int* rel) const;
    // The groups from g on made again from the offsets of their count lines, rel[k] being line
    // g * kGroup + k.
    void Encode(int g, const int* rel, int count);
    static int LongGroupsIn(const int* rel, int count);
    static uint8_t WidthByte(int width) { return (uint8_t)(width < 0 ? 0 : width < kWide ? width : kWide); }
    // fresh: how many of the added lines are wide.
    void ReplaceWide(int i, int gone, const LineEntry* lines, int added, int fresh);
    void Take(CLineBlock& other);

    // Small fields, as a text has a block for every few hundred lines.
    uint16_t* m_starts = nullptr;
    LongStarts* m_long = nullptr;
    Wide* m_wide = nullptr;
    uint32_t m_longGroups = 0;
    uint16_t m_count = 0;
    uint16_t m_cap = 0;
    uint16_t m_last = 0; // the last line's offset
    uint16_t m_longCap = 0;
    uint16_t m_wideCount = 0;
    uint16_t m_wideCap = 0;
};
