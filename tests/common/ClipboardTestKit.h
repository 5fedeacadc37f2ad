// What the Win32 test programs share about the clipboard and the second program that uses it.
#pragma once

#include <windows.h>

#include <string>

// The system's clipboard watcher may hold the clipboard for a moment after each change: retry.
inline bool OpenClipboardPatiently(HWND owner) {
    for (int i = 0; i < 100; ++i) {
        if (::OpenClipboard(owner)) return true;
        ::Sleep(10);
    }
    return false;
}

// Starts the second program (clipboard_peer.exe, beside this one) with arguments, its standard output
// and error going to output when one is given; its process handle, or null. Wine now and then fails
// to start a process while other test programs start theirs: a failed start is tried again.
inline HANDLE StartPeerProgram(const std::string& arguments, HANDLE output = nullptr) {
    char self[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self, length);
    std::string command =
        "\"" + folder.substr(0, folder.find_last_of("\\/") + 1) + "clipboard_peer.exe\" " + arguments;
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    if (output != nullptr) {
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdOutput = start.hStdError = output;
    }
    for (int attempt = 0; attempt < 5; ++attempt) {
        PROCESS_INFORMATION info = {};
        if (::CreateProcessA(nullptr, &command[0], nullptr, nullptr, output != nullptr, 0, nullptr, nullptr,
                             &start, &info)) {
            ::CloseHandle(info.hThread);
            return info.hProcess;
        }
        ::Sleep(200);
    }
    return nullptr;
}
