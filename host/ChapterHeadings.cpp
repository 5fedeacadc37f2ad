// Chapter headings of a data file, recognised from their first bytes.
#include "host/ChapterHeadings.h"

#include <cstring>

#include "documents/EditDocument.h"

namespace {
// GBK (code page 936) bytes of the heading's characters.
const char kDi[] = "\xB5\xDA";    // 第
const char kZhang[] = "\xD5\xC2"; // 章
const char kTen[] = "\xCA\xAE";   // 十
const char* const kDigits[] = {"\xD2\xBB", "\xB6\xFE", "\xC8\xFD", "\xCB\xC4", "\xCE\xE5",
                               "\xC1\xF9", "\xC6\xDF", "\xB0\xCB", "\xBE\xC5"}; // 一 to 九

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool At(const char* p, const char* end, const char* pair) {
    return end - p >= 2 && std::memcmp(p, pair, 2) == 0;
}

// The value 1 to 9 of the Chinese digit at p, or 0.
unsigned DigitAt(const char* p, const char* end) {
    for (unsigned i = 0; i < 9; ++i)
        if (At(p, end, kDigits[i])) return i + 1;
    return 0;
}

// A Chinese numeral from 1 to 99 (一, 十, 十五, 二十, 二十三) at p; moves p past it. 0 when there is none.
unsigned ChineseNumber(const char*& p, const char* end) {
    unsigned tens = DigitAt(p, end);
    if (tens != 0) p += 2;
    if (!At(p, end, kTen)) return tens; // a single digit (or nothing)
    p += 2;
    if (tens == 0) tens = 1;
    unsigned units = DigitAt(p, end);
    if (units != 0) p += 2;
    return tens * 10 + units;
}

// "Chapter" in any letter case, blanks, then a decimal number.
unsigned LatinChapter(const char* p, const char* end) {
    static const char word[] = "chapter";
    if (end - p < 8) return 0;
    for (int i = 0; i < 7; ++i)
        if ((p[i] | 0x20) != word[i]) return 0;
    p += 7;
    if (!IsBlank(*p)) return 0;
    while (p < end && IsBlank(*p)) ++p;
    unsigned number = 0;
    const char* first = p;
    while (p < end && *p >= '0' && *p <= '9' && number < 100000)
        number = number * 10 + (unsigned)(*p++ - '0');
    return p > first ? number : 0;
}
} // namespace

unsigned ChapterNumberOfHeading(const char* line, int length) {
    const char* end = line + (length > 0 ? length : 0);
    const char* p = line;
    while (p < end && IsBlank(*p)) ++p;
    if (!At(p, end, kDi)) return LatinChapter(p, end);
    p += 2;
    unsigned number = ChineseNumber(p, end);
    return number != 0 && At(p, end, kZhang) ? number : 0;
}

std::vector<ChapterHeading> FindChapterHeadings(const CEditDocument& doc, size_t limit) {
    std::vector<ChapterHeading> headings;
    long count = doc.GetLineCount();
    for (long line = 0; line < count && headings.size() < limit; ++line) {
        // Most lines are ruled out by their first byte, without copying them.
        long pos = doc.GetLineOffset(line);
        while (IsBlank(doc.GetAt(pos))) ++pos;
        char first = doc.GetAt(pos);
        if (first != kDi[0] && (first | 0x20) != 'c') continue;
        CString text = doc.GetLine(line);
        unsigned number = ChapterNumberOfHeading(text, text.GetLength());
        if (number == 0) continue;
        std::string heading((const char*)text, (size_t)text.GetLength());
        heading.erase(0, heading.find_first_not_of(" \t"));
        heading.erase(heading.find_last_not_of(" \t\r") + 1);
        headings.push_back({heading, number, line});
    }
    return headings;
}
