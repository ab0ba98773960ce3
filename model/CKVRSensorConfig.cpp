#include "model/CKVRSensorConfig.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CKVRSensorConfig, CObject, 1)

namespace {
constexpr BYTE kVersion = 1;
} // namespace

void CKVRSensorConfig::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion;
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}
