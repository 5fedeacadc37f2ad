// Byte streams over memory: CMemFile over a heap block and CSharedFile over a movable global block
// that can be handed to the clipboard.
#pragma once

#include "framework/win/File.h"

// A file whose bytes live in one memory block. Writing past the end grows the block to the needed
// size rounded up to a multiple of the grow step; a grow step of 0 means the block is fixed.
// Invariants: m_nFileSize <= m_nBufferSize; m_nPosition may pass m_nFileSize only after a Seek (the
// next Write fills the hole with zeros); m_lpBuffer is null exactly when m_nBufferSize is 0.
// Allocation goes through the three virtual hooks so that CSharedFile can use global memory; the
// destructor frees through this class's hook, so a derived class releases its block itself first.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024);
    // Reads and writes the caller's block of size bytes; the block stays the caller's unless it grows.
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
    // The block, now the caller's; the file is left empty.
    BYTE* Detach();

    UINT Read(void* buffer, UINT count) override;
    // FALSE (nothing written) when the block cannot grow to hold the bytes.
    BOOL Write(const void* buffer, UINT count) override;
    BOOL Flush() override { return TRUE; }
    BOOL Close() override;
    void Abort() override { Close(); }
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    BOOL SetLength(ULONGLONG length) override;

protected:
    virtual BYTE* Alloc(SIZE_T bytes);
    virtual BYTE* Realloc(BYTE* block, SIZE_T bytes);
    virtual void Free(BYTE* block);
    BOOL GrowFile(SIZE_T needed);
    void ReleaseBlock();

    UINT m_nGrowBytes;
    SIZE_T m_nPosition = 0;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    BYTE* m_lpBuffer = nullptr;
    BOOL m_bAutoDelete = TRUE; // whether the block is this file's to free
};

// A memory file in a global block allocated with the given flags, kept locked while the file owns it.
// Detach hands the unlocked block over, for example to the clipboard; bytes of the block past the
// written length are whatever the allocation flags made them (zeros with GMEM_ZEROINIT).
class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT allocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT growBytes = 4096);
    ~CSharedFile() override;

    // The unlocked block, now the caller's, or null when nothing was ever written.
    HGLOBAL Detach();
    // Takes over the caller's block until Detach; without allowGrow writes stay inside it.
    void SetHandle(HGLOBAL block, BOOL allowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T bytes) override;
    BYTE* Realloc(BYTE* block, SIZE_T bytes) override;
    void Free(BYTE* block) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory = nullptr;
};
