// What a window asks the window system outside any one window: system metrics, window frames for a
// style, the wheel setting, the keyboard's state and the cursor shown.
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
