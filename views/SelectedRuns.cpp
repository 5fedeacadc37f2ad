// The selected and unselected runs of a line's stretch, drawn on the cell grid.
#include "views/SelectedRuns.h"

#include <algorithm>

#include "coloring/ColorArray.h"
#include "framework/win/Dc.h"

namespace {
const COLORREF kBlack = 0x000000;
const COLORREF kWhite = 0xFFFFFF;
} // namespace

int DrawEndOfLineCell(CDC* dc, int x, int y, int first, const CRunStyle& style) {
    if (style.selStart <= first && first < style.selEnd)
        dc->FillSolidRect(x, y, style.grid.cellWidth, style.lineHeight, kBlack);
    return 0;
}

int DrawSelectedRuns(CDC* dc, const CString& bytes, int x, int y, int first, const CRunStyle& style,
                     const CColorTable* runs) {
    int last = first + bytes.GetLength();
    CGridText& grid = CGridText::Scratch();
    grid.LayOut(bytes, bytes.GetLength(), x, style.grid);
    int selStart = std::max(first, std::min(last, style.selStart)) - first;
    int selEnd = std::max(first, std::min(last, style.selEnd)) - first;
    if (selStart < selEnd)
        dc->FillSolidRect(grid.X(selStart), y, grid.X(selEnd) - grid.X(selStart), style.lineHeight, kBlack);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldText = dc->GetTextColor();
    int count = runs != nullptr ? runs->GetColorCount() : 1;
    int p = first;
    for (int i = 0; i < count && p < last; ++i) {
        int end = runs != nullptr ? runs->GetColorPos(i) : last;
        COLORREF color = runs != nullptr ? runs->GetColor(i) : kBlack;
        int stop = std::min(end, last); // one past the run's last drawn byte
        if (stop <= p) continue;
        int cuts[4] = {p, std::max(p, std::min(stop, style.selStart)),
                       std::max(p, std::min(stop, style.selEnd)), stop};
        for (int part = 0; part < 3; ++part) {
            if (cuts[part + 1] <= cuts[part]) continue;
            dc->SetTextColor(part == 1 ? color ^ kWhite : color);
            grid.Draw(dc, y, cuts[part] - first, cuts[part + 1] - first);
        }
        p = stop;
    }
    dc->SetTextColor(oldText);
    dc->SetBkMode(oldMode);
    return 1;
}
