// Searches over a bounded stretch of text for the replace loops, which must not rescan the rest of
// a large text for its end on every hit.
#pragma once

#include <cstddef>
#include <cstring>

#include "framework/base/ByteClass.h"

// First occurrence of sub (n > 0 bytes, no zero byte) at a character boundary of code page 936 in
// [s, end), s being a boundary, before the first zero byte; null when there is none. The same answer
// as the runtime's multibyte substring search over the zero-terminated text from s.
const char* FindBounded(const char* s, const char* end, const char* sub, size_t n);

// First occurrence of sub (n > 0 bytes, no zero byte) lying wholly inside [s, end) at any byte offset,
// before the first zero byte; with fold the 26 ASCII capitals compare equal to the small letters
// (every other byte exactly). Null when there is none; *zero tells whether a zero byte ended the search.
// The same answer as strstr (or the case-blind search of find and replace) over the text up to end.
const char* FindBytes(const char* s, const char* end, const char* sub, size_t n, bool fold, bool* zero);

// Copies src into dest up to n bytes or the first zero byte, lowering one-byte ASCII letters the way
// the multibyte lower-casing does (the trail byte of a pair is kept). trail carries "the next byte
// is a trail byte" from one call to the next. Returns the bytes copied; *zero tells whether a zero
// byte stopped the copy (it is not copied).
size_t LowerCopy(char* dest, const char* src, size_t n, bool& trail, bool* zero);

namespace textsearch {
// Decides whether candidate positions, visited in increasing order, start a character: the byte
// before a run of k lead-range bytes ends a character, so the position after the run is a boundary
// iff k is even. The walk back never passes the last proven boundary, so the work stays linear.
class Boundaries {
public:
    explicit Boundaries(const char* start) : m_known(start) {}
    bool At(const char* q) {
        const char* p = q;
        while (p > m_known && byteclass::IsGbkLead((unsigned char)p[-1])) --p;
        bool boundary = ((q - p) % 2) == 0;
        m_known = boundary ? q : q + 1;
        return boundary;
    }

private:
    const char* m_known;
};

inline unsigned char FoldByte(char c) {
    unsigned char u = (unsigned char)c;
    return u >= 'A' && u <= 'Z' ? (unsigned char)(u + ('a' - 'A')) : u;
}

// Whether the n bytes at q equal sub's, folded or exactly.
inline bool SameBytes(const char* q, const char* sub, size_t n, bool fold) {
    if (!fold) return std::memcmp(q, sub, n) == 0;
    for (size_t k = 0; k < n; ++k)
        if (FoldByte(q[k]) != FoldByte(sub[k])) return false;
    return true;
}

// The scalar step of LowerCopy for one byte; false at a zero byte.
inline bool LowerByte(char c, char& out, bool& trail) {
    if (c == 0) return false;
    unsigned char u = (unsigned char)c;
    if (trail) {
        trail = false;
    } else if (byteclass::IsGbkLead(u)) {
        trail = true;
    } else if (u >= 'A' && u <= 'Z') {
        c = (char)(u + ('a' - 'A'));
    }
    out = c;
    return true;
}
} // namespace textsearch
