#include "model/CObjectStack.h"

IMPLEMENT_DYNAMIC(CObjectStack, CObject)

CObjectStack::CObjectStack(int maxDepth) : m_nMaxDepth(maxDepth) {}

CObjectStack::~CObjectStack()
{
    Clear();
}

void CObjectStack::Push(std::unique_ptr<CObject> snapshot)
{
    while (!m_undo.empty() && int(m_undo.size()) >= m_nMaxDepth)
        m_undo.pop_back();
    m_undo.push_front(std::move(snapshot));
    DeleteList(m_redo);
    m_current.reset();
}

void CObjectStack::SetCurrent(std::unique_ptr<CObject> snapshot)
{
    m_current = std::move(snapshot);
}

CObject* CObjectStack::Step(List& from, List& to)
{
    if (from.empty())
        return nullptr;
    to.push_front(std::move(m_current));
    m_current = std::move(from.front());
    from.pop_front();
    return m_current.get();
}

CObject* CObjectStack::Undo()
{
    return Step(m_undo, m_redo);
}

CObject* CObjectStack::Redo()
{
    return Step(m_redo, m_undo);
}

void CObjectStack::Clear()
{
    DeleteList(m_undo);
    DeleteList(m_redo);
    m_current.reset();
}
