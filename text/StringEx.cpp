// CStringEx: block management, in-place edits, searches, sub-strings and fields.
#include "text/StringEx.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/base/Mbcs936.h"

namespace {
const int kStep = 65536;

// Capacity after growing by at least n bytes plus one spare step; -1 when it would not fit an int.
int GrownCapacity(int capacity, int n) {
    long long grown = (long long)capacity + ((long long)n / kStep + 1) * kStep;
    return grown > INT_MAX ? -1 : (int)grown;
}

// A result string that is empty instead of throwing when memory runs out.
CString MakeString(const char* s, int n) {
    try {
        return CString(s, n);
    } catch (...) {
        return CString();
    }
}
} // namespace

CStringEx::CStringEx(const CStringEx& other) {
    *this = other;
}

CStringEx& CStringEx::operator=(const CStringEx& other) {
    if (this == &other) return *this;
    Release();
    if (other.m_nCapacity > 0) {
        if (!Regrow(other.m_nCapacity, 0)) return *this;
        std::memcpy(m_pText, other.m_pText, (size_t)other.m_nCapacity);
    }
    m_nLength = other.m_nLength;
    return *this;
}

CStringEx::~CStringEx() {
    Release();
}

void CStringEx::Release() {
    if (m_nCapacity == 0 && m_hBlock == nullptr) return;
    memblock::Unlock(m_hBlock);
    memblock::Free(m_hBlock);
    m_hBlock = nullptr;
    m_pText = nullptr;
    m_nCapacity = 0;
}

BOOL CStringEx::Failed() {
    m_bAllocFailed = TRUE;
    return FALSE;
}

// Moves the first keep bytes into a new zero-filled block of capacity bytes.
BOOL CStringEx::Regrow(int capacity, int keep) {
    if (capacity <= 0) return Failed();
    memblock::Handle block = memblock::Allocate((size_t)capacity, true);
    char* text = static_cast<char*>(memblock::Lock(block));
    if (text == nullptr) {
        memblock::Free(block);
        return Failed();
    }
    if (keep > 0) std::memcpy(text, m_pText, (size_t)keep);
    int length = m_nLength;
    Release();
    m_hBlock = block;
    m_pText = text;
    m_nCapacity = capacity;
    m_nLength = length;
    return TRUE;
}

void CStringEx::KeepGuardZero() {
    if (m_pText != nullptr && m_nLength >= 0 && m_nLength < m_nCapacity) m_pText[m_nLength] = 0;
}

BOOL CStringEx::SetBufferSize(int size) {
    if (size <= m_nLength || size <= 0) return FALSE;
    if (m_nLength == 0) {
        if (!Regrow(size, 0)) return FALSE;
        m_nLength = 1;
        return TRUE;
    }
    return Regrow(size, m_nLength);
}

void CStringEx::ClearContents() {
    if (m_nCapacity <= 0) return;
    Release();
    m_nLength = 0;
}

BOOL CStringEx::Append(const char* s) {
    if (s == nullptr) return TRUE;
    int n = (int)strnlen(s, INT_MAX / 2);
    if ((long long)m_nLength + n >= m_nCapacity) {
        char* copy = static_cast<char*>(std::malloc((size_t)n + 1));
        if (copy == nullptr) return Failed();
        std::memcpy(copy, s, (size_t)n + 1);
        int capacity = GrownCapacity(m_nCapacity, n);
        BOOL ok = capacity > 0 && Regrow(capacity, m_nLength);
        if (ok) std::memmove(m_pText + strlen(m_pText), copy, (size_t)n + 1);
        std::free(copy);
        if (!ok) return Failed();
    } else {
        std::memmove(m_pText + strlen(m_pText), s, (size_t)n + 1);
    }
    m_nLength += n;
    return TRUE;
}

void CStringEx::MakeUpper() {
    if (m_pText) cp936::mbsupr(m_pText);
}

void CStringEx::MakeLower() {
    if (m_pText) cp936::mbslwr(m_pText);
}

