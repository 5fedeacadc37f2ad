// Reading into the block, growing it in 64 KiB steps only when the data outgrows it.
#include "text/TextLoad.h"

#include <climits>
#include <cstring>

namespace {
const unsigned kReadChunk = 1024;
const unsigned long long kBlockStep = 65536;

void NulsToSpaces(char* at, unsigned count) {
    for (char* p = static_cast<char*>(std::memchr(at, 0, count)); p != nullptr;
         p = static_cast<char*>(std::memchr(p, 0, (size_t)(at + count - p))))
        *p = ' ';
}
} // namespace

int TextBlockSizeFor(unsigned long long size) {
    unsigned long long block = (size / kBlockStep + 1) * kBlockStep;
    return block <= (unsigned long long)INT_MAX ? (int)block : 0;
}

long LoadTextBlocks(CStringEx& text, CTextSource& source, bool keepNul,
                    const std::function<void(long total)>& afterRead) {
    long total = 0;
    for (;;) {
        long room = text.GetCapacity() - 1 - total;
        unsigned count = 0;
        char* at = nullptr;
        if (room > 0) {
            at = text.GetBuffer() + total;
            count = source.Read(at, room < (long)kReadChunk ? (unsigned)room : kReadChunk);
        } else {
            // Full: the data either ends here or grew while it was read, and only then does the
            // block grow.
            char overflow[kReadChunk];
            count = source.Read(overflow, kReadChunk);
            if (count > 0) {
                text.SetLength((int)total);
                int block = TextBlockSizeFor((unsigned long long)total + kReadChunk);
                if (block == 0 || !text.SetBufferSize(block)) return -1;
                at = text.GetBuffer() + total;
                std::memcpy(at, overflow, count);
            }
        }
        if (source.Failed()) return -1;
        if (!keepNul && count > 0) NulsToSpaces(at, count);
        total += (long)count;
        afterRead(total);
        if (count == 0) return total;
    }
}
