// Run list, line colour table and comment spans.
#include "coloring/ColorArray.h"

CColorArray::CColorArray() = default;

CColorArray::CColorArray(const CColorArray& other) {
    *this = other;
}

CColorArray& CColorArray::operator=(const CColorArray& other) {
    if (this == &other) return *this;
    m_colors.Copy(other.m_colors);
    m_ends.Copy(other.m_ends);
    bool tailCopied = m_tail.Copy(other.m_tail);
    if (m_colors.GetSize() != other.m_colors.GetSize() || m_ends.GetSize() != other.m_ends.GetSize() ||
        !tailCopied) {
        Reset();
        return *this;
    }
    m_start = other.m_start;
    m_count = other.m_count;
    m_size = other.m_size;
    return *this;
}

// Both stored arrays to n entries, or neither.
bool CColorArray::ResizeStored(int n) {
    int old = Stored();
    if (!m_colors.SetSize(n)) return false;
    if (!m_ends.SetSize(n)) {
        m_colors.SetSize(old);
        return false;
    }
    return true;
}

int CColorArray::TailFind(int index) const {
    int k = m_tail.LowerBound(index);
    return (k < m_tail.GetSize() && m_tail.At(k).index == index) ? k : -1;
}

// The tail entry for a logical index past the stored part, created as (0, 0) when missing.
CTailEntry* CColorArray::TailEntryAt(int index) {
    int k = m_tail.LowerBound(index);
    if (k < m_tail.GetSize() && m_tail.At(k).index == index) return &m_tail.Edit(k);
    if (!m_tail.Insert(k, CTailEntry{index, 0, 0})) return nullptr;
    return &m_tail.Edit(k);
}

// Gives every logical entry storage and empties the tail list.
bool CColorArray::StoreAll() {
    if (Stored() == m_size && m_tail.GetSize() == 0) return true;
    if (!ResizeStored(m_size)) return false;
    for (int k = 0; k < m_tail.GetSize(); ++k) {
        const CTailEntry e = m_tail.At(k);
        m_colors.SetAt(e.index, e.color);
        m_ends.SetAt(e.index, e.end);
    }
    m_tail.RemoveAll();
    return true;
}

int CColorArray::AddColor(COLORREF color, int end) {
    if (Stored() == m_size) {
        if (!ResizeStored(m_size + 1)) return 0;
        m_colors.SetAt(m_size, color);
        m_ends.SetAt(m_size, end);
    } else {
        if (!m_tail.Insert(m_tail.GetSize(), CTailEntry{m_size, color, end})) return 0;
    }
    ++m_size;
    ++m_count;
    return 1;
}

void CColorArray::InsertAt(int index, COLORREF color, int end) {
    if (index < 0) return;
    int stored = Stored();
    if (index <= stored) {
        int old = stored;
        if (!ResizeStored(old + 1)) return;
        COLORREF* colors = m_colors.GetData();
        int* ends = m_ends.GetData();
        for (int i = old; i > index; --i) colors[i] = colors[i - 1], ends[i] = ends[i - 1];
        colors[index] = color;
        ends[index] = end;
        m_tail.Shift(0, 1);
        ++m_size;
    } else {
        int k = m_tail.LowerBound(index);
        if (!m_tail.Insert(k, CTailEntry{index, color, end})) return;
        m_tail.Shift(k + 1, 1);
        m_size = index < m_size ? m_size + 1 : index + 1;
    }
    ++m_count;
}

void CColorArray::RemoveAt(int index, int count) {
    if (index < 0 || count <= 0 || index >= m_size) return;
    if (count > m_size - index) count = m_size - index;
    int stored = Stored();
    if (index < stored) {
        int n = (index + count < stored ? index + count : stored) - index;
        m_colors.RemoveAt(index, n);
        m_ends.RemoveAt(index, n);
    }
    int first = m_tail.LowerBound(index);
    m_tail.Remove(first, m_tail.LowerBound(index + count));
    m_tail.Shift(first, -count);
    m_size -= count;
    m_count -= count;
}

