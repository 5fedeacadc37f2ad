// The window system's metrics, settings and input state, asked for the framework's windows.
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
