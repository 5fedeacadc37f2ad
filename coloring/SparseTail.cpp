// The run list's sparse tail: a gap array of sorted entries with a pending index shift.
#include "coloring/SparseTail.h"

#include <cstring>

CTailEntry CSparseTail::At(int rank) const {
    if (rank < m_front) return m_data.GetAt(rank);
    CTailEntry e = m_data.GetAt(BackStart() + rank - m_front);
    e.index += m_shift;
    return e;
}

int CSparseTail::LowerBound(int index) const {
    int lo = 0, hi = GetSize();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (At(mid).index < index)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

CTailEntry& CSparseTail::Edit(int rank) {
    MoveGap(rank + 1);
    return m_data.ElementAt(rank);
}

void CSparseTail::MoveGap(int rank) {
    if (rank < 0) rank = 0;
    if (rank > GetSize()) rank = GetSize();
    while (m_front > rank) {
        CTailEntry e = m_data.GetAt(--m_front);
        e.index -= m_shift;
        m_data.ElementAt(BackStart() - 1) = e;
        ++m_back;
    }
    while (m_front < rank) {
        CTailEntry e = m_data.GetAt(BackStart());
        e.index += m_shift;
        --m_back;
        m_data.ElementAt(m_front++) = e;
    }
    if (m_back == 0) m_shift = 0;
}

// Doubles the array; the back part moves to the new end.
bool CSparseTail::Grow() {
    int old = Capacity(), wanted = old < 8 ? 16 : old * 2;
    if (wanted < old || !m_data.SetSize(wanted)) return false;
    if (m_back > 0) {
        CTailEntry* data = m_data.GetData();
        std::memmove(data + wanted - m_back, data + old - m_back, (size_t)m_back * sizeof(CTailEntry));
    }
    return true;
}

bool CSparseTail::Insert(int rank, const CTailEntry& entry) {
    if (GetSize() == Capacity() && !Grow()) return false;
    MoveGap(rank);
    m_data.ElementAt(m_front++) = entry;
    return true;
}

void CSparseTail::Remove(int first, int last) {
    if (last > GetSize()) last = GetSize();
    if (first < 0) first = 0;
    if (last <= first) return;
    MoveGap(first);
    m_back -= last - first;
    if (m_back == 0) m_shift = 0;
}

void CSparseTail::Shift(int from, int delta) {
    MoveGap(from);
    if (m_back > 0) m_shift += delta;
}

void CSparseTail::RemoveAll() {
    m_data.RemoveAll();
    m_front = m_back = m_shift = 0;
}

bool CSparseTail::Copy(const CSparseTail& other) {
    m_data.Copy(other.m_data);
    if (m_data.GetSize() != other.m_data.GetSize()) {
        RemoveAll();
        return false;
    }
    m_front = other.m_front;
    m_back = other.m_back;
    m_shift = other.m_shift;
    return true;
}
