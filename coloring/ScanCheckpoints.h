// Scan checkpoints: where a scan of the whole text starts its passes, so that any window can be
// coloured exactly as the whole-text scan colours it by scanning from the nearest checkpoint before it.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "coloring/ColorScanner.h"

// The scanner keeps no state between passes: a pass that starts at p depends on the text from p on
// only. So a pass start of the whole-text scan is a place from which a scan reproduces the rest of
// that scan, and the checkpoints are pass starts about kSpacing bytes apart.
//
// Invariants: m_points is sorted by pos; its first m_valid entries are pass starts of the whole-text
// scan of the current text (entry 0 is position 0). Each entry's reach is an exclusive bound of every
// byte read by the passes before it (cumulative, so the reaches never decrease) - except the end-marker
// searches that found nothing, which read to the end of the text: those are kept as one "no such marker
// after from" fact per marker instead, so that typing below an unclosed quote costs nothing.
// Entries from m_valid on are stale: checkpoints of an earlier text, moved with the edits since
// (m_edits, the changed ranges in today's positions). When a rescan starts a pass exactly at a stale
// entry with no edit at or after it, the scans agree from there on and every stale entry holds again;
// with edits after it, the entries up to the next edit hold when their passes read nothing of it. An
// edit that may have made a marker some old pass missed allows neither before it.
class CScanCheckpoints final : private CMarkerMisses {
public:
    static const int kSpacing = 2048;

    // Forgets everything: the next query rescans from the start of the text.
    void Clear();
    // [pos, pos + removed) became inserted bytes, now at [pos, pos + inserted) of text; removedZero
    // tells that a zero byte was among the bytes removed (a marker search stops at one).
    void Edited(const TextPieces& text, int pos, int removed, int inserted, bool removedZero);
    // The last checkpoint at or before pos, having scanned forward from the last valid one as far as
    // needed. The scanner (whose runs this overwrites) scans the text to its last byte, as a
    // whole-text scan does.
    int StartFor(int pos, CColorScanner& scanner, int textLength);

    int ValidCount() const { return (int)m_valid; }
    int ValidPosition(int k) const { return m_points[(size_t)k].pos; }
    size_t MemoryBytes() const { return m_points.capacity() * sizeof(Point); }

private:
    struct Point {
        int pos;
        int reach;
    };
    struct MissFact {
        std::string marker;
        int from; // INT_MAX once an edit may have made the marker (some pass has missed it, though)
    };
    struct EditedRange {
        int start;
        int end;
        bool madeMarker;
    };

    void Missed(const CString& marker, int from) override;
    void Invalidate(size_t first);
    void ShiftStale(int pos, int removed, int inserted);
    // Moves the facts; true when the edit may have made a marker that some pass missed.
    bool ShiftMisses(const TextPieces& text, int pos, int removed, int inserted, bool removedZero);
    void AddEditedRange(int pos, int removed, int inserted, bool madeMarker);
    // True when the stale entry at *cursor (moved past the ones before pass) starts exactly at pass.
    bool MeetsStale(size_t& cursor, int pass) const;
    bool ScanToward(int pos, CColorScanner& scanner, int end, int& answer);
    // Where the stale entries after pass stop holding (INT_MAX: never); pass itself when none holds.
    int StaleLimit(int pass) const;
    // Takes up the fresh entries, the one at the stale entry staleIndex and those after it that read
    // nothing from limit on.
    void Resync(std::vector<Point>& fresh, size_t staleIndex, int reach, int limit);

    std::vector<Point> m_points;
    size_t m_valid = 0;
    std::vector<EditedRange> m_edits; // sorted, apart
    std::vector<MissFact> m_misses;
    int m_lookahead = 2; // bytes a pass may read past its end: the longest marker and one more
};
