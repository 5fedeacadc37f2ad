// Undo records: text blocks of the changed parts, single records and list records.
#include "undo/UndoInfo.h"

#include "framework/base/MemoryBlock.h"

#include <climits>
#include <cstring>

namespace {

const int kBlockStep = 32;

// Capacity for a block of at least size bytes, or 0 when size is not positive or would overflow.
int BlockCapacity(int size) {
    if (size <= 0 || size > INT_MAX - (kBlockStep - 1)) return 0;
    return (size + kBlockStep - 1) / kBlockStep * kBlockStep;
}

// The new block is allocated before the old one is freed; its contents are not carried over.
BOOL ReplaceBlock(char*& block, int& capacity, int size) {
    int newCapacity = BlockCapacity(size);
    char* newBlock = newCapacity ? memblock::NewArray<char>((size_t)newCapacity) : nullptr;
    delete[] block;
    block = newBlock;
    capacity = newBlock ? newCapacity : 0;
    return newBlock != nullptr;
}

// Copies length bytes of text into a fresh block; the part stays empty (and false is returned) when
// no block could be had.
bool StoreText(char*& block, int& capacity, int& partLength, const char* text, int length) {
    partLength = 0;
    if (length < 0 || length == INT_MAX || !ReplaceBlock(block, capacity, length + 1)) return false;
    if (length > 0) std::memcpy(block, text, length);
    block[length] = '\0';
    partLength = length;
    return true;
}

int TextLength(const char* text) {
    if (!text) return 0;
    size_t n = std::strlen(text);
    return n >= INT_MAX ? INT_MAX : static_cast<int>(n);
}

} // namespace

CUndoParts::~CUndoParts() {
    if (m_nInsertSize) delete[] m_pInsertText;
    if (m_nRemoveSize) delete[] m_pRemoveText;
}

BOOL CUndoParts::AllocInsertMemory(int size) {
    m_nInsertLen = 0;
    return ReplaceBlock(m_pInsertText, m_nInsertSize, size);
}

BOOL CUndoParts::AllocRemoveMemory(int size) {
    m_nRemoveLen = 0;
    return ReplaceBlock(m_pRemoveText, m_nRemoveSize, size);
}

void CUndoParts::SetInserted(int pos, const char* text, int length) {
    m_nInsertPos = pos;
    if (!StoreText(m_pInsertText, m_nInsertSize, m_nInsertLen, text, length)) m_bShort = true;
}

void CUndoParts::SetRemoved(int pos, const char* text, int length) {
    m_nRemovePos = pos;
    if (!StoreText(m_pRemoveText, m_nRemoveSize, m_nRemoveLen, text, length)) m_bShort = true;
}

void CUndoInfo::Add(int kind, int pos, const char* text) {
    m_nKind = kind;
    if (kind == UNDO_DELETE) SetRemoved(pos, text, TextLength(text));
    if (kind == UNDO_INSERT) SetInserted(pos, text, TextLength(text));
}

void CUndoInfo::Add(int pos, unsigned int ch) {
    m_nKind = UNDO_INSERT;
    char byte = static_cast<char>(ch & 0xFF);
    SetInserted(pos, &byte, 1);
}

void CUndoInfo::Add(int kind, int pos, const char* removed, const char* inserted) {
    m_nKind = kind;
    SetInserted(pos, inserted, TextLength(inserted));
    SetRemoved(pos, removed, TextLength(removed));
}

void CUndoInfo::Add(int kind, int pos, const char* removed, char inserted) {
    m_nKind = kind;
    SetInserted(pos, &inserted, inserted ? 1 : 0);
    SetRemoved(pos, removed, TextLength(removed));
}

CListUndoInfo::CListUndoInfo(int kind) {
    m_nKind = kind;
}

CListUndoInfo::~CListUndoInfo() {
    POSITION pos = m_items.GetHeadPosition();
    while (pos) delete static_cast<CUndoItem*>(m_items.GetNext(pos));
    m_items.RemoveAll();
}

CUndoItem* CListUndoInfo::NewItem() {
    CUndoItem* item = memblock::New<CUndoItem>();
    if (item && !m_items.AddHead(item)) {
        delete item;
        return nullptr;
    }
    return item;
}

template <class Fill> void CListUndoInfo::AddItem(Fill fill) {
    CUndoItem* item = NewItem();
    if (item != nullptr) fill(*item);
    if (item == nullptr || item->m_bShort) m_bShort = true;
}

void CListUndoInfo::Add(int pos, unsigned int ch) {
    char byte = static_cast<char>(ch & 0xFF);
    AddItem([&](CUndoItem& item) { item.SetInserted(pos, &byte, 1); });
}

void CListUndoInfo::Add(int pos, const char* text) {
    AddItem([&](CUndoItem& item) {
        if (m_nKind == UNDO_DELETE) item.SetRemoved(pos, text, TextLength(text));
        if (m_nKind == UNDO_INSERT) item.SetInserted(pos, text, TextLength(text));
    });
}

void CListUndoInfo::Add(int pos, const char* removed, const char* inserted) {
    AddItem([&](CUndoItem& item) {
        item.SetInserted(pos, inserted, TextLength(inserted));
        item.SetRemoved(pos, removed, TextLength(removed));
    });
}

void CListUndoInfo::Add(int pos, const char* removed, char inserted) {
    AddItem([&](CUndoItem& item) {
        item.SetInserted(pos, &inserted, inserted ? 1 : 0);
        item.SetRemoved(pos, removed, TextLength(removed));
    });
}
