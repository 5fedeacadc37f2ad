// CStringEx: a document's whole text as one growable movable memory block with in-place editing.
#pragma once

#include "framework/base/MemoryBlock.h"
#include "framework/base/String.h"

// Invariants: 0 <= m_nLength <= m_nCapacity; m_pText is null exactly when m_nCapacity is 0 and is
// then locked for the object's whole life; blocks are created zero-filled and grow in whole 64 KiB
// steps that always leave at least one spare byte, and the editing operations keep a zero byte in
// that spare byte (text[length]) so the zero-terminated searches never run past the block.
// The documents keep their own zero byte inside the length; Insert and Delete carry it along.
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
    void SetLength(int n) { m_nLength = n; }
    char* GetBuffer() { return m_pText; }
    const char* GetBuffer() const { return m_pText; }
    char GetAt(int i) const { return m_pText[i]; }
    void SetAt(int i, char c) { m_pText[i] = c; }
    void MakeUpper();
    void MakeLower();
    BOOL AllocationFailed() const { return m_bAllocFailed; }
    void ClearAllocationFailure() { m_bAllocFailed = FALSE; }

    // Editing; positions outside 0 ... length are refused (FALSE).
    BOOL Insert(int pos, const char* s);
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
    BOOL Regrow(int capacity, int keep);
    void Release();
    void KeepGuardZero();
    BOOL Failed();
    int ReverseSearch(const char* s, int start, bool noCase) const;
    // Bytes [start, start + count) clipped to the block, as a result string.
    CString Copy(int start, int count) const;
    void CopyTo(char* dest, int start, int count) const;
    int TextEnd() const;

    int m_nLength = 0;
    int m_nCapacity = 0;
    char* m_pText = nullptr;
    memblock::Handle m_hBlock = nullptr;
    BOOL m_bAllocFailed = FALSE;
};
