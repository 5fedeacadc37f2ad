// CStringEx: a document's whole text as one growable movable memory block with in-place editing.
#pragma once

#include "framework/base/MemoryBlock.h"
#include "framework/base/String.h"
#include "text/EditJournal.h"
#include "text/TextPieces.h"

// Invariants: 0 <= m_nLength <= m_nCapacity <= m_nBlock; m_pText is null exactly when m_nCapacity is
// 0 and is then locked for the object's whole life; the capacity grows in whole 64 KiB steps that
// always leave at least one spare byte. The documents keep their own zero byte inside the length;
// Insert and Delete carry it along.
//
// Gap: the bytes [0, m_nGap) lie at the block's start and [m_nGap, m_nLength) end at byte m_nEnd
// (0 <= m_nGap <= m_nLength <= m_nEnd <= m_nCapacity), the gap between them. Edits move the gap to
// the edit and fill or widen it: typing at one place moves nothing, and edits front to back move each
// byte once. Whoever takes the text pointer (GetBuffer) gets it contiguous: the gap moves to the end,
// and after an edit the byte after the text (text[length]) is zero, so the zero-terminated searches
// never run past the block (bytes a loader wrote past the length stay). GetAt, SetAt, the copies and
// the line table's scans work across the gap; GetRange makes one short stretch contiguous by moving
// the gap past it.
// Why the gap is kept to about a step and not all the spare room: a gap move copies the bytes between
// the old and the new place by the gap's size, and once that distance leaves the processor's caches
// every written line is fetched first (a 50 MB move by a 3 MB gap takes 1.7 times as long as by 4 KiB);
// the room a loaded file kept for the CR bytes its reading dropped, or the block's reserve, would make
// the gap megabytes wide, and its first move would touch every page of it. A gap that fills is widened
// by a step, moving the bytes after it.
//
// Block: m_nCapacity is the capacity the string reports and grows by; the block itself (m_nBlock
// bytes) reserves a little more, so that a large text growing by many small edits is not copied
// every 64 KiB (the reserve's pages cost nothing until the text grows into them).
//
// Journal: every edit is noted for the line table (CEditJournal), which then catches up without
// rescanning the whole text. Bytes changed by writing through GetBuffer are the caller's business:
// the documents always follow such writes with SetLength or CalcTextSize, which invalidate it.
//
// A failed block allocation leaves the string exactly as it was, makes the operation return FALSE
// and sets a flag that stays up until ClearAllocationFailure, so callers of chained edits can check.
class CStringEx {
public:
    CStringEx() = default;
    CStringEx(const CStringEx& other);
    CStringEx& operator=(const CStringEx& other);
    ~CStringEx();

    // Buffer management.
    BOOL SetBufferSize(int size);
    void ClearContents();
    BOOL Append(const char* s);
    int GetTextSize() const { return m_nLength; }
    int GetCapacity() const { return m_nCapacity; }
    void SetLength(int n);
    // The whole text, contiguous (the gap moves to the end).
    char* GetBuffer() { return Flat(); }
    const char* GetBuffer() const { return Flat(); }
    // count bytes from pos (inside the text) contiguous, moving the gap by at most count bytes.
    const char* GetRange(int pos, int count) const;
    char GetAt(int i) const {
        if (i < m_nGap) return m_pText[i];
        return i < m_nLength ? m_pText[i + GapSize()] : FlatAt(i);
    }
    void SetAt(int i, char c);
    // How many bytes Delete(pos, count) removes: none past the text, the rest of it for a count below
    // zero or beyond it.
    int RemovedCount(int pos, int count) const {
        return pos >= m_nLength || pos < 0              ? 0
               : (count < 0 || count > m_nLength - pos) ? m_nLength - pos
                                                        : count;
    }
    // Occurrences of c among the bytes [from, to) of the text, across the gap.
    int CountByte(char c, int from, int to) const;
    bool HasByte(char c, int from, int to) const;
    // The bytes [from, to) of the text as at most two contiguous pieces (the second may be empty).
    void GetPieces(int from, int to, const char*& first, int& firstSize, const char*& second,
                   int& secondSize) const;
    // The whole text where it lies, without moving the gap.
    TextPieces Pieces() const {
        TextPieces p;
        GetPieces(0, m_nLength, p.first, p.firstSize, p.second, p.length);
        p.length += p.firstSize;
        return p;
    }
    // Edits since the line table last caught up (see CEditJournal).
    const CEditJournal& GetJournal() const { return m_journal; }
    void ClearJournal() const { m_journal.Clear(); }
    void MakeUpper();
    void MakeLower();
    BOOL AllocationFailed() const { return m_bAllocFailed; }
    void ClearAllocationFailure() { m_bAllocFailed = FALSE; }

