#include "app/CGraphObject.h"

IMPLEMENT_DYNAMIC(CGraphObject, CPrintObject)

namespace {

std::unique_ptr<CSensorObject> CloneOf(const CSensorObject* object)
{
    return object ? object->Clone() : nullptr;
}

} // namespace

CGraphObject::CGraphObject(const CSensorObject* pFirst, const CSensorObject* pSecond, const CSensorObject* pThird)
    : CPrintObject(FALSE, 0, 0), m_pFirst(CloneOf(pFirst)), m_pSecond(CloneOf(pSecond)), m_pThird(CloneOf(pThird))
{
}

int CGraphObject::Print(CDC*, const CRect&, BOOL) { return 0; }
