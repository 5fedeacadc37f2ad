// Bounded searches, portable form: memchr finds the candidates and the end of the text (the byte
// search steps through the bytes).
#include "text/TextSearch.h"

#include <cstring>

const char* FindBounded(const char* s, const char* end, const char* sub, size_t n) {
    const char* zero = static_cast<const char*>(std::memchr(s, 0, (size_t)(end - s)));
    if (zero != nullptr) end = zero;
    textsearch::Boundaries boundaries(s);
    for (const char* p = s; (size_t)(end - p) >= n;) {
        const char* q = static_cast<const char*>(std::memchr(p, sub[0], (size_t)(end - p)));
        if (q == nullptr || (size_t)(end - q) < n) return nullptr;
        if (boundaries.At(q) && std::memcmp(q, sub, n) == 0) return q;
        p = q + 1;
    }
    return nullptr;
}

const char* FindBytes(const char* s, const char* end, const char* sub, size_t n, bool fold, bool* zero) {
    const char* stop = static_cast<const char*>(std::memchr(s, 0, (size_t)(end - s)));
    *zero = stop != nullptr;
    if (stop != nullptr) end = stop;
    unsigned char first = textsearch::FoldByte(sub[0]);
    for (const char* q = s; (size_t)(end - q) >= n; ++q)
        if ((!fold ? *q == sub[0] : textsearch::FoldByte(*q) == first) &&
            textsearch::SameBytes(q, sub, n, fold))
            return q;
    return nullptr;
}

size_t LowerCopy(char* dest, const char* src, size_t n, bool& trail, bool* zero) {
    *zero = false;
    for (size_t i = 0; i < n; ++i) {
        if (!textsearch::LowerByte(src[i], dest[i], trail)) {
            *zero = true;
            return i;
        }
    }
    return n;
}
