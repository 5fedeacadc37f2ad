// CStringEx: block management, the gap, in-place edits, sub-strings and fields.
#include "text/StringEx.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/base/Mbcs936.h"

namespace {
const int kStep = 65536;

// Capacity after growing by at least n bytes plus one spare step; -1 when it would not fit an int.
int GrownCapacity(int capacity, int n) {
    long long grown = (long long)capacity + ((long long)n / kStep + 1) * kStep;
    return grown > INT_MAX ? -1 : (int)grown;
}

// Where a gap ends that leaves a step of room after bytes of text, within capacity.
int StepPast(int bytes, int capacity) {
    return (int)std::min<long long>(capacity, (long long)bytes + kStep);
}

// The block behind a capacity: a thirty-second more, in whole steps, so that the steps that follow
// only raise the reported capacity. Kept small: where the system commits a block's pages when it is
// allocated they count in the process's private bytes before the text grows into them (under Wine,
// which commits them as they are touched, a reserve of half the size measured no less).
int BlockFor(int capacity) {
    long long block = (long long)capacity + ((long long)capacity / 32 / kStep) * kStep;
    return block > INT_MAX ? capacity : (int)block;
}

// A result string that is empty instead of throwing when memory runs out.
CString MakeString(const char* s, int n) {
    try {
        return CString(s, n);
    } catch (...) {
        return CString();
    }
}
} // namespace

CStringEx::CStringEx(const CStringEx& other) {
    *this = other;
}

CStringEx& CStringEx::operator=(const CStringEx& other) {
    if (this == &other) return *this;
    Release();
    m_journal.Invalidate();
    if (other.m_nCapacity > 0) {
        other.Flat();
        if (!Regrow(other.m_nCapacity, 0)) return *this;
        std::memcpy(m_pText, other.m_pText, (size_t)other.m_nCapacity);
    }
    m_nLength = m_nGap = other.m_nLength;
    EndGapSoon();
    return *this;
}

CStringEx::~CStringEx() {
    Release();
}

void CStringEx::Release() {
    if (m_nCapacity == 0 && m_hBlock == nullptr) return;
    memblock::Unlock(m_hBlock);
    memblock::Free(m_hBlock);
    m_hBlock = nullptr;
    m_pText = nullptr;
    m_nCapacity = m_nBlock = m_nEnd = 0;
    m_nGap = m_nLength;
}

BOOL CStringEx::Failed() {
    m_bAllocFailed = TRUE;
    return FALSE;
}

// Gap.

void CStringEx::MoveGap(int pos) const {
    int gap = GapSize();
    if (gap > 0 && pos < m_nGap)
        std::memmove(m_pText + pos + gap, m_pText + pos, (size_t)(m_nGap - pos));
    else if (gap > 0 && pos > m_nGap)
        std::memmove(m_pText + m_nGap, m_pText + m_nGap + gap, (size_t)(pos - m_nGap));
    m_nGap = pos;
}

// Closing an open gap leaves gap bytes after the text: the byte after it becomes zero again. A text
// already contiguous is left alone, since a loader may have written past its length.
char* CStringEx::Flat() const {
    if (m_pText == nullptr) return nullptr;
    if (m_nGap < m_nLength) {
        MoveGap(m_nLength);
        if (m_nLength >= 0 && m_nLength < m_nBlock) m_pText[m_nLength] = 0;
    }
    return m_pText;
}

// A byte at or past the length: what the contiguous block holds there.
char CStringEx::FlatAt(int i) const {
    const char* text = Flat();
    return (text != nullptr && i >= 0 && i < m_nBlock) ? text[i] : 0;
}

const char* CStringEx::GetRange(int pos, int count) const {
    if (m_pText == nullptr) return nullptr;
    if (pos < 0 || count < 0 || pos > m_nLength - count) return Flat() + (pos < 0 ? 0 : pos);
    if (m_nGap > pos && m_nGap < pos + count)
        MoveGap(m_nGap - pos <= pos + count - m_nGap ? pos : pos + count);
    return m_pText + Physical(pos);
}

