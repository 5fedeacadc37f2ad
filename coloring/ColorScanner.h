// The colouring scanner: assigns a colour to every byte of a stretch of text, as a run list.
#pragma once

#include "coloring/ColorArray.h"
#include "coloring/ColorRules.h"
#include "coloring/MarkerIndex.h"
#include "framework/base/ByteClass.h"
#include "framework/base/String.h"
#include "text/CharBoundaries.h"
#include "text/LineTable.h"

// Told of every end-marker search that found nothing: marker does not occur after position from.
class CMarkerMisses {
public:
    virtual void Missed(const CString& marker, int from) = 0;

protected:
    ~CMarkerMisses() = default;
};

// One scan over a text of length bytes (the last normally the terminating zero) with a rule set,
// writing into a run list. The scanner is a short-lived view: the owner keeps the text, the rules, the
// run list and the marker index (which remembers end-marker positions between scans of an unchanged
// text). Every read of the text is bounds-checked: a byte outside [0, length) reads as 0, so out-of-range
// positions give short or empty runs instead of stray reads.
class CColorScanner {
public:
    // The text is read where it lies; a contiguous one is a single piece.
    CColorScanner(const TextPieces& text, CColorArray& runs, const CColorRuleSet& rules,
                  CMarkerIndex& markers)
        : m_text(text), m_length(text.first ? text.length : 0), m_runs(runs), m_rules(rules),
          m_markers(markers) {}
    CColorScanner(const char* text, int length, CColorArray& runs, const CColorRuleSet& rules,
                  CMarkerIndex& markers)
        : CColorScanner(TextPieces::Contiguous(text, length), runs, rules, markers) {}

    // Rebuilds the run list for start ... end; writes the run listing when a path is given. Returns 1.
    int ParseTextColor(int start, int end, const char* listingPath = nullptr);

    // One pass of the scan at pos (the recognisers in their order, or a one-character plain run when
    // none moves): the position where the next pass starts, always beyond pos.
    int ScanPass(int pos, int end);
    // Misses are reported to misses (null: to nobody).
    void ReportMisses(CMarkerMisses* misses) { m_misses = misses; }
    // With GBK characters on, a character is two bytes only when a lead byte of the code page is
    // followed by one of its trail bytes; otherwise every byte with bit 7 set leads a pair.
    void UseGbkCharacters(bool on) { m_gbk = on; }
    // A line table in step with the text lets the rest of a title's line be found without walking it.
    void UseLines(const CLineTable* lines) { m_lines = lines; }
    // The longest begin or end marker of the rules, in bytes.
    int LongestMarker() const;
    void ClearRuns() { m_runs.Reset(); }

    int ParseBlank(int& pos, int end);
    int ParseComments(int& pos, int end);
    int ParseQuotes(int& pos, int end);
    int ParseKeywords(int& pos, int end);
    int ParseTitle(int& pos, int end);
    int ParseUnknown(int& pos, int end);

    int GetComment(int rule, CString& begin, CString& end, int& length, int pos, int limit);
    int GetQuote(int rule, CString& begin, CString& end, int& length, int pos, int limit);
    int GetKeywords(CString& word, int start, int end, int flag) const;
    int GetTitle(CString& word, int start, int end, int flag) const;
    int GetToken(CString& word, int start, int end, int flag) const;
    int IsComment(int pos) const;
    int IsQuote(int pos) const;

    // Character classes of the scanner.
    static bool IsWordChar(unsigned char c, int digitFlag);
    static bool IsBlank(unsigned char c);

private:
    unsigned char At(int p) const { return (p >= 0 && p < m_length) ? (unsigned char)m_text.At(p) : 0; }
    bool StartsPair(int p) const {
        return m_gbk ? byteclass::IsGbkLead(At(p)) && byteclass::IsGbkTrail(At(p + 1))
                     : byteclass::IsHalfOfPair(At(p));
    }
    bool StartsTitle(unsigned char c) const {
        return m_gbk ? byteclass::IsGbkLead(c) : byteclass::IsHalfOfPair(c);
    }
    bool Matches(int pos, const CString& marker) const;
    // A comment's or quote's (quote = true) span at pos under the rule; pos when there is no rule.
    int GetDelimited(const CDelimitedInfo* info, bool quote, CString& begin, CString& end, int& length,
                     int pos, int limit);
    int Delimited(const CString& begin, const CString& end, COLORREF color, bool needEnd, int& length,
                  int pos, int limit);
    int WordEnd(int start, int end, int flag) const;
    int TitleEnd(int start, int end) const;
    int RestOfLine(int pos) const;
    int WordLength(int start, int stop) const;
    int Append(int pos, COLORREF color);
    void WriteListing(const char* path) const;
    CString Bytes(int from, int to) const;

    TextPieces m_text;
    int m_length;
    mutable std::string m_scratch; // a word that straddles the two pieces, copied for the lookups
    CColorArray& m_runs;
    const CColorRuleSet& m_rules;
    CMarkerIndex& m_markers;
    CMarkerMisses* m_misses = nullptr;
    const CLineTable* m_lines = nullptr;
    bool m_gbk = false;
};
