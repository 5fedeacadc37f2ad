// Running one operation with one allocation failing, through the memory layer's failure seam.
#pragma once

#include "framework/base/MemoryBlock.h"

// Runs operation with the n-th allocation from now on failing, then disarms the seam; returns
// whether the operation reached allocation n (when it did not, it ran as if nothing failed, and a
// loop over n has tried every allocation).
template <class Operation> bool WithAllocationFailing(int n, Operation&& operation) {
    memblock::FailAllocationAfter(n);
    operation();
    bool reached = memblock::FailingAllocationsLeft() == 0;
    memblock::FailAllocationAfter(0);
    return reached;
}
