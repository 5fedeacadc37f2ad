// CThreadLock: re-entry by the holder, and a second thread waiting until the lock is released.
#include "coloring/ThreadLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(ThreadLock, HolderMayEnterAgain) {
    CThreadLock lock;
    lock.ThreadLock();
    EXPECT_EQ(lock.TryThreadLock(), 1);
    lock.ThreadUnlock();
    lock.ThreadUnlock();
}

TEST(ThreadLock, TryWaitsForAnotherHolder) {
    CThreadLock lock;
    std::atomic<int> stage{0};
    lock.ThreadLock();
    std::thread other([&] {
        stage = 1;
        int got = lock.TryThreadLock();
        stage = got == 1 ? 2 : -1;
        lock.ThreadUnlock();
    });
    while (stage.load() == 0) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(stage.load(), 1); // still waiting while this thread holds the lock
    lock.ThreadUnlock();
    other.join();
    EXPECT_EQ(stage.load(), 2);
}

} // namespace
