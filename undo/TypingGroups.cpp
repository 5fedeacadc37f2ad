// CTypingGroup: joining typed characters into one record, and what records weigh.
#include "undo/TypingGroups.h"

#include <climits>
#include <cstring>

#include "framework/base/MemoryBlock.h"

namespace {

const int kBlockStep = 32;
// A list node: the links and the element.
const size_t kNodeBytes = sizeof(void*) * 3;

// Text followed by more in a block that doubles as it fills, so a long group grows in amortised
// constant time. FALSE (block untouched) when memory is short.
bool AppendText(char*& block, int& capacity, int& length, const char* more, int moreLength) {
    if (moreLength <= 0) return true;
    if (length > INT_MAX - kBlockStep * 2 - moreLength) return false;
    int needed = length + moreLength + 1;
    if (needed > capacity) {
        int grown = capacity > INT_MAX / 2 ? needed : capacity * 2;
        int size = needed > grown ? needed : grown;
        size = (size + kBlockStep - 1) / kBlockStep * kBlockStep;
        char* bigger = memblock::NewArray<char>((size_t)size);
        if (bigger == nullptr) return false;
        if (length > 0) std::memcpy(bigger, block, (size_t)length);
        if (capacity) delete[] block;
        block = bigger;
        capacity = size;
    }
    std::memcpy(block + length, more, (size_t)moreLength);
    length += moreLength;
    block[length] = '\0';
    return true;
}

size_t PartsBytes(const CUndoParts& parts) {
    return (size_t)parts.m_nInsertSize + (size_t)parts.m_nRemoveSize;
}

} // namespace

bool CTypingGroup::Continues(const CAbstractUndoInfo* head, const CUndoInfo& typed, unsigned long now) const {
    if (m_pRecord == nullptr || head != m_pRecord) return false;
    if (!m_bLeadPending && now - m_nLastTime >= kPauseMs) return false;
    bool typedKind = typed.m_nKind == UNDO_INSERT || typed.m_nKind == UNDO_REPLACE;
    return typedKind && typed.m_nInsertLen > 0 &&
           typed.m_nInsertPos == m_pRecord->m_nInsertPos + m_pRecord->m_nInsertLen;
}

void CTypingGroup::Typed(CUndoInfo* record, const CUndoInfo& typed, unsigned long now) {
    const char* text = typed.InsertedText();
    bool single = typed.m_nInsertLen == 1;
    m_bLeadPending = !m_bLeadPending && single && (text[0] & 0x80) != 0;
    m_nLastTime = now;
    bool ends = single && (text[0] == ' ' || text[0] == '\n');
    m_pRecord = ends ? nullptr : record;
}

BOOL ExtendTyping(CUndoInfo& record, const CUndoInfo& typed) {
    int insertLen = record.m_nInsertLen, removeLen = record.m_nRemoveLen;
    if (!AppendText(record.m_pInsertText, record.m_nInsertSize, insertLen, typed.m_pInsertText,
                    typed.m_nInsertLen))
        return FALSE;
    if (!AppendText(record.m_pRemoveText, record.m_nRemoveSize, removeLen, typed.m_pRemoveText,
                    typed.m_nRemoveLen)) {
        record.m_pInsertText[record.m_nInsertLen] = '\0'; // the appended bytes are cut off again
        return FALSE;
    }
    record.m_nInsertLen = insertLen;
    record.m_nRemoveLen = removeLen;
    // Both parts of a typing group start where its first character went in.
    record.m_nRemovePos = record.m_nInsertPos;
    record.m_nKind = removeLen > 0 ? UNDO_REPLACE : UNDO_INSERT;
    return TRUE;
}

size_t RecordBytes(const CAbstractUndoInfo* record) {
    if (record == nullptr) return 0;
    auto* self = const_cast<CAbstractUndoInfo*>(record);
    if (!self->IsListType())
        return kNodeBytes + sizeof(CUndoInfo) + PartsBytes(*static_cast<const CUndoInfo*>(record));
    auto* list = static_cast<const CListUndoInfo*>(record);
    size_t bytes = kNodeBytes + sizeof(CListUndoInfo);
    POSITION pos = list->m_items.GetHeadPosition();
    while (pos) {
        auto* item = static_cast<const CUndoItem*>(list->m_items.GetNext(pos));
        bytes += kNodeBytes + sizeof(CUndoItem) + PartsBytes(*item);
    }
    return bytes;
}
