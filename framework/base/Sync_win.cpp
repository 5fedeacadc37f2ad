// Windows lock (a critical section) and worker threads (CreateThread with a priority).
#include "framework/base/Sync.h"

#include <new>

static_assert(sizeof(CRITICAL_SECTION) <= 64, "lock storage too small");

namespace {
CRITICAL_SECTION* Section(unsigned char* storage) { return reinterpret_cast<CRITICAL_SECTION*>(storage); }

struct ThreadStart {
    AFX_THREADPROC proc;
    LPVOID param;
};

DWORD WINAPI ThreadEntry(LPVOID arg) {
    ThreadStart start = *static_cast<ThreadStart*>(arg);
    delete static_cast<ThreadStart*>(arg);
    return start.proc(start.param);
}
} // namespace

CCriticalSection::CCriticalSection() { InitializeCriticalSection(Section(m_storage)); }

CCriticalSection::~CCriticalSection() { DeleteCriticalSection(Section(m_storage)); }

BOOL CCriticalSection::Lock() {
    EnterCriticalSection(Section(m_storage));
    return TRUE;
}

BOOL CCriticalSection::Unlock() {
    LeaveCriticalSection(Section(m_storage));
    return TRUE;
}

bool StartWorkerThread(AFX_THREADPROC proc, LPVOID param, ThreadPriority priority) {
    ThreadStart* start = new (std::nothrow) ThreadStart{proc, param};
    if (start == nullptr) return false;
    HANDLE thread = CreateThread(nullptr, 0, ThreadEntry, start, CREATE_SUSPENDED, nullptr);
    if (thread == nullptr) {
        delete start;
        return false;
    }
    if (priority == ThreadPriority::Lowest) SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    ResumeThread(thread);
    CloseHandle(thread);
    return true;
}
