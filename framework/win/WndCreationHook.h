// The creation hook that gives a window object its window before the window's first message.
#pragma once

#include <windows.h>

class CWnd;

// Hooks the creation of exactly one window: the first window created on the thread while the
// hook lives is attached to the waiting object and subclassed before its first message. After
// the creation call, attached tells whether that happened (a window refused during WM_CREATE
// was attached and has been destroyed since).
struct WndCreationHook {
    static thread_local CWnd* waiting;
    static thread_local HHOOK hook;
    static thread_local bool attached;

    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);

    explicit WndCreationHook(CWnd* wnd);
    ~WndCreationHook();
    WndCreationHook(const WndCreationHook&) = delete;
    WndCreationHook& operator=(const WndCreationHook&) = delete;
};
