// The OLE clipboard classes: a data source of cached global blocks and a reader of clipboard data.
#include "framework/win/OleClipboard.h"

#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

namespace {
enum class OleState { notTried, running, unavailable };
OleState g_oleState = OleState::notTried;

FORMATETC GlobalFormat(CLIPFORMAT format, LPFORMATETC given) {
    if (given != nullptr) return *given;
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The formats of a data source, handed out one by one; deleted by its last Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CFormatEnum : public IEnumFORMATETC {
public:
    explicit CFormatEnum(std::vector<FORMATETC> formats, size_t next = 0)
        : m_formats(std::move(formats)), m_next(next) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IEnumFORMATETC) {
            *object = static_cast<IEnumFORMATETC*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)::InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return (ULONG)refs;
    }
    STDMETHODIMP Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
        if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
        ULONG n = 0;
        for (; n < count && m_next < m_formats.size(); ++n) out[n] = m_formats[m_next++];
        if (fetched != nullptr) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        size_t left = m_formats.size() - m_next;
        m_next += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        m_next = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumFORMATETC** copy) override {
        if (copy == nullptr) return E_POINTER;
        *copy = new (std::nothrow) CFormatEnum(m_formats, m_next);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    virtual ~CFormatEnum() = default;
    std::vector<FORMATETC> m_formats;
    size_t m_next;
    LONG m_refs = 1;
};
#pragma GCC diagnostic pop
} // namespace

BOOL AfxOleInit() {
    if (g_oleState == OleState::notTried) {
        HRESULT hr = ::OleInitialize(nullptr);
        g_oleState = SUCCEEDED(hr) ? OleState::running : OleState::unavailable;
    }
    return g_oleState == OleState::running;
}

void AfxOleTerm() {
    if (g_oleState != OleState::running) return;
    COleDataSource::FlushClipboard();
    ::OleUninitialize();
    g_oleState = OleState::notTried;
}

namespace {
// The first size bytes of one global block copied into another; false when either cannot be locked.
bool CopyGlobalBytes(HGLOBAL to, HGLOBAL from, SIZE_T size) {
    void* target = ::GlobalLock(to);
    const void* source = ::GlobalLock(from);
    if (target != nullptr && source != nullptr) std::memcpy(target, source, size);
    if (source != nullptr) ::GlobalUnlock(from);
    if (target != nullptr) ::GlobalUnlock(to);
    return target != nullptr && source != nullptr;
}
} // namespace

HGLOBAL AfxCopyGlobalMemory(HGLOBAL source, UINT flags) {
    if (source == nullptr) return nullptr;
    SIZE_T size = ::GlobalSize(source);
    HGLOBAL copy = ::GlobalAlloc(flags, size > 0 ? size : 1);
    if (copy == nullptr || CopyGlobalBytes(copy, source, size)) return copy;
    ::GlobalFree(copy);
    return nullptr;
}

COleDataSource::COleDataSource() = default;

COleDataSource::~COleDataSource() {
    Empty();
}

void COleDataSource::Empty() {
    for (CEntry& entry : m_entries) ::GlobalFree(entry.block);
    m_entries.clear();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC formatEtc) {
    if (block == nullptr) return;
    FORMATETC wanted = GlobalFormat(format, formatEtc);
    wanted.tymed = TYMED_HGLOBAL;
    for (CEntry& entry : m_entries) {
        if (entry.format.cfFormat == wanted.cfFormat) {
            ::GlobalFree(entry.block);
            entry = CEntry{wanted, block};
            return;
        }
    }
    m_entries.push_back(CEntry{wanted, block});
}

// The system's clipboard watcher opens the clipboard for a moment after every change, so a copy
// right after another may find it busy: a few short retries before giving up.
BOOL COleDataSource::SetClipboard() {
    BOOL done = FALSE;
    if (AfxOleInit()) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            HRESULT hr = ::OleSetClipboard(&m_dataObject);
            if (hr != CLIPBRD_E_CANT_OPEN) {
                done = SUCCEEDED(hr);
                break;
            }
            ::Sleep(10);
        }
    }
    m_dataObject.Release(); // the caller's reference: the clipboard keeps its own
    return done;
}

