// Multibyte string functions of code page 936 (GBK), the same on every platform and in every locale.
//
// A character is either one byte, or a lead byte 0x81..0xFE followed by a non-zero trail byte.
// A lead byte directly before the terminating zero is taken as a one-byte character, so no scan
// ever steps over the terminator. Searches match only at character boundaries, so a match never
// starts on a trail byte; case conversion touches only one-byte ASCII letters, so it never
// changes a trail byte. Comparisons order characters by value (lead * 256 + trail for a pair).
#pragma once

#include <cstddef>

#include "framework/base/ByteClass.h"

namespace cp936 {

// Length in bytes (1 or 2) of the character at s; s must not point at the terminator.
inline size_t CharLength(const unsigned char* s) {
    return (byteclass::IsGbkLead(s[0]) && s[1] != 0) ? 2 : 1;
}

// First character c (a one-byte value, or a pair given as lead * 256 + trail) at a character
// boundary of s; c == 0 finds the terminator. Null when absent.
const unsigned char* mbschr(const unsigned char* s, unsigned int c);
// First occurrence of sub at a character boundary of s; an empty sub matches at s.
const unsigned char* mbsstr(const unsigned char* s, const unsigned char* sub);
// Compare at most n bytes, by character value; stops at a terminator.
int mbsnbcmp(const unsigned char* a, const unsigned char* b, size_t n);
// As mbsnbcmp, with ASCII letters compared without case.
int mbsnbicmp(const unsigned char* a, const unsigned char* b, size_t n);
int mbscmp(const unsigned char* a, const unsigned char* b);
// In-place case conversion of one-byte ASCII letters; pairs are left as they are. Returns s.
unsigned char* mbslwr(unsigned char* s);
unsigned char* mbsupr(unsigned char* s);
// Byte index of the first character of s that is in set (the length of s when none).
size_t mbscspn(const unsigned char* s, const unsigned char* set);
// Byte length of the leading run of s made only of characters in set.
size_t mbsspn(const unsigned char* s, const unsigned char* set);
// Copies at most n bytes of src into dest, never ending on half a pair, and pads with zero bytes
// up to n. Like strncpy, dest is not terminated when src has n bytes or more. Returns dest.
unsigned char* mbsnbcpy(unsigned char* dest, const unsigned char* src, size_t n);

// char-typed conveniences for the common calls.
inline const char* mbsstr(const char* s, const char* sub) {
    return reinterpret_cast<const char*>(
        mbsstr(reinterpret_cast<const unsigned char*>(s), reinterpret_cast<const unsigned char*>(sub)));
}
inline const char* mbschr(const char* s, unsigned int c) {
    return reinterpret_cast<const char*>(mbschr(reinterpret_cast<const unsigned char*>(s), c));
}
inline char* mbslwr(char* s) {
    return reinterpret_cast<char*>(mbslwr(reinterpret_cast<unsigned char*>(s)));
}
inline char* mbsupr(char* s) {
    return reinterpret_cast<char*>(mbsupr(reinterpret_cast<unsigned char*>(s)));
}
inline int mbsnbcmp(const char* a, const char* b, size_t n) {
    return mbsnbcmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b), n);
}
inline int mbsnbicmp(const char* a, const char* b, size_t n) {
    return mbsnbicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b), n);
}
inline int mbscmp(const char* a, const char* b) {
    return mbscmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
}

} // namespace cp936
