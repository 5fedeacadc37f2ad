// CObList: node blocks, free list and the list operations.
#include "framework/base/ObList.h"

#include <cstdlib>

#include "framework/base/MemoryBlock.h"

CObList::CObList(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CObList::~CObList() {
    RemoveAll();
}

BOOL CObList::ReserveNode() {
    if (m_pNodeFree != nullptr) return TRUE;
    // One block: a header followed by m_nBlockSize nodes, all pushed onto the free list.
    void* raw = memblock::Malloc(sizeof(CBlock) + sizeof(CNode) * (size_t)m_nBlockSize);
    if (raw == nullptr) return FALSE;
    CBlock* block = static_cast<CBlock*>(raw);
    block->pNext = m_pBlocks;
    m_pBlocks = block;
    CNode* nodes = reinterpret_cast<CNode*>(block + 1);
    for (int i = m_nBlockSize - 1; i >= 0; --i) {
        nodes[i].pNext = m_pNodeFree;
        m_pNodeFree = &nodes[i];
    }
    return TRUE;
}

CObList::CNode* CObList::NewNode(CNode* pPrev, CNode* pNext) {
    if (!ReserveNode()) return nullptr;
    CNode* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    node->pPrev = pPrev;
    node->pNext = pNext;
    node->data = nullptr;
    ++m_nCount;
    return node;
}

void CObList::FreeNode(CNode* node) {
    node->pNext = m_pNodeFree;
    m_pNodeFree = node;
    if (--m_nCount == 0) RemoveAll();
}

CObject*& CObList::GetHead() {
    return m_pNodeHead->data;
}
CObject* CObList::GetHead() const {
    return m_pNodeHead->data;
}
CObject*& CObList::GetTail() {
    return m_pNodeTail->data;
}
CObject* CObList::GetTail() const {
    return m_pNodeTail->data;
}

POSITION CObList::AddHead(CObject* newElement) {
    CNode* node = NewNode(nullptr, m_pNodeHead);
    if (node == nullptr) return nullptr;
    node->data = newElement;
    if (m_pNodeHead != nullptr)
        m_pNodeHead->pPrev = node;
    else
        m_pNodeTail = node;
    m_pNodeHead = node;
    return Pos(node);
}

POSITION CObList::AddTail(CObject* newElement) {
    CNode* node = NewNode(m_pNodeTail, nullptr);
    if (node == nullptr) return nullptr;
    node->data = newElement;
    if (m_pNodeTail != nullptr)
        m_pNodeTail->pNext = node;
    else
        m_pNodeHead = node;
    m_pNodeTail = node;
    return Pos(node);
}

void CObList::AddHead(CObList* pNewList) {
    // Walking backwards keeps the other list's order at the head of this one.
    for (POSITION pos = pNewList->GetTailPosition(); pos != nullptr;) AddHead(pNewList->GetPrev(pos));
}

void CObList::AddTail(CObList* pNewList) {
    for (POSITION pos = pNewList->GetHeadPosition(); pos != nullptr;) AddTail(pNewList->GetNext(pos));
}

CObject* CObList::RemoveHead() {
    CNode* old = m_pNodeHead;
    CObject* data = old->data;
    m_pNodeHead = old->pNext;
    if (m_pNodeHead != nullptr)
        m_pNodeHead->pPrev = nullptr;
    else
        m_pNodeTail = nullptr;
    FreeNode(old);
    return data;
}

CObject* CObList::RemoveTail() {
    CNode* old = m_pNodeTail;
    CObject* data = old->data;
    m_pNodeTail = old->pPrev;
    if (m_pNodeTail != nullptr)
        m_pNodeTail->pNext = nullptr;
    else
        m_pNodeHead = nullptr;
    FreeNode(old);
    return data;
}

void CObList::RemoveAll() {
    while (m_pBlocks != nullptr) {
        CBlock* next = m_pBlocks->pNext;
        std::free(m_pBlocks);
        m_pBlocks = next;
    }
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    m_nCount = 0;
}

CObject*& CObList::GetNext(POSITION& rPosition) {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pNext);
    return node->data;
}

CObject* CObList::GetNext(POSITION& rPosition) const {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pNext);
    return node->data;
}

CObject*& CObList::GetPrev(POSITION& rPosition) {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pPrev);
    return node->data;
}

CObject* CObList::GetPrev(POSITION& rPosition) const {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pPrev);
    return node->data;
}

CObject*& CObList::GetAt(POSITION position) {
    return Node(position)->data;
}
CObject* CObList::GetAt(POSITION position) const {
    return Node(position)->data;
}
void CObList::SetAt(POSITION pos, CObject* newElement) {
    Node(pos)->data = newElement;
}

void CObList::RemoveAt(POSITION position) {
    CNode* old = Node(position);
    if (old == m_pNodeHead)
        m_pNodeHead = old->pNext;
    else
        old->pPrev->pNext = old->pNext;
    if (old == m_pNodeTail)
        m_pNodeTail = old->pPrev;
    else
        old->pNext->pPrev = old->pPrev;
    FreeNode(old);
}

POSITION CObList::InsertBefore(POSITION position, CObject* newElement) {
    if (position == nullptr) return AddHead(newElement);
    CNode* old = Node(position);
    CNode* node = NewNode(old->pPrev, old);
    if (node == nullptr) return nullptr;
    node->data = newElement;
    if (old->pPrev != nullptr)
        old->pPrev->pNext = node;
    else
        m_pNodeHead = node;
    old->pPrev = node;
    return Pos(node);
}

POSITION CObList::InsertAfter(POSITION position, CObject* newElement) {
    if (position == nullptr) return AddTail(newElement);
    CNode* old = Node(position);
    CNode* node = NewNode(old, old->pNext);
    if (node == nullptr) return nullptr;
    node->data = newElement;
    if (old->pNext != nullptr)
        old->pNext->pPrev = node;
    else
        m_pNodeTail = node;
    old->pNext = node;
    return Pos(node);
}

POSITION CObList::Find(CObject* searchValue, POSITION startAfter) const {
    CNode* node = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
    for (; node != nullptr; node = node->pNext)
        if (node->data == searchValue) return Pos(node);
    return nullptr;
}

POSITION CObList::FindIndex(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* node = m_pNodeHead;
    while (nIndex-- > 0) node = node->pNext;
    return Pos(node);
}
