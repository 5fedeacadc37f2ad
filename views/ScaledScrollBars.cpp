// The scaled scroll bars: total sizes scaled into the 16-bit range, pages in whole cells, and the
// bars' redraw posted so that the text reaches the screen first.
#include "views/ScaledScrollBars.h"

#include <cmath>
#include <cstdlib>

#include "framework/win/Dc.h"
#include "framework/win/Desktop.h"

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

void CScaledScrollBars::SetScaledSizes(int mapMode, SIZE total, CSize cell) {
    int oldMapMode = m_nMapMode;
    LONG largest = total.cx > total.cy ? total.cx : total.cy;
    double factor = largest < kScrollLimit ? 1.0 : (double)kScrollLimit / largest;
    m_totalLog = CSize(RoundAway(total.cx * factor), RoundAway(total.cy * factor));
    m_nMapMode = mapMode;
    POINT device = {m_totalLog.cx, m_totalLog.cy};
    // Text mode maps a logical unit to a pixel; only other modes need the screen's context.
    if (mapMode != MM_TEXT) {
        CScreenDC screen;
        int savedMode = screen.SetMapMode(mapMode);
        screen.LPtoDP(&device);
        screen.SetMapMode(savedMode);
    }
    m_totalDev = CSize(device.x, std::abs(device.y));
    if (m_wnd.m_hWnd == nullptr) return;
    Update(cell);
    if (oldMapMode != m_nMapMode) m_wnd.Invalidate(TRUE);
}

bool CScaledScrollBars::SpaceForBars(CSize& client) const {
    CRect space;
    CWnd* parent = m_wnd.GetParent();
    if (parent != nullptr && parent->SendMessage(kRecalcParent, 0, (LPARAM)(LPRECT)&space) != 0) {
        client = CSize(space.Width(), space.Height());
        return true;
    }
    CSize bars;
    return ClientSizeWithBars(client, bars) != FALSE;
}

void CScaledScrollBars::Update(CSize cell) {
    if (m_bInsideUpdate) return;
    m_bInsideUpdate = true;
    CSize client;
    if (!SpaceForBars(client)) {
        CRect rect;
        m_wnd.GetClientRect(&rect);
        if (rect.right > 0 && rect.bottom > 0) {
            m_wnd.EnableScrollBarCtrl(SB_BOTH, FALSE);
            m_barState[0] = m_barState[1] = CBarState();
        }
        m_bInsideUpdate = false;
        return;
    }
    CSize page(client.cx / cell.cx, client.cy / cell.cy);
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
        CBarState wanted{info.nMax, info.nPage};
        if (m_barState[axis].applied && m_barState[axis] == wanted) continue;
        // The platform redraws a bar at once, which under some window systems costs more than the
        // whole text; the redraw is posted instead, so a key's text reaches the screen first.
        if (!m_wnd.SetScrollInfo(bars[axis], &info, FALSE))
            m_wnd.SetScrollRange(bars[axis], 0, axis == 0 ? range.cx : range.cy, FALSE);
        if (!m_barState[axis].applied) m_wnd.EnableScrollBarCtrl(bars[axis], TRUE);
        m_barState[axis] = wanted;
        PostRedraw();
    }
    m_bInsideUpdate = false;
}

// CWnd::SetScrollPos leaves an unchanged position alone and answers the previous one.
void CScaledScrollBars::SetPosition(int bar, int pos) {
    if (m_wnd.SetScrollPos(bar, pos, FALSE) != pos) PostRedraw();
}

void CScaledScrollBars::PostRedraw() {
    if (!m_bRedrawPosted && m_wnd.m_hWnd != nullptr) m_bRedrawPosted = m_wnd.PostMessage(kRedrawMessage);
}

void CScaledScrollBars::RedrawPosted() {
    m_bRedrawPosted = FALSE;
    // Only the frame around the client area, where the bars are, is invalidated: the text stays.
    CRect window, client;
    m_wnd.GetWindowRect(&window);
    m_wnd.ScreenToClient(&window);
    m_wnd.GetClientRect(&client);
    CRgn frame, inside;
    if (frame.CreateRectRgnIndirect(&window) && inside.CreateRectRgnIndirect(&client) &&
        frame.CombineRgn(&frame, &inside, RGN_DIFF) != ERROR)
        m_wnd.RedrawWindow(nullptr, &frame, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

BOOL CScaledScrollBars::ClientSizeWithBars(CSize& client, CSize& scrollBars) const {
    CRect rect;
    m_wnd.GetClientRect(&rect);
    client = CSize(rect.Width(), rect.Height());
    Thickness(scrollBars);
    return client.cx > scrollBars.cx && client.cy > scrollBars.cy;
}

void CScaledScrollBars::Thickness(CSize& scrollBars) const {
    int border = (m_wnd.GetStyle() & WS_BORDER) != 0 ? 1 : 0;
    scrollBars = CSize(0, 0);
    if (m_wnd.GetScrollBarCtrl(SB_VERT) == nullptr) scrollBars.cx = GetSystemMetric(SM_CXVSCROLL) - border;
    if (m_wnd.GetScrollBarCtrl(SB_HORZ) == nullptr) scrollBars.cy = GetSystemMetric(SM_CYHSCROLL) - border;
}

void CScaledScrollBars::CalcWindowRect(LPRECT rect, UINT adjustType) const {
    if (adjustType != 1) {
        AdjustWindowRectForStyle(rect, m_wnd.GetStyle(), m_wnd.GetExStyle() & ~WS_EX_CLIENTEDGE);
        return;
    }
    AdjustWindowRectForStyle(rect, 0, m_wnd.GetExStyle());
    if (m_nMapMode == -1) return;
    CSize range(m_totalDev.cx - (rect->right - rect->left), m_totalDev.cy - (rect->bottom - rect->top));
    if (range.cy > 0) rect->right += GetSystemMetric(SM_CXVSCROLL);
    if (range.cx > 0) rect->bottom += GetSystemMetric(SM_CYHSCROLL);
}
