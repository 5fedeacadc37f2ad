// CViewMetrics: an editor view's cell grid: the font's cell, the margin, the tab stops, the client
// size and the text's extent in cells, from which every pixel position of the view follows.
#pragma once

#include "framework/base/Geometry.h"
#include "views/GridText.h"
#include "views/model/EditModel.h"

// Invariant: unit's sides are at least 1 (a font that measured nothing would divide by zero).
struct CViewMetrics {
    CSize unit{1, 1}; // character width, line height
    int leftMargin = 10;
    int marginColumns = 2;
    int hScrollStep = 5; // the columns a scroll to the right overshoots by
    int tabWidth = 4;    // in pixels
    int clientWidth = 0;
    int clientHeight = 0;
    CSize extent{0, 0}; // the scroll range in cells and lines

    int NextTabStop(int x, int origin) const { return ::NextTabStop(x, origin, tabWidth); }
    // Where the cell of byte b drawn at x ends: a tab goes to the next stop counted from tabOrigin, any
    // other byte takes one cell when takesCell and none otherwise. Every walk over a line's cells
    // (measuring, hit testing, the visible range) steps with it.
    int CellEnd(unsigned char b, int x, int tabOrigin, bool takesCell) const {
        return b == '\t' ? NextTabStop(x, tabOrigin) : takesCell ? x + (int)unit.cx : x;
    }
    // The client x of the text's first cell when firstColumn is the first visible column.
    int TextOrigin(int firstColumn) const { return leftMargin - firstColumn * unit.cx; }
    CRect TextArea() const { return CRect(leftMargin, 0, clientWidth, clientHeight); }
    CRect MarginArea() const { return CRect(0, 0, leftMargin, clientHeight); }
    int Rows() const { return clientHeight / unit.cy; }
    CViewGrid Grid() const {
        return {unit.cx, unit.cy, clientWidth, clientHeight, marginColumns, hScrollStep};
    }
    // The client point of a cell, column and row counted from the first visible ones, shifted by left.
    CPoint CellPoint(int column, int row, int left) const {
        return CPoint(column * unit.cx + left, row * unit.cy);
    }
};