int CColorArray::SetColor(int index, COLORREF color, int end) {
    if (index < 0 || index >= m_size) return 0;
    if (index < Stored()) {
        m_colors.SetAt(index, color);
        m_ends.SetAt(index, end);
        return 1;
    }
    CTailEntry* e = TailEntryAt(index);
    if (e == nullptr) return 0;
    e->color = color;
    e->end = end;
    return 1;
}

void CColorArray::SetAt(int index, COLORREF color) {
    if (index < 0 || index >= m_size) return;
    if (index < Stored()) {
        m_colors.SetAt(index, color);
        return;
    }
    if (CTailEntry* e = TailEntryAt(index)) e->color = color;
}

COLORREF CColorArray::GetAt(int index) const {
    if (index < 0 || index >= m_size) return 0;
    if (index < Stored()) return m_colors.GetAt(index);
    int k = TailFind(index);
    return k < 0 ? 0 : m_tail.At(k).color;
}

int& CColorArray::GetColorPos(int index) {
    m_scratch = 0;
    if (index < 0 || index >= m_size) return m_scratch;
    if (index < Stored()) return m_ends.ElementAt(index);
    CTailEntry* e = TailEntryAt(index);
    return e == nullptr ? m_scratch : e->end;
}

CIntArray& CColorArray::GetColorPos() {
    StoreAll();
    return m_ends;
}

void CColorArray::SetSize(int n) {
    if (n < 0) n = 0;
    if (n <= Stored()) {
        m_colors.SetSize(n);
        m_ends.SetSize(n);
        m_tail.RemoveAll();
    } else {
        m_tail.Remove(m_tail.LowerBound(n), m_tail.GetSize());
    }
    m_size = n;
}

void CColorArray::Reset() {
    m_colors.RemoveAll();
    m_ends.RemoveAll();
    m_tail.RemoveAll();
    m_size = 0;
    m_count = 0;
}

void CColorTable::AddColor(COLORREF color, int end) {
    int n = m_colors.GetSize();
    if (!m_colors.SetSize(n + 1)) return;
    if (!m_ends.SetSize(n + 1)) {
        m_colors.SetSize(n);
        return;
    }
    m_colors.SetAt(n, color);
    m_ends.SetAt(n, end);
    ++m_count;
}

COLORREF CColorTable::GetColor(int k) const {
    return (k >= 0 && k < m_colors.GetSize()) ? m_colors.GetAt(k) : 0;
}

int CColorTable::GetColorPos(int k) const {
    return (k >= 0 && k < m_ends.GetSize()) ? m_ends.GetAt(k) : 0;
}

void CColorTable::SetSize(int n) {
    m_colors.SetSize(n);
    m_ends.SetSize(n);
}

void CCommentArray::Add(int begin, int stop, int tag) {
    int n = m_begins.GetSize();
    if (!m_begins.SetSize(n + 1)) return;
    if (!m_stops.SetSize(n + 1)) {
        m_begins.SetSize(n);
        return;
    }
    m_begins.SetAt(n, begin);
    m_stops.SetAt(n, stop);
    ++m_count;
    m_lastTag = tag;
}

int& CCommentArray::Begin(int k) {
    m_scratch = 0;
    return (k >= 0 && k < m_begins.GetSize()) ? m_begins.ElementAt(k) : m_scratch;
}

int& CCommentArray::Stop(int k) {
    m_scratch = 0;
    return (k >= 0 && k < m_stops.GetSize()) ? m_stops.ElementAt(k) : m_scratch;
}

void CCommentArray::OffsetPos(int pos, int delta) {
    for (int k = 0; k < m_begins.GetSize(); ++k) {
        if (m_begins.GetAt(k) < pos) continue;
        m_begins.ElementAt(k) += delta;
        m_stops.ElementAt(k) += delta;
    }
}
