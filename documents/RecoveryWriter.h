// CRecoveryWriter: keeps a document's unsaved text in its recovery file, written from a snapshot on a
// worker thread so that typing never waits for the disk.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/base/String.h"
#include "text/StringEx.h"

class CDocument;

// What the last write cost, for the benches: on the user-interface thread the snapshot's copying (its
// total and its longest slice between two looks at the input queue) and the rest (the snapshot's
// allocation, the hand-over); the worker's time.
struct RecoveryWriteCost {
    long long bytes = 0;
    double copyMs = 0;
    double longestSliceMs = 0;
    int slices = 0;
    double otherMs = 0;
    double workerMs = 0;
};

// Timing: a write is due 2 s after the last edit, or 30 s after the first edit not yet written while
// the edits go on without a pause. A process-wide thread timer of the user-interface thread then
// copies the text into a snapshot in slices of 1 MB, stopping whenever input waits and going on at
// the next tick; an edit before the copied part cuts the snapshot back to the edit, since the bytes
// before it are unchanged. The finished snapshot goes to a worker thread, which writes a temporary
// file in the recovery folder, flushes it and renames it over the recovery file. One write per
// document runs at a time. The worker touches only the snapshot; the document is read on this thread.
//
// The recovery file goes when the text no longer needs it (Discard: saved, reloaded, closed): a write
// still running is cancelled and cannot rename its file afterwards (the rename and the discard take one
// lock).
class CRecoveryWriter {
public:
    CRecoveryWriter(const CDocument& document, const CStringEx& text);
    ~CRecoveryWriter();
    CRecoveryWriter(const CRecoveryWriter&) = delete;
    CRecoveryWriter& operator=(const CRecoveryWriter&) = delete;

    // The text changed at pos.
    void OnEdited(int pos);
    // No recovery file stays for this document, and none is written until the next edit.
    void Discard();
    // The document now holds the text of this existing recovery file: it is kept until discarded.
    void Adopt(const CString& file);

    // The timer's work; public for the tests and benches, which run it without waiting for the timer.
    void Tick(DWORD now);
    // True while edits wait to be written or a write runs.
    bool IsPending() const;
    // True from a snapshot's hand-over to the worker until the timer sees the write finished.
    bool IsWriting() const { return m_job != nullptr; }
    // The recovery file last written or adopted (empty when none).
    const CString& GetFile() const { return m_file; }
    const RecoveryWriteCost& GetLastCost() const { return m_cost; }

    struct Job;

private:
    bool Due(DWORD now) const;
    bool StartSnapshot();
    bool CopySlices();
    void HandOver();
    void CollectJob();
    void CancelJob();

    const CDocument& m_document;
    const CStringEx& m_text;
    bool m_dirty = false;
    DWORD m_lastEdit = 0;
    DWORD m_firstUnwritten = 0;
    // The snapshot being copied: m_snapshot[0, m_copied) equals the text's first bytes.
    std::unique_ptr<char[]> m_snapshot;
    long long m_snapshotRoom = 0;
    long long m_copied = -1; // -1: no snapshot under way
    std::shared_ptr<Job> m_job;
    CString m_file;
    CString m_untitledFile;
    RecoveryWriteCost m_cost;
    RecoveryWriteCost m_copying;
};
