// The editor views' scroll bars: total sizes scaled into the 16-bit range, pages in whole cells.
#include <cmath>
#include <cstdlib>

#include "views/EditScrollView.h"

namespace {
const LONG kScrollLimit = 32767;
const UINT kRecalcParent = 0x0368; // the framework asks the parent for the space left to the view

// Halves are rounded away from zero.
LONG RoundAway(double value) {
    double truncated = std::trunc(value);
    if (std::fabs(value - truncated) >= 0.5) truncated += value > 0 ? 1 : -1;
    return (LONG)truncated;
}
} // namespace

void CEditScrollView::SetScaledScrollSizes(int mapMode, SIZE total) {
    int oldMapMode = m_nMapMode;
    LONG largest = total.cx > total.cy ? total.cx : total.cy;
    double factor = largest < kScrollLimit ? 1.0 : (double)kScrollLimit / largest;
    m_totalLog = CSize(RoundAway(total.cx * factor), RoundAway(total.cy * factor));
    m_nMapMode = mapMode;
    POINT device = {m_totalLog.cx, m_totalLog.cy};
    // Text mode maps a logical unit to a pixel; only other modes need the screen's context.
    if (mapMode != MM_TEXT) {
        HDC screen = ::GetDC(nullptr);
        int savedMode = ::SetMapMode(screen, mapMode);
        ::LPtoDP(screen, &device, 1);
        ::SetMapMode(screen, savedMode);
        ::ReleaseDC(nullptr, screen);
    }
    m_totalDev = CSize(device.x, std::abs(device.y));
    if (m_hWnd == nullptr) return;
    UpdateScrollBars();
    if (oldMapMode != m_nMapMode) Invalidate(TRUE);
}

void CEditScrollView::UpdateScrollBars() {
    if (m_bInsideUpdate) return;
    m_bInsideUpdate = TRUE;
    CSize client;
    CRect space;
    CWnd* parent = GetParent();
    if (parent != nullptr && parent->SendMessage(kRecalcParent, 0, (LPARAM)(LPRECT)&space) != 0) {
        client = CSize(space.Width(), space.Height());
    } else {
        CSize bars;
        if (!GetClientSizeWithBars(client, bars)) {
            CRect rect;
            GetClientRect(&rect);
            if (rect.right > 0 && rect.bottom > 0) {
                EnableScrollBarCtrl(SB_BOTH, FALSE);
                m_barState[0] = m_barState[1] = CScrollBarState();
            }
            m_bInsideUpdate = FALSE;
            return;
        }
    }
    CSize page(client.cx / m_unit.cx, client.cy / m_unit.cy);
    CSize range(m_totalDev.cx - page.cx, m_totalDev.cy - page.cy);
    if (range.cx < 0) range.cx = 0;
    if (range.cy < 0) range.cy = 0;
    const int bars[2] = {SB_HORZ, SB_VERT};
    for (int axis = 0; axis < 2; ++axis) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        // Kept visible when nothing scrolls, so showing a bar never resizes the view under this update.
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
        info.nMin = 0;
        info.nMax = (axis == 0 ? m_totalDev.cx : m_totalDev.cy) - 1;
        info.nPage = (UINT)(axis == 0 ? page.cx : page.cy);
        // Nearly every edit leaves the bars as they were, and showing a bar the platform already
        // shows costs a frame recalculation: an unchanged bar is not touched, a shown one not shown again.
        CScrollBarState wanted{info.nMax, info.nPage};
        if (m_barState[axis].applied && m_barState[axis] == wanted) continue;
        // The platform redraws a bar at once, which under some window systems costs more than the
        // whole text; the redraw is posted instead, so a key's text reaches the screen first.
        if (!SetScrollInfo(bars[axis], &info, FALSE))
            SetScrollRange(bars[axis], 0, axis == 0 ? range.cx : range.cy, FALSE);
        if (!m_barState[axis].applied) EnableScrollBarCtrl(bars[axis], TRUE);
        m_barState[axis] = wanted;
        PostBarRedraw();
    }
    m_bInsideUpdate = FALSE;
}

// CWnd::SetScrollPos leaves an unchanged position alone and answers the previous one.
void CEditScrollView::SetBarPosition(int bar, int pos) {
    if (SetScrollPos(bar, pos, FALSE) != pos) PostBarRedraw();
}

void CEditScrollView::PostBarRedraw() {
    if (!m_bBarRedrawPosted && m_hWnd != nullptr)
        m_bBarRedrawPosted = ::PostMessageA(m_hWnd, kRedrawBarsMessage, 0, 0);
}

LRESULT CEditScrollView::OnRedrawBars(WPARAM, LPARAM) {
    m_bBarRedrawPosted = FALSE;
    // Only the frame around the client area, where the bars are, is invalidated: the text stays.
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::MapWindowPoints(nullptr, m_hWnd, (POINT*)&window, 2);
    ::GetClientRect(m_hWnd, &client);
    HRGN frame = ::CreateRectRgnIndirect(&window), inside = ::CreateRectRgnIndirect(&client);
    if (frame != nullptr && inside != nullptr && ::CombineRgn(frame, frame, inside, RGN_DIFF) != ERROR)
        ::RedrawWindow(m_hWnd, nullptr, frame, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    if (frame != nullptr) ::DeleteObject(frame);
    if (inside != nullptr) ::DeleteObject(inside);
    return 0;
}

BOOL CEditScrollView::GetClientSizeWithBars(CSize& client, CSize& scrollBars) {
    CRect rect;
    GetClientRect(&rect);
    client = CSize(rect.Width(), rect.Height());
    GetScrollBarThickness(scrollBars);
    return client.cx > scrollBars.cx && client.cy > scrollBars.cy;
}

void CEditScrollView::GetScrollBarThickness(CSize& scrollBars) {
    int border = (GetStyle() & WS_BORDER) != 0 ? 1 : 0;
    scrollBars = CSize(0, 0);
    if (GetScrollBarCtrl(SB_VERT) == nullptr) scrollBars.cx = ::GetSystemMetrics(SM_CXVSCROLL) - border;
    if (GetScrollBarCtrl(SB_HORZ) == nullptr) scrollBars.cy = ::GetSystemMetrics(SM_CYHSCROLL) - border;
}

void CEditScrollView::CalcWindowRect(LPRECT rect, UINT adjustType) {
    if (adjustType != 1) {
        ::AdjustWindowRectEx(rect, GetStyle(), FALSE, GetExStyle() & ~WS_EX_CLIENTEDGE);
        return;
    }
    ::AdjustWindowRectEx(rect, 0, FALSE, GetExStyle());
    if (m_nMapMode == -1) return;
    CSize range(m_totalDev.cx - (rect->right - rect->left), m_totalDev.cy - (rect->bottom - rect->top));
    if (range.cy > 0) rect->right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (range.cx > 0) rect->bottom += ::GetSystemMetrics(SM_CYHSCROLL);
}
