// Undo records: single changes (CUndoInfo) and groups of changes of one kind (CListUndoInfo).
#pragma once

#include "framework/base/ObList.h"

// Record kinds. Any kind other than insertion and deletion describes a replacement.
enum {
    UNDO_DELETE = -1,
    UNDO_REPLACE = 0,
    UNDO_INSERT = 1,
};

// Common base of the records the undo manager keeps.
class CAbstractUndoInfo : public CObject {
public:
    // Nonzero for a list record, whose changes are CUndoItem objects.
    virtual int IsListType() = 0;
    // FALSE when memory ran short while the record was filled: it does not hold the whole change, and
    // replaying it would give a wrong text.
    virtual BOOL IsComplete() const = 0;

    int m_nKind = 0;

protected:
    CAbstractUndoInfo() = default;
};

// The text fields of one change, shared by CUndoInfo and CUndoItem.
//
// The inserted part is (m_nInsertPos, m_nInsertLen, m_pInsertText), the removed part is
// (m_nRemovePos, m_nRemoveLen, m_pRemoveText). Each text is a private NUL-terminated copy in a block
// of m_nInsertSize (m_nRemoveSize) bytes: the length plus one rounded up to a multiple of 32.
// Invariants: a capacity is 0 exactly when its text is null; then the part's length is 0;
// otherwise length < capacity and text[length] == 0.
struct CUndoParts {
    int m_nInsertSize = 0;
    int m_nRemoveSize = 0;
    int m_nInsertPos = 0;
    int m_nInsertLen = 0;
    int m_nRemovePos = 0;
    int m_nRemoveLen = 0;
    char* m_pInsertText = nullptr;
    char* m_pRemoveText = nullptr;
    bool m_bShort = false; // a part's text could not be stored

    CUndoParts() = default;
    ~CUndoParts();
    CUndoParts(const CUndoParts&) = delete;
    CUndoParts& operator=(const CUndoParts&) = delete;

    // Replace a block by a new, uninitialised one of size rounded up to a multiple of 32 bytes.
    // FALSE (and the part left without a block) when size is not positive or memory is short.
    BOOL AllocInsertMemory(int size);
    BOOL AllocRemoveMemory(int size);
    // Give a part a copy of the first length bytes of text. A part whose block could not be had
    // is left empty, so a replay of it changes nothing rather than reading freed memory.
    void SetInserted(int pos, const char* text, int length);
    void SetRemoved(int pos, const char* text, int length);

    // The texts as the replay hands them on: never null.
    const char* InsertedText() const { return m_pInsertText ? m_pInsertText : ""; }
    const char* RemovedText() const { return m_pRemoveText ? m_pRemoveText : ""; }
};

// One change of a document's text. The kind is set by the first Add.
class CUndoInfo : public CAbstractUndoInfo, public CUndoParts {
public:
    CUndoInfo() = default;

    int IsListType() override { return 0; }
    BOOL IsComplete() const override { return !m_bShort; }

    // Kind -1 keeps text as the removed part, kind 1 as the inserted part; other kinds keep only the kind.
    void Add(int kind, int pos, const char* text);
    // One typed character: an insertion of the low byte of ch.
    void Add(int pos, unsigned int ch);
    // Both parts at pos: what was removed there and what was put in its place.
    void Add(int kind, int pos, const char* removed, const char* inserted);
    // As above with one inserted character; the NUL character inserts nothing.
    void Add(int kind, int pos, const char* removed, char inserted);

protected:
    using CUndoParts::AllocInsertMemory;
    using CUndoParts::AllocRemoveMemory;
};

// One change inside a list record; it takes its kind from the record. All fields start empty.
class CUndoItem : public CObject, public CUndoParts {
public:
    CUndoItem() = default;
};

// A group of changes of one kind that one undo step reverses, such as a replace-all.
// m_items holds CUndoItem objects owned by the record, newest at the head; each item's positions
// refer to the text as it stood after every older item had been applied.
class CListUndoInfo : public CAbstractUndoInfo {
public:
    explicit CListUndoInfo(int kind);
    ~CListUndoInfo() override;

    int IsListType() override { return 1; }
    BOOL IsComplete() const override { return !m_bShort; }

    // An item inserting the low byte of ch, whatever the record's kind.
    void Add(int pos, unsigned int ch);
    // An item whose removed (kind -1) or inserted (kind 1) part is text; other kinds add an empty item.
    void Add(int pos, const char* text);
    // An item with both parts at pos.
    void Add(int pos, const char* removed, const char* inserted);
    void Add(int pos, const char* removed, char inserted);

    CObList m_items{10};

private:
    // A new item at the head of the list, or null when memory is short.
    CUndoItem* NewItem();
    // Stores one item's parts; the record is short from then on if they could not be had.
    template <class Fill> void AddItem(Fill fill);

    bool m_bShort = false;
};
