// CGridText: a stretch of one line laid out on the views' cell grid and drawn there.
#pragma once

#include <vector>

#include "framework/win/Dc.h"

// Every position the views compute (caret, hit tests, scroll sizes, the painted range) counts equal
// cells: a byte one cell, a tab to the next stop, a control byte none. A font's own advances are not
// those cells (a substituted face, a fractional half-width advance), so text drawn by the font drifts
// off the grid and a repaint that starts mid-line lands elsewhere than one that starts at the line's
// start. The layout here places every glyph at its cell's x and hands the advances to ExtTextOutW, so
// the pixels depend only on the cells. Characters are decoded from code page 936 here, once, so the
// advances are given per character whatever the platform does with a byte string's advances.
//
// Invariant after LayOut: X(i) is the left edge of byte i's cell (X(count) the end of the last one);
// a two-byte character is one glyph at its first byte's x, two cells wide; blanks (tab, white space)
// are glyph-less advances; control bytes take no cell and draw nothing.
// The first tab stop strictly right of x, the stops lying at origin + k x width.
inline int NextTabStop(int x, int origin, int width) {
    return origin + ((x - origin) / width + 1) * width;
}
// A point of x0's tab grid left of x0, for the tab origin the drawing calls take.
inline int TabOriginLeftOf(int x0, int width) {
    return x0 - (x0 / width + 1) * width;
}

class CGridText {
public:
    struct Grid {
        int cellWidth;
        int tabWidth;  // pixels between tab stops
        int tabOrigin; // a point on the tab grid: stops lie at tabOrigin + k x tabWidth
        bool gbkPairs; // pairs by the code page's lead/trail rule, else any two high bytes
    };

    // The scratch layout the painting code of the thread reuses, so a paint allocates nothing.
    static CGridText& Scratch();

    void LayOut(const char* bytes, int count, int x, const Grid& grid);
    int X(int i) const { return m_x[(size_t)i]; }
    // Draws the glyphs of bytes [from, to) in the context's text colour at row y, leaving the ground
    // as it is. A character whose first byte is in the range is drawn whole.
    void Draw(CDC* dc, int y, int from, int to) const;

private:
    void AddGlyph(wchar_t glyph, int x, int advance);
    int Decode(const char* bytes, int length, wchar_t& glyph) const;

    int m_count = 0;
    std::vector<int> m_x;       // per byte, and one past the last
    std::vector<int> m_glyphAt; // per byte: the index of the first glyph at or after it
    std::vector<wchar_t> m_glyphs;
    std::vector<int> m_glyphX;   // each glyph's x
    std::vector<int> m_advances; // each glyph's distance to the next glyph
};
