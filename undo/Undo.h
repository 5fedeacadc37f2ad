// CUndo: a document's undo and redo histories and their replay through the document's text operations.
#pragma once

#include <cstddef>

#include "undo/TypingGroups.h"
#include "undo/UndoInfo.h"

class CArchive;

// Base class of every document. The views hand it one record per change (SetUndoInfo); Undo and
// Redo replay records by calling back Insert, Delete and ScrollToCurrent, which the document
// implements on its buffer and views. Serialize and DeleteContents are implemented once by the
// document for this base and for its framework base together.
//
// Invariants: m_undoList holds at most m_nUndoDepth + 1 records (at least one may always be kept),
// or with deep history as many as fit in m_nByteLimit bytes (at least the newest), newest at the
// head; m_nUndoBytes is what its records weigh; m_redoList is newest at the head and is emptied by every new
// record; every record in either list is owned here and sits in exactly one list. The destructor is protected
// and not virtual: a CUndo is only ever destroyed as part of its document.
class CUndo {
public:
    explicit CUndo(long depth = 8, long second = 32768);

    virtual void Serialize(CArchive& archive) = 0;
    virtual void DeleteContents() = 0;
    // Inserts the NUL-terminated text at pos.
    virtual void Insert(int pos, const char* text) = 0;
    // Removes count bytes at pos.
    virtual void Delete(int pos, int count) = 0;
    // Puts the caret of the document's view at pos with an empty selection.
    virtual void ScrollToCurrent(int pos) = 0;

    int CanUndo() const { return m_undoList.IsEmpty() ? 0 : 1; }
    int CanRedo() const { return m_redoList.IsEmpty() ? 0 : 1; }

    // Takes ownership of record; while recording is suspended the record is destroyed at once.
    void SetUndoInfo(CAbstractUndoInfo* record);
    // Whether SetUndoInfo can list one more record without allocating (asked before a change, so
    // that a change is refused rather than left without its record).
    BOOL CanTakeRecord() { return m_nSuspendCount > 0 || m_undoList.ReserveNode(); }
    // Reverse the newest change (Undo) or re-apply the newest undone one (Redo); the caret
    // position reached, or -1 when there was nothing to replay or the document could not make it.
    int Undo();
    int Redo();
    // Reverses the newest change but keeps it where it is, at the head of the undo list.
    void Cancel();
    // Forgets both histories (the text was replaced as a whole).
    void ClearHistory() { ForgetAfterFailedReplay(); }

    // Deep history: the undo list bounded by its records' bytes (the oldest go once they pass
    // byteLimit) rather than by the depth, and typed characters grouped into one step. Switching it
    // off trims the list back to the depth at the next record.
    static const size_t kDeepHistoryBytes = (size_t)64 << 20;
    void SetDeepHistory(BOOL on, size_t byteLimit = kDeepHistoryBytes);
    BOOL IsDeepHistory() const { return m_bDeepHistory; }
    // A typed character's record (an insertion, or a replacement of what it overwrote or of the
    // selection), made at now in milliseconds: listed as SetUndoInfo lists it, except that with deep
    // history a character continuing the typing group joins the group's record.
    void SetTypedUndoInfo(CUndoInfo* record, unsigned long now);
    // The caret moved: the next typed character starts a new step.
    void EndTypingGroup() { m_typing.Close(); }

    // Suspend and resume recording; the calls nest.
    void DisableCheckPoint();
    void EnableCheckPoint();

protected:
    ~CUndo();
    // Called by the document when one of its Insert or Delete calls could not change the text.
    void ReplayFailed() { m_bReplayFailed = true; }
    // Makes the change the record describes as Redo would, taking back what it made when it cannot
    // make all of it; TRUE when it made all. The record is not listed.
    BOOL ApplyRecord(CAbstractUndoInfo* record);

private:
    CUndo(const CUndo&) = delete;
    CUndo& operator=(const CUndo&) = delete;

    BOOL AddUndo(CAbstractUndoInfo* record);
    void TrimUndoList();
    void DropOldest();
    CAbstractUndoInfo* TakeUndoHead();
    void ForgetUndoList();
    BOOL AddRedo(CAbstractUndoInfo* record);
    void ClearRedoList();
    int ForgetAfterFailedReplay();
    // How the last replay went: made whole; refused with the text as it was; or failed part way and
    // could not be taken back.
    enum Replay { kReplayed, kRefused, kBroken };
    int DoUndo(CAbstractUndoInfo* record);
    int DoRedo(CAbstractUndoInfo* record);
    static int RedoneCaret(int kind, const CUndoParts& parts);
    Replay ReplayParts(int kind, const CUndoParts& parts, bool undo);
    int ReplayList(CListUndoInfo* record, bool undo);
    bool TakeBackList(CListUndoInfo* record, POSITION failed, bool undo);

    CObList m_undoList{10};
    CObList m_redoList{10};
    [[maybe_unused]] long m_nSecondLimit; // kept for the documents' construction, consulted nowhere
    long m_nUndoDepth;
    long m_nSuspendCount = 0;
    bool m_bReplayFailed = false;
    bool m_bDeepHistory = false;
    size_t m_nByteLimit = kDeepHistoryBytes;
    size_t m_nUndoBytes = 0;
    CTypingGroup m_typing;
    Replay m_replay = kReplayed;
};
