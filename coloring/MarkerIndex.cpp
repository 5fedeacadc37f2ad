// Marker search with per-block summaries.
#include "coloring/MarkerIndex.h"

#include "framework/base/ByteClass.h"

#include <algorithm>
#include <cstring>

#include "framework/base/Mbcs936.h"

// Every edit drops the summaries, and a large text has many blocks: clearing them again while nothing
// was learnt since would cost each keystroke the text's size.
void CMarkerIndex::DropSummaries() {
    if (!m_learnt) return;
    for (Marker& m : m_markers) m.blocks.assign(m.blocks.size(), kUnknown);
    m_zero.blocks.assign(m_zero.blocks.size(), kUnknown);
    m_learnt = false;
}

void CMarkerIndex::Invalidate() {
    DropSummaries();
    for (Marker& m : m_markers) m.emptyFrom = m.emptyTo = -1;
    m_zero.emptyFrom = m_zero.emptyTo = -1;
}

bool CMarkerIndex::MayHaveMade(const TextPieces& text, const std::string& marker, int pos, int inserted) {
    int n = (int)marker.size();
    int after = pos + inserted;
    while (after < text.length && (unsigned char)text.At(after) >= 0x80) ++after;
    int lo = pos - n + 1 > 0 ? pos - n + 1 : 0, hi = after + n < text.length ? after + n : text.length;
    for (int p = lo; p + n <= hi; ++p) {
        int k = 0;
        while (k < n && text.At(p + k) == marker[(size_t)k]) ++k;
        if (k == n) return true;
    }
    return false;
}

void CMarkerIndex::Edited(const TextPieces& text, int pos, int removed, int inserted, bool removedZero) {
    DropSummaries();
    m_zero.bytes.assign(1, '\0');
    MoveEmptyStretch(m_zero, text, pos, removed, inserted, removedZero);
    for (Marker& m : m_markers) MoveEmptyStretch(m, text, pos, removed, inserted, removedZero);
}

void CMarkerIndex::MoveEmptyStretch(Marker& m, const TextPieces& text, int pos, int removed, int inserted,
                                    bool removedZero) {
    if (m.emptyFrom < 0 || pos > m.emptyTo) return;
    bool zeroGone = removedZero && pos + removed > m.emptyTo;
    if (zeroGone || MayHaveMade(text, m.bytes, pos, inserted)) {
        m.emptyFrom = m.emptyTo = -1;
        return;
    }
    int delta = inserted - removed;
    m.emptyFrom = m.emptyFrom >= pos + removed ? m.emptyFrom + delta : std::min(m.emptyFrom, pos);
    m.emptyTo += delta;
}

// The first zero byte from from on; the stretch before it is remembered as holding none.
int CMarkerIndex::FirstZeroFrom(int from) {
    if (m_zero.emptyFrom >= 0 && (m_zero.emptyTo >= m_length || m_text.At(m_zero.emptyTo) != 0))
        m_zero.emptyFrom = m_zero.emptyTo = -1;
    if (m_zero.emptyFrom >= 0 && m_zero.emptyFrom <= from && from <= m_zero.emptyTo) return m_zero.emptyTo;
    int zero = NextRaw(m_zero, from, m_length);
    if (zero >= 0) {
        m_zero.emptyFrom = from;
        m_zero.emptyTo = zero;
    }
    return zero;
}

void CMarkerIndex::NoteEmpty(Marker& m, int from) {
    int zero = FirstZeroFrom(from);
    if (zero < 0) return;
    if (m.emptyFrom >= 0 && m.emptyTo == zero && m.emptyFrom < from) from = m.emptyFrom;
    m.emptyFrom = from;
    m.emptyTo = zero;
}

void CMarkerIndex::Bind(const TextPieces& text) {
    if (m_bound && text.first == m_text.first && text.firstSize == m_text.firstSize &&
        text.second == m_text.second && text.length == m_length)
        return;
    // Unbound until every summary has its new size, so a failed allocation never leaves one short.
    m_bound = false;
    int length = text.length;
    size_t blocks = (size_t)(length / kBlock + 1);
    for (Marker& m : m_markers) m.blocks.assign(blocks, kUnknown);
    m_zero.bytes.assign(1, '\0');
    m_zero.blocks.assign(blocks, kUnknown);
    m_text = text;
    m_length = length;
    m_bound = true;
}

CMarkerIndex::Marker& CMarkerIndex::Slot(const std::string& bytes) {
    for (Marker& m : m_markers)
        if (m.bytes == bytes) return m;
    m_markers.push_back(Marker{bytes, std::vector<unsigned char>((size_t)(m_length / kBlock + 1), kUnknown)});
    return m_markers.back();
}

