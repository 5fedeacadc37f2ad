// Code page 936 string functions: character-boundary scanning over zero-terminated bytes.
#include "framework/base/Mbcs936.h"

#include <cstring>

namespace cp936 {
namespace {

// Value of the character at s (pair = lead * 256 + trail) and its length.
unsigned int CharValue(const unsigned char* s, size_t& len) {
    len = CharLength(s);
    return len == 2 ? (unsigned(s[0]) << 8 | s[1]) : s[0];
}

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

// Shared body of the bounded comparisons. A pair cut by the byte limit compares its lead byte only.
int CompareBounded(const unsigned char* a, const unsigned char* b, size_t n, bool fold) {
    while (n > 0) {
        size_t la = 0, lb = 0;
        unsigned int ca = CharValue(a, la);
        unsigned int cb = CharValue(b, lb);
        if (n < 2) {
            ca = a[0];
            cb = b[0];
            la = lb = 1;
        }
        if (fold) {
            if (la == 1) ca = FoldAscii((unsigned char)ca);
            if (lb == 1) cb = FoldAscii((unsigned char)cb);
        }
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
        a += la;
        b += lb;
        n -= (la < n ? la : n);
    }
    return 0;
}

// Decides whether candidate positions, visited in increasing order, start a character.
// Lets the searches jump with memchr instead of stepping character by character: a byte outside
// 0x81..0xFE always ends a character, so the position after it is a boundary, and from there a run
// of k bytes inside that range pairs up, making the position after the run a boundary iff k is even.
// The backward walk never passes the last proven boundary, so the total work stays linear.
class BoundaryTracker {
public:
    explicit BoundaryTracker(const unsigned char* start) : m_known(start) {}

    bool IsBoundary(const unsigned char* q) {
        const unsigned char* p = q;
        while (p > m_known && byteclass::IsGbkLead(p[-1])) --p;
        bool boundary = ((q - p) % 2) == 0;
        m_known = boundary ? q : q + 1;
        return boundary;
    }

private:
    const unsigned char* m_known; // a character boundary at or before every later candidate
};

bool SetContains(const unsigned char* set, unsigned int c) {
    for (const unsigned char* p = set; *p;) {
        size_t len = 0;
        if (CharValue(p, len) == c) return true;
        p += len;
    }
    return false;
}

} // namespace

const unsigned char* mbschr(const unsigned char* s, unsigned int c) {
    if (c == 0) return s + std::strlen(reinterpret_cast<const char*>(s));
    unsigned char pair[3] = {(unsigned char)(c >> 8), (unsigned char)c, 0};
    return c > 0xFF ? mbsstr(s, pair) : mbsstr(s, pair + 1);
}

const unsigned char* mbsstr(const unsigned char* s, const unsigned char* sub) {
    size_t n = std::strlen(reinterpret_cast<const char*>(sub));
    if (n == 0) return s;
    size_t len = std::strlen(reinterpret_cast<const char*>(s));
    BoundaryTracker boundaries(s);
    const unsigned char* end = s + len;
    for (const unsigned char* p = s; (size_t)(end - p) >= n;) {
        const unsigned char* q = static_cast<const unsigned char*>(std::memchr(p, sub[0], (size_t)(end - p)));
        if (q == nullptr || (size_t)(end - q) < n) return nullptr;
        if (boundaries.IsBoundary(q) && std::memcmp(q, sub, n) == 0) return q;
        p = q + 1;
    }
    return nullptr;
}

int mbsnbcmp(const unsigned char* a, const unsigned char* b, size_t n) {
    return CompareBounded(a, b, n, false);
}

int mbsnbicmp(const unsigned char* a, const unsigned char* b, size_t n) {
    return CompareBounded(a, b, n, true);
}

int mbscmp(const unsigned char* a, const unsigned char* b) {
    return CompareBounded(a, b, (size_t)-1, false);
}

unsigned char* mbslwr(unsigned char* s) {
    for (unsigned char* p = s; *p; p += CharLength(p))
        if (*p >= 'A' && *p <= 'Z') *p += 'a' - 'A';
    return s;
}

unsigned char* mbsupr(unsigned char* s) {
    for (unsigned char* p = s; *p; p += CharLength(p))
        if (*p >= 'a' && *p <= 'z') *p -= 'a' - 'A';
    return s;
}

size_t mbscspn(const unsigned char* s, const unsigned char* set) {
    const unsigned char* p = s;
    while (*p) {
        size_t len = 0;
        if (SetContains(set, CharValue(p, len))) break;
        p += len;
    }
    return (size_t)(p - s);
}

size_t mbsspn(const unsigned char* s, const unsigned char* set) {
    const unsigned char* p = s;
    while (*p) {
        size_t len = 0;
        if (!SetContains(set, CharValue(p, len))) break;
        p += len;
    }
    return (size_t)(p - s);
}

unsigned char* mbsnbcpy(unsigned char* dest, const unsigned char* src, size_t n) {
    size_t i = 0;
    while (i < n && src[i]) {
        size_t len = CharLength(src + i);
        if (i + len > n) break; // the pair does not fit: leave it out whole
        std::memcpy(dest + i, src + i, len);
        i += len;
    }
    if (i < n) std::memset(dest + i, 0, n - i);
    return dest;
}

} // namespace cp936
