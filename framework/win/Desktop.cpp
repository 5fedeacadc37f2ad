// The window system's metrics, settings, input state and code pages, asked for the framework's windows.
#include "framework/win/Desktop.h"

int GetSystemMetric(int index) {
    return ::GetSystemMetrics(index);
}

void AdjustWindowRectForStyle(LPRECT rect, DWORD style, DWORD exStyle) {
    ::AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

UINT GetWheelScrollLines() {
    UINT setting = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &setting, 0);
    return setting;
}

bool IsKeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

void SetStandardCursor(LPCSTR id) {
    ::SetCursor(::LoadCursorA(nullptr, id));
}

int DecodeInCodePage(UINT codePage, const char* bytes, int length, wchar_t* out, int capacity) {
    return ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, out, capacity);
}
