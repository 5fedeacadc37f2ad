// Device contexts: CDC over an HDC, and the paint, client-area and whole-window contexts of a window.
#pragma once

#include <windows.h>

#include "framework/base/Geometry.h"
#include "framework/base/Object.h"
#include "framework/base/String.h"
#include "framework/win/Gdi.h"

class CWnd;

// Holds the output context m_hDC and the attribute context m_hAttribDC (the one queried for
// metrics and mapping; the same handle except for print preview). Invariant: while m_hDC is set,
// FromHandle(m_hDC) answers this object. A CDC made by CreateCompatibleDC or Attach deletes its
// context when destroyed; the window contexts below give theirs back to the window instead.
class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    ~CDC() override;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL IsPrinting() const { return m_bPrinting; }
    static CDC* FromHandle(HDC hdc);
    static void DeleteTempMap();

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }

    // Printing: a document of pages on a printer context.
    int StartDoc(const DOCINFOA* info) { return ::StartDocA(m_hDC, info); }
    int StartPage() { return ::StartPage(m_hDC); }
    int EndPage() { return ::EndPage(m_hDC); }
    int EndDoc() { return ::EndDoc(m_hDC); }
    int AbortDoc() { return ::AbortDoc(m_hDC); }

    // Selection returns the previously selected object (its wrapper), or null on failure.
    CGdiObject* SelectObject(CGdiObject* object);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CBrush* SelectObject(CBrush* brush);
    CPen* SelectObject(CPen* pen);
    // Selects the region as the clip region; answers the region type (SIMPLEREGION ...) or ERROR.
    int SelectObject(CRgn* region);
    CGdiObject* SelectStockObject(int index);
    // Selects a handle as it is, wrapping neither it nor the one it replaces; answers that one.
    HGDIOBJ SelectHandle(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    int SelectClipRgn(CRgn* region);

    COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }

    // Mapping: each setter answers the previous value. A setter changes the attribute context too,
    // so that measuring and conversions follow the output (a preview draws to one and measures on the other).
    int SetMapMode(int mode);
    int GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hAttribDC, points, count); }
    void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)rect, 2); }
    void DPtoLP(LPSIZE size) const;
    void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hAttribDC, points, count); }
    void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)rect, 2); }
    void LPtoDP(LPSIZE size) const;

    // Text. The CString forms draw or measure the whole string.
    BOOL TextOut(int x, int y, LPCSTR text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, LPINT widths) {
        return ::ExtTextOutA(m_hDC, x, y, options, rect, text, count, widths);
    }
    // UTF-16 glyphs drawn at (x, y), each followed by its advance.
    BOOL WideTextOut(int x, int y, LPCWSTR text, UINT count, const INT* advances) {
        return ::ExtTextOutW(m_hDC, x, y, 0, nullptr, text, count, advances);
    }
    // Draws with tabs expanded at the given stops (from tabOrigin); answers the extent drawn.
    CSize TabbedTextOut(int x, int y, LPCSTR text, int count, int tabCount, LPINT tabStops, int tabOrigin);
    CSize TabbedTextOut(int x, int y, const CString& text, int tabCount, LPINT tabStops, int tabOrigin) {
        return TabbedTextOut(x, y, text, text.GetLength(), tabCount, tabStops, tabOrigin);
    }
    CSize GetTabbedTextExtent(LPCSTR text, int count, int tabCount, LPINT tabStops) const;
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const { return ::GetTextMetricsA(m_hAttribDC, metrics); }
    int DrawText(LPCSTR text, int count, LPRECT rect, UINT format) {
        return ::DrawTextA(m_hDC, text, count, rect, format);
    }

    // Areas and lines.
    void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, (HBRUSH)brush->GetSafeHandle()); }
    // Fills with one of the system's stock brushes (WHITE_BRUSH ...), the context's colours untouched.
    void FillStockRect(LPCRECT rect, int brush) { ::FillRect(m_hDC, rect, (HBRUSH)::GetStockObject(brush)); }
    // Fills with one colour through the background colour, which keeps that colour afterwards.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    BOOL InvertRect(LPCRECT rect) { return ::InvertRect(m_hDC, rect); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop) {
        return ::PatBlt(m_hDC, x, y, width, height, rop);
    }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
};

// A GDI object selected into a context for one scope; an object without a handle is not selected.
class CScopedSelection {
public:
    CScopedSelection(CDC& dc, const CGdiObject& object)
        : m_dc(dc), m_old(object.m_hObject != nullptr ? dc.SelectHandle(object.m_hObject) : nullptr) {}
    ~CScopedSelection() {
        if (m_old != nullptr) m_dc.SelectHandle(m_old);
    }
    CScopedSelection(const CScopedSelection&) = delete;
    CScopedSelection& operator=(const CScopedSelection&) = delete;

private:
    CDC& m_dc;
    HGDIOBJ m_old;
};

// The paint context of a window between BeginPaint and EndPaint; m_ps holds the paint information.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(HWND hwnd);
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};

// The client-area context of a window (GetDC / ReleaseDC); a null window gives the screen.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(HWND hwnd);
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

    HWND m_hWnd;
};

// The screen's context: the client-area context of no window.
class CScreenDC : public CClientDC {
public:
    CScreenDC() : CClientDC((HWND) nullptr) {}
};

// The context of a whole window, frame included (GetWindowDC); a null window gives the screen.
class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(HWND hwnd);
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

    HWND m_hWnd;
};
