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

#include <algorithm>
#include <iterator>
#include <list>

class CArchive;

struct PositionTag {};
using POSITION = PositionTag*;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    // A block size for callers that give one; nodes are allocated one by one here.
    explicit CList(int /*nBlockSize*/ = 10) {}
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int GetCount() const { return int(m_nodes.size()); }
    BOOL IsEmpty() const { return m_nodes.empty(); }

    TYPE& GetHead() { return NonEmpty().front().data; }
    const TYPE& GetHead() const { return NonEmpty().front().data; }
    TYPE& GetTail() { return NonEmpty().back().data; }
    const TYPE& GetTail() const { return NonEmpty().back().data; }

    TYPE RemoveHead()
    {
        TYPE value = std::move(NonEmpty().front().data);
        m_nodes.pop_front();
        return value;
    }
    TYPE RemoveTail()
    {
        TYPE value = std::move(NonEmpty().back().data);
        m_nodes.pop_back();
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return Insert(m_nodes.begin(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return Insert(m_nodes.end(), newElement); }

    void RemoveAll() { m_nodes.clear(); }

    POSITION GetHeadPosition() const { return m_nodes.empty() ? nullptr : ToPosition(m_nodes.front()); }
    POSITION GetTailPosition() const { return m_nodes.empty() ? nullptr : ToPosition(m_nodes.back()); }

    // The element at rPosition; rPosition moves on (null after the last).
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, true); }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, true); }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, false); }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, false); }

    TYPE& GetAt(POSITION position) { return FromPosition(position).data; }
    const TYPE& GetAt(POSITION position) const { return FromPosition(position).data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { FromPosition(position).data = newElement; }
    void RemoveAt(POSITION position) { m_nodes.erase(FromPosition(position).self); }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        return Insert(position ? FromPosition(position).self : m_nodes.begin(), newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        return Insert(position ? std::next(FromPosition(position).self) : m_nodes.end(), newElement);
    }

    // The first element equal to searchValue after startAfter (from the head when null).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        const auto from = startAfter ? typename Nodes::const_iterator(std::next(FromPosition(startAfter).self)) : m_nodes.begin();
        const auto found = std::find_if(from, m_nodes.end(), [&](const Node& node) { return node.data == searchValue; });
        return found == m_nodes.end() ? nullptr : ToPosition(*found);
    }
    // The position of the nIndex-th element from the head, or null.
    POSITION FindIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
        return ToPosition(*std::next(m_nodes.begin(), nIndex));
    }

private:
    // A POSITION is the address of a node; the node knows where it sits in the list,
    // so that stepping from a POSITION needs no search.
    struct Node;
    using Nodes = std::list<Node>;
    struct Node {
        TYPE data;
        typename Nodes::iterator self;
    };

    static POSITION ToPosition(const Node& node) { return reinterpret_cast<POSITION>(const_cast<Node*>(&node)); }
    static Node& FromPosition(POSITION position)
    {
        if (!position) AfxThrowInvalidArgException();
        return *reinterpret_cast<Node*>(position);
    }
    Nodes& NonEmpty()
    {
        if (m_nodes.empty()) AfxThrowInvalidArgException();
        return m_nodes;
    }
    const Nodes& NonEmpty() const { return const_cast<CList*>(this)->NonEmpty(); }

    // The element at rPosition; rPosition moves to its neighbour, null past either end.
    TYPE& Step(POSITION& rPosition, bool forward) const
    {
        Node& node = FromPosition(rPosition);
        auto at = node.self;
        if (forward)
            rPosition = ++at == m_nodes.end() ? nullptr : ToPosition(*at);
        else
            rPosition = at == m_nodes.begin() ? nullptr : ToPosition(*--at);
        return node.data;
    }

    POSITION Insert(typename Nodes::iterator before, ARG_TYPE value)
    {
        const auto placed = m_nodes.insert(before, Node{value, {}});
        placed->self = placed;
        return ToPosition(*placed);
    }

    Nodes m_nodes;
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
