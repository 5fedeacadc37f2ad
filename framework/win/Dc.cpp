// Device contexts over GDI: selection with the wrappers of the previous objects, mapping, text,
// filling and copying, and the window contexts that give their handle back to the window.
#include "framework/win/Dc.h"

#include "framework/win/HandleMap.h"
#include "framework/win/Wnd.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

void SetDcHandle(CDC* dc, void* handle) {
    dc->m_hDC = dc->m_hAttribDC = (HDC)handle;
}

namespace {
HandleMap<CDC>& DcMap() {
    static HandleMap<CDC> map(SetDcHandle);
    return map;
}
} // namespace

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::Attach(HDC hdc) {
    if (hdc == nullptr || m_hDC != nullptr) return FALSE;
    m_hDC = m_hAttribDC = hdc;
    DcMap().AddPermanent(hdc, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    if (hdc != nullptr) DcMap().RemovePermanent(hdc, this);
    m_hDC = m_hAttribDC = nullptr;
    return hdc;
}

BOOL CDC::DeleteDC() {
    HDC hdc = Detach();
    return hdc != nullptr && ::DeleteDC(hdc);
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc != nullptr ? dc->m_hDC : nullptr));
}

CDC* CDC::FromHandle(HDC hdc) {
    return DcMap().FromHandle<CDC>(hdc);
}

void CDC::DeleteTempMap() {
    DcMap().DeleteTemporaries();
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (object == nullptr) return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CFont* CDC::SelectObject(CFont* font) {
    if (font == nullptr) return nullptr;
    return CFont::FromHandle((HFONT)::SelectObject(m_hDC, font->m_hObject));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (bitmap == nullptr) return nullptr;
    return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, bitmap->m_hObject));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (brush == nullptr) return nullptr;
    return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, brush->m_hObject));
}

CPen* CDC::SelectObject(CPen* pen) {
    if (pen == nullptr) return nullptr;
    return CPen::FromHandle((HPEN)::SelectObject(m_hDC, pen->m_hObject));
}

int CDC::SelectObject(CRgn* region) {
    return SelectClipRgn(region);
}

int CDC::SelectClipRgn(CRgn* region) {
    return ::SelectClipRgn(m_hDC, region != nullptr ? (HRGN)region->m_hObject : nullptr);
}

CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ stock = ::GetStockObject(index);
    return stock == nullptr ? nullptr : CGdiObject::FromHandle(::SelectObject(m_hDC, stock));
}

int CDC::SetMapMode(int mode) {
    int old = ::SetMapMode(m_hDC, mode);
    if (m_hAttribDC != m_hDC && m_hAttribDC != nullptr) old = ::SetMapMode(m_hAttribDC, mode);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old = {};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC != m_hDC && m_hAttribDC != nullptr) ::SetWindowOrgEx(m_hAttribDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetWindowOrg() const {
    POINT p = {};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return CPoint(p);
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old = {};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC != m_hDC && m_hAttribDC != nullptr) ::SetViewportOrgEx(m_hAttribDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetViewportOrg() const {
    POINT p = {};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return CPoint(p);
}

CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE old = {};
    ::SetWindowExtEx(m_hDC, cx, cy, &old);
    if (m_hAttribDC != m_hDC && m_hAttribDC != nullptr) ::SetWindowExtEx(m_hAttribDC, cx, cy, &old);
    return CSize(old);
}

CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE old = {};
    ::SetViewportExtEx(m_hDC, cx, cy, &old);
    if (m_hAttribDC != m_hDC && m_hAttribDC != nullptr) ::SetViewportExtEx(m_hAttribDC, cx, cy, &old);
    return CSize(old);
}

// A size converts as the vector between two converted points, so origins cancel out.
void CDC::DPtoLP(LPSIZE size) const {
    POINT points[2] = {{0, 0}, {size->cx, size->cy}};
    ::DPtoLP(m_hAttribDC, points, 2);
    size->cx = points[1].x - points[0].x;
    size->cy = points[1].y - points[0].y;
}

void CDC::LPtoDP(LPSIZE size) const {
    POINT points[2] = {{0, 0}, {size->cx, size->cy}};
    ::LPtoDP(m_hAttribDC, points, 2);
    size->cx = points[1].x - points[0].x;
    size->cy = points[1].y - points[0].y;
}

CSize CDC::TabbedTextOut(int x, int y, LPCSTR text, int count, int tabCount, LPINT tabStops, int tabOrigin) {
    LONG extent = ::TabbedTextOutA(m_hDC, x, y, text, count, tabCount, tabStops, tabOrigin);
    return CSize(LOWORD(extent), HIWORD(extent));
}

CSize CDC::GetTabbedTextExtent(LPCSTR text, int count, int tabCount, LPINT tabStops) const {
    DWORD extent = ::GetTabbedTextExtentA(m_hAttribDC, text, count, tabCount, tabStops);
    return CSize(LOWORD(extent), HIWORD(extent));
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const {
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hAttribDC, text, count, &size);
    return CSize(size);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT old = {};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr, xSrc, ySrc, rop);
}

CPaintDC::CPaintDC(HWND hwnd) : m_hWnd(hwnd), m_ps() {
    Attach(::BeginPaint(hwnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CPaintDC::CPaintDC(CWnd* wnd) : CPaintDC(wnd != nullptr ? wnd->m_hWnd : (HWND) nullptr) {}

CClientDC::CClientDC(HWND hwnd) : m_hWnd(hwnd) {
    Attach(::GetDC(hwnd));
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}

CClientDC::CClientDC(CWnd* wnd) : CClientDC(wnd != nullptr ? wnd->m_hWnd : (HWND) nullptr) {}

CWindowDC::CWindowDC(HWND hwnd) : m_hWnd(hwnd) {
    Attach(::GetWindowDC(hwnd));
}

CWindowDC::CWindowDC(CWnd* wnd) : CWindowDC(wnd != nullptr ? wnd->m_hWnd : (HWND) nullptr) {}

CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
