// Drawing a line's visible stretch on the cell grid with the selection in inverse video: the stroke
// shared by the plain view (one black run) and the coloured view (its colour runs).
#pragma once

#include "framework/base/String.h"
#include "views/GridText.h"

class CColorTable;
class CDC;

// How a stretch is drawn: the grid, the selection [selStart, selEnd) in text offsets, the line height.
struct CRunStyle {
    CGridText::Grid grid;
    int selStart = 0;
    int selEnd = 0;
    int lineHeight = 1;
};

// Draws bytes, the text from offset first on, at (x, y): the selected cells' black ground first, then
// the glyphs run by run (one black run without a table) over it, the selected ones in the inverted
// colour. Grounds before glyphs, so a glyph reaching into its neighbour's cell is drawn the same
// whichever repaint drew it. Always 1.
int DrawSelectedRuns(CDC* dc, const CString& bytes, int x, int y, int first, const CRunStyle& style,
                     const CColorTable* runs);
// The cell of a line feed at first: black when selected, else untouched. Always 0.
int DrawEndOfLineCell(CDC* dc, int x, int y, int first, const CRunStyle& style);
