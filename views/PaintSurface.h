// CPaintSurface: the off-screen picture the editor views paint into before one copy to the window.
#pragma once

#include "framework/win/Dc.h"
#include "framework/win/Gdi.h"

// Shared by every view of the thread, which paint one at a time. Creating a bitmap and selecting it
// into a fresh memory context cost several round trips to the window system on every paint; the
// surface keeps both and only grows. Invariant: while m_dc holds a context, m_bitmap (m_size) is
// selected into it, m_oldBitmap is what it replaced, and one saved state (taken right after the
// selection) is on its stack, so every paint starts from the same fresh state. The last view to go
// releases it.
class CPaintSurface {
public:
    static CPaintSurface& Shared();
    CPaintSurface() = default;
    CPaintSurface(const CPaintSurface&) = delete;
    CPaintSurface& operator=(const CPaintSurface&) = delete;
    ~CPaintSurface() { Release(); }

    // A memory context compatible with target whose picture covers box (in the target's
    // coordinates: the window origin is box's top-left), filled white; null when none can be made
    // (out of graphics memory).
    CDC* Prepare(CDC* target, const CRect& box);
    void AddUser() { ++m_users; }
    void RemoveUser();

private:
    CDC* Reserve(CDC* target, int width, int height);
    void Release();

    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    CSize m_size;
    int m_users = 0;
};