void CStringEx::GetPieces(int from, int to, const char*& first, int& firstSize, const char*& second,
                          int& secondSize) const {
    first = second = m_pText;
    firstSize = secondSize = 0;
    if (m_pText == nullptr || from >= to) return;
    if (to <= m_nGap || from >= m_nGap) {
        first = m_pText + Physical(from);
        firstSize = to - from;
        return;
    }
    first = m_pText + from;
    firstSize = m_nGap - from;
    second = m_pText + m_nGap + GapSize();
    secondSize = to - m_nGap;
}

int CStringEx::CountByte(char c, int from, int to) const {
    if (from < 0) from = 0;
    if (to > m_nLength) to = m_nLength;
    const char* piece[2];
    int size[2];
    GetPieces(from, to, piece[0], size[0], piece[1], size[1]);
    int n = 0;
    for (int k = 0; k < 2; ++k)
        for (const char *p = piece[k], *end = p + size[k]; p < end; ++n, ++p) {
            p = static_cast<const char*>(std::memchr(p, c, (size_t)(end - p)));
            if (p == nullptr) break;
        }
    return n;
}

bool CStringEx::HasByte(char c, int from, int to) const {
    const char* piece[2];
    int size[2];
    GetPieces(std::max(from, 0), std::min(to, m_nLength), piece[0], size[0], piece[1], size[1]);
    for (int k = 0; k < 2; ++k)
        if (size[k] > 0 && std::memchr(piece[k], c, (size_t)size[k]) != nullptr) return true;
    return false;
}

void CStringEx::CopyOut(char* dest, int from, int count) const {
    const char* piece[2];
    int size[2];
    GetPieces(from, from + count, piece[0], size[0], piece[1], size[1]);
    if (size[0] > 0) std::memcpy(dest, piece[0], (size_t)size[0]);
    if (size[1] > 0) std::memcpy(dest + size[0], piece[1], (size_t)size[1]);
}

void CStringEx::Note(int pos, int removed, int inserted, int tabDelta, bool feedsChanged) {
    if (!m_journal.IsValid()) return;
    int last = m_journal.LastEnd();
    bool lineFeed = last >= 0 && pos > last && HasByte('\n', last, pos);
    m_journal.Record(pos, removed, inserted, lineFeed, tabDelta, feedsChanged);
}

// The inserted bytes' share of a journal entry: their tabs, and whether a line feed is among them.
void CStringEx::NoteInserted(int pos, const char* s, int n) {
    if (!m_journal.IsValid()) return;
    int tabs = 0;
    for (const char* p = s;
         (p = static_cast<const char*>(std::memchr(p, '\t', (size_t)(s + n - p)))) != nullptr; ++p)
        ++tabs;
    Note(pos, 0, n, tabs, std::memchr(s, '\n', (size_t)n) != nullptr);
}

// Block.

// Moves the first keep bytes into a new zero-filled block for capacity bytes. The block reserves
// room beyond the capacity; its pages are only touched once the text grows into them.
BOOL CStringEx::Regrow(int capacity, int keep) {
    if (capacity <= 0) return Failed();
    Flat();
    int blockSize = BlockFor(capacity);
    memblock::Handle block = memblock::Allocate((size_t)blockSize, true);
    char* text = static_cast<char*>(memblock::Lock(block));
    if (text == nullptr) {
        memblock::Free(block);
        return Failed();
    }
    if (keep > 0) std::memcpy(text, m_pText, (size_t)keep);
    int length = m_nLength;
    Release();
    m_hBlock = block;
    m_pText = text;
    m_nCapacity = capacity;
    m_nBlock = blockSize;
    m_nLength = m_nGap = length;
    EndGapSoon();
    return TRUE;
}

BOOL CStringEx::SetBufferSize(int size) {
    if (size <= m_nLength || size <= 0) return FALSE;
    m_journal.Invalidate();
    if (m_nLength == 0) {
        if (!Regrow(size, 0)) return FALSE;
        m_nLength = m_nGap = 1;
        EndGapSoon();
        return TRUE;
    }
    return Regrow(size, m_nLength);
}

void CStringEx::SetLength(int n) {
    Flat();
    m_journal.Invalidate();
    m_nLength = m_nGap = n;
    EndGapSoon();
}

