#include "model/ArchiveOwnership.h"

#include "framework/core/CArchive.h"

std::unique_ptr<CObject> ReadOwnedObject(CArchive& ar, const CRuntimeClass* pClass)
{
    const DWORD knownBefore = ar.GetMapCount();
    CObject* pObject = ar.ReadObject(pClass);
    // A new object always enters the archive's map; a back-reference does not.
    if (pObject && ar.GetMapCount() == knownBefore)
        AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
    return std::unique_ptr<CObject>(pObject);
}