BOOL CStringEx::Insert(int pos, const char* s) {
    if (s == nullptr) return TRUE;
    int n = (int)strnlen(s, INT_MAX / 2);
    if (n == 0) return TRUE;
    int old = m_nLength;
    if (pos < 0 || pos > old) return FALSE;
    if ((long long)old + n >= m_nCapacity) {
        int capacity = GrownCapacity(m_nCapacity, n);
        if (capacity < 0 || (long long)old + n >= capacity) return Failed();
        memblock::Handle block = memblock::Allocate((size_t)capacity, true);
        char* text = static_cast<char*>(memblock::Lock(block));
        if (text == nullptr) {
            memblock::Free(block);
            return Failed();
        }
        // Built in the new block before the old one goes, so s may point into this string.
        if (pos > 0) std::memcpy(text, m_pText, (size_t)pos);
        std::memcpy(text + pos, s, (size_t)n);
        if (old > pos) std::memcpy(text + pos + n, m_pText + pos, (size_t)(old - pos));
        Release();
        m_hBlock = block;
        m_pText = text;
        m_nCapacity = capacity;
        m_nLength = old + n;
        return TRUE;
    }
    bool aliased = s >= m_pText && s < m_pText + m_nCapacity;
    char* copy = nullptr;
    if (aliased) {
        copy = static_cast<char*>(std::malloc((size_t)n));
        if (copy == nullptr) return Failed();
        std::memcpy(copy, s, (size_t)n);
        s = copy;
    }
    if (pos < old) std::memmove(m_pText + pos + n, m_pText + pos, (size_t)(old - pos));
    std::memcpy(m_pText + pos, s, (size_t)n);
    std::free(copy);
    m_nLength = old + n;
    KeepGuardZero();
    return TRUE;
}

BOOL CStringEx::Insert(int pos, char c) {
    char one[2] = {c, 0};
    return Insert(pos, one);
}

void CStringEx::Delete(int pos, int count) {
    if (pos >= m_nLength || pos < 0 || m_pText == nullptr) return;
    if (count < 0 || count > m_nLength - pos) count = m_nLength - pos;
    int tail = m_nLength - pos - count;
    if (tail > 0) std::memmove(m_pText + pos, m_pText + pos + count, (size_t)tail);
    m_nLength -= count;
    KeepGuardZero();
}

BOOL CStringEx::Replace(int pos, int count, const char* s) {
    if (pos < 0 || pos > m_nLength) return FALSE;
    if (s != nullptr && m_pText != nullptr && s >= m_pText && s < m_pText + m_nCapacity) {
        // The replacement lives in the bytes about to move: insert a private copy.
        char* copy = static_cast<char*>(std::malloc(strlen(s) + 1));
        if (copy == nullptr) return Failed();
        std::strcpy(copy, s);
        Delete(pos, count);
        BOOL ok = Insert(pos, copy);
        std::free(copy);
        return ok;
    }
    Delete(pos, count);
    return Insert(pos, s);
}

// Searches.

int CStringEx::TextEnd() const {
    return m_pText ? (int)strlen(m_pText) : 0;
}

int CStringEx::Find(char c, int start) const {
    if (m_pText == nullptr || c == 0) return -1;
    if (start < 0) start = 0;
    if (start >= m_nLength && start >= TextEnd()) return -1;
    const char* hit = cp936::mbschr(m_pText + start, (unsigned char)c);
    return hit ? (int)(hit - m_pText) : -1;
}

