// CTypingGroup: which typed characters share one undo step, and the bytes a record holds.
#pragma once

#include <cstddef>

#include "undo/UndoInfo.h"

// The group of characters typed one after another that one undo step takes back. A typed character
// joins the group's record when it is put in where the group's text ends, less than a second after
// the one before (the second byte of a two-byte character always joins); a typed space or line feed
// joins and then closes the group, and so does anything else that reaches the history.
//
// Invariant: m_pRecord is null while the group is closed; while open it is the record the group's
// characters went into, which the owner keeps at the head of its undo list.
class CTypingGroup {
public:
    static const unsigned long kPauseMs = 1000;

    // Whether the typed record, made at now (milliseconds of any steady clock), continues the group
    // whose record is head (the newest record of the history).
    bool Continues(const CAbstractUndoInfo* head, const CUndoInfo& typed, unsigned long now) const;
    // The typed record went into record (a new one or the group's own) at now.
    void Typed(CUndoInfo* record, const CUndoInfo& typed, unsigned long now);
    void Close() { m_pRecord = nullptr; }
    CUndoInfo* Record() const { return m_pRecord; }

private:
    CUndoInfo* m_pRecord = nullptr;
    unsigned long m_nLastTime = 0;
    bool m_bLeadPending = false; // the last typed byte began a two-byte character
};

// Appends the typed character's parts to the group's record, which then replaces the bytes it
// removed and the ones typed removed by the texts of both. FALSE, with record as it was, when memory
// is short.
BOOL ExtendTyping(CUndoInfo& record, const CUndoInfo& typed);
// The bytes a record takes: its object, its items and their text blocks.
size_t RecordBytes(const CAbstractUndoInfo* record);
