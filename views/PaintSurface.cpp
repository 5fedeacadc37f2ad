// The views' shared off-screen picture: made once, grown when a larger box is painted.
#include "views/PaintSurface.h"

CPaintSurface& CPaintSurface::Shared() {
    static CPaintSurface surface;
    return surface;
}

CDC* CPaintSurface::Prepare(CDC* target, const CRect& box) {
    CDC* dc = Reserve(target, box.Width(), box.Height());
    if (dc == nullptr) return nullptr;
    dc->SetWindowOrg(box.left, box.top);
    dc->FillStockRect(&box, WHITE_BRUSH);
    return dc;
}

CDC* CPaintSurface::Reserve(CDC* target, int width, int height) {
    if (target == nullptr || width <= 0 || height <= 0) return nullptr;
    if (m_dc.m_hDC != nullptr && width <= m_size.cx && height <= m_size.cy) {
        // Back to the state just after the bitmap went in: no colour, font or origin of the last paint.
        m_dc.RestoreDC(-1);
        m_dc.SaveDC();
        return &m_dc;
    }
    Release();
    // Grown a little beyond the request, so a window widened step by step is not reallocated each step.
    CSize size(width + width / 4, height + height / 4);
    if (!m_dc.CreateCompatibleDC(target)) return nullptr;
    if (!m_bitmap.CreateCompatibleBitmap(target, size.cx, size.cy) &&
        !m_bitmap.CreateCompatibleBitmap(target, width, height)) {
        m_dc.DeleteDC();
        return nullptr;
    }
    BITMAP info = {};
    m_bitmap.GetBitmap(&info);
    m_size = CSize(info.bmWidth, info.bmHeight);
    m_oldBitmap = m_dc.SelectHandle(m_bitmap.GetSafeHandle());
    m_dc.SaveDC();
    return &m_dc;
}

void CPaintSurface::RemoveUser() {
    if (m_users > 0 && --m_users == 0) Release();
}

void CPaintSurface::Release() {
    if (m_dc.m_hDC != nullptr) m_dc.RestoreDC(-1);
    if (m_dc.m_hDC != nullptr && m_oldBitmap != nullptr) m_dc.SelectHandle(m_oldBitmap);
    m_oldBitmap = nullptr;
    m_dc.DeleteDC();
    m_bitmap.DeleteObject();
    m_size = CSize(0, 0);
}
