#include "simulator/internal/SimCommandTable.h"

#include "framework/core/CException.h"

void SerializeSimDeviceVersion(CArchive& ar, BYTE version)
{
    if (ar.IsStoring()) {
        ar << version;
        return;
    }
    BYTE stored = 0;
    ar >> stored;
    if (stored != version)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}
