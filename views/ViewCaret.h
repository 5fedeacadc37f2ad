// CViewCaret: an editor view's system caret: the client point the text's caret stands at, whether the
// view has the focus and the caret shows, and the moves to the window system it can skip.
#pragma once

#include "framework/base/Geometry.h"

class CWnd;

// Invariants: shown implies focus; while systemKnown, the system caret stands at systemPoint.
class CViewCaret {
public:
    explicit CViewCaret(CWnd& window) : m_window(window) {}

    // The client position of the text's caret as last computed.
    CPoint& Point() { return m_point; }
    CPoint Point() const { return m_point; }
    bool HasFocus() const { return m_bFocus; }
    bool IsShown() const { return m_bShown; }

    // The focus came: a new caret of the line's height at the point.
    void Focus(int lineHeight, int leftMargin);
    // The focus went: the caret is hidden and destroyed.
    void Blur();
    // A caret of the line's height at the point, shown unless it stands in the margin.
    void Create(int lineHeight, int leftMargin);
    void Show();
    void Hide();
    // The system caret to the point while the view has the focus. Each move is a round trip to the
    // window system, so a move to where it already stands is skipped.
    void Move();
    // The caret is hidden while it stands in the margin.
    void ShowByPosition(int leftMargin);
    void Place(int leftMargin) {
        Move();
        ShowByPosition(leftMargin);
    }
    // The window scrolled its pixels, and the system caret with them: where it stands is known no more.
    void Forget() { m_bSystemKnown = false; }

private:
    CWnd& m_window;
    CPoint m_point{10, 0};
    bool m_bFocus = false;
    bool m_bShown = false;
    CPoint m_systemPoint;
    bool m_bSystemKnown = false;
};
