// Growable arrays of plain values (int, COLORREF, pointers), with the framework's growth rule.
//
// Invariants: 0 <= m_nSize <= m_nMaxSize; elements [0, m_nMaxSize) are allocated and every element
// past the old size is zero when the array grows. When the allocation is full it grows to
// max(needed, allocated + step); the step is the one given to SetSize, or size / 8 bounded to
// 4 ... 1024 when none was given (so appending costs amortised O(1) without wasting an eighth of a
// huge table). A failed allocation leaves the array as it was and is reported by SetSize's result.
#pragma once

#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "framework/base/MemoryBlock.h"
#include "framework/base/Object.h"

template <class TYPE, class ARG_TYPE = TYPE> class CArray : public CObject {
    static_assert(std::is_trivially_copyable<TYPE>::value, "CArray holds plain values only");

public:
    CArray() = default;
    ~CArray() override { std::free(m_pData); }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    int GetAllocatedSize() const { return m_nMaxSize; }

    // Resizes to nNewSize elements (new ones are zero); nGrowBy >= 0 sets the step for later growth.
    bool SetSize(int nNewSize, int nGrowBy = -1);
    void RemoveAll() { SetSize(0); }
    void FreeExtra();

    TYPE GetAt(int nIndex) const { return m_pData[nIndex]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[nIndex] = newElement; }
    TYPE& ElementAt(int nIndex) { return m_pData[nIndex]; }
    TYPE operator[](int nIndex) const { return m_pData[nIndex]; }
    TYPE& operator[](int nIndex) { return m_pData[nIndex]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(int nIndex, ARG_TYPE newElement);
    // Index of the new element, or -1 when the array could not grow.
    int Add(ARG_TYPE newElement);
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void Copy(const CArray& src);

private:
    TYPE* m_pData = nullptr;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE> bool CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy) {
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize < 0) nNewSize = 0;
    if (nNewSize == 0) {
        std::free(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
        return true;
    }
    if (nNewSize <= m_nMaxSize) {
        if (nNewSize > m_nSize)
            std::memset(m_pData + m_nSize, 0, sizeof(TYPE) * (size_t)(nNewSize - m_nSize));
        m_nSize = nNewSize;
        return true;
    }
    int step = m_nGrowBy;
    if (step == 0) step = m_nSize / 8 < 4 ? 4 : (m_nSize / 8 > 1024 ? 1024 : m_nSize / 8);
    long long wanted = (long long)m_nMaxSize + step;
    int newMax = nNewSize > wanted ? nNewSize : (int)wanted;
    // With 32-bit sizes an element count that fits an int can still overflow the byte count.
    if ((size_t)newMax > (size_t)-1 / sizeof(TYPE)) return false;
    void* grown = memblock::Realloc(m_pData, sizeof(TYPE) * (size_t)newMax);
    if (grown == nullptr) return false;
    m_pData = static_cast<TYPE*>(grown);
    std::memset(m_pData + m_nSize, 0, sizeof(TYPE) * (size_t)(newMax - m_nSize));
    m_nSize = nNewSize;
    m_nMaxSize = newMax;
    return true;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize == m_nMaxSize) return;
    if (m_nSize == 0) {
        SetSize(0);
        return;
    }
    void* shrunk = std::realloc(m_pData, sizeof(TYPE) * (size_t)m_nSize);
    if (shrunk == nullptr) return;
    m_pData = static_cast<TYPE*>(shrunk);
    m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement) {
    if (nIndex >= m_nSize && !SetSize(nIndex + 1)) return;
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE> int CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
    int index = m_nSize;
    if (!SetSize(index + 1)) return -1;
    m_pData[index] = newElement;
    return index;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount) {
    if (nCount <= 0 || nIndex < 0) return;
    int oldSize = m_nSize;
    if (nIndex >= oldSize) {
        if (!SetSize(nIndex + nCount)) return;
    } else {
        if (!SetSize(oldSize + nCount)) return;
        std::memmove(m_pData + nIndex + nCount, m_pData + nIndex, sizeof(TYPE) * (size_t)(oldSize - nIndex));
    }
    for (int i = 0; i < nCount; ++i) m_pData[nIndex + i] = newElement;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount) {
    if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize) return;
    if (nCount > m_nSize - nIndex) nCount = m_nSize - nIndex;
    int moved = m_nSize - (nIndex + nCount);
    if (moved > 0) std::memmove(m_pData + nIndex, m_pData + nIndex + nCount, sizeof(TYPE) * (size_t)moved);
    m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src || !SetSize(src.m_nSize)) return;
    if (src.m_nSize > 0) std::memcpy(m_pData, src.m_pData, sizeof(TYPE) * (size_t)src.m_nSize);
}

typedef CArray<int, int> CIntArray;
typedef CArray<UINT, UINT> CUIntArray;
typedef CArray<DWORD, DWORD> CDWordArray;
typedef CArray<COLORREF, COLORREF> CColorRefArray;
typedef CArray<void*, void*> CPtrArray;
