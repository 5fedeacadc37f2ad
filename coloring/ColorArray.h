// Containers for colouring results: the run list, one line's colour table and comment spans.
#pragma once

#include "framework/base/Array.h"
#include "PlatformTypes.h"
#include "coloring/SparseTail.h"

// The run list of a coloured stretch: run k covers [end(k - 1), end(k)) with end(-1) = start position.
//
// Storage: the colours and end positions are stored for indexes [0, stored); the list reports a
// larger logical size when it has been stretched (SetSize past the stored part, or an InsertAt past
// it). Every logical entry in [stored, size) is 0 except the few kept in the tail list (sorted by
// index, unique, each index in [stored, size)). The reason: after an edit the buffer widens the list
// to one colour per text byte; for a large text that would cost eight bytes per byte of text, while
// the entries it adds are zero and need no memory.
// Invariants: stored colours == stored end positions; stored <= size; tail indexes strictly increase.
class CColorArray {
public:
    CColorArray();
    CColorArray(const CColorArray& other);
    CColorArray& operator=(const CColorArray& other);

    int& StartPos() { return m_start; }
    // Appends a run; returns 1, or 0 when no memory was left (the list is unchanged then).
    int AddColor(COLORREF color, int end);
    void InsertAt(int index, COLORREF color, int end);
    void RemoveAt(int index, int count);
    // Sets run index; returns 1, or 0 for an index outside the list.
    int SetColor(int index, COLORREF color, int end);
    void SetAt(int index, COLORREF color);
    // Colour of entry index; 0 outside the list.
    COLORREF GetAt(int index) const;
    COLORREF operator[](int index) const { return GetAt(index); }
    // End position of entry index. Outside the list the reference is to a scratch value reset to 0.
    int& GetColorPos(int index);
    // The whole end-position array; stores every logical entry first.
    CIntArray& GetColorPos();
    int GetColorNumber() const { return m_count; }
    int GetSize() const { return m_size; }
    void SetSize(int n);
    void Reset();

    // Number of entries that hold memory (stored part plus tail), for memory checks.
    int GetStoredCount() const { return m_colors.GetSize() + m_tail.GetSize(); }

private:
    int Stored() const { return m_colors.GetSize(); }
    bool ResizeStored(int n);
    int TailFind(int index) const;
    CTailEntry* TailEntryAt(int index);
    bool StoreAll();

    int m_start = 0;
    CColorRefArray m_colors;
    CIntArray m_ends;
    int m_count = 0;
    int m_size = 0;
    CSparseTail m_tail;
    int m_scratch = 0;
};

// One line's colouring: entry k covers the line from end(k - 1) (for k = 0 the asked position) to end(k).
class CColorTable {
public:
    CColorTable() = default;
    ~CColorTable() { m_count = 0; }
    CColorTable(const CColorTable&) = delete;
    CColorTable& operator=(const CColorTable&) = delete;

    void AddColor(COLORREF color, int end);
    // Colour and end of entry k; 0 for an index outside the table.
    COLORREF GetColor(int k) const;
    int GetColorPos(int k) const;
    int GetColorCount() const { return m_count; }
    void SetSize(int n);

private:
    int m_count = 0;
    CIntArray m_ends;
    CColorRefArray m_colors;
};

// Begin/stop spans of comments with the tag of the latest Add.
class CCommentArray {
public:
    CCommentArray() = default;
    CCommentArray(const CCommentArray&) = delete;
    CCommentArray& operator=(const CCommentArray&) = delete;

    void Add(int begin, int stop, int tag);
    // Begin and stop of span k; outside the list the reference is to a scratch value reset to 0.
    int& Begin(int k);
    int& Stop(int k);
    int GetCount() const { return m_count; }
    int LastTag() const { return m_lastTag; }
    int IsComment(int pos) const { return 0; }
    // After delta bytes were inserted (or -delta removed) at pos: spans beginning at or after pos move.
    void OffsetPos(int pos, int delta);

private:
    int m_count = 0;
    int m_lastTag = 0;
    CIntArray m_begins;
    CIntArray m_stops;
    int m_scratch = 0;
};
