// Laying a line's bytes out on the cell grid and drawing them there with explicit advances.
#include "views/GridText.h"

#include "framework/base/ByteClass.h"
#include "framework/win/Desktop.h"

namespace {
const UINT kGbkCodePage = 936;
} // namespace

CGridText& CGridText::Scratch() {
    static thread_local CGridText scratch;
    return scratch;
}

// The glyph of a one- or two-byte character; 0 when the code page has none for the bytes.
int CGridText::Decode(const char* bytes, int length, wchar_t& glyph) const {
    return DecodeInCodePage(kGbkCodePage, bytes, length, &glyph, 1);
}

void CGridText::AddGlyph(wchar_t glyph, int x, int advance) {
    m_glyphs.push_back(glyph);
    m_glyphX.push_back(x);
    m_advances.push_back(advance);
}

void CGridText::LayOut(const char* bytes, int count, int x, const Grid& grid) {
    m_count = count > 0 ? count : 0;
    m_x.resize((size_t)m_count + 1);
    m_glyphAt.resize((size_t)m_count + 1);
    m_glyphs.clear();
    m_glyphX.clear();
    m_advances.clear();
    int i = 0;
    while (i < m_count) {
        unsigned char b = (unsigned char)bytes[i];
        m_x[(size_t)i] = x;
        m_glyphAt[(size_t)i] = (int)m_glyphs.size();
        if (b < 0x80) {
            int end = b == '\t'                    ? NextTabStop(x, grid.tabOrigin, grid.tabWidth)
                      : byteclass::TakesOneCell(b) ? x + grid.cellWidth
                                                   : x;
            if (end > x) AddGlyph(byteclass::IsPrintableAscii(b) ? (wchar_t)b : L' ', x, end - x);
            x = end;
            ++i;
            continue;
        }
        unsigned char next = i + 1 < m_count ? (unsigned char)bytes[i + 1] : 0;
        bool paired =
            i + 1 < m_count && (grid.gbkPairs ? byteclass::IsGbkLead(b) && byteclass::IsGbkTrail(next)
                                              : byteclass::IsHalfOfPair(next));
        wchar_t glyph = L'?';
        if (paired && Decode(bytes + i, 2, glyph) == 1) {
            AddGlyph(glyph, x, 2 * grid.cellWidth);
            // The second byte has its own cell but no glyph: a range starting there draws the next one.
            m_x[(size_t)i + 1] = x + grid.cellWidth;
            m_glyphAt[(size_t)i + 1] = (int)m_glyphs.size();
            x += 2 * grid.cellWidth;
            i += 2;
            continue;
        }
        if (Decode(bytes + i, 1, glyph) != 1) glyph = L'?';
        AddGlyph(glyph, x, grid.cellWidth);
        x += grid.cellWidth;
        ++i;
    }
    m_x[(size_t)m_count] = x;
    m_glyphAt[(size_t)m_count] = (int)m_glyphs.size();
}

void CGridText::Draw(CDC* dc, int y, int from, int to) const {
    if (from < 0) from = 0;
    if (to > m_count) to = m_count;
    if (from >= to) return;
    // A second byte's glyph index is past its character's, so a character cut by either end of the
    // range belongs to the range its first byte is in.
    int first = m_glyphAt[(size_t)from], last = m_glyphAt[(size_t)to];
    if (first >= last) return;
    dc->WideTextOut(m_glyphX[(size_t)first], y, &m_glyphs[(size_t)first], (UINT)(last - first),
                    &m_advances[(size_t)first]);
}
