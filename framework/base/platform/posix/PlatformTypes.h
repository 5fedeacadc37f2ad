// The few Win32 base types the portable layers use, defined with Win64's sizes for native builds.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef DWORD COLORREF;
typedef void* LPVOID;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPSTR;
typedef char* LPTSTR;
typedef char TCHAR;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct tagPOINT {
    LONG x;
    LONG y;
};
struct tagSIZE {
    LONG cx;
    LONG cy;
};
struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef tagPOINT POINT;
typedef tagSIZE SIZE;
typedef tagRECT RECT;
typedef const RECT* LPCRECT;
typedef RECT* LPRECT;

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
