// CMouseTracking: the left button held in an editor view: the capture, where the pointer last was,
// the auto-scroll timer that runs while it is outside the window, and the wheel's unscrolled part.
#pragma once

#include "framework/base/Geometry.h"

#include <windows.h>

class CEditScrollView;

// Invariant: autoScrolling implies the timer is set; it is killed when the drag ends or comes back.
class CMouseTracking {
public:
    explicit CMouseTracking(CEditScrollView& view) : m_view(view) {}

    void Press();
    // The button came up: the capture is released if the window still has it.
    void Release();
    // Another window took the mouse (a message box, a task switch): the drag ends there.
    void Lost();
    bool IsHeld() const { return m_bHeld; }
    void MovedTo(CPoint point) { m_last = point; }
    CPoint LastPoint() const { return m_last; }
    bool IsInside(CPoint point) const;
    // A drag to point: outside the window the timer takes over; inside, the selection runs from the
    // anchor to the point.
    void DragTo(CPoint point);
    bool IsAutoScrolling() const { return m_bAutoScrolling; }
    static bool IsAutoScrollTimer(UINT_PTR id) { return id == kAutoScrollTimer; }
    // Whole lines to scroll for a wheel delta at perNotch lines a notch; the rest is kept.
    int WheelLines(short delta, int perNotch);

private:
    static const UINT_PTR kAutoScrollTimer = 2;
    static const UINT kAutoScrollInterval = 175; // ms

    void StopAutoScroll();
    // Outside the window the timer takes over (true); inside it stops.
    bool LeavesWindow(CPoint point);

    CEditScrollView& m_view;
    bool m_bHeld = false;
    bool m_bAutoScrolling = false;
    CPoint m_last{0, 0};
    int m_nWheelRemainder = 0; // wheel units times lines per notch not yet scrolled
};
