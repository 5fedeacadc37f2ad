// CSparseTail: the sorted entries of a run list's unstored part, with shifts that cost the distance
// from the previous change instead of the entries behind it.
#pragma once

#include "framework/base/Array.h"
#include "PlatformTypes.h"

struct CTailEntry {
    int index;
    COLORREF color;
    int end;
};

// Entries are addressed by rank (their place in index order). They live in one array with a gap:
// ranks [0, m_front) at its start with their true indexes, the rest at its end with indexes short of
// m_shift. A shift of every entry from a rank on moves the gap there and changes m_shift only, so a
// run of edits that moves steadily through the text (a replace-all, its undo) costs O(1) each where
// shifting the entries one by one cost O(entries).
// Invariants: m_front + m_back <= capacity; true indexes strictly increase with rank; m_shift is 0
// while m_back is 0.
class CSparseTail {
public:
    int GetSize() const { return m_front + m_back; }
    // The entry of rank, with its true index.
    CTailEntry At(int rank) const;
    // The rank of the first entry whose index is >= index.
    int LowerBound(int index) const;
    // The entry of rank, to change its colour or end (not its index); valid until the next call.
    CTailEntry& Edit(int rank);
    // FALSE (nothing changed) when no memory was left for the entry.
    bool Insert(int rank, const CTailEntry& entry);
    // Removes the entries of ranks [first, last).
    void Remove(int first, int last);
    // Adds delta to the index of every entry of rank from on.
    void Shift(int from, int delta);
    void RemoveAll();
    // FALSE (and this tail emptied) when no memory was left for the copy.
    bool Copy(const CSparseTail& other);

private:
    int Capacity() const { return m_data.GetSize(); }
    int BackStart() const { return Capacity() - m_back; }
    void MoveGap(int rank);
    bool Grow();

    CArray<CTailEntry, const CTailEntry&> m_data;
    int m_front = 0;
    int m_back = 0;
    int m_shift = 0;
};
