// CUndo: keeping, trimming and replaying the undo and redo histories.
#include "undo/Undo.h"

namespace {

CAbstractUndoInfo* AsRecord(CObject* object) {
    return static_cast<CAbstractUndoInfo*>(object);
}

void DestroyAll(CObList& list) {
    POSITION pos = list.GetHeadPosition();
    while (pos) delete AsRecord(list.GetNext(pos));
    list.RemoveAll();
}

} // namespace

CUndo::CUndo(long depth, long second) : m_nSecondLimit(second), m_nUndoDepth(depth) {}

CUndo::~CUndo() {
    DestroyAll(m_undoList);
    ClearRedoList();
}

void CUndo::SetUndoInfo(CAbstractUndoInfo* record) {
    m_typing.Close();
    if (!record) return;
    if (m_nSuspendCount > 0) {
        delete record;
        return;
    }
    // Without this record the older ones would be replayed on a text they do not describe.
    if (!record->IsComplete() || !AddUndo(record)) {
        delete record;
        ForgetUndoList();
    }
    ClearRedoList();
}

void CUndo::SetDeepHistory(BOOL on, size_t byteLimit) {
    m_bDeepHistory = on != FALSE;
    m_nByteLimit = byteLimit;
    m_typing.Close();
    if (m_bDeepHistory) TrimUndoList();
}

// A character that cannot join its group's record (memory ran short) still gets a record of its own.
void CUndo::SetTypedUndoInfo(CUndoInfo* record, unsigned long now) {
    if (!m_bDeepHistory || m_nSuspendCount > 0 || record == nullptr || !record->IsComplete())
        return SetUndoInfo(record);
    CUndoInfo* group = m_typing.Record();
    CAbstractUndoInfo* head = m_undoList.IsEmpty() ? nullptr : AsRecord(m_undoList.GetHead());
    if (m_typing.Continues(head, *record, now)) {
        size_t before = RecordBytes(group);
        if (ExtendTyping(*group, *record)) {
            m_nUndoBytes += RecordBytes(group) - before;
            m_typing.Typed(group, *record, now);
            delete record;
            ClearRedoList();
            TrimUndoList();
            return;
        }
    }
    SetUndoInfo(record);
    if (!m_undoList.IsEmpty() && m_undoList.GetHead() == record) m_typing.Typed(record, *record, now);
}

// A replay the document could not make (memory ran short) is taken back, and the record stays where
// it was for another try; if even that fails the text stands between two states no record
// describes, and both histories are forgotten.
int CUndo::Undo() {
    m_typing.Close();
    if (m_undoList.IsEmpty()) return -1;
    CAbstractUndoInfo* record = AsRecord(m_undoList.GetHead());
    int caret = DoUndo(record);
    if (m_replay != kReplayed) return m_replay == kBroken ? ForgetAfterFailedReplay() : -1;
    TakeUndoHead();
    // Short of memory the change is still reversed, but it cannot be redone, and neither can the
    // changes undone before it (they would land on a text without it).
    if (!AddRedo(record)) {
        delete record;
        ClearRedoList();
    }
    return caret;
}

int CUndo::Redo() {
    m_typing.Close();
    if (m_redoList.IsEmpty()) return -1;
    CAbstractUndoInfo* record = AsRecord(m_redoList.GetHead());
    int caret = DoRedo(record);
    if (m_replay != kReplayed) return m_replay == kBroken ? ForgetAfterFailedReplay() : -1;
    m_redoList.RemoveHead();
    if (!AddUndo(record)) {
        delete record;
        ForgetUndoList();
    }
    return caret;
}

int CUndo::ForgetAfterFailedReplay() {
    ForgetUndoList();
    ClearRedoList();
    return -1;
}

BOOL CUndo::ApplyRecord(CAbstractUndoInfo* record) {
    DoRedo(record);
    if (m_replay == kBroken) ForgetAfterFailedReplay();
    return m_replay == kReplayed;
}

void CUndo::Cancel() {
    m_typing.Close();
    if (m_undoList.IsEmpty()) return;
    DoUndo(AsRecord(m_undoList.GetHead()));
    if (m_replay == kBroken) ForgetAfterFailedReplay();
}

void CUndo::DisableCheckPoint() {
    m_typing.Close();
    ++m_nSuspendCount;
}

void CUndo::EnableCheckPoint() {
    if (m_nSuspendCount > 0) --m_nSuspendCount;
}

// The oldest record is trimmed before the new one is listed, or with deep history after it, by
// bytes. FALSE when no list node could be had; the caller then still owns the record.
BOOL CUndo::AddUndo(CAbstractUndoInfo* record) {
    if (!m_bDeepHistory) TrimUndoList();
    if (!m_bDeepHistory && m_undoList.GetCount() > m_nUndoDepth && !m_undoList.IsEmpty()) DropOldest();
    if (m_undoList.AddHead(record) == nullptr) return FALSE;
    m_nUndoBytes += RecordBytes(record);
    if (m_bDeepHistory) TrimUndoList();
    return TRUE;
}

// Down to the depth (once deep history is switched off, one more record than the depth stays for
// the caller to trim) or with deep history to the byte limit, always keeping the newest record.
void CUndo::TrimUndoList() {
    while (m_undoList.GetCount() > 1 &&
           (m_bDeepHistory ? m_nUndoBytes > m_nByteLimit : m_undoList.GetCount() > m_nUndoDepth + 1))
        DropOldest();
}

