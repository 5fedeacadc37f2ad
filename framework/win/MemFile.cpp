// The memory files: a growable byte block read and written like a file.
#include "framework/win/MemFile.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) : m_nGrowBytes(growBytes) {
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() {
    ReleaseBlock();
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes) {
    ReleaseBlock();
    m_lpBuffer = size > 0 ? buffer : nullptr;
    m_nBufferSize = m_lpBuffer ? size : 0;
    m_nFileSize = m_nBufferSize;
    m_nPosition = 0;
    m_nGrowBytes = growBytes;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* block = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return block;
}

void CMemFile::ReleaseBlock() {
    if (m_lpBuffer != nullptr && m_bAutoDelete) Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

BOOL CMemFile::Close() {
    ReleaseBlock();
    return TRUE;
}

BYTE* CMemFile::Alloc(SIZE_T bytes) {
    return (BYTE*)std::malloc(bytes);
}

BYTE* CMemFile::Realloc(BYTE* block, SIZE_T bytes) {
    return (BYTE*)std::realloc(block, bytes);
}

void CMemFile::Free(BYTE* block) {
    std::free(block);
}

// A block the caller lent (not auto-deleted) is copied into one of our own when it must grow.
BOOL CMemFile::GrowFile(SIZE_T needed) {
    if (needed <= m_nBufferSize) return TRUE;
    if (m_nGrowBytes == 0) return RecordFailure(CFileException::diskFull, ERROR_NOT_ENOUGH_MEMORY);
    SIZE_T size = (needed + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    if (size < needed) return RecordFailure(CFileException::diskFull, ERROR_NOT_ENOUGH_MEMORY);
    BYTE* block = nullptr;
    if (m_lpBuffer == nullptr || !m_bAutoDelete) {
        block = Alloc(size);
        if (block != nullptr && m_lpBuffer != nullptr) std::memcpy(block, m_lpBuffer, m_nFileSize);
    } else {
        block = Realloc(m_lpBuffer, size);
    }
    if (block == nullptr) return RecordFailure(CFileException::diskFull, ERROR_NOT_ENOUGH_MEMORY);
    m_lpBuffer = block;
    m_nBufferSize = size;
    m_bAutoDelete = TRUE;
    return TRUE;
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (buffer == nullptr || m_nPosition >= m_nFileSize) return 0;
    SIZE_T n = m_nFileSize - m_nPosition;
    if (n > count) n = count;
    std::memcpy(buffer, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return (UINT)n;
}

BOOL CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0) return TRUE;
    if (buffer == nullptr) return RecordFailure(CFileException::generic, ERROR_INVALID_PARAMETER);
    SIZE_T last = m_nPosition + count;
    if (last < m_nPosition || !GrowFile(last)) return FALSE;
    if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, buffer, count);
    m_nPosition = last;
    if (last > m_nFileSize) m_nFileSize = last;
    return TRUE;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    LONGLONG base = from == begin ? 0 : from == current ? (LONGLONG)m_nPosition : (LONGLONG)m_nFileSize;
    if (from != begin && from != current && from != end) return kSeekFailed;
    LONGLONG target = base + offset;
    if (target < 0) {
        RecordFailure(CFileException::badSeek, ERROR_NEGATIVE_SEEK);
        return kSeekFailed;
    }
    m_nPosition = (SIZE_T)target;
    return (ULONGLONG)target;
}

BOOL CMemFile::SetLength(ULONGLONG length) {
    if ((SIZE_T)length != length) return RecordFailure(CFileException::diskFull, ERROR_NOT_ENOUGH_MEMORY);
    if (length > m_nBufferSize && !GrowFile((SIZE_T)length)) return FALSE;
    if (length > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, (SIZE_T)length - m_nFileSize);
    m_nFileSize = (SIZE_T)length;
    if (m_nPosition > m_nFileSize) m_nPosition = m_nFileSize;
    return TRUE;
}

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes) : CMemFile(growBytes), m_nAllocFlags(allocFlags) {}

CSharedFile::~CSharedFile() {
    ReleaseBlock(); // through this class's Free, while it is still this class
}

HGLOBAL CSharedFile::Detach() {
    HGLOBAL block = m_hGlobalMemory;
    if (block != nullptr) ::GlobalUnlock(block);
    m_hGlobalMemory = nullptr;
    CMemFile::Detach();
    return block;
}

void CSharedFile::SetHandle(HGLOBAL block, BOOL allowGrow) {
    ReleaseBlock();
    BYTE* bytes = block ? (BYTE*)::GlobalLock(block) : nullptr;
    if (bytes == nullptr) return;
    m_hGlobalMemory = block;
    m_lpBuffer = bytes;
    m_nBufferSize = m_nFileSize = ::GlobalSize(block);
    if (!allowGrow) m_nGrowBytes = 0;
}

BYTE* CSharedFile::Alloc(SIZE_T bytes) {
    m_hGlobalMemory = ::GlobalAlloc(m_nAllocFlags, bytes);
    return m_hGlobalMemory ? (BYTE*)::GlobalLock(m_hGlobalMemory) : nullptr;
}

BYTE* CSharedFile::Realloc(BYTE*, SIZE_T bytes) {
    ::GlobalUnlock(m_hGlobalMemory);
    HGLOBAL grown = ::GlobalReAlloc(m_hGlobalMemory, bytes, m_nAllocFlags & (GMEM_MOVEABLE | GMEM_ZEROINIT));
    if (grown == nullptr) {
        ::GlobalLock(m_hGlobalMemory); // the old block stays, locked as before
        return nullptr;
    }
    m_hGlobalMemory = grown;
    return (BYTE*)::GlobalLock(grown);
}

void CSharedFile::Free(BYTE*) {
    if (m_hGlobalMemory == nullptr) return;
    ::GlobalUnlock(m_hGlobalMemory);
    ::GlobalFree(m_hGlobalMemory);
    m_hGlobalMemory = nullptr;
}
