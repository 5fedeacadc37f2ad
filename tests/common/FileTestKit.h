// What the Win32 test programs share about files: counting files by pattern, and huge sparse files.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// How many files and folders match a pattern such as "C:\\folder\\tsl*".
inline int CountFiles(const std::string& pattern) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return count;
}

// The names and sizes of what matches a pattern, sorted: two listings differ when a file was left
// behind, removed or changed in size.
inline std::string Listing(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    do names.push_back(std::string(found.cFileName) + " " + std::to_string(found.nFileSizeLow));
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}

// A file of size bytes that takes (almost) no disk: its length is set without writing.
inline bool WriteSparseFile(const std::string& path, long long size) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    bool made = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    ::CloseHandle(file);
    return made;
}
