// Case-blind substring search: the Knuth-Morris-Pratt forward scan, its failure table and the backward scan.
#include "regex/KmpFind.h"

#include <cstring>
#include <new>

namespace {

// Only the ASCII capitals fold; bytes at or above 0x80 are lead or trail bytes and compare exactly.
inline unsigned char Fold(char c) {
    unsigned char b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// The text positions whose byte folds to one given folded byte, found with memchr (once for each
// case of a letter), so the scan leaves the byte-by-byte loop wherever no occurrence can begin.
class FoldedByteScan {
public:
    // Positions in [from, n).
    FoldedByteScan(const char* text, size_t from, size_t n, unsigned char folded)
        : m_text(text), m_n(n), m_lower(folded),
          m_upper((folded >= 'a' && folded <= 'z') ? (unsigned char)(folded - ('a' - 'A')) : folded),
          m_nextLower(Find(m_lower, from)), m_nextUpper(m_upper == m_lower ? m_n : Find(m_upper, from)) {}

    // The first such position at or after i, or n.
    size_t Next(size_t i) {
        if (m_nextLower < i) m_nextLower = Find(m_lower, i);
        if (m_nextUpper < i && m_upper != m_lower) m_nextUpper = Find(m_upper, i);
        return m_nextLower < m_nextUpper ? m_nextLower : m_nextUpper;
    }

private:
    size_t Find(unsigned char byte, size_t from) const {
        const void* hit = from < m_n ? std::memchr(m_text + from, byte, m_n - from) : nullptr;
        return hit ? (size_t)(static_cast<const char*>(hit) - m_text) : m_n;
    }

    const char* m_text;
    size_t m_n;
    unsigned char m_lower, m_upper;
    size_t m_nextLower, m_nextUpper; // the next occurrence of each case, or n; stale when below i
};

} // namespace

void KmpNext(int length, const char* pattern, int* table) {
    if (length <= 0 || !pattern || !table) return;
    table[0] = 0;
    if (length == 1) return;
    table[1] = 0;
    int k = 0;
    for (int i = 1; i < length - 1; ++i) {
        while (k > 0 && Fold(pattern[i]) != Fold(pattern[k])) k = table[k];
        if (Fold(pattern[i]) == Fold(pattern[k])) ++k;
        table[i + 1] = k;
    }
}

// The text is taken in windows that double in size up to its terminating zero, so a search costs
// the distance to its hit, not the text's length: find-next and replace-all search a long text from
// many places. The matcher's state carries over from one window to the next.
int KmpFindNoCase(const char* text, const char* pattern) {
    if (!text || !pattern) return -1;
    size_t m = std::strlen(pattern);
    if (m == 0) return 0;
    int* table = new (std::nothrow) int[m];
    if (!table) return -1;
    KmpNext(static_cast<int>(m), pattern, table);
    const unsigned char first = Fold(pattern[0]);
    size_t i = 0, j = 0, end = 0, window = 4096;
    for (bool last = false; !last && j < m; window = window < (1u << 24) ? window * 2 : window) {
        const void* zero = std::memchr(text + end, 0, window);
        last = zero != nullptr;
        end = last ? (size_t)(static_cast<const char*>(zero) - text) : end + window;
        FoldedByteScan starts(text, i, end, first);
        if (j == 0) i = starts.Next(i);
        while (i < end && j < m) {
            if (Fold(text[i]) == Fold(pattern[j])) {
                ++i;
                ++j;
            } else if (j == 0) {
                i = starts.Next(i + 1); // the same as stepping on until the first byte matches
            } else {
                j = static_cast<size_t>(table[j]);
            }
        }
    }
    delete[] table;
    return j == m ? static_cast<int>(i - m) : -1;
}

// The forward method run backwards: the reversed pattern is searched in the text read from the
// right, starting with the byte that would end an occurrence at the start offset, so the first hit
// is the nearest occurrence at or before it and the scan stays linear.
int KmpFindReverse(const char* text, const char* pattern, int start) {
    if (!text || !pattern) return -1;
    size_t m = std::strlen(pattern);
    size_t n = std::strlen(text);
    if (m == 0 || m > n || m > 0x7FFFFFFF) return -1;
    size_t last = n - m;
    size_t from = (start < 0 || static_cast<size_t>(start) > last) ? last : static_cast<size_t>(start);
    char* reversed = new (std::nothrow) char[m];
    int* table = new (std::nothrow) int[m];
    int result = -1;
    if (reversed && table) {
        for (size_t k = 0; k < m; ++k) reversed[k] = pattern[m - 1 - k];
        KmpNext(static_cast<int>(m), reversed, table);
        size_t i = from + m; // one past the next text byte to read
        size_t j = 0;
        while (i > 0 && j < m) {
            if (Fold(text[i - 1]) == Fold(reversed[j])) {
                --i;
                ++j;
            } else if (j == 0) {
                --i;
            } else {
                j = static_cast<size_t>(table[j]);
            }
        }
        if (j == m) result = static_cast<int>(i);
    }
    delete[] reversed;
    delete[] table;
    return result;
}
