// The movable-memory layer's failure seam: a countdown to the one allocation that fails.
#include "framework/base/MemoryBlock.h"

#include <atomic>

namespace memblock {
namespace {
std::atomic<int> g_countdown{0}; // allocations until the failing one, 0 when off
} // namespace

void FailAllocationAfter(int n) {
    g_countdown = n > 0 ? n : 0;
}

int FailingAllocationsLeft() {
    return g_countdown;
}

bool SeamFailsThisAllocation() {
    int left = g_countdown.load();
    while (left > 0 && !g_countdown.compare_exchange_weak(left, left - 1)) {
    }
    return left == 1;
}

} // namespace memblock
