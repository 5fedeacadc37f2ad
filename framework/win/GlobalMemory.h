// Global memory blocks, the currency of the clipboard: made, freed, and locked for one scope.
#pragma once

#include <windows.h>

// A block of size bytes (flags as for GlobalAlloc), or null.
HGLOBAL AfxGlobalAlloc(UINT flags, SIZE_T size);
void AfxGlobalFree(HGLOBAL block);

// The bytes of a block, locked while this object lives; Bytes is null when the lock failed.
class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL block) : m_block(block), m_bytes((BYTE*)::GlobalLock(block)) {}
    ~CGlobalLock() {
        if (m_bytes != nullptr) ::GlobalUnlock(m_block);
    }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;

    BYTE* Bytes() const { return m_bytes; }
    SIZE_T Size() const { return ::GlobalSize(m_block); }

private:
    HGLOBAL m_block;
    BYTE* m_bytes;
};
