// CLineRegex: a regular expression searched line by line over an editor's text, for find and replace:
// '^' and '$' are a line's start and end, and a hit never spans a line feed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "regex/RegExp.h"
#include "text/EditText.h"

// A hit: its bounds in the text and the bounds of the groups 1-9 that took part (-1 when not).
struct CRegexHit {
    int start = -1;
    int end = -1;
    int groupStart[CRegExp::kGroups] = {};
    int groupEnd[CRegExp::kGroups] = {};
};

// Whether a hit [start, end) may be taken (whole words, character boundaries); empty: every hit.
using HitFilter = std::function<bool(int start, int end)>;

// The expression is compiled twice. The pattern as given serves searches from a line's start; a
// search from inside a line starts the matcher there, where '^' would wrongly match, so it runs a
// second program in which every '^' is a line feed: a byte no line holds, which fails wherever '^'
// fails away from the line's start. Case-blind, the pattern and each line are searched with their
// ASCII letters lowered (the trail bytes of GBK pairs kept); groups are read from the text itself.
class CLineRegex {
public:
    // False, with nothing compiled, when the pattern is empty or malformed.
    bool Compile(const char* pattern, bool matchCase);
    // The first hit that starts at or after from, searching to the text's end; false when none.
    // An empty hit counts; a refused one moves the search on by one character.
    bool FindFrom(const CEditText& text, int from, const HitFilter& accept, CRegexHit& hit);
    // The last hit that starts before `before`, searching back to the text's start.
    bool FindBefore(const CEditText& text, int before, const HitFilter& accept, CRegexHit& hit);
    // The replacement template expanded for hit: & is the whole hit, \1 ... \9 its groups (\0 the
    // hit too), \\ and \& the byte itself, as the expression class expands it.
    static std::string Expand(const CEditText& text, const CRegexHit& hit, const char* templ);
    // Every hit from the text's start, each replaced by the expanded template: the changes in the
    // order they apply, each at its place in the text as the changes before it left it.
    std::vector<CTextChange> ReplaceAll(const CEditText& text, const HitFilter& accept, const char* templ);

private:
    // The hits of the line text[lineStart, lineEnd), in order, starting at or after column from;
    // each is handed to take until it answers false.
    void LineHits(const char* text, int lineStart, int lineEnd, int from, const HitFilter& accept,
                  const std::function<bool(const CRegexHit&)>& take);
    // The leftmost match in the line's copy at or after column from; false when none.
    bool MatchFrom(int lineStart, int from, CRegexHit& hit);
    // The line's bytes copied into m_line, lowered when case-blind.
    void CopyLine(const char* text, int start, int end);
    // Each line's bounds (without its line feed) from the one holding from to the text's end, found
    // in the contiguous text without the line table, until visit answers false.
    static void EachLine(const CEditText& text, int from,
                         const std::function<bool(int start, int end)>& visit);

    CRegExp m_fromLineStart;
    CRegExp m_insideLine;
    bool m_matchCase = true;
    bool m_compiled = false;
    std::string m_line;
};
