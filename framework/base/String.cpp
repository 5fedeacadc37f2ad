// CString operations.
#include "framework/base/String.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "framework/base/Mbcs936.h"

namespace {
unsigned char* Bytes(std::string& s) { return reinterpret_cast<unsigned char*>(&s[0]); }
const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.c_str()); }
} // namespace

CString::CString(const char* s, int n) {
    if (s && n > 0) m_s.assign(s, strnlen(s, (size_t)n));
}

CString& CString::operator=(const char* s) {
    m_s = s ? s : "";
    return *this;
}

CString& CString::operator=(char c) {
    m_s.assign(1, c);
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_s += s.m_s;
    return *this;
}

CString& CString::operator+=(const char* s) {
    if (s) m_s += s;
    return *this;
}

CString& CString::operator+=(char c) {
    if (c) m_s += c;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    return r += b;
}
CString operator+(const CString& a, const char* b) {
    CString r(a);
    return r += b;
}
CString operator+(const char* a, const CString& b) {
    CString r(a);
    return r += b;
}
CString operator+(const CString& a, char b) {
    CString r(a);
    return r += b;
}

int CString::Compare(const char* s) const { return cp936::mbscmp(m_s.c_str(), s ? s : ""); }

int CString::CompareNoCase(const char* s) const { return cp936::mbsnbicmp(m_s.c_str(), s ? s : "", (size_t)-1); }

CString CString::Mid(int first) const { return Mid(first, GetLength() - first); }

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first >= GetLength()) return CString();
    if (count > GetLength() - first) count = GetLength() - first;
    return CString(m_s.c_str() + first, count);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    if (count < 0) count = 0;
    if (count >= GetLength()) return *this;
    return Mid(GetLength() - count, count);
}

CString& CString::MakeUpper() {
    if (!m_s.empty()) cp936::mbsupr(Bytes(m_s));
    return *this;
}

CString& CString::MakeLower() {
    if (!m_s.empty()) cp936::mbslwr(Bytes(m_s));
    return *this;
}

CString& CString::TrimLeft() {
    size_t i = m_s.find_first_not_of(" \t\r\n\v\f");
    m_s.erase(0, i == std::string::npos ? m_s.size() : i);
    return *this;
}

CString& CString::TrimRight() {
    size_t i = m_s.find_last_not_of(" \t\r\n\v\f");
    m_s.erase(i == std::string::npos ? 0 : i + 1);
    return *this;
}

int CString::Find(char c, int start) const {
    char s[2] = {c, 0};
    return c ? Find(s, start) : -1;
}

int CString::Find(const char* s, int start) const {
    if (start < 0) start = 0;
    if (start > GetLength() || s == nullptr) return -1;
    const unsigned char* base = Bytes(m_s);
    // Searching from the start keeps matches on character boundaries; skip those before start.
    for (const unsigned char* p = base;;) {
        const unsigned char* q = cp936::mbsstr(p, reinterpret_cast<const unsigned char*>(s));
        if (q == nullptr) return -1;
        if (q - base >= start) return (int)(q - base);
        if (*q == 0) return -1;
        p = q + cp936::CharLength(q);
    }
}

int CString::ReverseFind(char c) const {
    int found = -1;
    const unsigned char* base = Bytes(m_s);
    for (const unsigned char* p = base; *p; p += cp936::CharLength(p))
        if (*p == (unsigned char)c && cp936::CharLength(p) == 1) found = (int)(p - base);
    return found;
}

int CString::Replace(const char* oldText, const char* newText) {
    if (oldText == nullptr || *oldText == 0) return 0;
    const size_t oldLen = std::strlen(oldText);
    std::string result;
    int count = 0;
    int pos = 0;
    for (int hit; (hit = Find(oldText, pos)) >= 0; pos = hit + (int)oldLen, ++count) {
        result.append(m_s, (size_t)pos, (size_t)(hit - pos));
        result += newText ? newText : "";
    }
    if (count == 0) return 0;
    result.append(m_s, (size_t)pos, std::string::npos);
    m_s.swap(result);
    return count;
}

bool CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    bool ok = n >= 0;
    if (ok) {
        std::string out((size_t)n + 1, '\0');
        std::vsnprintf(&out[0], out.size(), format, args);
        out.resize((size_t)n);
        m_s.swap(out);
    }
    va_end(args);
    return ok;
}

char* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_s.resize((size_t)minLength);
    return &m_s[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) newLength = (int)std::strlen(m_s.c_str());
    m_s.resize((size_t)newLength);
}

char* CString::GetBufferSetLength(int newLength) {
    m_s.resize(newLength > 0 ? (size_t)newLength : 0);
    return &m_s[0];
}