void CUndo::DropOldest() {
    CAbstractUndoInfo* oldest = AsRecord(m_undoList.RemoveTail());
    m_nUndoBytes -= RecordBytes(oldest);
    delete oldest;
}

CAbstractUndoInfo* CUndo::TakeUndoHead() {
    CAbstractUndoInfo* head = AsRecord(m_undoList.RemoveHead());
    m_nUndoBytes -= RecordBytes(head);
    return head;
}

void CUndo::ForgetUndoList() {
    m_typing.Close();
    DestroyAll(m_undoList);
    m_nUndoBytes = 0;
}

BOOL CUndo::AddRedo(CAbstractUndoInfo* record) {
    return m_redoList.AddHead(record) != nullptr;
}

void CUndo::ClearRedoList() {
    DestroyAll(m_redoList);
}

int CUndo::DoUndo(CAbstractUndoInfo* record) {
    if (record->IsListType()) return ReplayList(static_cast<CListUndoInfo*>(record), true);
    CUndoInfo* info = static_cast<CUndoInfo*>(record);
    m_replay = ReplayParts(info->m_nKind, *info, true);
    if (m_replay != kReplayed) return -1;
    int caret = info->m_nKind == UNDO_INSERT ? info->m_nInsertPos : info->m_nRemovePos + info->m_nRemoveLen;
    ScrollToCurrent(caret);
    return caret;
}

int CUndo::DoRedo(CAbstractUndoInfo* record) {
    if (record->IsListType()) return ReplayList(static_cast<CListUndoInfo*>(record), false);
    CUndoInfo* info = static_cast<CUndoInfo*>(record);
    m_replay = ReplayParts(info->m_nKind, *info, false);
    if (m_replay != kReplayed) return -1;
    // A replacement puts the caret in front of the new text but reports the end of it.
    ScrollToCurrent(info->m_nKind == UNDO_DELETE ? info->m_nRemovePos : info->m_nInsertPos);
    return RedoneCaret(info->m_nKind, *info);
}

// The position a redo reports: the end of the text a replacement put in, the front of an insertion.
int CUndo::RedoneCaret(int kind, const CUndoParts& parts) {
    if (kind == UNDO_DELETE) return parts.m_nRemovePos;
    return parts.m_nInsertPos + (kind == UNDO_INSERT ? 0 : parts.m_nInsertLen);
}

// Undoing takes out the text the change put in and puts back the text it took out; redoing the
// reverse. An insertion only puts in and a deletion only takes out.
CUndo::Replay CUndo::ReplayParts(int kind, const CUndoParts& parts, bool undo) {
    int outPos = undo ? parts.m_nInsertPos : parts.m_nRemovePos;
    int outLen = undo ? parts.m_nInsertLen : parts.m_nRemoveLen;
    const char* outText = undo ? parts.InsertedText() : parts.RemovedText();
    bool takesOut = kind != (undo ? UNDO_DELETE : UNDO_INSERT);
    bool putsIn = kind != (undo ? UNDO_INSERT : UNDO_DELETE);
    m_bReplayFailed = false;
    if (takesOut) Delete(outPos, outLen);
    if (m_bReplayFailed) return kRefused;
    if (putsIn)
        Insert(undo ? parts.m_nRemovePos : parts.m_nInsertPos,
               undo ? parts.RemovedText() : parts.InsertedText());
    if (!m_bReplayFailed) return kReplayed;
    if (!takesOut) return kRefused;
    m_bReplayFailed = false;
    Insert(outPos, outText); // the first step taken back
    return m_bReplayFailed ? kBroken : kRefused;
}

// Undoing walks the items newest first, each reversed in the text its own change left behind;
// redoing walks them oldest first, as each item's positions were taken after the older items had
// been applied. An item that cannot be replayed has the items before it taken back.
int CUndo::ReplayList(CListUndoInfo* record, bool undo) {
    int caret = -1;
    CObList& items = record->m_items;
    POSITION pos = undo ? items.GetHeadPosition() : items.GetTailPosition();
    while (pos) {
        POSITION failed = pos;
        auto* item = static_cast<CUndoItem*>(undo ? items.GetNext(pos) : items.GetPrev(pos));
        m_replay = ReplayParts(record->m_nKind, *item, undo);
        if (m_replay != kReplayed) {
            if (m_replay == kRefused && !TakeBackList(record, failed, undo)) m_replay = kBroken;
            return -1;
        }
        if (!undo)
            caret = RedoneCaret(record->m_nKind, *item);
        else if (record->m_nKind == UNDO_INSERT)
            caret = item->m_nInsertPos + item->m_nInsertLen;
        else
            caret = item->m_nRemovePos + item->m_nRemoveLen;
        ScrollToCurrent(caret);
    }
    m_replay = kReplayed;
    return caret;
}

// Replays the other way, newest first, the items a list replay made before the one at failed.
bool CUndo::TakeBackList(CListUndoInfo* record, POSITION failed, bool undo) {
    CObList& items = record->m_items;
    POSITION pos = failed;
    undo ? items.GetPrev(pos) : items.GetNext(pos);
    while (pos) {
        auto* item = static_cast<CUndoItem*>(undo ? items.GetPrev(pos) : items.GetNext(pos));
        if (ReplayParts(record->m_nKind, *item, !undo) != kReplayed) return false;
    }
    return true;
}
