// CLineBlock: a run of consecutive lines with their starts and widths packed into three bytes a line.
#pragma once

#include <cstddef>
#include <cstdint>

// One line of a text: where it starts and how many cells it is wide.
struct LineEntry {
    int start;
    int width;
};

// Why packed: on texts of short lines a four-byte start and a four-byte width cost a quarter of the
// text's own bytes. A block holds a line's start as two bytes relative to the block's first line and
// its width in one byte; the few lines of kWide cells or more keep their width in a side list.
// Invariants: 1 <= Count() <= kMaxLines once filled; Offset(0) == 0; offsets strictly increase and
// stay <= kMaxOffset; a width byte below kWide is the width, a byte of kWide means the width is in the
// wide list, which holds exactly those lines, sorted by line. Storage: one allocation of m_cap offsets
// followed by m_cap width bytes.
class CLineBlock {
public:
    static constexpr int kMaxLines = 512;
    static constexpr int kMaxOffset = 0xffff;

    CLineBlock() = default;
    ~CLineBlock() { Free(); }
    CLineBlock(CLineBlock&& other) noexcept { Take(other); }
    CLineBlock& operator=(CLineBlock&& other) noexcept;
    CLineBlock(const CLineBlock&) = delete;
    CLineBlock& operator=(const CLineBlock&) = delete;

    int Count() const { return m_count; }
    int Offset(int i) const { return m_offsets[i]; }
    int Width(int i) const;
    // The last line i with Offset(i) <= rel; rel >= 0.
    int Find(int rel) const;
    // The lines [i, i + n), their starts made absolute with base.
    void CopyOut(int i, int n, int base, LineEntry* out) const;
    size_t HeldBytes() const { return (size_t)m_cap * 3 + sizeof(Wide) * (size_t)m_wideCap; }

    // Appends a line at offset (greater than the last one, at most kMaxOffset); false when memory ran out.
    bool Append(int offset, int width) {
        if (m_count == m_cap || width >= kWide || width < 0) return AppendSlowly(offset, width);
        m_offsets[m_count] = (uint16_t)offset;
        Widths()[m_count++] = (uint8_t)width;
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
    static constexpr int kWide = 0xff;

    uint8_t* Widths() const { return reinterpret_cast<uint8_t*>(m_offsets + m_cap); }
    int WideRank(int line) const;
    bool ReserveWide(int count);
    bool AppendSlowly(int offset, int width);
    bool Resize(int cap);
    void Shrink();
    static uint8_t WidthByte(int width) { return (uint8_t)(width < 0 ? 0 : width < kWide ? width : kWide); }
    // fresh: how many of the added lines are wide.
    void ReplaceWide(int i, int gone, const LineEntry* lines, int added, int fresh);
    void Take(CLineBlock& other);

    uint16_t* m_offsets = nullptr;
    int m_count = 0;
    int m_cap = 0;
    Wide* m_wide = nullptr;
    int m_wideCount = 0;
    int m_wideCap = 0;
};
