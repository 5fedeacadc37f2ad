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
    if (!record) return;
    if (m_nSuspendCount > 0) {
        delete record;
        return;
    }
    // Without this record the older ones would be replayed on a text they do not describe.
    if (!record->IsComplete() || !AddUndo(record)) {
        delete record;
        DestroyAll(m_undoList);
    }
    ClearRedoList();
}

int CUndo::Undo() {
    if (m_undoList.IsEmpty()) return -1;
    CAbstractUndoInfo* record = AsRecord(m_undoList.RemoveHead());
    m_bReplayFailed = false;
    int caret = DoUndo(record);
    if (m_bReplayFailed) return ForgetAfterFailedReplay(record);
    // Short of memory the change is still reversed, but it cannot be redone, and neither can the
    // changes undone before it (they would land on a text without it).
    if (!AddRedo(record)) {
        delete record;
        ClearRedoList();
    }
    return caret;
}

int CUndo::Redo() {
    if (m_redoList.IsEmpty()) return -1;
    CAbstractUndoInfo* record = AsRecord(m_redoList.RemoveHead());
    m_bReplayFailed = false;
    int caret = DoRedo(record);
    if (m_bReplayFailed) return ForgetAfterFailedReplay(record);
    if (!AddUndo(record)) {
        delete record;
        DestroyAll(m_undoList);
    }
    return caret;
}

// A replay the document could not make (memory ran short) leaves the text short of the record's
// change, so no record on either list describes the text any longer.
int CUndo::ForgetAfterFailedReplay(CAbstractUndoInfo* record) {
    delete record;
    DestroyAll(m_undoList);
    ClearRedoList();
    return -1;
}

void CUndo::Cancel() {
    if (!m_undoList.IsEmpty()) DoUndo(AsRecord(m_undoList.GetHead()));
}

void CUndo::DisableCheckPoint() {
    ++m_nSuspendCount;
}

void CUndo::EnableCheckPoint() {
    if (m_nSuspendCount > 0) --m_nSuspendCount;
}

// The oldest record is trimmed before the new one is listed. FALSE when no list node could be
// had; the caller then still owns the record.
BOOL CUndo::AddUndo(CAbstractUndoInfo* record) {
    if (m_undoList.GetCount() > m_nUndoDepth && !m_undoList.IsEmpty())
        delete AsRecord(m_undoList.RemoveTail());
    return m_undoList.AddHead(record) != nullptr;
}

BOOL CUndo::AddRedo(CAbstractUndoInfo* record) {
    return m_redoList.AddHead(record) != nullptr;
}

void CUndo::ClearRedoList() {
    DestroyAll(m_redoList);
}

int CUndo::DoUndo(CAbstractUndoInfo* record) {
    if (record->IsListType()) return UndoList(static_cast<CListUndoInfo*>(record));
    CUndoInfo* info = static_cast<CUndoInfo*>(record);
    if (info->m_nKind == UNDO_INSERT) {
        Delete(info->m_nInsertPos, info->m_nInsertLen);
        ScrollToCurrent(info->m_nInsertPos);
        return info->m_nInsertPos;
    }
    if (info->m_nKind != UNDO_DELETE) Delete(info->m_nInsertPos, info->m_nInsertLen);
    Insert(info->m_nRemovePos, info->RemovedText());
    int caret = info->m_nRemovePos + info->m_nRemoveLen;
    ScrollToCurrent(caret);
    return caret;
}

int CUndo::DoRedo(CAbstractUndoInfo* record) {
    if (record->IsListType()) return RedoList(static_cast<CListUndoInfo*>(record));
    CUndoInfo* info = static_cast<CUndoInfo*>(record);
    if (info->m_nKind == UNDO_DELETE) {
        Delete(info->m_nRemovePos, info->m_nRemoveLen);
        ScrollToCurrent(info->m_nRemovePos);
        return info->m_nRemovePos;
    }
    if (info->m_nKind != UNDO_INSERT) Delete(info->m_nRemovePos, info->m_nRemoveLen);
    Insert(info->m_nInsertPos, info->InsertedText());
    ScrollToCurrent(info->m_nInsertPos);
    // A replacement puts the caret in front of the new text but reports the end of it.
    return info->m_nInsertPos + (info->m_nKind == UNDO_INSERT ? 0 : info->m_nInsertLen);
}

// Newest item first: each item is reversed in the text its own change left behind.
int CUndo::UndoList(CListUndoInfo* record) {
    int caret = -1;
    POSITION pos = record->m_items.GetHeadPosition();
    while (pos) {
        CUndoItem* item = static_cast<CUndoItem*>(record->m_items.GetNext(pos));
        if (record->m_nKind == UNDO_INSERT) {
            Delete(item->m_nInsertPos, item->m_nInsertLen);
            caret = item->m_nInsertPos + item->m_nInsertLen;
        } else {
            if (record->m_nKind != UNDO_DELETE) Delete(item->m_nInsertPos, item->m_nInsertLen);
            Insert(item->m_nRemovePos, item->RemovedText());
            caret = item->m_nRemovePos + item->m_nRemoveLen;
        }
        ScrollToCurrent(caret);
    }
    return caret;
}

// Oldest item first: each item's positions were taken after the older items had been applied,
// so this order re-applies a run whose replacements change the text's length exactly.
int CUndo::RedoList(CListUndoInfo* record) {
    int caret = -1;
    POSITION pos = record->m_items.GetTailPosition();
    while (pos) {
        CUndoItem* item = static_cast<CUndoItem*>(record->m_items.GetPrev(pos));
        if (record->m_nKind == UNDO_DELETE) {
            Delete(item->m_nRemovePos, item->m_nRemoveLen);
            caret = item->m_nRemovePos;
        } else {
            if (record->m_nKind != UNDO_INSERT) Delete(item->m_nRemovePos, item->m_nRemoveLen);
            Insert(item->m_nInsertPos, item->InsertedText());
            caret = item->m_nInsertPos + (record->m_nKind == UNDO_INSERT ? 0 : item->m_nInsertLen);
        }
        ScrollToCurrent(caret);
    }
    return caret;
}
