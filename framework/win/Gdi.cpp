// Graphics objects over GDI handles, and the map that finds a wrapper again from its handle.
#include "framework/win/Gdi.h"

#include "framework/win/Dc.h"
#include "framework/win/HandleMap.h"
#include "framework/win/HostLookup.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {
void SetObjectHandle(CGdiObject* object, void* handle) {
    object->m_hObject = (HGDIOBJ)handle;
}

HandleMap<CGdiObject>& GdiMap() {
    static HandleMap<CGdiObject> map(SetObjectHandle);
    return map;
}
} // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (h == nullptr || m_hObject != nullptr) return FALSE;
    m_hObject = h;
    GdiMap().AddPermanent(h, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h != nullptr) GdiMap().RemovePermanent(h, this);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    HGDIOBJ h = Detach();
    return h != nullptr && ::DeleteObject(h);
}

int CGdiObject::GetObject(int size, LPVOID buffer) const {
    return m_hObject == nullptr ? 0 : ::GetObjectA(m_hObject, size, buffer);
}

BOOL CGdiObject::CreateStockObject(int index) {
    return Attach(::GetStockObject(index));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) {
    return GdiMap().FromHandle<CGdiObject>(h);
}
CFont* CFont::FromHandle(HFONT h) {
    return GdiMap().FromHandle<CFont>(h);
}
CBitmap* CBitmap::FromHandle(HBITMAP h) {
    return GdiMap().FromHandle<CBitmap>(h);
}
CBrush* CBrush::FromHandle(HBRUSH h) {
    return GdiMap().FromHandle<CBrush>(h);
}
CPen* CPen::FromHandle(HPEN h) {
    return GdiMap().FromHandle<CPen>(h);
}
CRgn* CRgn::FromHandle(HRGN h) {
    return GdiMap().FromHandle<CRgn>(h);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont) {
    return logFont != nullptr && Attach(::CreateFontIndirectA(logFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR faceName, CDC* dc) {
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(logFont.lfFaceName, faceName != nullptr ? faceName : "", LF_FACESIZE);
    HDC screen = dc != nullptr ? nullptr : ::GetDC(nullptr);
    HDC measure = dc != nullptr ? dc->m_hAttribDC : screen;
    // Tenths of a point to pixels of the device: points / 72 inches, rounded.
    logFont.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(measure, LOGPIXELSY), 720);
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&logFont);
}

BOOL CBitmap::LoadBitmap(LPCSTR resourceName) {
    HINSTANCE module = FindResourceModule(resourceName, (LPCSTR)RT_BITMAP);
    return Attach(::LoadBitmapA(module, resourceName));
}

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    return LoadBitmap(MAKEINTRESOURCEA(resourceId));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return dc != nullptr && Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

void AfxDeleteTempGdiObjects() {
    GdiMap().DeleteTemporaries();
    CDC::DeleteTempMap();
}
