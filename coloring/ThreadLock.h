// CThreadLock: a recursive lock offered to owners that share a coloured buffer between threads.
#pragma once

#include "framework/base/Sync.h"

class CThreadLock {
public:
    CThreadLock() = default;
    CThreadLock(const CThreadLock&) = delete;
    CThreadLock& operator=(const CThreadLock&) = delete;

    // Enters the lock, waiting as long as needed; the holding thread may enter again.
    void ThreadLock() const { m_section.Lock(); }
    // Also waits as long as needed; returns 1 once the lock is held.
    int TryThreadLock() const {
        m_section.Lock();
        return 1;
    }
    void ThreadUnlock() const { m_section.Unlock(); }

private:
    // The operations are const for their callers; entering a lock is not a change of the owner's state.
    mutable CCriticalSection m_section;
};
