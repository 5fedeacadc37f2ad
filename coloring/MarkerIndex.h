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
// The summaries hold for one text; Invalidate after any change (Edited after an edit it describes),
// and new pieces or a new length drop them too. Beside them the index keeps, per marker, the last stretch its
// search found empty up to a zero byte; an edit announced with Edited moves that stretch with the text unless
// the edit may have made an occurrence in it, so a marker that occurs nowhere (an unclosed quote's partner)
// costs no rescan of the rest of the text after each keystroke; Invalidate drops them too.
class CMarkerIndex {
public:
    CMarkerIndex() = default;
    CMarkerIndex(const CMarkerIndex&) = delete;
    CMarkerIndex& operator=(const CMarkerIndex&) = delete;

    void Invalidate();
    // The bytes [pos, pos + removed) became the inserted bytes now at [pos, pos + inserted) of text;
    // removedZero tells that a zero byte was among the bytes removed.
    void Edited(const TextPieces& text, int pos, int removed, int inserted, bool removedZero);
    // Whether an edit that wrote [pos, pos + inserted) of text may have made an occurrence of marker at
    // a character boundary that was none before: in the bytes written, across their edges, or by
    // pairing the lead bytes that follow them differently. Raw bytes are compared (a superset).
    static bool MayHaveMade(const TextPieces& text, const std::string& marker, int pos, int inserted);
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
        // No occurrence at a character boundary in [emptyFrom, emptyTo) as walked from emptyFrom, and a
        // zero byte at emptyTo.
        int emptyFrom = -1;
        int emptyTo = -1;
    };

    void Bind(const TextPieces& text);
    void DropSummaries();
    Marker& Slot(const std::string& bytes);
    int ScanRaw(const std::string& bytes, int lo, int hi) const;
    int ScanPiece(const char* piece, int offset, const std::string& bytes, int lo, int hi) const;
    int NextRaw(Marker& m, int from, int limit);
    bool IsBoundary(int from, int x) const;
    template <class NextMarker, class NextZero>
    int FirstAtBoundary(int from, NextMarker nextMarker, NextZero nextZero) const;
    int FindIndexed(const char* marker, int from);
    int FirstZeroFrom(int from);
    void MoveEmptyStretch(Marker& m, const TextPieces& text, int pos, int removed, int inserted,
                          bool removedZero);
    // Remembers a search from from that found nothing (the stretch up to the next zero byte).
    void NoteEmpty(Marker& m, int from);

    TextPieces m_text;
    bool m_bound = false;
    int m_length = 0;
    std::vector<Marker> m_markers;
    Marker m_zero;
    bool m_learnt = false; // some block summary is known: false means all are kUnknown
};
