// Native lock and worker threads over the C++ standard library.
#include "framework/base/Sync.h"

#include <mutex>
#include <new>
#include <system_error>
#include <thread>

static_assert(sizeof(std::recursive_mutex) <= 64, "lock storage too small");

namespace {
std::recursive_mutex& Mutex(unsigned char* storage) { return *std::launder(reinterpret_cast<std::recursive_mutex*>(storage)); }
} // namespace

CCriticalSection::CCriticalSection() { new (m_storage) std::recursive_mutex(); }

CCriticalSection::~CCriticalSection() { Mutex(m_storage).~recursive_mutex(); }

BOOL CCriticalSection::Lock() {
    Mutex(m_storage).lock();
    return TRUE;
}

BOOL CCriticalSection::Unlock() {
    Mutex(m_storage).unlock();
    return TRUE;
}

bool StartWorkerThread(AFX_THREADPROC proc, LPVOID param, ThreadPriority) {
    try {
        std::thread(proc, param).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
