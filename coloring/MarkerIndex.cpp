// Marker search with per-block summaries.
#include "coloring/MarkerIndex.h"

#include <cstring>

#include "framework/base/Mbcs936.h"

// Every edit invalidates, and a large text has many blocks: clearing them again while nothing was
// learnt since would cost each keystroke the text's size.
void CMarkerIndex::Invalidate() {
    if (!m_learnt) return;
    for (Marker& m : m_markers) m.blocks.assign(m.blocks.size(), kUnknown);
    m_zero.blocks.assign(m_zero.blocks.size(), kUnknown);
    m_learnt = false;
}

void CMarkerIndex::Bind(const char* text, int length) {
    if (text == m_text && length == m_length) return;
    // Unbound until every summary has its new size, so a failed allocation never leaves one short.
    m_text = nullptr;
    size_t blocks = (size_t)(length / kBlock + 1);
    for (Marker& m : m_markers) m.blocks.assign(blocks, kUnknown);
    m_zero.bytes.assign(1, '\0');
    m_zero.blocks.assign(blocks, kUnknown);
    m_text = text;
    m_length = length;
}

CMarkerIndex::Marker& CMarkerIndex::Slot(const std::string& bytes) {
    for (Marker& m : m_markers)
        if (m.bytes == bytes) return m;
    m_markers.push_back(Marker{bytes, std::vector<unsigned char>((size_t)(m_length / kBlock + 1), kUnknown)});
    return m_markers.back();
}

// First raw occurrence starting in [lo, hi) that fits in the text, or -1.
int CMarkerIndex::ScanRaw(const Marker& m, int lo, int hi) const {
    int n = (int)m.bytes.size();
    if (hi > m_length - n + 1) hi = m_length - n + 1;
    const char* p = m_text + lo;
    const char* stop = m_text + hi;
    while (p < stop) {
        const char* q = static_cast<const char*>(std::memchr(p, m.bytes[0], (size_t)(stop - p)));
        if (q == nullptr) return -1;
        if (std::memcmp(q, m.bytes.data(), (size_t)n) == 0) return (int)(q - m_text);
        p = q + 1;
    }
    return -1;
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
            int first = ScanRaw(m, lo, blockEnd);
            state = first < 0 ? kNone : kHas;
            m_learnt = true;
            if (first >= from && first < hi) return first;
        }
        if (state == kHas) {
            int x = ScanRaw(m, from, hi);
            if (x >= 0) return x;
        }
        from = blockEnd;
    }
    return -1;
}

// Whether x starts a character when the text is walked from from.
bool CMarkerIndex::IsBoundary(int from, int x) const {
    int p = x;
    while (p > from && cp936::IsLeadByte((unsigned char)m_text[p - 1])) --p;
    return (x - p) % 2 == 0;
}

int CMarkerIndex::FindIndexed(const char* marker, int from) {
    Marker& m = Slot(marker);
    for (int x = from;;) {
        x = NextRaw(m, x, m_length);
        if (x < 0) return -1;
        if (NextRaw(m_zero, from, x) >= 0) return -1;
        if (IsBoundary(from, x)) return x;
        ++x;
    }
}

int CMarkerIndex::Find(const char* text, int length, const char* marker, int from) {
    if (text == nullptr || marker == nullptr || marker[0] == 0 || from < 0 || from >= length) return -1;
    try {
        Bind(text, length);
        return FindIndexed(marker, from);
    } catch (...) {
        // No memory for the summaries: the plain search gives the same answer, only slower.
        m_markers.clear();
        int zero = FindZero(text, length, from);
        if (zero < 0) return -1;
        const char* hit = cp936::mbsstr(text + from, marker);
        return hit == nullptr ? -1 : (int)(hit - text);
    }
}

int CMarkerIndex::FindZero(const char* text, int length, int from) {
    if (text == nullptr || from < 0 || from >= length) return -1;
    try {
        Bind(text, length);
        return NextRaw(m_zero, from, m_length);
    } catch (...) {
        const void* z = std::memchr(text + from, 0, (size_t)(length - from));
        return z == nullptr ? -1 : (int)(static_cast<const char*>(z) - text);
    }
}
