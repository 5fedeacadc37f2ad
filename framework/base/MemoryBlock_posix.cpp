// Native movable blocks: plain heap memory with the block's size kept in a header in front.
#include "framework/base/MemoryBlock.h"

#include <cstdlib>
#include <new>

namespace memblock {
namespace {
struct alignas(std::max_align_t) Header {
    size_t bytes;
};
Header* HeaderOf(Handle block) {
    return static_cast<Header*>(block);
}
} // namespace

Handle Allocate(size_t bytes, bool zeroFill) {
    if (SeamFailsThisAllocation() || bytes > (size_t)-1 - sizeof(Header)) return nullptr;
    void* raw = zeroFill ? std::calloc(1, sizeof(Header) + bytes) : std::malloc(sizeof(Header) + bytes);
    if (raw == nullptr) return nullptr;
    HeaderOf(raw)->bytes = bytes;
    return raw;
}

void* Lock(Handle block) {
    return block ? static_cast<void*>(HeaderOf(block) + 1) : nullptr;
}

void Unlock(Handle) {}

void Free(Handle block) {
    std::free(block);
}

size_t Size(Handle block) {
    return block ? HeaderOf(block)->bytes : 0;
}

} // namespace memblock
