// A recursive lock (a critical section on Windows) and the start of a detached worker thread.
#pragma once

#include "PlatformTypes.h"

class CCriticalSection {
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // The owning thread may lock again; each Lock needs its Unlock.
    BOOL Lock();
    BOOL Unlock();

private:
    // Room for the platform's lock object, constructed in place (no allocation, no header leak).
    alignas(16) unsigned char m_storage[64];
};

// Holds a lock for the lifetime of a scope.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CSingleLock() { m_section.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& m_section;
};

typedef UINT (*AFX_THREADPROC)(LPVOID);

enum class ThreadPriority { Lowest, Normal };

// Starts proc(param) on a new detached thread; false when no thread could be started.
bool StartWorkerThread(AFX_THREADPROC proc, LPVOID param, ThreadPriority priority);