int CStringEx::Find(const char* s, int start) const {
    if (m_pText == nullptr || s == nullptr) return -1;
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
    if (m_pText == nullptr || s == nullptr) return -1;
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
    if (m_pText == nullptr || s == nullptr) return -1;
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

int CStringEx::FindReplace(const char* find, const char* repl, int all) {
    if (find == nullptr || *find == 0) return 0;
    if (repl == nullptr) repl = "";
    int lf = (int)strlen(find), lr = (int)strlen(repl);
    int count = 0;
    for (int p = Find(find, 0); p >= 0; p = Find(find, p + lr)) {
        if (!Replace(p, lf, repl)) break;
        ++count;
        if (!all) break;
    }
    return count;
}

int CStringEx::FindReplaceNoCase(const char* find, const char* repl, int all) {
    if (find == nullptr || *find == 0 || m_pText == nullptr) return 0;
    if (repl == nullptr) repl = "";
    int lf = (int)strlen(find), lr = (int)strlen(repl);
    size_t end = strlen(m_pText);
    char* text = static_cast<char*>(std::malloc(end + 1));
    char* key = static_cast<char*>(std::malloc((size_t)lf + 1));
    int count = 0;
    if (text != nullptr && key != nullptr) {
        std::memcpy(text, m_pText, end + 1);
        std::memcpy(key, find, (size_t)lf + 1);
        cp936::mbslwr(text);
        cp936::mbslwr(key);
        long long shift = 0;
        for (const char* q = cp936::mbsstr(text, key); q != nullptr; q = cp936::mbsstr(q + lf, key)) {
            if (!Replace((int)((q - text) + shift), lf, repl)) break;
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

// Sub-strings.

CString CStringEx::Copy(int start, int count) const {
    if (m_pText == nullptr || count <= 0 || start < 0 || start >= m_nCapacity) return CString();
    if (count > m_nCapacity - start) count = m_nCapacity - start;
    return MakeString(m_pText + start, count);
}

void CStringEx::CopyTo(char* dest, int start, int count) const {
    if (dest == nullptr) return;
    size_t n = 0;
    if (m_pText != nullptr && count > 0 && start >= 0 && start < m_nCapacity) {
        if (count > m_nCapacity - start) count = m_nCapacity - start;
        n = (size_t)count;
        std::memcpy(dest, m_pText + start, n);
    }
    dest[n] = 0;
}

CString CStringEx::Mid(int start, int count) const {
    if (start < 0) start = 0;
    if (count < 0) count = 0;
    if (start > m_nLength) return CString();
    if (count > m_nLength - start) count = m_nLength - start;
    return Copy(start, count);
}

CString CStringEx::Left(int n) const {
    if (n < 0) n = 0;
    return Copy(0, n < m_nLength ? n : m_nLength);
}

CString CStringEx::Right(int n) const {
    if (n < 0) n = 0;
    return n < m_nLength ? Copy(m_nLength - n, n) : Copy(0, m_nLength);
}

void CStringEx::Mid(int start, int count, char* dest) const {
    if (dest == nullptr) return;
    if (start < 0) start = 0;
    if (count < 0) count = 0;
    if (start > m_nLength)
        count = 0;
    else if (count > m_nLength - start)
        count = m_nLength - start;
    CopyTo(dest, start, count);
}

void CStringEx::Left(int n, char* dest) const {
    n = n < 0 ? 0 : (n > m_nLength ? m_nLength : n);
    CopyTo(dest, 0, n);
}

void CStringEx::Right(int n, char* dest) const {
    n = n < 0 ? 0 : (n > m_nLength ? m_nLength : n);
    CopyTo(dest, m_nLength - n, n);
}

void CStringEx::AllocCopy(CString& dest, int count, int start, int extra) const {
    dest = Copy(start, count + extra);
}

void CStringEx::AllocCopy(char* dest, int count, int start, int extra) const {
    CopyTo(dest, start, count + extra);
}

// Fields.

CString CStringEx::GetField(char delim, int index) const {
    char one[2] = {delim, 0};
    return GetField(one, index);
}

CString CStringEx::GetField(const char* delim, int index) const {
    if (index < 0 || m_pText == nullptr || delim == nullptr) return CString();
    size_t ld = strlen(delim);
    const char* p = m_pText;
    const char* field = p;
    const char* fieldEnd = p;
    for (int k = 0; k <= index; ++k) {
        field = p;
        const char* d = *p ? cp936::mbsstr(p, delim) : nullptr;
        if (d != nullptr && ld > 0) {
            fieldEnd = d;
            p = d + ld;
        } else {
            fieldEnd = field + strlen(field);
            p = fieldEnd;
            if (ld == 0 || *p == 0) {
                if (k < index) return CString();
                break;
            }
        }
    }
    return MakeString(field, (int)(fieldEnd - field));
}

int CStringEx::GetFieldCount(const char* delim) const {
    if (m_pText == nullptr || delim == nullptr || *delim == 0) return 1;
    size_t ld = strlen(delim);
    int count = 1;
    for (const char* d = cp936::mbsstr(m_pText, delim); d != nullptr; d = cp936::mbsstr(d + ld, delim))
        ++count;
    return count;
}

int CStringEx::GetFieldCount(char delim) const {
    char one[2] = {delim, 0};
    return GetFieldCount(one);
}

CString CStringEx::GetDelimitedField(const char* open, const char* close, int index) const {
    if (index < 0 || m_pText == nullptr || open == nullptr || close == nullptr) return CString();
    size_t lo = strlen(open), lc = strlen(close);
    const char* p = m_pText;
    const char* body = nullptr;
    const char* bodyEnd = nullptr;
    for (int k = 0; k <= index; ++k) {
        const char* o = cp936::mbsstr(p, open);
        if (o == nullptr) return CString();
        const char* c = cp936::mbsstr(o + lo, close);
        if (c == nullptr) return CString();
        body = o + lo;
        bodyEnd = c;
        // Empty markers never move the walk on: every later pass would find the same field.
        if (o + lc == p) break;
        p = o + lc;
    }
    return MakeString(body, (int)(bodyEnd - body));
}
