#include "KVRFieldStub.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(KVRFieldStub, CShelter, 0)

void KVRFieldStub::Serialize(CArchive& ar)
{
    CShelter::Serialize(ar);
    if (ar.IsStoring())
        ar << m_radius;
    else
        ar >> m_radius;
}
