// Regular-expression hits line by line: the two programs, the per-line copies, the walks forward and
// back, and the expansion of replacement templates.
#include "views/model/LineRegex.h"

#include <algorithm>
#include <cstring>

#include "framework/base/ByteClass.h"
#include "framework/base/Mbcs936.h"

namespace {
// The pattern with every '^' that stands for a line's start turned into a line feed. A '^' is such
// a one where the expression class reads it so: outside a bracket set and not after a backslash; a
// GBK pair outside a set is one character (the class reads literal runs by character), inside a set
// every byte counts alone.
std::string WithoutLineStart(const std::string& pattern) {
    std::string out;
    const size_t n = pattern.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = (unsigned char)pattern[i];
        size_t take = 1;
        if (c == '\\' || (byteclass::IsGbkLead(c) && i + 1 < n)) {
            take = 2;
        } else if (c == '[') {
            size_t j = i + 1;
            if (j < n && pattern[j] == '^') ++j;
            if (j < n && (pattern[j] == ']' || pattern[j] == '-')) ++j;
            while (j < n && pattern[j] != ']') ++j;
            take = j - i + 1;
        } else if (c == '^') {
            out += '\n';
            ++i;
            continue;
        }
        out.append(pattern, i, take);
        i += take;
    }
    return out;
}

void LowerAscii(std::string& s) {
    cp936::mbslwr(reinterpret_cast<unsigned char*>(&s[0]));
}

// The bytes [start, end) of the text.
void AppendText(const CEditText& text, int start, int end, std::string& out) {
    if (end <= start) return;
    size_t at = out.size();
    out.resize(at + (size_t)(end - start));
    text.Text().Mid(start, end - start, &out[at]);
}

// The text offset one past the last byte of the line, before its line feed or the terminator.
int LineEnd(const CEditText& text, int line) {
    return line + 1 < text.LineCount() ? text.LineStart(line + 1) - 1 : text.Length() - 1;
}
} // namespace

bool CLineRegex::Compile(const char* pattern, bool matchCase) {
    m_compiled = false;
    if (pattern == nullptr || *pattern == '\0') return false;
    std::string source = pattern;
    // The pattern as written must compile: lowering never mends a malformed one.
    if (CRegExp().RegComp(source.c_str()) == nullptr) return false;
    if (!matchCase) LowerAscii(source);
    if (m_fromLineStart.RegComp(source.c_str()) == nullptr ||
        m_insideLine.RegComp(WithoutLineStart(source).c_str()) == nullptr)
        return false;
    m_matchCase = matchCase;
    m_compiled = true;
    return true;
}

void CLineRegex::CopyLine(const char* text, int start, int end) {
    m_line.assign(text + start, (size_t)(end - start));
    if (!m_matchCase && !m_line.empty()) LowerAscii(m_line);
}

bool CLineRegex::MatchFrom(int lineStart, int from, CRegexHit& hit) {
    CRegExp& program = from == 0 ? m_fromLineStart : m_insideLine;
    const char* subject = m_line.c_str() + from;
    int at = program.RegFind(subject);
    if (at < 0) return false;
    hit.start = lineStart + from + at;
    hit.end = hit.start + program.GetFindLen();
    for (int g = 0; g < CRegExp::kGroups; ++g) {
        const char *s = program.GroupStart(g), *e = program.GroupEnd(g);
        bool set = s != nullptr && e != nullptr && s >= subject && e >= s;
        hit.groupStart[g] = set ? lineStart + from + (int)(s - subject) : -1;
        hit.groupEnd[g] = set ? lineStart + from + (int)(e - subject) : -1;
    }
    return true;
}

void CLineRegex::LineHits(const char* text, int lineStart, int lineEnd, int from, const HitFilter& accept,
                          const std::function<bool(const CRegexHit&)>& take) {
    CopyLine(text, lineStart, lineEnd);
    const int size = (int)m_line.size();
    for (int column = from; column <= size;) {
        CRegexHit hit;
        if (!MatchFrom(lineStart, column, hit)) return;
        const int start = hit.start - lineStart, end = hit.end - lineStart;
        const bool taken = !accept || accept(hit.start, hit.end);
        if (taken && !take(hit)) return;
        // An empty or refused hit moves on by a character, so no search repeats itself.
        const bool pair = start + 1 < size && byteclass::IsGbkLead((unsigned char)m_line[(size_t)start]);
        column = taken && end > start ? end : start + (pair ? 2 : 1);
    }
}

void CLineRegex::EachLine(const CEditText& text, int from,
                          const std::function<bool(int start, int end)>& visit) {
    const int last = text.Length() - 1; // the terminator's offset
    const char* flat = text.Text().GetBuffer();
    if (flat == nullptr || from < 0 || from > last) return;
    for (int start = text.LineStart(text.LineOfOffset(from));;) {
        const void* feed = std::memchr(flat + start, '\n', (size_t)(last - start));
        const int end = feed != nullptr ? (int)(static_cast<const char*>(feed) - flat) : last;
        if (!visit(start, end) || end == last) return;
        start = end + 1;
    }
}

bool CLineRegex::FindFrom(const CEditText& text, int from, const HitFilter& accept, CRegexHit& hit) {
    if (!m_compiled || from < 0 || from >= text.Length()) return false;
    bool found = false;
    EachLine(text, from, [&](int start, int end) {
        LineHits(text.Text().GetBuffer(), start, end, std::max(from - start, 0), accept,
                 [&](const CRegexHit& h) {
                     hit = h;
                     found = true;
                     return false;
                 });
        return !found;
    });
    return found;
}

bool CLineRegex::FindBefore(const CEditText& text, int before, const HitFilter& accept, CRegexHit& hit) {
    if (!m_compiled || before <= 0) return false;
    if (before > text.Length() - 1) before = text.Length() - 1;
    const char* flat = text.Text().GetBuffer();
    for (int line = text.LineOfOffset(before); line >= 0 && flat != nullptr; --line) {
        bool found = false;
        LineHits(flat, text.LineStart(line), LineEnd(text, line), 0, accept, [&](const CRegexHit& h) {
            if (h.start >= before) return false;
            hit = h;
            return found = true;
        });
        if (found) return true;
    }
    return false;
}

std::string CLineRegex::Expand(const CEditText& text, const CRegexHit& hit, const char* templ) {
    std::string out;
    for (const char* p = templ != nullptr ? templ : ""; *p != '\0';) {
        char c = *p++;
        int group = -1;
        if (c == '&')
            group = 0;
        else if (c == '\\' && *p >= '0' && *p <= '9')
            group = *p++ - '0';
        if (group < 0) {
            if (c == '\\' && (*p == '\\' || *p == '&')) c = *p++;
            out += c;
            continue;
        }
        AppendText(text, hit.groupStart[group], hit.groupEnd[group], out);
    }
    return out;
}

std::vector<CTextChange> CLineRegex::ReplaceAll(const CEditText& text, const HitFilter& accept,
                                                const char* templ) {
    std::vector<CTextChange> changes;
    if (!m_compiled) return changes;
    int shift = 0;
    EachLine(text, 0, [&](int start, int end) {
        LineHits(text.Text().GetBuffer(), start, end, 0, accept, [&](const CRegexHit& h) {
            changes.push_back({h.start + shift, h.end - h.start, Expand(text, h, templ)});
            shift += (int)changes.back().text.size() - (h.end - h.start);
            return true;
        });
        return true;
    });
    return changes;
}
