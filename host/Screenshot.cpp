// Window screenshots: the screen pixels under the window into a top-down 32-bit DIB, then PNG.
#include "host/Screenshot.h"

#include <cstdint>
#include <cstring>

#include "host/PngWriter.h"

bool SaveWindowPng(HWND window, const std::string& path) {
    RECT rect;
    if (!::IsWindow(window) || !::GetWindowRect(window, &rect)) return false;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: rows top to bottom, as the PNG wants them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ok = ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        ::SelectObject(memory, old);
        if (ok) {
            uint8_t* pixels = static_cast<uint8_t*>(bits);
            for (size_t i = 3; i < (size_t)width * height * 4; i += 4) pixels[i] = 0xFF;
            ok = WritePng(path, width, height, pixels);
        }
    }
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    if (memory != nullptr) ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ok;
}
