// The encodings a document's file may come in besides GBK (UTF-8 with or without a signature,
// UTF-16 with one): found when the file is read, the text turned into code page 936 for the
// document, and turned back when the document is written.
#pragma once

#include <windows.h>

#include <string>

#include "framework/base/Utf8Check.h"

class CStdioFile;

// How a document's file is stored: its encoding and, for the Unicode ones, its line ends (a GBK file
// is always written with CR LF).
struct CFileFormat {
    TextEncoding encoding = kEncodingGbk;
    bool lfOnly = false;
};

// What reading a file found: its format and the first line (from 1) holding a character code page
// 936 cannot hold, 0 when there is none.
struct CFileReading {
    CFileFormat format;
    int lostLine = 0;
};

// Finds the encoding of the file just opened (when detect; otherwise it is GBK). A Unicode file is
// converted whole and the file's reads are served the GBK bytes (CStdioFile::ReadFrom); a GBK file is
// left at its start to be read as it is. size becomes the byte count the reads will deliver before
// the text-mode rules. FALSE when the file could not be read.
BOOL PrepareTextRead(CStdioFile& file, bool detect, CFileReading& reading, unsigned long long& size);

// The document's text (GBK, line feeds) as the bytes of a Unicode format; FALSE when memory or the
// conversion fails. Not for GBK, which the text-mode file writes as it is.
BOOL EncodeText(const char* text, size_t count, const CFileFormat& format, std::string& bytes);

// The name shown for the encoding: GBK, UTF-8, UTF-8 BOM, UTF-16 LE, UTF-16 BE.
const char* EncodingName(TextEncoding encoding);
