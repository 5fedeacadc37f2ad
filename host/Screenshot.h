// Saves what a window shows on the screen as a PNG file, for runs without anyone watching.
#pragma once

#include <windows.h>

#include <string>

// Copies the window's screen rectangle (frame, menus and children included); false on any failure.
bool SaveWindowPng(HWND window, const std::string& path);
