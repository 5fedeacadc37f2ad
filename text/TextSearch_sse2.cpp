// Bounded searches for x86-64: sixteen bytes a step look for the first pattern byte and for the
// zero byte that ends the text together, and lower-case runs of plain ASCII at once.
#include <emmintrin.h>

#include <cstring>

#include "text/TextSearch.h"

const char* FindBounded(const char* s, const char* end, const char* sub, size_t n) {
    textsearch::Boundaries boundaries(s);
    const __m128i first = _mm_set1_epi8(sub[0]);
    const __m128i zeros = _mm_setzero_si128();
    const char* p = s;
    while (p < end) {
        unsigned hits, stops;
        if (end - p >= 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            hits = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, first));
            stops = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, zeros));
        } else {
            hits = stops = 0;
            for (int b = 0; b < end - p; ++b) {
                hits |= (unsigned)(p[b] == sub[0]) << b;
                stops |= (unsigned)(p[b] == 0) << b;
            }
        }
        int stop = stops ? __builtin_ctz(stops) : 16;
        if (stop < 16) hits &= (1u << stop) - 1;
        for (; hits != 0; hits &= hits - 1) {
            const char* q = p + __builtin_ctz(hits);
            if ((size_t)(end - q) < n) return nullptr;
            if (boundaries.At(q) && std::memcmp(q, sub, n) == 0) return q;
        }
        if (stop < 16) return nullptr;
        p += 16;
    }
    return nullptr;
}

namespace {
// Sixteen-bit masks of the bytes of v equal to c, or to c's other case when c is a letter and fold.
struct ByteMatcher {
    ByteMatcher(char c, bool fold) {
        unsigned char lower = textsearch::FoldByte(c);
        bool letter = fold && lower >= 'a' && lower <= 'z';
        one = _mm_set1_epi8(letter ? (char)lower : c);
        other = _mm_set1_epi8(letter ? (char)(lower - ('a' - 'A')) : c);
    }
    unsigned Mask(__m128i v) const {
        return (unsigned)_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, one), _mm_cmpeq_epi8(v, other)));
    }
    __m128i one, other;
};
} // namespace

// Candidates are positions whose first two bytes match the pattern's (a pair is far rarer than a
// byte, so the verification rarely runs); the zero byte is looked for in the same step.
const char* FindBytes(const char* s, const char* end, const char* sub, size_t n, bool fold, bool* zero) {
    *zero = false;
    const ByteMatcher first(sub[0], fold), second(n > 1 ? sub[1] : sub[0], fold);
    const __m128i zeros = _mm_setzero_si128();
    const char* p = s;
    while (end - p >= 17) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned hits = first.Mask(v);
        if (n > 1) hits &= second.Mask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)));
        unsigned stops = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, zeros));
        if (stops != 0) hits &= (1u << __builtin_ctz(stops)) - 1;
        for (; hits != 0; hits &= hits - 1) {
            const char* q = p + __builtin_ctz(hits);
            if ((size_t)(end - q) < n) return nullptr;
            if (textsearch::SameBytes(q, sub, n, fold)) return q; // a zero inside q's bytes never matches
        }
        if (stops != 0) {
            *zero = true;
            return nullptr;
        }
        p += 16;
    }
    for (; p < end; ++p) {
        if (*p == 0) {
            *zero = true;
            return nullptr;
        }
        if ((size_t)(end - p) >= n && textsearch::SameBytes(p, sub, n, fold)) return p;
    }
    return nullptr;
}

size_t LowerCopy(char* dest, const char* src, size_t n, bool& trail, bool* zero) {
    *zero = false;
    const __m128i below = _mm_set1_epi8('A' - 1);
    const __m128i above = _mm_set1_epi8('Z' + 1);
    const __m128i bit = _mm_set1_epi8(0x20);
    const __m128i zeros = _mm_setzero_si128();
    size_t i = 0;
    while (i < n) {
        if (!trail && n - i >= 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            // Signed compares: bytes from 0x80 up are negative and never letters.
            unsigned special =
                (unsigned)_mm_movemask_epi8(v) | (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, zeros));
            if (special == 0) {
                __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(v, below), _mm_cmplt_epi8(v, above));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                                 _mm_or_si128(v, _mm_and_si128(letters, bit)));
                i += 16;
                continue;
            }
        }
        size_t stop = n - i < 16 ? n : i + 16;
        for (; i < stop; ++i) {
            if (!textsearch::LowerByte(src[i], dest[i], trail)) {
                *zero = true;
                return i;
            }
        }
    }
    return n;
}
