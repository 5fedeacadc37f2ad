// Repeated marker searches over one unchanged text without rescanning it: block summaries.
#pragma once

#include <string>
#include <vector>

#include "text/TextPieces.h"

// Answers "where does marker next occur at a character boundary from position from, before the first
// zero byte" exactly as cp936::mbsstr(text + from, marker) would, but remembers, per marker and per
// block of 4096 bytes, whether a raw occurrence starts in the block. A search then skips known-empty
// blocks instead of rescanning them, so an end marker that lies far away (or nowhere) costs one scan
// per text change rather than one per repaint. Boundaries are decided locally: a byte outside the lead
// range always ends a character, so only the run of lead bytes just before a candidate matters.
// The text is read where it lies (both sides of a gap buffer), so searching never makes it contiguous.
// The summaries hold for one text; Invalidate after any change, and new pieces or a new length drop
// them too.
class CMarkerIndex {
public:
    CMarkerIndex() = default;
    CMarkerIndex(const CMarkerIndex&) = delete;
    CMarkerIndex& operator=(const CMarkerIndex&) = delete;

    void Invalidate();
    // Position of the first occurrence of the non-empty marker, or -1.
    int Find(const TextPieces& text, const char* marker, int from);
    // Position of the first zero byte at or after from, or -1 when there is none before the end.
    int FindZero(const TextPieces& text, int from);

private:
    enum : unsigned char { kUnknown = 0, kHas = 1, kNone = 2 };
    static const int kBlock = 4096;

    struct Marker {
        std::string bytes;
        std::vector<unsigned char> blocks;
    };

    void Bind(const TextPieces& text);
    Marker& Slot(const std::string& bytes);
    int ScanRaw(const std::string& bytes, int lo, int hi) const;
    int ScanPiece(const char* piece, int offset, const std::string& bytes, int lo, int hi) const;
    int NextRaw(Marker& m, int from, int limit);
    bool IsBoundary(int from, int x) const;
    template <class NextMarker, class NextZero>
    int FirstAtBoundary(int from, NextMarker nextMarker, NextZero nextZero) const;
    int FindIndexed(const char* marker, int from);

    TextPieces m_text;
    bool m_bound = false;
    int m_length = 0;
    std::vector<Marker> m_markers;
    Marker m_zero;
    bool m_learnt = false; // some block summary is known: false means all are kUnknown
};
