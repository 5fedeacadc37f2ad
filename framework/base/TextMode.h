// The text-mode conversion of file bytes: reading turns CR LF into LF and stops at 0x1A; writing
// turns LF into CR LF. Portable, so that it is tested and fuzzed natively; CStdioFile runs it.
#pragma once

#include <cstddef>

// What one decoding step did.
struct TextModeStep {
    size_t consumed = 0; // input bytes used
    size_t produced = 0; // output bytes written
    bool ended = false;  // a 0x1A was met (not consumed): the data ends there
};

// Converts input into at most `room` output bytes. A CR that is the last input byte stays
// unconsumed unless `inputEnds` (the byte after it decides between LF and a lone CR), so a caller
// reading in pieces keeps the unconsumed bytes and comes back with more. A CR not followed by LF,
// and every other byte, passes unchanged.
TextModeStep DecodeTextMode(const char* in, size_t count, bool inputEnds, char* out, size_t room);

// Converts input into at most `room` output bytes, a line feed as CR LF (never split between two
// calls); `consumed` receives the input bytes used. Returns the output bytes written.
size_t EncodeTextMode(const char* in, size_t count, char* out, size_t room, size_t& consumed);
