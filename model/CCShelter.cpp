#include "model/CCShelter.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CCShelter, CBaseShelter, 1)

void CCShelter::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) return;
    LoadBase(ar);
    BYTE version = 0;
    ar >> version;
    if (version != 1) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}
