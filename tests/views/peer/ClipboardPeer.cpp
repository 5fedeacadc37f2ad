// Another program beside the views' tests, on the same clipboard or holding a file. Plain Win32 only:
//   read             prints "TEXT <hex bytes>" and "UNICODE <hex code units>" (or "NO TEXT"/"NO UNICODE")
//   put-unicode HEX  empties the clipboard and puts only CF_UNICODETEXT (code units in hex, 4 digits each)
//   empty            empties the clipboard
//   hold             opens the clipboard, sets event TessolinPeerHolding and keeps it open until
//                    event TessolinPeerRelease is set (at most 20 s)
//   hold-file PATH   the same with the file PATH opened for reading and writing, shared with nobody
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
// The clipboard is opened for a window of this program's own, as programs do.
bool OpenWithRetry() {
    static HWND window = ::CreateWindowExA(0, "STATIC", "clipboard peer", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, nullptr, nullptr);
    for (int i = 0; i < 100; ++i) {
        if (::OpenClipboard(window)) return true;
        ::Sleep(20);
    }
    return false;
}

int Read() {
    if (!OpenWithRetry()) return 3;
    for (UINT format : {CF_TEXT, CF_UNICODETEXT}) {
        const char* name = format == CF_TEXT ? "TEXT" : "UNICODE";
        HANDLE h = ::GetClipboardData(format);
        const void* data = h != nullptr ? ::GlobalLock(h) : nullptr;
        std::printf(data != nullptr ? "%s" : "NO %s", name);
        for (size_t i = 0; format == CF_TEXT && data && ((const unsigned char*)data)[i]; ++i)
            std::printf(" %02x", ((const unsigned char*)data)[i]);
        for (size_t i = 0; format != CF_TEXT && data && ((const WCHAR*)data)[i]; ++i)
            std::printf(" %04x", ((const WCHAR*)data)[i]);
        std::printf("\n");
        if (data != nullptr) ::GlobalUnlock(h);
    }
    ::CloseClipboard();
    return 0;
}

int PutUnicode(const char* hex) {
    std::vector<WCHAR> units;
    for (size_t i = 0; i + 4 <= std::strlen(hex); i += 4)
        units.push_back((WCHAR)std::stoul(std::string(hex + i, 4), nullptr, 16));
    units.push_back(0);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, units.size() * sizeof(WCHAR));
    if (block == nullptr) return 4;
    std::memcpy(::GlobalLock(block), units.data(), units.size() * sizeof(WCHAR));
    ::GlobalUnlock(block);
    if (!OpenWithRetry()) return 3;
    ::EmptyClipboard();
    bool set = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    ::CloseClipboard();
    return set ? 0 : 5;
}

// Holds what take() took (the clipboard or a file) until told to let go; give() lets go.
template <class Take, class Give> int Hold(Take take, Give give) {
    HANDLE holding = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinPeerHolding");
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinPeerRelease");
    if (!take()) return 3;
    ::SetEvent(holding);
    ::WaitForSingleObject(release, 20000);
    give();
    ::CloseHandle(holding);
    ::CloseHandle(release);
    return 0;
}

int HoldFile(const char* path) {
    HANDLE file = INVALID_HANDLE_VALUE;
    return Hold(
        [&] {
            file = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            return file != INVALID_HANDLE_VALUE;
        },
        [&] { ::CloseHandle(file); });
}
} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "read") == 0) return Read();
    if (argc >= 3 && std::strcmp(argv[1], "put-unicode") == 0) return PutUnicode(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "empty") == 0)
        return OpenWithRetry() && ::EmptyClipboard() && ::CloseClipboard() ? 0 : 3;
    if (argc >= 2 && std::strcmp(argv[1], "hold") == 0) return Hold(OpenWithRetry, ::CloseClipboard);
    if (argc >= 3 && std::strcmp(argv[1], "hold-file") == 0) return HoldFile(argv[2]);
    std::fprintf(stderr, "usage: clipboard_peer read | put-unicode HEX | empty | hold | hold-file PATH\n");
    return 2;
}
