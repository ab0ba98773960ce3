#pragma once
// Doubly linked lists walked by POSITION: CList<TYPE> and the
// three lists built on it, CObList (object pointers, serialisable), CPtrList (untyped
// pointers) and CStringList. Lists of pointers do not own what they point to.
//
// A POSITION stays valid until its element is removed. A null POSITION, or an empty list
// where an element is needed, throws CInvalidArgException.
#include "framework/core/CException.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

class CArchive;

struct PositionTag {};
using POSITION = PositionTag*;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    // A block size for callers that give one; nodes are allocated one by one here.
    explicit CList(int /*nBlockSize*/ = 10) {}
    ~CList() override { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pTail)->data; }

    TYPE RemoveHead()
    {
        Node* node = NonEmpty(m_pHead);
        TYPE value = node->data;
        Unlink(node);
        return value;
    }
    TYPE RemoveTail()
    {
        Node* node = NonEmpty(m_pTail);
        TYPE value = node->data;
        Unlink(node);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }

    void RemoveAll()
    {
        while (m_pHead) Unlink(m_pHead);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pTail); }

    // The element at rPosition; rPosition moves on (null after the last).
    TYPE& GetNext(POSITION& rPosition)
    {
        Node* node = FromPosition(rPosition);
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        Node* node = FromPosition(rPosition);
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        Node* node = FromPosition(rPosition);
        rPosition = ToPosition(node->pPrev);
        return node->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        Node* node = FromPosition(rPosition);
        rPosition = ToPosition(node->pPrev);
        return node->data;
    }

    TYPE& GetAt(POSITION position) { return FromPosition(position)->data; }
    const TYPE& GetAt(POSITION position) const { return FromPosition(position)->data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { FromPosition(position)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(FromPosition(position)); }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        Node* next = position ? FromPosition(position) : m_pHead;
        return ToPosition(Link(next ? next->pPrev : nullptr, next, newElement));
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        Node* prev = position ? FromPosition(position) : m_pTail;
        return ToPosition(Link(prev, prev ? prev->pNext : nullptr, newElement));
    }

    // The first element equal to searchValue after startAfter (from the head when null).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        Node* node = startAfter ? FromPosition(startAfter)->pNext : m_pHead;
        for (; node; node = node->pNext)
            if (node->data == searchValue) return ToPosition(node);
        return nullptr;
    }
    // The position of the nIndex-th element from the head, or null.
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
        Node* node = m_pHead;
        while (nIndex-- > 0) node = node->pNext;
        return ToPosition(node);
    }

private:
    struct Node {
        Node* pNext;
        Node* pPrev;
        TYPE data;
    };

    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* FromPosition(POSITION position)
    {
        if (!position) AfxThrowInvalidArgException();
        return reinterpret_cast<Node*>(position);
    }
    static Node* NonEmpty(Node* node)
    {
        if (!node) AfxThrowInvalidArgException();
        return node;
    }

    // The list owns its nodes: they are made only here and freed only in Unlink.
    Node* Link(Node* prev, Node* next, ARG_TYPE value)
    {
        Node* node = new Node{next, prev, value};
        (prev ? prev->pNext : m_pHead) = node;
        (next ? next->pPrev : m_pTail) = node;
        ++m_nCount;
        return node;
    }
    void Unlink(Node* node)
    {
        (node->pPrev ? node->pPrev->pNext : m_pHead) = node->pNext;
        (node->pNext ? node->pNext->pPrev : m_pTail) = node->pPrev;
        --m_nCount;
        delete node;
    }

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
};

// Object pointers. Serialize writes the count (WORD, or 0xFFFF + DWORD) and every element
// by pointer; loading appends what it reads.
class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    using CList::CList;
    void Serialize(CArchive& ar) override;
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    using CList::CList;
};

// Serialize writes the count and every string; loading appends what it reads.
class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    using CList::CList;
    void Serialize(CArchive& ar) override;
};
