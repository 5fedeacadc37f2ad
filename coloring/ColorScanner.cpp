// The colouring scanner: recognisers for blanks, comments, quotes, keywords, titles and other text.
#include "coloring/ColorScanner.h"

#include "framework/base/ByteClass.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool CColorScanner::IsWordChar(unsigned char c, int digitFlag) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '#' || c == '_' || c == '.') return true;
    return digitFlag == 0 && c >= '0' && c <= '9';
}

// The wide space test of a byte taken as a signed value accepts exactly these six; bytes above 0x7F
// become negative values that are never spaces.
bool CColorScanner::IsBlank(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int CColorScanner::Append(int pos, COLORREF color) {
    return m_runs.AddColor(color, pos);
}

CString CColorScanner::Bytes(int from, int to) const {
    if (from < 0) from = 0;
    if (to > m_length) to = m_length;
    std::string scratch;
    return to > from ? CString(m_text.Span(from, to - from, scratch), to - from) : CString();
}

int CColorScanner::ParseTextColor(int start, int end, const char* listingPath) {
    try {
        m_runs.Reset();
        if (start < 0) start = 0;
        if (end > m_length) end = m_length;
        m_runs.StartPos() = start;
        for (int pos = start; pos < end;) pos = ScanPass(pos, end);
        if (listingPath != nullptr) WriteListing(listingPath);
    } catch (...) {
        // Out of memory while copying words: the runs so far stand, the rest stays uncoloured.
    }
    return 1;
}

int CColorScanner::ScanPass(int pos, int end) {
    int before = pos;
    if (!ParseBlank(pos, end) && !ParseComments(pos, end) && !ParseQuotes(pos, end) &&
        !ParseKeywords(pos, end) && !ParseTitle(pos, end))
        ParseUnknown(pos, end);
    if (pos == before) {
        // Nothing recognised here: the character becomes a plain run so every pass advances.
        pos += (StartsPair(pos) && pos + 2 <= m_length) ? 2 : 1;
        Append(pos, m_rules.GetTextColor());
    }
    return pos;
}

int CColorScanner::ParseBlank(int& pos, int end) {
    if (!IsBlank(At(pos))) return 0;
    while (IsBlank(At(pos)) && pos < end) ++pos;
    Append(pos, m_rules.GetTextColor());
    return 1;
}

int CColorScanner::ParseComments(int& pos, int end) {
    for (int i = 0; i < m_rules.GetCommentCount(); ++i) {
        CCommentInfo* rule = m_rules.GetComment(i);
        int length = 0;
        int next = Delimited(rule->Begin(), rule->End(), rule->Color(), false, length, pos, end);
        if (next != pos) {
            pos = next;
            return 1;
        }
    }
    return 0;
}

int CColorScanner::ParseQuotes(int& pos, int end) {
    for (int i = 0; i < m_rules.GetQuoteCount(); ++i) {
        CQuoteInfo* rule = m_rules.GetQuote(i);
        int length = 0;
        int next = Delimited(rule->Begin(), rule->End(), rule->Color(), true, length, pos, end);
        if (next != pos) {
            pos = next;
            return 1;
        }
    }
    return 0;
}

// Length of the word [start, stop) as its copy would hold it: a token may run onto the terminating
// zero, and the copy stops there.
int CColorScanner::WordLength(int start, int stop) const {
    if (stop > m_length) stop = m_length;
    int zero = m_text.Find('\0', start, stop);
    return zero < 0 ? stop - start : zero - start;
}

// The rest of a title's line, up to (not including) its line feed, never past the last byte.
int CColorScanner::RestOfLine(int pos) const {
    if (m_lines != nullptr && pos >= 0 && pos < m_length) {
        // The line's end from the table, taken when the text agrees with it at both of the line's ends.
        int line = m_lines->OffsetToLine(pos);
        int start = m_lines->GetLineOffset(line);
        int end = line + 1 < m_lines->GetLineCount() ? m_lines->GetLineOffset(line + 1) - 1 : m_length - 1;
        bool startAgrees = start <= pos && (start == 0 || At(start - 1) == '\n');
        if (startAgrees && end >= pos && end < m_length && (At(end) == '\n' || end == m_length - 1))
            return end;
    }
    while (At(pos) != '\n' && pos + 1 < m_length) ++pos;
    return pos;
}

int CColorScanner::ParseKeywords(int& pos, int end) {
    unsigned char c = At(pos);
    if (!IsWordChar(c, 1) || byteclass::IsHalfOfPair(c)) return 0;
    int start = pos;
    int stop = WordEnd(start, end, 1);
    if (stop == start) return 0;
    pos = stop;
    int n = WordLength(start, stop);
    const char* word = m_text.Span(start, n, m_scratch);
    if (const CKeywordInfo* keyword = m_rules.KeywordLookup(word, n)) {
        Append(pos, keyword->Color());
        return 1;
    }
    if (const CTitleInfo* title = m_rules.TitleLookup(word, n)) {
        pos = RestOfLine(pos);
        Append(pos, title->Color());
        return 1;
    }
    Append(pos, m_rules.GetTextColor());
    return 0;
}

int CColorScanner::ParseTitle(int& pos, int end) {
    unsigned char c = At(pos);
    if (!StartsTitle(c) && c != '*') return 0;
    int start = pos;
    int stop = TitleEnd(start, end);
    if (stop == start) return 0;
    pos = stop;
    int n = WordLength(start, stop);
    if (const CTitleInfo* title = m_rules.TitleLookup(m_text.Span(start, n, m_scratch), n)) {
        pos = RestOfLine(pos);
        Append(pos, title->Color());
        return 1;
    }
    Append(pos, m_rules.GetTextColor());
    return 0;
}

int CColorScanner::ParseUnknown(int& pos, int end) {
    if (pos >= end) return 0;
    int p = pos;
    if (!IsWordChar(At(p), 1)) {
        for (;;) {
            if (At(p) == '\n' || IsQuote(p) || IsComment(p) || p >= m_length - 1) break;
            p += StartsPair(p) ? 2 : 1;
            if (IsWordChar(At(p), 1)) break;
        }
    }
    if (p != pos) {
        pos = p;
        Append(pos, m_rules.GetTextColor());
    }
    return 1;
}

bool CColorScanner::Matches(int pos, const CString& marker) const {
    int n = marker.GetLength();
    if (pos < 0 || n > m_length - pos) return n == 0 && pos >= 0 && pos <= m_length;
    const char* m = marker;
    for (int k = 0; k < n; ++k)
        if (m_text.At(pos + k) != m[k]) return false;
    return true;
}

// Shared body of comment and quote matching; needEnd makes a missing end marker a mismatch.
int CColorScanner::Delimited(const CString& begin, const CString& endMarker, COLORREF color, bool needEnd,
                             int& length, int pos, int limit) {
    length = 0;
    if (begin.IsEmpty() || endMarker.IsEmpty() || pos >= limit || pos < 0 || !Matches(pos, begin)) return pos;
    int a = pos + begin.GetLength();
    int e = -1;
    int q = m_markers.Find(m_text, endMarker, a);
    if (q >= 0) {
        e = q + endMarker.GetLength();
    } else {
        if (m_misses != nullptr) m_misses->Missed(endMarker, pos);
        if (needEnd) return pos;
        if ((q = m_markers.Find(m_text, "\n", a)) >= 0) {
            e = q;
        } else {
            int zero = m_markers.FindZero(m_text, a);
            e = zero < 0 ? m_length : zero + 1;
        }
    }
    length = e - pos;
    if (e + 1 < m_length && At(e) == '\n') ++e;
    Append(e, color);
    return e;
}

int CColorScanner::GetComment(int rule, CString& begin, CString& end, int& length, int pos, int limit) {
    return GetDelimited(m_rules.GetComment(rule), false, begin, end, length, pos, limit);
}

int CColorScanner::GetQuote(int rule, CString& begin, CString& end, int& length, int pos, int limit) {
    return GetDelimited(m_rules.GetQuote(rule), true, begin, end, length, pos, limit);
}

int CColorScanner::GetDelimited(const CDelimitedInfo* info, bool quote, CString& begin, CString& end,
                                int& length, int pos, int limit) {
    length = 0;
    if (info == nullptr) return pos;
    begin = info->Begin();
    end = info->End();
    return Delimited(begin, end, info->Color(), quote, length, pos, limit);
}

// End of the word at start: the word may take the byte at end itself, and stops after the last byte.
int CColorScanner::WordEnd(int start, int end, int flag) const {
    if (start >= end || start < 0 || !IsWordChar(At(start), flag)) return start;
    int p = start;
    for (;;) {
        if (p > end) break;
        if (p + 1 >= m_length) {
            ++p;
            break;
        }
        ++p;
        if (!IsWordChar(At(p), flag)) break;
    }
    return p;
}

// End of the title token at start: up to the next space or line feed, never splitting a pair.
int CColorScanner::TitleEnd(int start, int end) const {
    if (start >= end || start < 0) return start;
    int p = start;
    if (At(p) == ' ') return p;
    for (;;) {
        if (At(p) == '\n' || p > end) break;
        int step = StartsPair(p) ? 2 : 1;
        if (p + step >= m_length) {
            ++p;
            break;
        }
        p += step;
        if (At(p) == ' ') break;
    }
    return p;
}

int CColorScanner::GetKeywords(CString& word, int start, int end, int flag) const {
    word.Empty();
    int p = WordEnd(start, end, flag);
    try {
        word = Bytes(start, p);
    } catch (...) {
        word.Empty();
    }
    return p;
}

int CColorScanner::GetTitle(CString& word, int start, int end, int flag) const {
    word.Empty();
    int p = TitleEnd(start, end);
    try {
        word = Bytes(start, p);
    } catch (...) {
        word.Empty();
    }
    return p;
}

int CColorScanner::GetToken(CString& word, int start, int end, int flag) const {
    word.Empty();
    if (start < 0) start = 0;
    int p = start;
    while (p < end && p < m_length && !IsWordChar(At(p), flag)) ++p;
    int q = p;
    while (q < m_length && IsWordChar(At(q), flag)) ++q;
    try {
        word = Bytes(p, q);
    } catch (...) {
        word.Empty();
    }
    return p;
}

int CColorScanner::LongestMarker() const {
    int longest = 1;
    for (int i = 0; i < m_rules.GetCommentCount(); ++i) {
        const CCommentInfo* rule = m_rules.GetComment(i);
        longest = std::max({longest, rule->Begin().GetLength(), rule->End().GetLength()});
    }
    for (int i = 0; i < m_rules.GetQuoteCount(); ++i) {
        const CQuoteInfo* rule = m_rules.GetQuote(i);
        longest = std::max({longest, rule->Begin().GetLength(), rule->End().GetLength()});
    }
    return longest;
}

int CColorScanner::IsComment(int pos) const {
    for (int i = 0; i < m_rules.GetCommentCount(); ++i)
        if (Matches(pos, m_rules.GetComment(i)->Begin())) return 1;
    return 0;
}

int CColorScanner::IsQuote(int pos) const {
    for (int i = 0; i < m_rules.GetQuoteCount(); ++i)
        if (Matches(pos, m_rules.GetQuote(i)->Begin())) return 1;
    return 0;
}

// One line per run: index, end position, colour and the run's bytes (stopping at a zero byte).
void CColorScanner::WriteListing(const char* path) const {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return;
    int prev = m_runs.StartPos();
    CColorArray& runs = m_runs;
    for (int k = 0; k < runs.GetColorNumber(); ++k) {
        int stop = runs.GetColorPos(k);
        CString bytes = Bytes(prev, stop);
        std::fprintf(file, "index=%d  Pos=%5d  Color= %u  string = %s\r\n", k + 1, stop,
                     (unsigned)runs.GetAt(k), (const char*)bytes);
        prev = stop;
    }
    std::fclose(file);
}
