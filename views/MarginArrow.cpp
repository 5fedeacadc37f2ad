// The margin arrow: loaded once per view with a mask made from its corner colour, drawn by two
// inversions around the mask so that only the arrow's own pixels change the margin.
#include "views/MarginArrow.h"

#include "framework/win/Dc.h"

namespace {
const COLORREF kMarginColor = 0xE1E1E1;
const COLORREF kBlack = 0x000000;
const COLORREF kWhite = 0xFFFFFF;
const UINT kArrowBitmap = 182;
const DWORD kAndNotSource = 0x00220326; // destination AND NOT source
} // namespace

void CMarginArrow::Load(HWND window) {
    m_arrow.DeleteObject();
    m_mask.DeleteObject();
    if (!m_arrow.LoadBitmap(kArrowBitmap)) return;
    BITMAP info = {};
    m_arrow.GetBitmap(&info);
    if (!m_mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr)) return;
    CDC source, mask;
    CClientDC screen(window);
    if (!source.CreateCompatibleDC(&screen) || !mask.CreateCompatibleDC(&screen)) return;
    CScopedSelection arrow(source, m_arrow);
    CScopedSelection maskBits(mask, m_mask);
    COLORREF old = source.SetBkColor(source.GetPixel(0, 0));
    mask.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, NOTSRCCOPY);
    source.SetBkColor(old);
}

void CMarginArrow::Draw(CDC* dc, const CRect& margin, int y, int height, int bottom) const {
    dc->FillSolidRect(&margin, kMarginColor);
    if (y < 0 || y >= bottom || m_arrow.GetSafeHandle() == nullptr || m_mask.GetSafeHandle() == nullptr)
        return;
    CDC picture;
    if (!picture.CreateCompatibleDC(dc)) return;
    COLORREF oldBack = dc->SetBkColor(kWhite), oldText = dc->SetTextColor(kBlack);
    {
        CScopedSelection arrow(picture, m_arrow);
        dc->BitBlt(0, y, margin.Width(), height, &picture, 0, 0, SRCINVERT);
        picture.SelectHandle(m_mask.GetSafeHandle());
        dc->BitBlt(0, y, margin.Width(), height, &picture, 0, 0, kAndNotSource);
        picture.SelectHandle(m_arrow.GetSafeHandle());
        dc->BitBlt(0, y, margin.Width(), height, &picture, 0, 0, SRCINVERT);
    }
    dc->SetBkColor(oldBack);
    dc->SetTextColor(oldText);
}
