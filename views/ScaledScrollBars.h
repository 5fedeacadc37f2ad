// CScaledScrollBars: a window's scroll bars with the total size scaled into the 16-bit range and
// pages counted in whole cells; a bar's redraw is posted to follow the text's paint.
#pragma once

#include "framework/win/Wnd.h"

// Invariant: after SetScaledSizes neither dimension of the logical total exceeds 32767.
class CScaledScrollBars {
public:
    // Posted to the window once per burst of bar changes; the window hands it to RedrawPosted.
    static const UINT kRedrawMessage = WM_USER + 0x71;

    explicit CScaledScrollBars(CWnd& wnd) : m_wnd(wnd) {}

    void SetScaledSizes(int mapMode, SIZE total, CSize cell);
    void Update(CSize cell);
    // A bar's position; the redraw is posted when it changed.
    void SetPosition(int bar, int pos);
    void RedrawPosted();
    BOOL ClientSizeWithBars(CSize& client, CSize& scrollBars) const;
    void Thickness(CSize& scrollBars) const;
    void CalcWindowRect(LPRECT rect, UINT adjustType) const;
    CSize TotalSize() const { return m_totalLog; }

private:
    // What a bar was last given; applied is false until then.
    struct CBarState {
        int max = 0;
        UINT page = 0;
        bool applied = false;
        CBarState() = default;
        CBarState(int m, UINT p) : max(m), page(p), applied(true) {}
        bool operator==(const CBarState& o) const { return max == o.max && page == o.page; }
    };

    // The client size the bars share, from the parent's layout when it gives one; false when the
    // window is too small for bars.
    bool SpaceForBars(CSize& client) const;
    void PostRedraw();

    CWnd& m_wnd;
    int m_nMapMode = 0;
    CSize m_totalLog{0, 0};
    CSize m_totalDev{0, 0};
    bool m_bInsideUpdate = false;
    CBarState m_barState[2]; // horizontal, vertical
    BOOL m_bRedrawPosted = FALSE;
};