void CStringEx::ClearContents() {
    if (m_nCapacity <= 0) return;
    m_journal.Invalidate();
    Release();
    m_nLength = m_nGap = 0;
}

BOOL CStringEx::Append(const char* s) {
    if (s == nullptr) return TRUE;
    Flat();
    m_journal.Invalidate();
    int n = (int)strnlen(s, INT_MAX / 2);
    if ((long long)m_nLength + n >= m_nCapacity) {
        char* copy = static_cast<char*>(std::malloc((size_t)n + 1));
        if (copy == nullptr) return Failed();
        std::memcpy(copy, s, (size_t)n + 1);
        int capacity = GrownCapacity(m_nCapacity, n);
        BOOL ok = capacity > 0 && Regrow(capacity, m_nLength);
        if (ok) std::memmove(m_pText + strlen(m_pText), copy, (size_t)n + 1);
        std::free(copy);
        if (!ok) return Failed();
    } else {
        std::memmove(m_pText + strlen(m_pText), s, (size_t)n + 1);
    }
    m_nLength += n;
    m_nGap = m_nLength;
    EndGapSoon();
    return TRUE;
}

void CStringEx::MakeUpper() {
    if (m_pText == nullptr) return;
    m_journal.Invalidate();
    cp936::mbsupr(Flat());
}

void CStringEx::MakeLower() {
    if (m_pText == nullptr) return;
    m_journal.Invalidate();
    cp936::mbslwr(Flat());
}

// Editing.

// Insertion that needs a larger capacity (s not in this string): a block that already has room
// raises the capacity; otherwise the text is built in a new block, with the gap after the inserted bytes.
BOOL CStringEx::Grow(int pos, const char* s, int n) {
    int old = m_nLength;
    int capacity = GrownCapacity(m_nCapacity, n);
    if (capacity < 0 || (long long)old + n >= capacity) return Failed();
    if (capacity <= m_nBlock) {
        m_nCapacity = capacity;
        WidenGap(StepPast(old + n, capacity));
        return Place(pos, s, n);
    }
    int blockSize = BlockFor(capacity);
    memblock::Handle block = memblock::Allocate((size_t)blockSize, true);
    char* text = static_cast<char*>(memblock::Lock(block));
    if (text == nullptr) {
        memblock::Free(block);
        return Failed();
    }
    CopyOut(text, 0, pos);
    std::memcpy(text + pos, s, (size_t)n);
    int end = StepPast(old + n, capacity);
    CopyOut(text + end - (old - pos), pos, old - pos);
    Release();
    m_hBlock = block;
    m_pText = text;
    m_nCapacity = capacity;
    m_nBlock = blockSize;
    m_nEnd = end;
    m_nLength = old + n;
    m_nGap = pos + n;
    NoteInserted(pos, s, n);
    return TRUE;
}

// Moves the bytes after the gap to end a new end (after the old one, within the capacity).
void CStringEx::WidenGap(int end) {
    int after = m_nLength - m_nGap;
    if (after > 0) std::memmove(m_pText + end - after, m_pText + m_nEnd - after, (size_t)after);
    m_nEnd = end;
}

// With the text contiguous, the gap may end anywhere: a step past the text, within the capacity.
void CStringEx::EndGapSoon() {
    m_nEnd = std::max(m_nLength, StepPast(m_nLength, m_nCapacity));
}

BOOL CStringEx::Insert(int pos, const char* s) {
    return s == nullptr || Insert(pos, s, (int)strnlen(s, INT_MAX / 2));
}

BOOL CStringEx::Insert(int pos, const char* s, int n) {
    if (s == nullptr || n <= 0) return TRUE;
    if (pos < 0 || pos > m_nLength) return FALSE;
    // Bytes of this string may move before they are copied in: a private copy goes in instead.
    char* copy = nullptr;
    if (s >= m_pText && s < m_pText + m_nBlock) {
        copy = static_cast<char*>(std::malloc((size_t)n));
        if (copy == nullptr) return Failed();
        std::memcpy(copy, s, (size_t)n);
        s = copy;
    }
    BOOL ok;
    if ((long long)m_nLength + n >= m_nCapacity) {
        ok = Grow(pos, s, n);
    } else {
        if (m_nLength + n >= m_nEnd) WidenGap(StepPast(m_nLength + n, m_nCapacity));
        ok = Place(pos, s, n);
    }
    std::free(copy);
    return ok;
}

