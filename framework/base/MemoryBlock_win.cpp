// Windows movable blocks: GlobalAlloc with GMEM_MOVEABLE, locked while the caller holds the bytes.
#include "framework/base/MemoryBlock.h"

#include <windows.h>

namespace memblock {

Handle Allocate(size_t bytes, bool zeroFill) {
    if (SeamFailsThisAllocation()) return nullptr;
    return GlobalAlloc(GMEM_MOVEABLE | (zeroFill ? GMEM_ZEROINIT : 0), bytes);
}

void* Lock(Handle block) {
    return block ? GlobalLock(block) : nullptr;
}

void Unlock(Handle block) {
    if (block) GlobalUnlock(block);
}

void Free(Handle block) {
    if (block) GlobalFree(block);
}

size_t Size(Handle block) {
    return block ? GlobalSize(block) : 0;
}

} // namespace memblock
