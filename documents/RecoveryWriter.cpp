// The recovery writer: the timer that finds due writes, the sliced snapshot and the worker thread.
#include "documents/RecoveryWriter.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <vector>

#include "documents/RecoveryFiles.h"
#include "framework/base/Sync.h"
#include "framework/win/Document.h"

namespace {
const DWORD kQuietMs = 2000;
const DWORD kLongestWaitMs = 30000;
const UINT kTickMs = 100;
const int kSlice = 1 << 20;
const double kLookEveryMs = 1.0;

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

// The writers with edits to write or a write running; the thread timer runs while there is one.
std::vector<CRecoveryWriter*> g_waiting;
UINT_PTR g_timer = 0;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    DWORD now = ::GetTickCount();
    const std::vector<CRecoveryWriter*> writers = g_waiting;
    for (CRecoveryWriter* writer : writers)
        if (std::find(g_waiting.begin(), g_waiting.end(), writer) != g_waiting.end()) writer->Tick(now);
    g_waiting.erase(std::remove_if(g_waiting.begin(), g_waiting.end(),
                                   [](CRecoveryWriter* writer) { return !writer->IsPending(); }),
                    g_waiting.end());
    if (g_waiting.empty() && g_timer != 0) {
        ::KillTimer(nullptr, g_timer);
        g_timer = 0;
    }
}

void Wait(CRecoveryWriter* writer) {
    if (std::find(g_waiting.begin(), g_waiting.end(), writer) == g_waiting.end()) g_waiting.push_back(writer);
    if (g_timer == 0) g_timer = ::SetTimer(nullptr, 0, kTickMs, OnTimer);
}

void StopWaiting(CRecoveryWriter* writer) {
    g_waiting.erase(std::remove(g_waiting.begin(), g_waiting.end(), writer), g_waiting.end());
}

// Input (or a posted message) waiting for the user-interface thread.
bool InputWaiting() {
    return HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0;
}
} // namespace

// One write: the snapshot and where it goes. The worker owns it with the writer; cancelled and
// renamed change only under the lock (the worker also looks at cancelled between slices).
struct CRecoveryWriter::Job {
    std::unique_ptr<char[]> text;
    long long size = 0;
    CString target;
    CString originalPath;
    CString folder;
    CCriticalSection lock;
    std::atomic<bool> cancelled{false};
    bool renamed = false;
    std::atomic<bool> done{false};
    double workerMs = 0;
};

