// TextPieces: a text read where it lies, as up to two contiguous pieces (a gap buffer's two sides).
#pragma once

#include <cstring>
#include <string>

// Logical byte p of the text (0 <= p < length) is first[p] below firstSize and second[p - firstSize]
// from there on. A contiguous text is one piece (firstSize == length). The pieces stay valid until the
// text is next changed or made contiguous; reading them never moves anything.
struct TextPieces {
    const char* first = nullptr;
    int firstSize = 0;
    const char* second = nullptr;
    int length = 0;

    static TextPieces Contiguous(const char* text, int length) {
        return TextPieces{text, text != nullptr ? length : 0, text, text != nullptr ? length : 0};
    }
    char At(int p) const { return p < firstSize ? first[p] : second[p - firstSize]; }
    // [pos, pos + n) inside the text, as a pointer into a piece when it lies in one, else copied
    // into scratch.
    const char* Span(int pos, int n, std::string& scratch) const {
        if (pos + n <= firstSize) return first + pos;
        if (pos >= firstSize) return second + (pos - firstSize);
        scratch.assign(first + pos, (size_t)(firstSize - pos));
        scratch.append(second, (size_t)(pos + n - firstSize));
        return scratch.data();
    }
    // The first byte c at or after from and before to, or -1.
    int Find(char c, int from, int to) const {
        if (from < firstSize) {
            int stop = to < firstSize ? to : firstSize;
            if (const void* q = from < stop ? std::memchr(first + from, c, (size_t)(stop - from)) : nullptr)
                return (int)(static_cast<const char*>(q) - first);
            from = firstSize;
        }
        if (from >= to) return -1;
        const void* q = std::memchr(second + (from - firstSize), c, (size_t)(to - from));
        return q != nullptr ? (int)(static_cast<const char*>(q) - second) + firstSize : -1;
    }
};
