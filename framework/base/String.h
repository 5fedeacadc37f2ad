// CString: the framework's byte string, used for results handed back to callers.
// Holds its bytes in a std::string; the bytes never include a zero (copies stop at the first one).
#pragma once

#include <string>

#include "PlatformTypes.h"

class CString {
public:
    CString() = default;
    CString(const char* s) : m_s(s ? s : "") {}
    CString(const char* s, int n);
    CString(char c, int repeat = 1) : m_s(repeat > 0 ? (size_t)repeat : 0, c) {}
    CString(const CString&) = default;
    CString& operator=(const CString&) = default;
    CString& operator=(const char* s);
    CString& operator=(char c);

    int GetLength() const { return (int)m_s.size(); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int i) const { return m_s[(size_t)i]; }
    void SetAt(int i, char c) { m_s[(size_t)i] = c; }
    char operator[](int i) const { return m_s[(size_t)i]; }
    operator const char*() const { return m_s.c_str(); }

    CString& operator+=(const CString& s);
    CString& operator+=(const char* s);
    CString& operator+=(char c);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);

    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // Case conversion of ASCII letters that never splits a code page 936 pair.
    CString& MakeUpper();
    CString& MakeLower();
    CString& TrimLeft();
    CString& TrimRight();

    // Byte positions of the first / last match (at character boundaries), or -1.
    int Find(char c, int start = 0) const;
    int Find(const char* s, int start = 0) const;
    int ReverseFind(char c) const;
    int Replace(const char* oldText, const char* newText);

    // printf-style formatting; returns false when the arguments could not be formatted.
    bool Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Direct access: room for at least minLength bytes plus a zero; ReleaseBuffer(-1) takes the
    // length up to the first zero byte.
    char* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);
    char* GetBufferSetLength(int newLength);

    const std::string& str() const { return m_s; }

private:
    std::string m_s;
};

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
inline bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