// Insertion that fits the capacity.
BOOL CStringEx::Place(int pos, const char* s, int n) {
    MoveGap(pos);
    std::memcpy(m_pText + pos, s, (size_t)n);
    m_nLength += n;
    m_nGap = pos + n;
    if (m_nGap == m_nLength) m_pText[m_nLength] = 0;
    NoteInserted(pos, s, n);
    return TRUE;
}

BOOL CStringEx::Insert(int pos, char c) {
    char one[2] = {c, 0};
    return Insert(pos, one);
}

void CStringEx::Delete(int pos, int count) {
    if (pos >= m_nLength || pos < 0 || m_pText == nullptr || m_nLength > m_nBlock) return;
    if (count < 0 || count > m_nLength - pos) count = m_nLength - pos;
    if (count == 0) return;
    int tabs = m_journal.IsValid() ? CountByte('\t', pos, pos + count) : 0;
    bool feeds = m_journal.IsValid() && HasByte('\n', pos, pos + count);
    // The deleted bytes join the gap: only the bytes between the gap and the range move.
    if (m_nGap > pos + count) MoveGap(pos + count);
    if (m_nGap < pos) MoveGap(pos);
    m_nGap = pos;
    m_nLength -= count;
    if (m_nGap == m_nLength) m_pText[m_nLength] = 0;
    Note(pos, count, 0, -tabs, feeds);
}

BOOL CStringEx::Replace(int pos, int count, const char* s) {
    if (pos < 0 || pos > m_nLength) return FALSE;
    if (s == nullptr) s = "";
    char* copy = nullptr;
    if (m_pText != nullptr && s >= m_pText && s < m_pText + m_nBlock) {
        // The replacement lives in the bytes about to move: insert a private copy.
        copy = static_cast<char*>(std::malloc(strlen(s) + 1));
        if (copy == nullptr) return Failed();
        s = std::strcpy(copy, s);
    }
    BOOL ok = ReserveFor(pos, count, (int)strlen(s));
    if (ok) {
        Delete(pos, count);
        ok = Insert(pos, s);
    }
    std::free(copy);
    return ok;
}

// Room for replacing count bytes at pos (as Delete counts them) by n bytes, taken before anything
// changes, so that a replacement refused for want of memory has removed nothing either.
BOOL CStringEx::ReserveFor(int pos, int count, int n) {
    int removed = RemovedCount(pos, count);
    long long needed = (long long)m_nLength - removed + n;
    if (needed < m_nCapacity) return TRUE;
    int capacity = GrownCapacity(m_nCapacity, (int)std::min<long long>(needed - m_nLength + 1, INT_MAX));
    if (capacity <= 0 || needed >= capacity) return Failed();
    return Regrow(capacity, m_nLength);
}

void CStringEx::SetAt(int i, char c) {
    if (i >= 0 && i < m_nLength && m_nLength <= m_nBlock) {
        char old = m_pText[Physical(i)];
        m_pText[Physical(i)] = c;
        Note(i, 1, 1, (c == '\t') - (old == '\t'), (c == '\n') != (old == '\n'));
        return;
    }
    m_journal.Invalidate();
    if (char* text = Flat()) text[i] = c;
}
// Sub-strings.

// Bytes [start, start + count) clipped to the capacity; a stretch inside the text is read across the
// gap, anything reaching past the text sees the contiguous block.
const char* CStringEx::Stretch(int start, int& count) const {
    if (m_pText == nullptr || count <= 0 || start < 0 || start >= m_nCapacity) return nullptr;
    if (count > m_nCapacity - start) count = m_nCapacity - start;
    return start + count <= m_nLength ? GetRange(start, count) : Flat() + start;
}

CString CStringEx::Copy(int start, int count) const {
    const char* p = Stretch(start, count);
    return p ? MakeString(p, count) : CString();
}

