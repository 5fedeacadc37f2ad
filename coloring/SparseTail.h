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
// ranks [0, m_front) at its start with their true indexes, the rest in [m_backStart, m_backEnd) with
// indexes short of m_shift. A shift of every entry from a rank on moves the gap there and changes
// m_shift only, and cutting off the highest ranks only lowers m_backEnd, so a run of edits that moves
// steadily through the text (a replace-all, its undo, with the run list cut to the text's length
// after each) costs O(1) each where shifting the entries one by one cost O(entries).
// Invariants: m_front <= m_backStart <= m_backEnd <= capacity; true indexes strictly increase with
// rank; m_shift is 0 while the back part is empty.
class CSparseTail {
public:
    int GetSize() const { return m_front + BackCount(); }
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
    int BackCount() const { return m_backEnd - m_backStart; }
    void MoveGap(int rank);
    // Widens the gap to a quarter of the entries at least, growing the array when needed.
    bool MakeRoom();

    CArray<CTailEntry, const CTailEntry&> m_data;
    int m_front = 0;
    int m_backStart = 0;
    int m_backEnd = 0;
    int m_shift = 0;
};