// First raw occurrence starting in [lo, hi) of one piece that holds the logical bytes from offset on
// and every byte the occurrence needs; -1 when none.
int CMarkerIndex::ScanPiece(const char* piece, int offset, const std::string& bytes, int lo, int hi) const {
    const char* p = piece + (lo - offset);
    const char* stop = piece + (hi - offset);
    while (p < stop) {
        const char* q = static_cast<const char*>(std::memchr(p, bytes[0], (size_t)(stop - p)));
        if (q == nullptr) return -1;
        if (std::memcmp(q, bytes.data(), bytes.size()) == 0) return (int)(q - piece) + offset;
        p = q + 1;
    }
    return -1;
}

// First raw occurrence starting in [lo, hi) that fits in the text, or -1: in the first piece, then
// the few starts whose bytes straddle the two pieces, then the second piece.
int CMarkerIndex::ScanRaw(const std::string& bytes, int lo, int hi) const {
    int n = (int)bytes.size();
    if (hi > m_length - n + 1) hi = m_length - n + 1;
    int split = m_text.firstSize, seam = split - n + 1; // starts from seam on need the second piece
    int x = ScanPiece(m_text.first, 0, bytes, lo, hi < seam ? hi : seam);
    if (x >= 0) return x;
    for (int q = lo > seam ? lo : seam; q < hi && q < split; ++q) {
        int k = 0;
        while (k < n && m_text.At(q + k) == bytes[(size_t)k]) ++k;
        if (k == n) return q;
    }
    return hi > split ? ScanPiece(m_text.second, split, bytes, lo > split ? lo : split, hi) : -1;
}

// First raw occurrence starting in [from, limit), or -1; fills in block summaries on the way.
int CMarkerIndex::NextRaw(Marker& m, int from, int limit) {
    if (limit > m_length) limit = m_length;
    for (int b = from / kBlock; from < limit; ++b) {
        int blockEnd = (b + 1) * kBlock;
        int hi = blockEnd < limit ? blockEnd : limit;
        unsigned char& state = m.blocks[(size_t)b];
        if (state == kUnknown) {
            int lo = b * kBlock;
            int first = ScanRaw(m.bytes, lo, blockEnd);
            state = first < 0 ? kNone : kHas;
            m_learnt = true;
            if (first >= from && first < hi) return first;
        }
        if (state == kHas) {
            int x = ScanRaw(m.bytes, from, hi);
            if (x >= 0) return x;
        }
        from = blockEnd;
    }
    return -1;
}

// Whether x starts a character when the text is walked from from.
bool CMarkerIndex::IsBoundary(int from, int x) const {
    int p = x;
    while (p > from && byteclass::IsGbkLead((unsigned char)m_text.At(p - 1))) --p;
    return (x - p) % 2 == 0;
}

// The first raw occurrence from from on (nextMarker) that starts a character, unless a zero byte
// (nextZero) comes before it; both answer the first raw occurrence in [lo, hi).
template <class NextMarker, class NextZero>
int CMarkerIndex::FirstAtBoundary(int from, NextMarker nextMarker, NextZero nextZero) const {
    for (int x = from;; ++x) {
        x = nextMarker(x, m_length);
        if (x < 0) return -1;
        if (nextZero(from, x) >= 0) return -1;
        if (IsBoundary(from, x)) return x;
    }
}

int CMarkerIndex::FindIndexed(const char* marker, int from) {
    Marker& m = Slot(marker);
    if (m.emptyFrom >= 0) {
        // A stretch moved by edits the index was not told of no longer ends at its zero byte.
        if (m.emptyTo >= m_length || m_text.At(m.emptyTo) != 0) m.emptyFrom = m.emptyTo = -1;
        // A start inside a pair (as the walk from the stretch's start pairs the bytes) walks differently.
        if (m.emptyFrom >= 0 && m.emptyFrom <= from && from <= m.emptyTo && IsBoundary(m.emptyFrom, from))
            return -1;
    }
    int x = FirstAtBoundary(
        from, [&](int lo, int hi) { return NextRaw(m, lo, hi); },
        [&](int lo, int hi) {
            int zero = FirstZeroFrom(lo);
            return zero >= 0 && zero < hi ? zero : -1;
        });
    if (x < 0) NoteEmpty(m, from);
    return x;
}

int CMarkerIndex::Find(const TextPieces& text, const char* marker, int from) {
    if (text.first == nullptr || marker == nullptr || marker[0] == 0 || from < 0 || from >= text.length)
        return -1;
    try {
        Bind(text);
        return FindIndexed(marker, from);
    } catch (...) {
        // No memory for the summaries: the same walk without them, only slower.
        m_markers.clear();
        m_bound = false;
        m_text = text;
        m_length = text.length;
        const std::string bytes(marker), zero(1, '\0');
        return FirstAtBoundary(
            from, [&](int lo, int hi) { return ScanRaw(bytes, lo, hi); },
            [&](int lo, int hi) { return ScanRaw(zero, lo, hi); });
    }
}

int CMarkerIndex::FindZero(const TextPieces& text, int from) {
    if (text.first == nullptr || from < 0 || from >= text.length) return -1;
    try {
        Bind(text);
        return FirstZeroFrom(from);
    } catch (...) {
        return text.Find('\0', from, text.length);
    }
}
