// What the Win32 test programs share about the clipboard.
#pragma once

#include <windows.h>

// The system's clipboard watcher may hold the clipboard for a moment after each change: retry.
inline bool OpenClipboardPatiently(HWND owner) {
    for (int i = 0; i < 100; ++i) {
        if (::OpenClipboard(owner)) return true;
        ::Sleep(10);
    }
    return false;
}
