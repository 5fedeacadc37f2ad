// The editor view's system caret, shown, hidden and moved only when that changes something.
#include "views/ViewCaret.h"

#include "framework/win/Wnd.h"

void CViewCaret::Focus(int lineHeight, int leftMargin) {
    m_bFocus = true;
    Create(lineHeight, leftMargin);
}

void CViewCaret::Blur() {
    Hide();
    m_bFocus = false;
    m_window.DestroyCaret();
}

void CViewCaret::Create(int lineHeight, int leftMargin) {
    m_window.CreateSolidCaret(2, lineHeight);
    m_bShown = false;       // a new caret is hidden
    m_bSystemKnown = false; // and starts at the client's origin
    Place(leftMargin);
}

void CViewCaret::Show() {
    if (m_bShown || !m_bFocus) return;
    m_window.ShowCaret();
    m_bShown = true;
}

void CViewCaret::Hide() {
    if (!m_bShown || !m_bFocus) return;
    m_window.HideCaret();
    m_bShown = false;
}

void CViewCaret::Move() {
    if (!m_bFocus || (m_bSystemKnown && m_systemPoint == m_point)) return;
    m_window.SetCaretPos(m_point);
    m_systemPoint = m_point;
    m_bSystemKnown = true;
}

void CViewCaret::ShowByPosition(int leftMargin) {
    if (m_point.x < leftMargin)
        Hide();
    else
        Show();
}
