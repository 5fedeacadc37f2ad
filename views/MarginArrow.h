// CMarginArrow: the arrow in an editor view's margin that marks the line of the last title found, and
// the mask that lets the margin's colour show around it.
#pragma once

#include "framework/win/Gdi.h"

class CDC;

class CMarginArrow {
public:
    // Loads the host's arrow bitmap and makes its mask on the screen's context of window; without
    // the bitmap no arrow is drawn.
    void Load(HWND window);
    // Fills margin with the margin colour and draws the arrow at y, width by height, unless y lies
    // outside 0 ... bottom.
    void Draw(CDC* dc, const CRect& margin, int y, int height, int bottom) const;

    int TitleLine() const { return m_nTitleLine; }
    void SetTitleLine(int line) { m_nTitleLine = line; }

private:
    CBitmap m_arrow;
    CBitmap m_mask;
    int m_nTitleLine = 0;
};
