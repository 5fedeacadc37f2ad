// Reading and writing the Unicode files through the system's conversions, code page 936 named
// explicitly so the result does not depend on the system's own code page.
#include "documents/FileEncoding.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/win/File.h"

namespace {
const UINT kGbk = 936;
const size_t kPiece = 1 << 20;  // bytes converted at a time, so no second copy of a large file is made
const UINT kRawBlock = 1 << 20; // bytes read from the disk at a time

// Reads the rest of the file's bytes as they are on disk after those already in bytes.
bool ReadRaw(CStdioFile& file, std::string& bytes) {
    bytes.reserve((size_t)file.CFile::GetLength() + 1);
    for (size_t at = bytes.size();; at = bytes.size()) {
        bytes.resize(at + kRawBlock);
        UINT count = file.CFile::Read(&bytes[at], kRawBlock);
        bytes.resize(at + count);
        if (count == 0) break;
    }
    return !file.HasFailed();
}

// Checks the file for a signature or for well-formed UTF-8 with at least one multi-byte sequence.
// The bytes read stay in raw (after the signature), so a UTF-8 file is not read twice.
bool FindEncoding(CStdioFile& file, TextEncoding& encoding, size_t& signature, std::string& raw) {
    raw.resize(kRawBlock);
    UINT count = file.CFile::Read(&raw[0], kRawBlock);
    raw.resize(count);
    encoding = EncodingOfSignature(reinterpret_cast<const unsigned char*>(raw.data()), count, signature);
    if (encoding != kEncodingGbk) {
        raw.erase(0, signature);
        return !file.HasFailed();
    }
    CUtf8Check check;
    for (size_t at = 0;
         count > 0 && check.Feed(reinterpret_cast<const unsigned char*>(raw.data()) + at, count);) {
        at = raw.size();
        raw.resize(at + kRawBlock);
        count = file.CFile::Read(&raw[at], kRawBlock);
        raw.resize(at + count);
    }
    if (check.Finish() && check.SawMultiByte()) encoding = kEncodingUtf8;
    return !file.HasFailed();
}

// The UTF-16 of a piece of the file, and how many of its bytes made whole characters.
// The last piece is taken whole: a sequence cut there becomes a replacement character.
size_t WidenPiece(TextEncoding encoding, const char* bytes, size_t count, bool last,
                  std::vector<wchar_t>& wide) {
    if (encoding == kEncodingUtf8 || encoding == kEncodingUtf8Bom) {
        if (!last) count -= Utf8CutBack(reinterpret_cast<const unsigned char*>(bytes), count);
        wide.resize(count);
        wide.resize(
            count == 0 ? 0 : ::MultiByteToWideChar(CP_UTF8, 0, bytes, (int)count, wide.data(), (int)count));
        return count;
    }
    count &= ~(size_t)1;
    wide.resize(count / 2);
    for (size_t i = 0; i < wide.size(); ++i) {
        unsigned char a = (unsigned char)bytes[2 * i], b = (unsigned char)bytes[2 * i + 1];
        wide[i] = encoding == kEncodingUtf16Le ? (wchar_t)(a | b << 8) : (wchar_t)(a << 8 | b);
    }
    // A pair of surrogates is not split between two pieces.
    if (!wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF && count > 2) {
        wide.pop_back();
        count -= 2;
    }
    return count;
}

// Appends the GBK of wide to gbk; answers the index of the first character code page 936 cannot
// hold (the conversion back does not give it again), or -1.
long long NarrowPiece(const std::vector<wchar_t>& wide, std::string& gbk, std::vector<wchar_t>& check) {
    if (wide.empty()) return -1;
    const int n = (int)wide.size();
    size_t start = gbk.size();
    gbk.resize(start + 2 * wide.size());
    BOOL usedDefault = FALSE;
    int made = ::WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), n, &gbk[start], 2 * n, nullptr,
                                     &usedDefault);
    gbk.resize(start + made);
    if (!usedDefault) return -1;
    check.resize(wide.size());
    int back = ::MultiByteToWideChar(kGbk, 0, gbk.data() + start, made, check.data(), n);
    if (back == n && std::memcmp(check.data(), wide.data(), wide.size() * sizeof(wchar_t)) == 0) return -1;
    size_t i = 0;
    while (i < (size_t)back && i < wide.size() && check[i] == wide[i]) ++i;
    return (long long)i;
}

bool HighBitIn(const char* eight) {
    unsigned long long word;
    std::memcpy(&word, eight, sizeof word);
    return (word & 0x8080808080808080ull) != 0;
}

// Where the next byte with its high bit set is, from pos on (the end when none is).
size_t NextHighByte(const std::string& raw, size_t pos) {
    while (pos + 8 <= raw.size() && !HighBitIn(raw.data() + pos)) pos += 8;
    while (pos < raw.size() && (unsigned char)raw[pos] < 0x80) ++pos;
    return pos;
}

// The end of the stretch of UTF-8 from pos that holds its multi-byte characters: it stops before a
// run of 64 ASCII bytes (copied as they are, being the same in GBK) or after a piece's size.
size_t StretchEnd(const std::string& raw, size_t pos) {
    const size_t limit = std::min(raw.size(), pos + kPiece);
    size_t end = pos;
    while (end < limit) {
        size_t next = NextHighByte(raw, end + 1);
        if (next >= limit && limit < raw.size()) return limit; // the piece cuts back to a whole character
        if (next >= limit || next - end > 64) {
            // Past the last multi-byte character: its continuation bytes end the stretch.
            while (end < raw.size() && (unsigned char)raw[end] >= 0x80) ++end;
            return end;
        }
        end = next;
    }
    return end;
}