void COleDataSource::FlushClipboard() {
    if (g_oleState == OleState::running) ::OleFlushClipboard();
}

const COleDataSource::CEntry* COleDataSource::Find(const FORMATETC* format) const {
    if (format == nullptr || !(format->tymed & TYMED_HGLOBAL)) return nullptr;
    for (const CEntry& entry : m_entries)
        if (entry.format.cfFormat == format->cfFormat) return &entry;
    return nullptr;
}

STDMETHODIMP COleDataSource::CDataObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDataSource::CDataObject::AddRef() {
    return (ULONG)::InterlockedIncrement(&m_owner->m_nRefs);
}

STDMETHODIMP_(ULONG) COleDataSource::CDataObject::Release() {
    LONG refs = ::InterlockedDecrement(&m_owner->m_nRefs);
    if (refs == 0) delete m_owner;
    return (ULONG)refs;
}

// The receiver gets its own copy of the block, which it frees.
STDMETHODIMP COleDataSource::CDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (medium == nullptr) return E_POINTER;
    const CEntry* entry = m_owner->Find(format);
    if (entry == nullptr) return DV_E_FORMATETC;
    HGLOBAL copy = AfxCopyGlobalMemory(entry->block);
    if (copy == nullptr) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP COleDataSource::CDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
    if (medium == nullptr) return E_POINTER;
    const CEntry* entry = m_owner->Find(format);
    if (entry == nullptr) return DV_E_FORMATETC;
    if (medium->tymed != TYMED_HGLOBAL || medium->hGlobal == nullptr) return DV_E_TYMED;
    SIZE_T size = ::GlobalSize(entry->block);
    if (::GlobalSize(medium->hGlobal) < size) return STG_E_MEDIUMFULL;
    return CopyGlobalBytes(medium->hGlobal, entry->block, size) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP COleDataSource::CDataObject::QueryGetData(FORMATETC* format) {
    return m_owner->Find(format) != nullptr ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::CDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
    if (in == nullptr || out == nullptr) return E_POINTER;
    *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::CDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP COleDataSource::CDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (formats == nullptr) return E_POINTER;
    *formats = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> list;
    for (const CEntry& entry : m_owner->m_entries) list.push_back(entry.format);
    *formats = new (std::nothrow) CFormatEnum(std::move(list));
    return *formats ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP COleDataSource::CDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::CDataObject::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::CDataObject::EnumDAdvise(IEnumSTATDATA**) {
    return OLE_E_ADVISENOTSUPPORTED;
}

BOOL COleDataObject::AttachClipboard() {
    Release();
    if (!AfxOleInit()) return FALSE;
    LPDATAOBJECT dataObject = nullptr;
    if (FAILED(::OleGetClipboard(&dataObject)) || dataObject == nullptr) return FALSE;
    Attach(dataObject, TRUE);
    return TRUE;
}

void COleDataObject::Attach(LPDATAOBJECT dataObject, BOOL autoRelease) {
    Release();
    m_lpDataObject = dataObject;
    m_bAutoRelease = autoRelease;
}

void COleDataObject::Release() {
    if (m_lpDataObject != nullptr && m_bAutoRelease) m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc) {
    if (m_lpDataObject == nullptr) return FALSE;
    FORMATETC wanted = GlobalFormat(format, formatEtc);
    return m_lpDataObject->QueryGetData(&wanted) == S_OK;
}

// Data whose release belongs to the source (pUnkForRelease) is copied, so the answer is always ours.
HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc) {
    if (m_lpDataObject == nullptr) return nullptr;
    FORMATETC wanted = GlobalFormat(format, formatEtc);
    wanted.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&wanted, &medium))) return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (medium.pUnkForRelease == nullptr) return medium.hGlobal;
    HGLOBAL copy = AfxCopyGlobalMemory(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return copy;
}

BOOL AfxIsClipboardFormatAvailable(UINT format) {
    return ::IsClipboardFormatAvailable(format);
}
