// The OLE clipboard: COleDataSource offers data blocks to it, COleDataObject reads what it holds.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <vector>

#include "framework/win/CmdTarget.h"

// Starts OLE on the calling (user-interface) thread once; TRUE when it is available. The clipboard
// classes call it themselves, so a host that never did still gets a working clipboard.
BOOL AfxOleInit();
// Leaves what this process put on the clipboard there for other programs, then stops OLE.
void AfxOleTerm();

// Data offered to other programs. A source is created with new; SetClipboard hands it to the
// clipboard, which deletes it when other data replaces it, so the caller must not use it afterwards.
// Invariant: every cached block is owned by the source and freed with it; m_nRefs counts the
// references the clipboard and the caller hold, and the source deletes itself when it reaches 0.
class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // Takes ownership of block and offers it in format (through global memory); a block cached for
    // the same format before is freed.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL block, LPFORMATETC formatEtc = nullptr);
    // Frees every cached block.
    void Empty();
    // Puts this source on the clipboard and gives up the caller's reference. FALSE when the
    // clipboard could not take it (another program holds it open): the source is deleted then too.
    BOOL SetClipboard();
    // Renders what this process put on the clipboard into it, so it outlives the source.
    static void FlushClipboard();

    LPDATAOBJECT GetDataObject() { return &m_dataObject; }

private:
    struct CEntry {
        FORMATETC format;
        HGLOBAL block;
    };
    // The IDataObject the clipboard talks to; its reference count is the source's. COM objects are
    // released, never deleted through their interface, so its base has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
    class CDataObject : public IDataObject {
    public:
        explicit CDataObject(COleDataSource* owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
        STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
        STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
        STDMETHODIMP QueryGetData(FORMATETC* format) override;
        STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
        STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
        STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
        STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
        STDMETHODIMP DUnadvise(DWORD) override;
        STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override;

    private:
        COleDataSource* m_owner;
    };
#pragma GCC diagnostic pop

    const CEntry* Find(const FORMATETC* format) const;

    CDataObject m_dataObject{this};
    LONG m_nRefs = 1;
    std::vector<CEntry> m_entries;
};

// Data read from the clipboard (or from another data object).
class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }

    // Takes what the clipboard holds now; FALSE when it cannot be had.
    BOOL AttachClipboard();
    void Attach(LPDATAOBJECT dataObject, BOOL autoRelease = TRUE);
    void Release();
    BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // A copy of the data in global memory, now the caller's to free; null when it cannot be had.
    HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);

private:
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

// A copy of a global block of the same size, or null; flags as for GlobalAlloc.
HGLOBAL AfxCopyGlobalMemory(HGLOBAL source, UINT flags = GMEM_MOVEABLE | GMEM_DDESHARE);
// Whether the clipboard offers the format; the format list is read without opening the clipboard.
BOOL AfxIsClipboardFormatAvailable(UINT format);
