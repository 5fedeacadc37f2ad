// What the Win32 test programs share about the Unix side under Wine: file names there, and shell
// commands run to their end.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

// A file or folder in the temporary folder, deleted first if it is a file.
inline std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    ::DeleteFileA(path.c_str());
    return path;
}

// The Unix name of a Windows path; empty outside Wine.
inline std::string UnixPath(const std::string& windowsPath) {
    typedef char*(CDECL * UnixName)(LPCWSTR);
    auto unixName =
        (UnixName)(void*)::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (unixName == nullptr) return std::string();
    WCHAR wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
    char* name = unixName(wide);
    if (name == nullptr) return std::string();
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// Runs a command line through /bin/sh and returns its exit code (-1 when it could not start or did
// not end within a minute). Wine starts a Unix program like any other but cannot wait for it, so the
// shell leaves the code in a file when it is done, one named for this process (test programs run side
// by side in one Wine prefix). The command must not contain double quotes.
inline int RunUnixShell(const std::string& commands) {
    std::string done = TempPath(("tessolin-shell-done-" + std::to_string(::GetCurrentProcessId())).c_str());
    std::string unixDone = UnixPath(done);
    std::string command = "/bin/sh -c \"" + commands + "; echo $? > " + unixDone + ".part && mv " + unixDone +
                          ".part " + unixDone + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA("Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return -1;
    // For a Unix program the 32-bit Wine answers no process handle and a thread handle that is not
    // one it made: closing that closed one of this process's own (its desktop's), after which no
    // window could be created. Handles are closed only when a process handle came back with them.
    if (process.hProcess != nullptr) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    for (int waited = 0; waited < 60000 && ::GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES;
         waited += 20)
        ::Sleep(20);
    std::ifstream code(done);
    int exitCode = -1;
    code >> exitCode;
    code.close();
    ::DeleteFileA(done.c_str());
    return exitCode;
}
