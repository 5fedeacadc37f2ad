// Recovery files: their folder, their names, their header and the switch that turns recovery off.
#include "documents/RecoveryFiles.h"

#include <shlobj.h>

#include <atomic>
#include <cstring>

namespace recovery {
namespace {
const char kSignature[8] = {'T', 'S', 'L', 'R', 'C', 'V', '1', '\n'};
const char kExtension[] = ".tsr";
std::atomic<bool> g_enabled{true};
CString g_folder;

// Creates each missing folder along path (which ends in a backslash).
bool MakeFolders(const CString& path) {
    for (int i = 3; i < path.GetLength(); ++i) {
        if (path[i] != '\\') continue;
        CString part = path.Left(i);
        if (!::CreateDirectoryA(part, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

CString DefaultFolder() {
    char from[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA("TESSOLIN_RECOVERY_DIR", from, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return CString(from);
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, from)))
        return CString();
    return CString(from) + "\\Tessolin\\Recovery";
}

CString FullPath(const char* path) {
    char full[MAX_PATH];
    char* namePart = nullptr;
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, &namePart);
    return n > 0 && n < MAX_PATH ? CString(full) : CString(path);
}

// FNV-1a over the path in lower case, as sixteen hex digits.
CString PathHash(CString path) {
    path.MakeLower();
    unsigned long long hash = 14695981039346656037ull;
    for (int i = 0; i < path.GetLength(); ++i) {
        hash ^= (unsigned char)path[i];
        hash *= 1099511628211ull;
    }
    CString text;
    text.Format("%08lx%08lx", (unsigned long)(hash >> 32), (unsigned long)(hash & 0xFFFFFFFFu));
    return text;
}

// Whether the process that wrote a recovery file at `written` still runs: a process of that id that
// started before then and has not ended (an id taken again later by another process does not count).
bool WriterRuns(DWORD id, const FILETIME& written) {
    if (id == ::GetCurrentProcessId()) return true;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return false;
    FILETIME created, exited, kernel, user;
    DWORD code = 0;
    bool runs = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE &&
                ::GetProcessTimes(process, &created, &exited, &kernel, &user) &&
                ::CompareFileTime(&created, &written) < 0;
    ::CloseHandle(process);
    return runs;
}

bool ReadExactly(HANDLE file, void* buffer, DWORD count) {
    DWORD read = 0;
    return ::ReadFile(file, buffer, count, &read, nullptr) && read == count;
}

bool WriteExactly(HANDLE file, const void* buffer, DWORD count) {
    DWORD written = 0;
    return ::WriteFile(file, buffer, count, &written, nullptr) && written == count;
}
} // namespace

void SetEnabled(bool on) {
    g_enabled = on;
}

bool IsEnabled() {
    return g_enabled;
}

void SetFolder(const char* folder) {
    g_folder = folder != nullptr ? folder : "";
}

CString Folder() {
    CString folder = g_folder.IsEmpty() ? DefaultFolder() : g_folder;
    if (folder.IsEmpty()) return folder;
    folder = FullPath(folder);
    if (folder[folder.GetLength() - 1] != '\\') folder += "\\";
    return MakeFolders(folder) ? folder : CString();
}

CString FileFor(const char* documentPath) {
    CString folder = Folder();
    if (folder.IsEmpty()) return folder;
    if (documentPath == nullptr || documentPath[0] == 0) {
        static LONG counter = 0;
        CString name;
        name.Format("untitled-%lu-%lu-%ld", ::GetCurrentProcessId(), ::GetTickCount(),
                    ::InterlockedIncrement(&counter));
        return folder + name + kExtension;
    }
    CString full = FullPath(documentPath);
    int slash = full.ReverseFind('\\');
    return folder + PathHash(full) + "-" + full.Mid(slash + 1) + kExtension;
}

bool FindNewer(const char* documentPath, CString& recoveryFile) {
    CString candidate = FileFor(documentPath);
    WIN32_FILE_ATTRIBUTE_DATA saved = {}, kept = {};
    if (candidate.IsEmpty() || !::GetFileAttributesExA(candidate, GetFileExInfoStandard, &kept)) return false;
    if (::GetFileAttributesExA(documentPath, GetFileExInfoStandard, &saved) &&
        ::CompareFileTime(&kept.ftLastWriteTime, &saved.ftLastWriteTime) <= 0)
        return false;
    HANDLE file = ::CreateFileA(candidate, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ULONGLONG textSize = 0;
    DWORD writer = 0;
    bool whole = ReadHeader(file, textSize, &writer);
    ::CloseHandle(file);
    if (!whole || WriterRuns(writer, kept.ftLastWriteTime)) return false;
    recoveryFile = candidate;
    return true;
}

bool ReadHeader(HANDLE file, ULONGLONG& textSize, DWORD* writer) {
    char signature[sizeof kSignature];
    DWORD process = 0, pathLength = 0;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || !ReadExactly(file, signature, sizeof signature) ||
        std::memcmp(signature, kSignature, sizeof kSignature) != 0 ||
        !ReadExactly(file, &process, sizeof process) || !ReadExactly(file, &pathLength, sizeof pathLength) ||
        pathLength > 32768)
        return false;
    if (writer != nullptr) *writer = process;
    LARGE_INTEGER skip = {};
    skip.QuadPart = pathLength;
    if (!::SetFilePointerEx(file, skip, nullptr, FILE_CURRENT) ||
        !ReadExactly(file, &textSize, sizeof textSize))
        return false;
    // A file cut short (or grown) is not a recovery file.
    return (ULONGLONG)size.QuadPart ==
           sizeof kSignature + sizeof process + sizeof pathLength + pathLength + sizeof textSize + textSize;
}

bool WriteHeader(HANDLE file, const char* originalPath, ULONGLONG textSize) {
    DWORD process = ::GetCurrentProcessId(), pathLength = (DWORD)std::strlen(originalPath);
    return WriteExactly(file, kSignature, sizeof kSignature) &&
           WriteExactly(file, &process, sizeof process) &&
           WriteExactly(file, &pathLength, sizeof pathLength) &&
           WriteExactly(file, originalPath, pathLength) && WriteExactly(file, &textSize, sizeof textSize);
}

} // namespace recovery
