// The run list's sparse tail: a gap array of sorted entries with a pending index shift.
#include "coloring/SparseTail.h"

#include <cstring>

CTailEntry CSparseTail::At(int rank) const {
    if (rank < m_front) return m_data.GetAt(rank);
    CTailEntry e = m_data.GetAt(m_backStart + rank - m_front);
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
        m_data.ElementAt(--m_backStart) = e;
    }
    while (m_front < rank) {
        CTailEntry e = m_data.GetAt(m_backStart++);
        e.index += m_shift;
        m_data.ElementAt(m_front++) = e;
    }
    if (BackCount() == 0) m_shift = 0;
}

bool CSparseTail::MakeRoom() {
    int size = GetSize(), want = size / 4 > 8 ? size / 4 : 8;
    int capacity = Capacity();
    if (capacity - size < want) {
        int grown = capacity * 2 > size + want ? capacity * 2 : size + want;
        if (grown < capacity || !m_data.SetSize(grown)) return false;
        capacity = grown;
    }
    int back = BackCount();
    CTailEntry* data = m_data.GetData();
    std::memmove(data + capacity - back, data + m_backStart, (size_t)back * sizeof(CTailEntry));
    m_backStart = capacity - back;
    m_backEnd = capacity;
    return true;
}

bool CSparseTail::Insert(int rank, const CTailEntry& entry) {
    if (m_front == m_backStart && !MakeRoom()) return false;
    MoveGap(rank);
    m_data.ElementAt(m_front++) = entry;
    return true;
}

void CSparseTail::Remove(int first, int last) {
    if (last > GetSize()) last = GetSize();
    if (first < 0) first = 0;
    if (last <= first) return;
    if (first >= m_front && last == GetSize()) {
        m_backEnd -= last - first; // the highest ranks: no gap move
    } else {
        MoveGap(first);
        m_backStart += last - first;
    }
    if (BackCount() == 0) m_shift = 0;
}

void CSparseTail::Shift(int from, int delta) {
    MoveGap(from);
    if (BackCount() > 0) m_shift += delta;
}

void CSparseTail::RemoveAll() {
    m_data.RemoveAll();
    m_front = m_backStart = m_backEnd = m_shift = 0;
}

bool CSparseTail::Copy(const CSparseTail& other) {
    m_data.Copy(other.m_data);
    if (m_data.GetSize() != other.m_data.GetSize()) {
        RemoveAll();
        return false;
    }
    m_front = other.m_front;
    m_backStart = other.m_backStart;
    m_backEnd = other.m_backEnd;
    m_shift = other.m_shift;
    return true;
}
