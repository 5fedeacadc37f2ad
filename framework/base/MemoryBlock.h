// Movable memory blocks of the operating system (GlobalAlloc / GlobalLock on Windows) behind a
// narrow interface, with an equivalent for native builds. Every call tolerates a null handle.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

namespace memblock {

typedef void* Handle;

// A new movable block of bytes bytes, zero-filled when zeroFill is set; null when it cannot be had.
Handle Allocate(size_t bytes, bool zeroFill);
// The block's bytes, locked in place until Unlock; null for a null handle.
void* Lock(Handle block);
void Unlock(Handle block);
void Free(Handle block);
size_t Size(Handle block);

// Test seam: the nth allocation from now (1 = the next) fails as if memory were exhausted; 0 turns it
// off. Besides the blocks, the arrays, object lists, line indexes and undo records count here.
// FailingAllocationsLeft answers how many allocations remain before it (0 when off or spent).
void FailAllocationAfter(int n);
int FailingAllocationsLeft();
// Whether this allocation is the one the seam fails; the platform Allocate asks it first.
bool SeamFailsThisAllocation();

// The allocations the seam counts besides the blocks: each answers null, as when memory is short,
// for the allocation the seam fails.
inline void* Malloc(size_t bytes) {
    return SeamFailsThisAllocation() ? nullptr : std::malloc(bytes);
}
inline void* Realloc(void* memory, size_t bytes) {
    return SeamFailsThisAllocation() ? nullptr : std::realloc(memory, bytes);
}
template <class T, class... Args> T* New(Args&&... args) {
    return SeamFailsThisAllocation() ? nullptr : new (std::nothrow) T(std::forward<Args>(args)...);
}
template <class T> T* NewArray(size_t count) {
    return SeamFailsThisAllocation() ? nullptr : new (std::nothrow) T[count];
}

} // namespace memblock
