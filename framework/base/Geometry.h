// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with constructors and arithmetic.
#pragma once

#include "PlatformTypes.h"

class CSize : public tagSIZE {
public:
    CSize() { cx = cy = 0; }
    CSize(int x, int y) { cx = x, cy = y; }
    CSize(SIZE s) { cx = s.cx, cy = s.cy; }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
};

class CPoint : public tagPOINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int px, int py) { x = px, y = py; }
    CPoint(POINT p) { x = p.x, y = p.y; }
    void Offset(int dx, int dy) { x += dx, y += dy; }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
};

class CRect : public tagRECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    CRect(const RECT& r) { left = r.left, top = r.top, right = r.right, bottom = r.bottom; }
    CRect(POINT topLeft, SIZE size) {
        left = topLeft.x, top = topLeft.y, right = left + size.cx, bottom = top + size.cy;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
    BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
    void InflateRect(int dx, int dy) { left -= dx, right += dx, top -= dy, bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void NormalizeRect();
    // The overlap of a and b; empty (all zero) when they do not overlap.
    BOOL IntersectRect(const RECT& a, const RECT& b);
    BOOL UnionRect(const RECT& a, const RECT& b);
    bool operator==(const RECT& r) const {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

inline void CRect::NormalizeRect() {
    if (left > right) {
        LONG t = left;
        left = right, right = t;
    }
    if (top > bottom) {
        LONG t = top;
        top = bottom, bottom = t;
    }
}

inline BOOL CRect::IntersectRect(const RECT& a, const RECT& b) {
    CRect r(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
    if (r.IsRectEmpty()) r.SetRectEmpty();
    *this = r;
    return !r.IsRectEmpty();
}

inline BOOL CRect::UnionRect(const RECT& a, const RECT& b) {
    CRect ra(a), rb(b);
    if (ra.IsRectEmpty()) *this = rb;
    else if (rb.IsRectEmpty()) *this = ra;
    else
        SetRect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom);
    return !IsRectEmpty();
}
