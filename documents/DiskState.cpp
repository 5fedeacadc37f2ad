// The file stamp, raw reads shared with writers, and the text-mode reading of appended bytes.
#include "documents/DiskState.h"

#include <algorithm>

#include "framework/base/TextMode.h"

CDiskStamp CDiskStamp::Of(LPCSTR path) {
    CDiskStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (path == nullptr || !::GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

BOOL ReadRawBytes(LPCSTR path, ULONGLONG offset, size_t count, std::string& out) {
    out.clear();
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    BOOL ok = ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    try {
        out.resize(count);
    } catch (...) {
        ok = FALSE;
    }
    size_t done = 0;
    while (ok && done < count) {
        DWORD got = 0;
        DWORD want = (DWORD)std::min<size_t>(count - done, 1u << 24);
        ok = ::ReadFile(file, &out[done], want, &got, nullptr);
        if (got == 0) break;
        done += got;
    }
    ::CloseHandle(file);
    out.resize(ok ? done : 0);
    return ok;
}

namespace {
// Whether the text ends in the lead byte of a two-byte character with its second byte missing,
// pairing bytes from the start (a byte with its high bit set leads a pair).
bool EndsInLoneLeadByte(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) i += (text[i] & 0x80) != 0 ? 2 : 1;
    return i > text.size();
}
} // namespace

CAppendedText DecodeAppended(const char* raw, size_t count, bool keepNul) {
    CAppendedText result;
    result.text.resize(count);
    TextModeStep step = DecodeTextMode(raw, count, false, count > 0 ? &result.text[0] : nullptr, count);
    result.text.resize(step.produced);
    result.consumed = step.consumed;
    result.ended = step.ended;
    // A NUL or a lead byte stands for exactly one raw byte, so holding one back gives back one.
    for (;;) {
        bool finalNul = keepNul && !result.text.empty() && result.text.back() == '\0';
        if (finalNul && result.ended) {
            result.text.pop_back(); // the terminator of a file that ends here
            break;
        }
        if (result.ended || !(finalNul || EndsInLoneLeadByte(result.text))) break;
        result.text.pop_back();
        --result.consumed;
    }
    if (!keepNul) std::replace(result.text.begin(), result.text.end(), '\0', ' ');
    return result;
}
