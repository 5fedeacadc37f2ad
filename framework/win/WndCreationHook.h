// The creation hook that gives a window object its window before the window's first message.
#pragma once

#include <windows.h>

class CWnd;

// Hooks the creation of exactly one window: the first window created on the thread while the
// hook lives is attached to the waiting object and subclassed before its first message. After
// the creation call, Attached() tells whether that happened (a window refused during WM_CREATE
// was attached and has been destroyed since). Hooks nest (a frame creates its view while its
// own creation runs): the innermost one waits, and each restores the one it interrupted.
struct WndCreationHook {
    static thread_local WndCreationHook* current;

    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);

    explicit WndCreationHook(CWnd* wnd);
    ~WndCreationHook();
    bool Attached() const { return attached; }

    CWnd* waiting;
    bool attached = false;
    HHOOK hook;
    WndCreationHook* outer;
    WndCreationHook(const WndCreationHook&) = delete;
    WndCreationHook& operator=(const WndCreationHook&) = delete;
};
