#pragma once
// The undo and redo store of an edited object: snapshots before each change on a
// bounded undo list, the undone ones on a redo list, and the snapshot of the state
// shown now. The store owns every snapshot it holds.
#include "framework/core/CObject.h"

#include <deque>
#include <memory>

class CObjectStack : public CObject {
    DECLARE_DYNAMIC(CObjectStack)
public:
    explicit CObjectStack(int maxDepth);
    ~CObjectStack() override;
    CObjectStack(const CObjectStack&) = delete;
    CObjectStack& operator=(const CObjectStack&) = delete;

    // The state before a change. Drops the oldest snapshot beyond the depth, the redo
    // list and the current snapshot.
    void Push(std::unique_ptr<CObject> snapshot);
    // The state after the change; replaces (and deletes) any current snapshot.
    void SetCurrent(std::unique_ptr<CObject> snapshot);

    // The snapshot to restore, or null. It stays the store's current snapshot; the
    // caller copies from it.
    CObject* Undo();
    CObject* Redo();

    BOOL CanUndo() const { return !m_undo.empty(); }
    BOOL CanRedo() const { return !m_redo.empty(); }

    void Clear();

private:
    using List = std::deque<std::unique_ptr<CObject>>; // newest at the front

    static void DeleteList(List& list) { list.clear(); }
    // Moves the current snapshot (even none) to the head of 'to' and makes the head of
    // 'from' current.
    CObject* Step(List& from, List& to);

    List m_undo;
    List m_redo;
    std::unique_ptr<CObject> m_current;
    int m_nMaxDepth;
};
