// Where the drawing, dialog and control classes find the application's resources, name and window.
#pragma once

#include <windows.h>

#include "framework/base/String.h"

// The module that holds the resource (searched along the resource chain), or null.
HINSTANCE FindResourceModule(LPCSTR name, LPCSTR type);
// The text of string resource id, empty when no module has it.
CString LoadResourceString(UINT id);
// The caption of message boxes: the application's name.
CString ApplicationName();
// The window that owns message boxes: the active window, else the main window; may be null.
HWND MessageBoxOwner();
