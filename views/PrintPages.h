// CPrintPages: the page being printed by an editor view: which lines it holds, how much of a line
// reaches the paper, and the printer context's mapping that gives printed text its on-screen size.
#pragma once

#include <windows.h>

#include <climits>

#include "views/GridText.h"

class CDC;
class CEditDocument;
class CFont;
class CWnd;

// One printed page's lines: linesPerPage is the screen height of the page in view-font heights, less
// one; 0 when the page is too short for a layout (shorter than two font heights).
struct CPrintPageLayout {
    int linesPerPage = 0;
    int firstLine = 0;
    int lastLine = -1;
    // pageHeight in printer pixels, the dots per inch of printer and screen, the font's LOGFONT height.
    static CPrintPageLayout Compute(int pageHeight, int printerDpiY, int screenDpiY, int fontHeight,
                                    UINT page);
};

class CPrintPages {
public:
    // Lays out the page for the printer context and maps it; screen is the window whose context
    // gives the screen's resolution. False when the page is too short for one line.
    bool LayOut(CDC* printer, UINT page, CWnd* screen, const CFont& font, int cellWidth);
    // The page's lines, each cut where it leaves the paper, in the printer context's own colours.
    void Draw(CDC* printer, CEditDocument& doc, CFont& font, const CGridText::Grid& grid, int left,
              int lineHeight) const;

    int LinesPerPage() const { return m_nLinesPerPage; }
    int FirstLine() const { return m_nFirstLine; }
    int LastLine() const { return m_nLastLine; }

private:
    int m_nLinesPerPage = 0;
    int m_nFirstLine = 0;
    int m_nLastLine = 0;
    int m_nLineBytes = INT_MAX; // the bytes of a line that can reach the paper
};