namespace {
bool WriteText(CRecoveryWriter::Job& job, HANDLE file) {
    if (!recovery::WriteHeader(file, job.originalPath, (ULONGLONG)job.size)) return false;
    for (long long at = 0; at < job.size; at += kSlice) {
        if (job.cancelled) return false;
        DWORD count = (DWORD)std::min<long long>(kSlice, job.size - at), written = 0;
        if (!::WriteFile(file, job.text.get() + at, count, &written, nullptr) || written != count)
            return false;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

// The worker: a temporary file in the recovery folder, flushed whole, then renamed over the target,
// so a crash at any point leaves either the old recovery file or the new one.
UINT WriteJob(LPVOID param) {
    auto* holder = static_cast<std::shared_ptr<CRecoveryWriter::Job>*>(param);
    std::shared_ptr<CRecoveryWriter::Job> job = *holder;
    delete holder;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    char temporary[MAX_PATH];
    bool ok = ::GetTempFileNameA(job->folder, "rcv", 0, temporary) != 0;
    if (ok) {
        HANDLE file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ok = file != INVALID_HANDLE_VALUE && WriteText(*job, file);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        CSingleLock hold(job->lock);
        job->renamed =
            ok && !job->cancelled &&
            ::MoveFileExA(temporary, job->target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!job->renamed) ::DeleteFileA(temporary);
    }
    job->text.reset();
    job->workerMs = MillisecondsSince(start);
    job->done = true;
    return 0;
}
} // namespace

CRecoveryWriter::CRecoveryWriter(const CDocument& document, const CStringEx& text)
    : m_document(document), m_text(text) {}

CRecoveryWriter::~CRecoveryWriter() {
    Discard();
}

void CRecoveryWriter::OnEdited(int pos) {
    if (!recovery::IsEnabled()) return;
    DWORD now = ::GetTickCount();
    if (!m_dirty) m_firstUnwritten = now;
    m_dirty = true;
    m_lastEdit = now;
    if (m_copied > pos) m_copied = std::max(pos, 0);
    Wait(this);
}

void CRecoveryWriter::Discard() {
    CancelJob();
    if (!m_file.IsEmpty()) ::DeleteFileA(m_file);
    m_file.Empty();
    m_dirty = false;
    m_snapshot.reset();
    m_snapshotRoom = 0;
    m_copied = -1;
    StopWaiting(this);
}

void CRecoveryWriter::Adopt(const CString& file) {
    Discard();
    m_file = file;
}

bool CRecoveryWriter::IsPending() const {
    return m_dirty || m_job != nullptr;
}

void CRecoveryWriter::Tick(DWORD now) {
    CollectJob();
    if (m_job != nullptr) return; // one write at a time
    if (!recovery::IsEnabled()) { // switched off: nothing more to write
        m_dirty = false;
        m_copied = -1;
        m_snapshot.reset();
    }
    if (!m_dirty) return;
    if (m_copied < 0 && !Due(now)) return;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    if (m_copied < 0 && !StartSnapshot()) return;
    m_copying.otherMs += MillisecondsSince(start);
    if (!CopySlices()) return;
    ::QueryPerformanceCounter(&start);
    HandOver();
    m_cost.otherMs += MillisecondsSince(start);
}

bool CRecoveryWriter::Due(DWORD now) const {
    return now - m_lastEdit >= kQuietMs || now - m_firstUnwritten >= kLongestWaitMs;
}

bool CRecoveryWriter::StartSnapshot() {
    long long size = std::max(m_text.GetTextSize() - 1, 0);
    long long room = size + kSlice;
    m_snapshot.reset(new (std::nothrow) char[(size_t)room]);
    if (m_snapshot == nullptr) return false;
    m_snapshotRoom = room;
    m_copied = 0;
    m_copying = RecoveryWriteCost();
    return true;
}

// Copies slice after slice until the snapshot is whole (true) or input waits (false). The queue is
// looked at after a tick's first slice and then once a millisecond of copying has gone by since the
// last look (under Wine each look is a round trip to the server, dearer than a slice).
bool CRecoveryWriter::CopySlices() {
    int size = std::max(m_text.GetTextSize() - 1, 0);
    if (size > m_snapshotRoom && !StartSnapshot()) return false;
    if (m_copied > size) m_copied = 0;
    double sinceLook = kLookEveryMs; // a tick looks after its first slice
    do {
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        int from = (int)m_copied, to = std::min(size, from + kSlice);
        const char *first = nullptr, *second = nullptr;
        int firstSize = 0, secondSize = 0;
        if (to > from) m_text.GetPieces(from, to, first, firstSize, second, secondSize);
        if (firstSize > 0) std::memcpy(m_snapshot.get() + from, first, (size_t)firstSize);
        if (secondSize > 0) std::memcpy(m_snapshot.get() + from + firstSize, second, (size_t)secondSize);
        m_copied = to;
        double ms = MillisecondsSince(start);
        m_copying.copyMs += ms;
        m_copying.longestSliceMs = std::max(m_copying.longestSliceMs, ms);
        ++m_copying.slices;
        sinceLook += ms;
        if (sinceLook < kLookEveryMs) continue;
        if (InputWaiting()) break;
        sinceLook = 0;
    } while (m_copied < size);
    return m_copied >= size;
}

void CRecoveryWriter::HandOver() {
    const CString& path = m_document.GetPathName();
    if (path.IsEmpty() && m_untitledFile.IsEmpty()) m_untitledFile = recovery::FileFor(nullptr);
    auto job = std::make_shared<Job>();
    job->target = path.IsEmpty() ? m_untitledFile : recovery::FileFor(path);
    job->originalPath = path;
    job->folder = recovery::Folder();
    job->size = m_copied;
    job->text = std::move(m_snapshot);
    m_snapshotRoom = 0;
    m_copied = -1;
    // Without a folder nothing is written until the next edit.
    m_dirty = false;
    if (job->target.IsEmpty() || job->folder.IsEmpty()) return;
    m_copying.bytes = job->size;
    m_cost = m_copying;
    auto* holder = new (std::nothrow) std::shared_ptr<Job>(job);
    if (holder == nullptr || !StartWorkerThread(WriteJob, holder, ThreadPriority::Normal)) {
        delete holder;
        m_dirty = true;
        return;
    }
    m_job = job;
}

// A finished write's file is the recovery file now; one under an earlier name goes.
void CRecoveryWriter::CollectJob() {
    if (m_job == nullptr || !m_job->done) return;
    m_cost.workerMs = m_job->workerMs;
    if (m_job->renamed) {
        if (!m_file.IsEmpty() && m_file != m_job->target) ::DeleteFileA(m_file);
        m_file = m_job->target;
    }
    m_job.reset();
}

// A running write is told to stop; if it has already renamed its file, that file goes.
void CRecoveryWriter::CancelJob() {
    if (m_job == nullptr) return;
    {
        CSingleLock hold(m_job->lock);
        m_job->cancelled = true;
        if (m_job->renamed) ::DeleteFileA(m_job->target);
    }
    m_job.reset();
}
