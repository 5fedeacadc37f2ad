// CStringEx searches: forward, reverse and case-blind finds, and the replace loops.
#include "text/StringEx.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "framework/base/Mbcs936.h"
#include "text/TextSearch.h"

namespace {
// A private copy of a pattern that lives inside the block, whose bytes the replacements move.
class PatternCopy {
public:
    PatternCopy(const char* s, const char* block, int blockSize) : m_text(s) {
        if (s < block || s >= block + blockSize) return;
        size_t n = strlen(s) + 1;
        m_copy = static_cast<char*>(std::malloc(n));
        if (m_copy != nullptr) std::memcpy(m_copy, s, n);
        m_text = m_copy;
    }
    ~PatternCopy() { std::free(m_copy); }
    PatternCopy(const PatternCopy&) = delete;
    PatternCopy& operator=(const PatternCopy&) = delete;
    const char* Get() const { return m_text; }

private:
    const char* m_text;
    char* m_copy = nullptr;
};
} // namespace

int CStringEx::TextEnd() const {
    const char* text = Flat();
    return text ? (int)strlen(text) : 0;
}

int CStringEx::Find(char c, int start) const {
    if (Flat() == nullptr || c == 0) return -1;
    if (start < 0) start = 0;
    if (start >= m_nLength && start >= TextEnd()) return -1;
    const char* hit = cp936::mbschr(m_pText + start, (unsigned char)c);
    return hit ? (int)(hit - m_pText) : -1;
}

int CStringEx::Find(const char* s, int start) const {
    if (Flat() == nullptr || s == nullptr) return -1;
    if (start < 0) start = 0;
    if (start > m_nLength && start > TextEnd()) return -1;
    const char* hit = cp936::mbsstr(m_pText + start, s);
    return hit ? (int)(hit - m_pText) : -1;
}

int CStringEx::FindNoCase(char c, int start) const {
    unsigned lower = (unsigned)Find((char)std::tolower((unsigned char)c), start);
    unsigned upper = (unsigned)Find((char)std::toupper((unsigned char)c), start);
    return (int)(lower < upper ? lower : upper);
}

int CStringEx::FindNoCase(const char* s, int start) const {
    if (Flat() == nullptr || s == nullptr) return -1;
    if (start < 0) start = 0;
    size_t end = strlen(m_pText);
    if ((size_t)start > end) return -1;
    size_t ls = strlen(s);
    char* text = static_cast<char*>(std::malloc(end + 1));
    char* find = static_cast<char*>(std::malloc(ls + 1));
    int result = -1;
    if (text != nullptr && find != nullptr) {
        std::memcpy(text, m_pText, end + 1);
        std::memcpy(find, s, ls + 1);
        cp936::mbslwr(text);
        cp936::mbslwr(find);
        const char* hit = cp936::mbsstr(text + start, find);
        result = hit ? (int)(hit - text) : -1;
    }
    std::free(text);
    std::free(find);
    return result;
}

int CStringEx::ReverseSearch(const char* s, int start, bool noCase) const {
    if (Flat() == nullptr || s == nullptr) return -1;
    int ls = (int)strlen(s);
    int lt = TextEnd();
    if (ls < 1 || lt < 1) return -1;
    int p = (start == -1 || start >= lt) ? lt - 1 : start;
    for (; p >= 0; --p) {
        int diff = noCase ? cp936::mbsnbicmp(m_pText + p, s, (size_t)ls)
                          : cp936::mbsnbcmp(m_pText + p, s, (size_t)ls);
        if (diff == 0) return p;
    }
    return -1;
}

int CStringEx::ReverseFind(const char* s, int start) const {
    return ReverseSearch(s, start, false);
}

int CStringEx::ReverseFindNoCase(const char* s, int start) const {
    return ReverseSearch(s, start, true);
}

int CStringEx::ReverseFindNoCase(char c, int start) const {
    char one[2] = {c, 0};
    return ReverseSearch(one, start, true);
}

// Each search starts where the last replacement ended, which is where the gap is: the rest of the
// text lies contiguous behind the gap, so no hit moves or rescans the text after it.
int CStringEx::FindReplace(const char* find, const char* repl, int all) {
    if (find == nullptr || *find == 0 || m_pText == nullptr) return 0;
    PatternCopy key(find, m_pText, m_nBlock), with(repl ? repl : "", m_pText, m_nBlock);
    if (key.Get() == nullptr || with.Get() == nullptr) return Failed();
    int lf = (int)strlen(key.Get()), lr = (int)strlen(with.Get());
    int count = 0;
    for (int start = 0;;) {
        MoveGap(start);
        const char* from = m_pText + Physical(start);
        const char* hit = FindBounded(from, from + (m_nLength - start), key.Get(), (size_t)lf);
        if (hit == nullptr) break;
        int p = start + (int)(hit - from);
        if (!Replace(p, lf, with.Get())) break;
        ++count;
        if (!all) break;
        start = p + lr;
    }
    return count;
}

// The hits are found in a lower-cased copy of the text taken before the first replacement; each
// hit q of the copy lies at q + shift in the text.
int CStringEx::FindReplaceNoCase(const char* find, const char* repl, int all) {
    if (find == nullptr || *find == 0 || m_pText == nullptr) return 0;
    PatternCopy with(repl ? repl : "", m_pText, m_nBlock);
    if (with.Get() == nullptr) return Failed();
    int lf = (int)strlen(find), lr = (int)strlen(with.Get());
    char* text = static_cast<char*>(std::malloc((size_t)m_nLength + 1));
    char* key = static_cast<char*>(std::malloc((size_t)lf + 1));
    int count = 0;
    if (text != nullptr && key != nullptr) {
        std::memcpy(key, find, (size_t)lf + 1);
        cp936::mbslwr(key);
        size_t size = LowerCopyText(text);
        long long shift = 0;
        for (const char* q = FindBounded(text, text + size, key, (size_t)lf); q != nullptr;
             q = FindBounded(q + lf, text + size, key, (size_t)lf)) {
            if (!Replace((int)((q - text) + shift), lf, with.Get())) break;
            shift += lr - lf;
            ++count;
            if (!all) break;
        }
    } else {
        m_bAllocFailed = TRUE;
    }
    std::free(text);
    std::free(key);
    return count;
}

// The text up to its first zero byte (or its length), lower-cased into dest, then a zero byte.
size_t CStringEx::LowerCopyText(char* dest) const {
    const char* piece[2];
    int size[2];
    GetPieces(0, m_nLength, piece[0], size[0], piece[1], size[1]);
    bool trail = false, zero = false;
    size_t n = LowerCopy(dest, piece[0], (size_t)size[0], trail, &zero);
    if (!zero) n += LowerCopy(dest + n, piece[1], (size_t)size[1], trail, &zero);
    dest[n] = 0;
    return n;
}
