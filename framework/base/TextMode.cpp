// Text-mode decoding and encoding, a plain stretch at a time.
#include "framework/base/TextMode.h"

#include <cstring>

namespace {
const char kCtrlZ = 0x1A;

// The end of the stretch from `from` up to (not including) the next CR or 0x1A, at most `limit`.
size_t PlainStretchEnd(const char* in, size_t from, size_t limit) {
    size_t stop = from;
    while (stop < limit && in[stop] != '\r' && in[stop] != kCtrlZ) ++stop;
    return stop;
}
} // namespace

TextModeStep DecodeTextMode(const char* in, size_t count, bool inputEnds, char* out, size_t room) {
    TextModeStep step;
    while (step.produced < room && step.consumed < count) {
        char c = in[step.consumed];
        if (c == kCtrlZ) {
            step.ended = true;
            break;
        }
        if (c == '\r') {
            bool last = step.consumed + 1 == count;
            if (last && !inputEnds) break;
            bool pair = !last && in[step.consumed + 1] == '\n';
            out[step.produced++] = pair ? '\n' : '\r';
            step.consumed += pair ? 2 : 1;
            continue;
        }
        size_t limit =
            count - step.consumed < room - step.produced ? count : step.consumed + (room - step.produced);
        size_t stop = PlainStretchEnd(in, step.consumed, limit);
        std::memcpy(out + step.produced, in + step.consumed, stop - step.consumed);
        step.produced += stop - step.consumed;
        step.consumed = stop;
    }
    return step;
}

size_t EncodeTextMode(const char* in, size_t count, char* out, size_t room, size_t& consumed) {
    size_t produced = 0;
    consumed = 0;
    while (consumed < count) {
        bool feed = in[consumed] == '\n';
        if (produced + (feed ? 2 : 1) > room) break;
        if (feed) out[produced++] = '\r';
        out[produced++] = in[consumed++];
    }
    return produced;
}