void CStringEx::CopyTo(char* dest, int start, int count) const {
    if (dest == nullptr) return;
    const char* p = Stretch(start, count);
    size_t n = p ? (size_t)count : 0;
    if (n > 0) std::memcpy(dest, p, n);
    dest[n] = 0;
}

CString CStringEx::Mid(int start, int count) const {
    if (start < 0) start = 0;
    if (count < 0) count = 0;
    if (start > m_nLength) return CString();
    if (count > m_nLength - start) count = m_nLength - start;
    return Copy(start, count);
}

CString CStringEx::Left(int n) const {
    if (n < 0) n = 0;
    return Copy(0, n < m_nLength ? n : m_nLength);
}

CString CStringEx::Right(int n) const {
    if (n < 0) n = 0;
    return n < m_nLength ? Copy(m_nLength - n, n) : Copy(0, m_nLength);
}

void CStringEx::Mid(int start, int count, char* dest) const {
    if (dest == nullptr) return;
    if (start < 0) start = 0;
    if (count < 0) count = 0;
    if (start > m_nLength)
        count = 0;
    else if (count > m_nLength - start)
        count = m_nLength - start;
    CopyTo(dest, start, count);
}

void CStringEx::Left(int n, char* dest) const {
    n = n < 0 ? 0 : (n > m_nLength ? m_nLength : n);
    CopyTo(dest, 0, n);
}

void CStringEx::Right(int n, char* dest) const {
    n = n < 0 ? 0 : (n > m_nLength ? m_nLength : n);
    CopyTo(dest, m_nLength - n, n);
}

void CStringEx::AllocCopy(CString& dest, int count, int start, int extra) const {
    dest = Copy(start, count + extra);
}

void CStringEx::AllocCopy(char* dest, int count, int start, int extra) const {
    CopyTo(dest, start, count + extra);
}

// Fields.

CString CStringEx::GetField(char delim, int index) const {
    char one[2] = {delim, 0};
    return GetField(one, index);
}

CString CStringEx::GetField(const char* delim, int index) const {
    if (index < 0 || m_pText == nullptr || delim == nullptr) return CString();
    size_t ld = strlen(delim);
    const char* p = Flat();
    const char* field = p;
    const char* fieldEnd = p;
    for (int k = 0; k <= index; ++k) {
        field = p;
        const char* d = *p ? cp936::mbsstr(p, delim) : nullptr;
        if (d != nullptr && ld > 0) {
            fieldEnd = d;
            p = d + ld;
        } else {
            fieldEnd = field + strlen(field);
            p = fieldEnd;
            if (ld == 0 || *p == 0) {
                if (k < index) return CString();
                break;
            }
        }
    }
    return MakeString(field, (int)(fieldEnd - field));
}

int CStringEx::GetFieldCount(const char* delim) const {
    if (m_pText == nullptr || delim == nullptr || *delim == 0) return 1;
    size_t ld = strlen(delim);
    int count = 1;
    for (const char* d = cp936::mbsstr(Flat(), delim); d != nullptr; d = cp936::mbsstr(d + ld, delim))
        ++count;
    return count;
}

int CStringEx::GetFieldCount(char delim) const {
    char one[2] = {delim, 0};
    return GetFieldCount(one);
}

CString CStringEx::GetDelimitedField(const char* open, const char* close, int index) const {
    if (index < 0 || m_pText == nullptr || open == nullptr || close == nullptr) return CString();
    size_t lo = strlen(open), lc = strlen(close);
    const char* p = Flat();
    const char* body = nullptr;
    const char* bodyEnd = nullptr;
    for (int k = 0; k <= index; ++k) {
        const char* o = cp936::mbsstr(p, open);
        if (o == nullptr) return CString();
        const char* c = cp936::mbsstr(o + lo, close);
        if (c == nullptr) return CString();
        body = o + lo;
        bodyEnd = c;
        // Empty markers never move the walk on: every later pass would find the same field.
        if (o + lc == p) break;
        p = o + lc;
    }
    return MakeString(body, (int)(bodyEnd - body));
}
