// Which lines of the host's data files are chapter headings: 第…章 (with Chinese numerals) or
// Chapter N in any letter case, after leading blanks.
#pragma once

#include <string>
#include <vector>

class CEditDocument;

struct ChapterHeading {
    std::string text; // the heading line without its leading blanks and trailing blanks
    unsigned number;  // the chapter's number
    long line;        // the line it stands on
};

// The chapter number of a heading line of length bytes (no line break), or 0 when it is none.
unsigned ChapterNumberOfHeading(const char* line, int length);

// The document's headings in text order, at most limit of them.
std::vector<ChapterHeading> FindChapterHeadings(const CEditDocument& doc, size_t limit);
