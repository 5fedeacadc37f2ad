// The loop that reads a file's bytes into a text buffer's block, shared by both documents and
// portable, so that it is fuzzed natively.
#pragma once

#include <functional>

#include "text/StringEx.h"

// Where loaded bytes come from: a text-mode file in the documents, a made-up file in tests.
class CTextSource {
public:
    virtual ~CTextSource() = default;
    // Up to count bytes into buffer; 0 at the end of the data (or on a failure).
    virtual unsigned Read(char* buffer, unsigned count) = 0;
    virtual bool Failed() const = 0;
};

// The block for a text of size bytes: the next multiple of 64 KiB strictly above it (so the
// terminator always fits); 0 when that does not fit a text position.
int TextBlockSizeFor(unsigned long long size);

// Reads the source into the text's block from its start, up to 1024 bytes at a time straight into
// the block, one byte always left for the terminator. The block grows only when it is full and the
// source still gives bytes (the file grew while it was read). NULs become spaces unless keepNul.
// Calls afterRead(total) after each read. Returns the bytes read, or -1 on a failed read or a
// block that could not grow. The text's length is not set past what it was.
long LoadTextBlocks(CStringEx& text, CTextSource& source, bool keepNul,
                    const std::function<void(long total)>& afterRead);
