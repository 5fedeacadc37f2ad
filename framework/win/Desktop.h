// What a window asks the window system outside any one window: system metrics, window frames for a
// style, the wheel setting, the keyboard's state, the cursor shown and the system's code pages.
#pragma once

#include <windows.h>

int GetSystemMetric(int index);
// The window rectangle around the client rectangle rect, for a window without a menu.
void AdjustWindowRectForStyle(LPRECT rect, DWORD style, DWORD exStyle);
// Lines scrolled per wheel notch (WHEEL_PAGESCROLL for a page); 3 when the setting cannot be read.
UINT GetWheelScrollLines();
// Whether the virtual key is down as of the message being handled.
bool IsKeyDown(int key);
// Shows one of the system's cursors (IDC_IBEAM ...).
void SetStandardCursor(LPCSTR id);
// The UTF-16 of length bytes in the code page, at most capacity units to out; 0 when the bytes are
// not valid there (or need more room).
int DecodeInCodePage(UINT codePage, const char* bytes, int length, wchar_t* out, int capacity);
