// CObList: a doubly linked list of CObject pointers, iterated through POSITION values.
//
// Nodes come from blocks of m_nBlockSize nodes, recycled through a free list, so a list that grows
// and shrinks does one allocation per block. Blocks are released when the list becomes empty.
// The list never owns the objects it points to.
#pragma once

#include "framework/base/Object.h"

struct __POSITION {};
typedef __POSITION* POSITION;

class CObList : public CObject {
public:
    explicit CObList(int nBlockSize = 10);
    ~CObList() override;

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    CObject*& GetHead();
    CObject* GetHead() const;
    CObject*& GetTail();
    CObject* GetTail() const;

    // Both return null when the node cannot be allocated.
    POSITION AddHead(CObject* newElement);
    POSITION AddTail(CObject* newElement);
    void AddHead(CObList* pNewList);
    void AddTail(CObList* pNewList);

    // The list must not be empty.
    CObject* RemoveHead();
    CObject* RemoveTail();
    void RemoveAll();

    POSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
    POSITION GetTailPosition() const { return Pos(m_pNodeTail); }
    // The element at rPosition; rPosition moves to the next (previous) one, null past the end.
    CObject*& GetNext(POSITION& rPosition);
    CObject* GetNext(POSITION& rPosition) const;
    CObject*& GetPrev(POSITION& rPosition);
    CObject* GetPrev(POSITION& rPosition) const;
    CObject*& GetAt(POSITION position);
    CObject* GetAt(POSITION position) const;
    void SetAt(POSITION pos, CObject* newElement);
    void RemoveAt(POSITION position);
    POSITION InsertBefore(POSITION position, CObject* newElement);
    POSITION InsertAfter(POSITION position, CObject* newElement);

    POSITION Find(CObject* searchValue, POSITION startAfter = nullptr) const;
    // Makes sure the next insertion needs no allocation; FALSE when memory is short.
    BOOL ReserveNode();
    POSITION FindIndex(int nIndex) const;

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        CObject* data;
    };
    struct CBlock {
        CBlock* pNext;
    };

    static POSITION Pos(CNode* node) { return reinterpret_cast<POSITION>(node); }
    static CNode* Node(POSITION pos) { return reinterpret_cast<CNode*>(pos); }
    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* node);

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    int m_nCount = 0;
    CNode* m_pNodeFree = nullptr;
    CBlock* m_pBlocks = nullptr;
    int m_nBlockSize;
};
