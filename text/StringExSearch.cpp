// CStringEx searches: forward, reverse and case-blind finds, and the replace loops.
#include "text/StringEx.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>

#include "framework/base/ByteClass.h"
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

// The pieces before and after the gap are searched where they lie; a hit straddling the gap is found
// in a copy of the bytes on either side of it, short of the pattern's length.
int CStringEx::SearchBytes(int start, const char* find, bool fold) const {
    if (find == nullptr || start < 0 || start > m_nLength || m_pText == nullptr) return -1;
    size_t n = std::strlen(find);
    if (n == 0) return start;
    const char* piece[2];
    int size[2];
    GetPieces(start, m_nLength, piece[0], size[0], piece[1], size[1]);
    bool zero = false;
    const char* hit = FindBytes(piece[0], piece[0] + size[0], find, n, fold, &zero);
    if (hit != nullptr) return start + (int)(hit - piece[0]);
    if (zero || size[1] == 0) return -1;
    size_t tail = std::min(n - 1, (size_t)size[0]), head = std::min(n - 1, (size_t)size[1]);
    std::string seam(piece[0] + size[0] - tail, tail);
    seam.append(piece[1], head);
    hit = FindBytes(seam.data(), seam.data() + seam.size(), find, n, fold, &zero);
    if (hit != nullptr) return start + size[0] - (int)tail + (int)(hit - seam.data());
    hit = FindBytes(piece[1], piece[1] + size[1], find, n, fold, &zero);
    return hit != nullptr ? start + size[0] + (int)(hit - piece[1]) : -1;
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

// The hits are those of a lower-cased copy of the text taken before the first replacement; each hit
// q of the copy lies at q + shift in the text. The copy is made a window at a time just ahead of the
// search: the bytes after the last replacement are still the original ones, only shifted, so each
// window holds exactly what the whole copy would hold there.
int CStringEx::FindReplaceNoCase(const char* find, const char* repl, int all) {
    if (find == nullptr || *find == 0 || m_pText == nullptr) return 0;
    PatternCopy with(repl ? repl : "", m_pText, m_nBlock);
    if (with.Get() == nullptr) return Failed();
    int lf = (int)strlen(find), lr = (int)strlen(with.Get());
    const int window = 1 << 16;
    char* low = static_cast<char*>(std::malloc((size_t)window + (size_t)lf + 1));
    char* key = static_cast<char*>(std::malloc((size_t)lf + 1));
    int count = 0;
    if (low == nullptr || key == nullptr) {
        m_bAllocFailed = TRUE;
    } else {
        std::memcpy(key, find, (size_t)lf + 1);
        cp936::mbslwr(key);
        count = ReplaceLowered(key, lf, with.Get(), lr, all, low, window);
    }
    std::free(low);
    std::free(key);
    return count;
}

// Copies the text bytes [from, from + n) lowered into dest, carrying the lower-casing's trail state;
// returns the bytes copied, fewer when a zero byte ends the text.
int CStringEx::LowerStretch(char* dest, int from, int n, bool& trail, bool& zero) const {
    const char* piece[2];
    int size[2];
    GetPieces(from, from + n, piece[0], size[0], piece[1], size[1]);
    size_t done = LowerCopy(dest, piece[0], (size_t)size[0], trail, &zero);
    if (!zero) done += LowerCopy(dest + done, piece[1], (size_t)size[1], trail, &zero);
    return (int)done;
}

int CStringEx::ReplaceLowered(const char* key, int lf, const char* with, int lr, int all, char* low,
                              int window) {
    int end = m_nLength; // the copy's end (its first zero byte), in positions of the original text
    long long shift = 0; // text position - original position, after the replacements so far
    bool trail = false;  // the lower-casing's state at the window's start
    int known = 0;       // a character boundary of the current search, at or before every candidate
    int count = 0;
    for (int a = 0, from = 0; a < end;) {
        // Lowered bytes of original [a, b) plus lf - 1 bytes of look-ahead for hits that end past b.
        int b = std::min(end, a + window);
        bool zero = false;
        int got = LowerStretch(low, (int)(a + shift), b - a, trail, zero);
        if (zero) end = b = a + got;
        bool peekTrail = trail, peekZero = false;
        int ahead =
            zero ? 0
                 : LowerStretch(low + got, (int)(b + shift), std::min(lf - 1, end - b), peekTrail, peekZero);
        int limit = std::min(end, b + ahead); // hits must end by here
        for (int o = std::max(from, a); o < b && o + lf <= limit; ++o) {
            const char* q = static_cast<const char*>(std::memchr(low + (o - a), key[0], (size_t)(b - o)));
            if (q == nullptr) break;
            o = a + (int)(q - low);
            if (o + lf > limit) break;
            if (std::memcmp(q, key, (size_t)lf) != 0 || !StartsCharacter(o, known, shift)) continue;
            if (!Replace((int)(o + shift), lf, with)) return count;
            shift += lr - lf;
            ++count;
            if (!all) return count;
            from = known = o + lf;
            o = from - 1;
        }
        if (zero) break;
        a = b;
    }
    return count;
}

// Whether original position o starts a character for a search that began at the boundary known:
// the bytes from 0x81 up before it pair up from the last byte outside that range. Lead bytes are the
// same in the text and its lower-cased copy; the walk never goes before known, which lies after
// every replacement.
bool CStringEx::StartsCharacter(int o, int& known, long long shift) const {
    int p = o;
    while (p > known && byteclass::IsGbkLead((unsigned char)GetAt((int)(p - 1 + shift)))) --p;
    bool boundary = ((o - p) % 2) == 0;
    known = boundary ? o : o + 1;
    return boundary;
}
