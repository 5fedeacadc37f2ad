// What a document knows of its file on disk, and the reading of bytes appended to a file.
#pragma once

#include <windows.h>

#include <string>

#include "framework/base/String.h"

// A file's size and last write time, or its absence.
struct CDiskStamp {
    bool exists = false;
    ULONGLONG size = 0;
    FILETIME written = {};

    static CDiskStamp Of(LPCSTR path);
    bool operator==(const CDiskStamp& other) const {
        return exists == other.exists && size == other.size &&
               ::CompareFileTime(&written, &other.written) == 0;
    }
    bool operator!=(const CDiskStamp& other) const { return !(*this == other); }
};

// Invariants: path is empty exactly when there is nothing to watch; the file's bytes [0, consumed)
// are in the text (as the text file format reads them), head holds the file's first bytes and tail
// the bytes just before consumed, as they were when read.
struct CDiskState {
    static const size_t kHeadBytes = 4096;
    static const size_t kTailBytes = 64;

    CString path;
    CDiskStamp stamp;              // the file as the text knows it
    CDiskStamp declined;           // the change the user chose not to reload
    bool deletionReported = false; // the file's absence was reported
    bool reloadPending = false;    // a reload waits for the file to be free to read
    ULONGLONG consumed = 0;
    bool dataEnded = false; // a 0x1A ended the data: nothing after it is text
    std::string head;
    std::string tail;
};

// Up to count raw bytes of the file from offset (shared with every writer); FALSE when it cannot be
// read.
BOOL ReadRawBytes(LPCSTR path, ULONGLONG offset, size_t count, std::string& out);

// Raw bytes appended to a file as text: CR LF becomes LF, 0x1A ends the data, a NUL becomes a space
// unless keepNul. What could still change meaning with the next bytes is held back, unconsumed: a
// CR (an LF may follow), the lead byte of a two-byte character and, with keepNul, a final NUL (a
// file's final NUL is its terminator). The raw bytes start on a character boundary.
struct CAppendedText {
    std::string text;
    size_t consumed = 0; // raw bytes taken
    bool ended = false;  // a 0x1A was met
};
CAppendedText DecodeAppended(const char* raw, size_t count, bool keepNul);
