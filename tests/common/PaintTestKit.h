// What the Win32 test programs share about pixels: a view's client as OnDraw paints it, and as the
// window shows it on the screen.
#pragma once

#include <windows.h>

#include <cstring>
#include <vector>

#include "views/EditScrollView.h"

// A colour no paint uses: pixels a paint leaves alone keep it.
const DWORD kUnpaintedPixel = 0x00123456;

// A 32-bit top-down bitmap of width x height selectable into dc; bits points at its pixels.
inline HBITMAP NewPixelBitmap(HDC dc, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The 32-bit pixels (0x00RRGGBB, top row first) of the view's client as OnDraw paints it into a memory
// context clipped to clip, or unclipped when clip is null.
inline std::vector<DWORD> RenderClient(CEditScrollView* view, const RECT* clip = nullptr) {
    RECT client;
    ::GetClientRect(view->m_hWnd, &client);
    int width = client.right, height = client.bottom;
    HDC dc = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = NewPixelBitmap(dc, width, height, &bits);
    std::vector<DWORD> pixels((size_t)width * (size_t)height, kUnpaintedPixel);
    if (bitmap == nullptr) {
        ::DeleteDC(dc);
        return {};
    }
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    if (clip != nullptr) ::IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
    view->OnDraw(CDC::FromHandle(dc));
    ::GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return pixels;
}

// The view's client as its window shows it now, without the blinking caret.
inline std::vector<DWORD> ScreenClient(CEditScrollView* view) {
    RECT client;
    ::GetClientRect(view->m_hWnd, &client);
    int width = client.right, height = client.bottom;
    HDC window = ::GetDC(view->m_hWnd);
    HDC shot = ::CreateCompatibleDC(window);
    void* bits = nullptr;
    HBITMAP bitmap = NewPixelBitmap(shot, width, height, &bits);
    std::vector<DWORD> pixels((size_t)width * (size_t)height);
    HGDIOBJ old = ::SelectObject(shot, bitmap);
    bool caretHidden = ::HideCaret(view->m_hWnd) != FALSE;
    ::BitBlt(shot, 0, 0, width, height, window, 0, 0, SRCCOPY);
    if (caretHidden) ::ShowCaret(view->m_hWnd);
    ::GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    ::SelectObject(shot, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(shot);
    ::ReleaseDC(view->m_hWnd, window);
    return pixels;
}

// How many pixels of the view's window on the screen differ from what a full repaint of it draws now
// (the colours rendered afresh).
inline int ScreenDiffersFromRepaint(CEditScrollView* view) {
    std::vector<DWORD> screen = ScreenClient(view);
    view->UpdateColors();
    std::vector<DWORD> drawn = RenderClient(view);
    if (screen.size() != drawn.size()) return -1;
    int differing = 0;
    for (size_t i = 0; i < screen.size(); ++i) differing += screen[i] != drawn[i];
    return differing;
}
