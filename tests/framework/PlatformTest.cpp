// Movable memory blocks, the recursive lock and worker threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "framework/base/MemoryBlock.h"
#include "framework/base/Sync.h"

namespace {

TEST(MemoryBlock, ZeroFilledBlocksKeepTheirBytesAndSize) {
    memblock::Handle h = memblock::Allocate(65536, true);
    ASSERT_GE(memblock::Size(h), 65536u);
    unsigned char* p = static_cast<unsigned char*>(memblock::Lock(h));
    for (int i = 0; i < 65536; i += 4096) EXPECT_EQ(p[i], 0) << i;
    std::memset(p, 'x', 65536);
    memblock::Unlock(h);
    EXPECT_EQ(static_cast<unsigned char*>(memblock::Lock(h))[65535], 'x');
    memblock::Unlock(h);
    memblock::Free(h);
    EXPECT_EQ(memblock::Lock(nullptr), nullptr);
    EXPECT_EQ(memblock::Size(nullptr), 0u);
    memblock::Unlock(nullptr);
    memblock::Free(nullptr);
    EXPECT_EQ(memblock::Allocate((size_t)-1 / 2, false), nullptr); // an impossible request fails cleanly
}

struct Shared {
    CCriticalSection lock;
    long counter = 0;
    std::atomic<int> done{0};
};

UINT AddMany(LPVOID arg) {
    Shared* shared = static_cast<Shared*>(arg);
    for (int i = 0; i < 100000; ++i) {
        CSingleLock hold(shared->lock);
        CSingleLock again(shared->lock); // recursive: the owner may enter twice
        shared->counter += 1;
    }
    shared->done += 1;
    return 0;
}

TEST(Sync, TwoWorkerThreadsUnderOneLockLoseNoIncrement) {
    Shared shared;
    ASSERT_TRUE(StartWorkerThread(AddMany, &shared, ThreadPriority::Lowest));
    ASSERT_TRUE(StartWorkerThread(AddMany, &shared, ThreadPriority::Normal));
    for (int i = 0; i < 6000 && shared.done < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(shared.done.load(), 2);
    CSingleLock hold(shared.lock);
    EXPECT_EQ(shared.counter, 200000);
}

} // namespace
