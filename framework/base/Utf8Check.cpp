// Unicode signatures and the well-formed UTF-8 check (the byte ranges of Unicode's table of
// well-formed sequences).
#include "framework/base/Utf8Check.h"

#include <cstdint>
#include <cstring>

namespace {
const unsigned char kUtf8Signature[] = {0xEF, 0xBB, 0xBF};
const unsigned char kUtf16LeSignature[] = {0xFF, 0xFE};
const unsigned char kUtf16BeSignature[] = {0xFE, 0xFF};

// For a lead byte: the continuation bytes it needs and the range of the first of them; -1 for a
// byte that cannot start a sequence.
int LeadOf(unsigned char b, unsigned char& low, unsigned char& high) {
    low = 0x80;
    high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) return 1;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F; // no surrogates
    if (b >= 0xE0 && b <= 0xEF) return 2;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F; // nothing above U+10FFFF
    if (b >= 0xF0 && b <= 0xF4) return 3;
    return -1;
}
bool HasHighBit(const unsigned char* eight) {
    std::uint64_t word;
    std::memcpy(&word, eight, sizeof word);
    return (word & 0x8080808080808080ull) != 0;
}
} // namespace

TextEncoding EncodingOfSignature(const unsigned char* bytes, size_t count, size_t& signatureSize) {
    signatureSize = 0;
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        signatureSize = 3;
        return kEncodingUtf8Bom;
    }
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        signatureSize = 2;
        return kEncodingUtf16Le;
    }
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        signatureSize = 2;
        return kEncodingUtf16Be;
    }
    return kEncodingGbk;
}

size_t SignatureOf(TextEncoding encoding, const unsigned char*& bytes) {
    switch (encoding) {
    case kEncodingUtf8Bom:
        bytes = kUtf8Signature;
        return sizeof kUtf8Signature;
    case kEncodingUtf16Le:
        bytes = kUtf16LeSignature;
        return sizeof kUtf16LeSignature;
    case kEncodingUtf16Be:
        bytes = kUtf16BeSignature;
        return sizeof kUtf16BeSignature;
    default:
        bytes = nullptr;
        return 0;
    }
}

bool CUtf8Check::Feed(const unsigned char* bytes, size_t count) {
    for (size_t i = 0; i < count && m_valid; ++i) {
        // Runs of ASCII between characters pass eight bytes at a time.
        while (m_pending == 0 && i + 8 <= count && !HasHighBit(bytes + i)) i += 8;
        if (i >= count) break;
        unsigned char b = bytes[i];
        if (m_pending > 0) {
            m_valid = b >= m_low && b <= m_high;
            m_low = 0x80;
            m_high = 0xBF;
            --m_pending;
        } else if (b >= 0x80) {
            m_pending = LeadOf(b, m_low, m_high);
            m_valid = m_pending > 0;
            m_multiByte = true;
        }
    }
    return m_valid;
}

size_t Utf8CutBack(const unsigned char* bytes, size_t count) {
    for (size_t back = 1; back <= 3 && back <= count; ++back) {
        unsigned char b = bytes[count - back];
        if ((b & 0xC0) == 0x80) continue; // a continuation byte: look further back
        unsigned char low, high;
        int need = b >= 0x80 ? LeadOf(b, low, high) : 0;
        return need >= (int)back ? back : 0;
    }
    return 0;
}