// Converts the Unicode bytes to GBK piece by piece; lostLine names the first line with a character
// that was lost. FALSE when the bytes do not convert whole (a UTF-16 file of an odd size).
bool ToGbk(TextEncoding encoding, const std::string& raw, std::string& gbk, int& lostLine) {
    std::vector<wchar_t> wide, check;
    size_t pos = 0;
    const bool utf8 = encoding == kEncodingUtf8 || encoding == kEncodingUtf8Bom;
    gbk.reserve(raw.size());
    while (pos < raw.size()) {
        if (utf8) {
            size_t high = NextHighByte(raw, pos);
            gbk.append(raw, pos, high - pos);
            pos = high;
            if (pos == raw.size()) break;
        }
        size_t piece = utf8 ? StretchEnd(raw, pos) - pos : std::min(kPiece, raw.size() - pos);
        size_t used = WidenPiece(encoding, raw.data() + pos, piece, pos + piece == raw.size(), wide);
        if (used == 0) return false;
        const size_t before = gbk.size(); // the line feeds so far are those of the GBK made so far
        long long lost = NarrowPiece(wide, gbk, check);
        if (lost >= 0 && lostLine == 0)
            lostLine = (int)(std::count(gbk.begin(), gbk.begin() + (long)before, '\n') +
                             std::count(wide.begin(), wide.begin() + lost, L'\n') + 1);
        pos += used;
    }
    return true;
}
} // namespace

BOOL PrepareTextRead(CStdioFile& file, bool detect, CFileReading& reading, unsigned long long& size) {
    reading = CFileReading();
    TextEncoding encoding = kEncodingGbk;
    size_t signature = 0;
    std::string raw, gbk;
    if (detect && !FindEncoding(file, encoding, signature, raw)) return FALSE;
    if (encoding == kEncodingGbk) return file.Seek(0, CFile::begin) != CFile::kSeekFailed;
    if (encoding != kEncodingUtf8 && !ReadRaw(file, raw)) return FALSE;
    int lostLine = 0;
    if (!ToGbk(encoding, raw, gbk, lostLine)) return file.Seek(0, CFile::begin) != CFile::kSeekFailed;
    std::string().swap(raw);
    reading.format.encoding = encoding;
    size_t lineFeed = gbk.find('\n');
    reading.format.lfOnly = lineFeed != std::string::npos && (lineFeed == 0 || gbk[lineFeed - 1] != '\r');
    reading.lostLine = lostLine;
    size = gbk.size();
    file.ReadFrom(std::move(gbk));
    return TRUE;
}

namespace {
// How many bytes from the start of text end on a whole GBK character, at most count.
size_t GbkCut(const char* text, size_t count) {
    size_t i = 0;
    while (i < count) {
        unsigned char b = (unsigned char)text[i];
        size_t step = b >= 0x81 && b <= 0xFE ? 2 : 1;
        if (i + step > count) break;
        i += step;
    }
    return i == 0 ? count : i;
}

void AppendUnits(const std::vector<wchar_t>& wide, TextEncoding encoding, std::string& bytes) {
    if (encoding == kEncodingUtf8 || encoding == kEncodingUtf8Bom) {
        size_t start = bytes.size();
        bytes.resize(start + 3 * wide.size());
        int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &bytes[start],
                                      (int)(3 * wide.size()), nullptr, nullptr);
        bytes.resize(start + n);
        return;
    }
    for (wchar_t unit : wide) {
        char low = (char)(unit & 0xFF), high = (char)(unit >> 8);
        bytes += encoding == kEncodingUtf16Le ? low : high;
        bytes += encoding == kEncodingUtf16Le ? high : low;
    }
}
} // namespace

BOOL EncodeText(const char* text, size_t count, const CFileFormat& format, std::string& bytes) {
    bytes.clear();
    const unsigned char* signature = nullptr;
    size_t signatureSize = SignatureOf(format.encoding, signature);
    bytes.append(reinterpret_cast<const char*>(signature), signatureSize);
    std::vector<wchar_t> wide, lined;
    for (size_t pos = 0; pos < count;) {
        size_t piece = GbkCut(text + pos, std::min(kPiece, count - pos));
        wide.resize(piece);
        int n = ::MultiByteToWideChar(kGbk, 0, text + pos, (int)piece, wide.data(), (int)piece);
        if (n <= 0) return FALSE;
        wide.resize(n);
        if (!format.lfOnly) {
            lined.clear();
            for (wchar_t unit : wide) {
                if (unit == L'\n') lined.push_back(L'\r');
                lined.push_back(unit);
            }
            wide.swap(lined);
        }
        AppendUnits(wide, format.encoding, bytes);
        pos += piece;
    }
    return TRUE;
}

const char* EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case kEncodingUtf8:
        return "UTF-8";
    case kEncodingUtf8Bom:
        return "UTF-8 BOM";
    case kEncodingUtf16Le:
        return "UTF-16 LE";
    case kEncodingUtf16Be:
        return "UTF-16 BE";
    default:
        return "GBK";
    }
}
