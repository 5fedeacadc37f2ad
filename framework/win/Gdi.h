// Graphics objects: thin wrappers that hold one GDI handle (fonts, bitmaps, brushes, pens, regions).
#pragma once

#include <windows.h>

#include "framework/base/Geometry.h"
#include "framework/base/Object.h"

// Owns at most one GDI handle, m_hObject, and deletes it when destroyed unless it was detached.
// Invariant: while m_hObject is set, FromHandle(m_hObject) answers this object (the permanent map),
// so a selection into a device context hands back the very wrapper that was selected earlier.
class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // Takes ownership of a handle; fails when this object already holds one or h is null.
    BOOL Attach(HGDIOBJ h);
    // Gives the handle up without deleting it.
    HGDIOBJ Detach();
    // Deletes the held handle (if any); TRUE when there was one and the system deleted it.
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const;
    BOOL CreateStockObject(int index);
    UINT GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }

    // The wrapper of a handle: the object holding it, or a temporary wrapper owned by the calling
    // thread (see AfxDeleteTempGdiObjects). Null for a null handle.
    static CGdiObject* FromHandle(HGDIOBJ h);
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    // A font of nPointSize tenths of a point in face faceName, measured for dc (the screen when null).
    BOOL CreatePointFont(int nPointSize, LPCSTR faceName, class CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* logFont) const { return GetObject(sizeof(LOGFONTA), logFont); }
    static CFont* FromHandle(HFONT h);
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    // Loads a bitmap resource from the module that the resource chain names for it.
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadBitmap(LPCSTR resourceName);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }
    static CBitmap* FromHandle(HBITMAP h);
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    static CBrush* FromHandle(HBRUSH h);
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    operator HPEN() const { return (HPEN)m_hObject; }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    static CPen* FromHandle(HPEN h);
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    // This region made of a and b by mode (RGN_AND ...); answers the region type or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
        return ::CombineRgn((HRGN)m_hObject, (HRGN)a->m_hObject, (HRGN)b->m_hObject, mode);
    }
    static CRgn* FromHandle(HRGN h);
};

// Frees the calling thread's temporary wrappers (GDI objects and device contexts). Pointers handed
// out by FromHandle for handles that no permanent object holds are invalid afterwards; the message
// loop calls this when idle.
void AfxDeleteTempGdiObjects();