    // Editing; positions outside 0 ... length are refused (FALSE).
    BOOL Insert(int pos, const char* s);
    // The n bytes at s, zero bytes among them kept.
    BOOL Insert(int pos, const char* s, int n);
    BOOL Insert(int pos, char c);
    void Delete(int pos, int count);
    BOOL Replace(int pos, int count, const char* s);

    // Searching; -1 when nothing is found.
    int Find(char c, int start = 0) const;
    int Find(const char* s, int start = 0) const;
    int FindNoCase(char c, int start = 0) const;
    int FindNoCase(const char* s, int start = 0) const;
    int ReverseFind(const char* s, int start = -1) const;
    int ReverseFindNoCase(const char* s, int start = -1) const;
    int ReverseFindNoCase(char c, int start = -1) const;
    // The first occurrence of find at any byte offset at or after start and before the first zero byte
    // from there, with the ASCII capitals folded when fold; read across the gap, which stays where it
    // is. The answer of strstr (or the case-blind KMP search) over the contiguous text from start.
    int SearchBytes(int start, const char* find, bool fold) const;
    int FindReplace(const char* find, const char* repl, int all);
    int FindReplaceNoCase(const char* find, const char* repl, int all);

    // Sub-strings; copies stop at the first zero byte.
    CString Mid(int start, int count) const;
    CString Mid(int start) const { return Mid(start, m_nLength - start); }
    CString Left(int n) const;
    CString Right(int n) const;
    void Mid(int start, int count, char* dest) const;
    void Mid(int start, char* dest) const { Mid(start, m_nLength - start, dest); }
    void Left(int n, char* dest) const;
    void Right(int n, char* dest) const;
    void AllocCopy(CString& dest, int count, int start, int extra) const;
    void AllocCopy(char* dest, int count, int start, int extra) const;

    // Fields, numbered from 0.
    CString GetField(char delim, int index) const;
    CString GetField(const char* delim, int index) const;
    int GetFieldCount(const char* delim) const;
    int GetFieldCount(char delim) const;
    CString GetDelimitedField(const char* open, const char* close, int index) const;

private:
    int GapSize() const { return m_nEnd - m_nLength; }
    int Physical(int i) const { return i < m_nGap ? i : i + GapSize(); }
    void MoveGap(int pos) const;
    char* Flat() const;
    char FlatAt(int i) const;
    void CopyOut(char* dest, int from, int count) const;
    void Note(int pos, int removed, int inserted, int tabDelta, bool feedsChanged);
    void NoteInserted(int pos, const char* s, int n);
    BOOL Grow(int pos, const char* s, int n);
    BOOL Place(int pos, const char* s, int n);
    BOOL Regrow(int capacity, int keep);
    BOOL ReserveFor(int pos, int count, int n);
    void WidenGap(int end);
    void EndGapSoon();
    void Release();
    void KeepGuardZero();
    BOOL Failed();
    int ReverseSearch(const char* s, int start, bool noCase) const;
    // Bytes [start, start + count) clipped to the block, as a result string.
    const char* Stretch(int start, int& count) const;
    CString Copy(int start, int count) const;
    void CopyTo(char* dest, int start, int count) const;
    int TextEnd() const;
    int LowerStretch(char* dest, int from, int n, bool& trail, bool& zero) const;
    int ReplaceLowered(const char* key, int lf, const char* with, int lr, int all, char* low, int window);
    bool StartsCharacter(int o, int& known, long long shift) const;

    int m_nLength = 0;
    int m_nCapacity = 0;
    char* m_pText = nullptr;
    int m_nBlock = 0;
    int m_nEnd = 0;
    mutable int m_nGap = 0;
    mutable CEditJournal m_journal;
    memblock::Handle m_hBlock = nullptr;
    BOOL m_bAllocFailed = FALSE;
};
