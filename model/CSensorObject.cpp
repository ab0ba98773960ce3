#include "model/CSensorObject.h"

#include "framework/core/CArchive.h"

IMPLEMENT_DYNAMIC(CSensorObject, CObject)

namespace {
constexpr BYTE kVersion = 2;
constexpr BYTE kVersionWithoutMark = 1;
// Files hold the time stamp this many seconds ahead.
constexpr std::time_t kStoredTimeOffset = 32400;
} // namespace

CSensorObject::CSensorObject() : m_time(CTime::GetCurrentTime()) {}

CSensorObject::CSensorObject(const CSensorObject& other) : CSensorObject() { CopyFrom(other); }

void CSensorObject::CopyFrom(const CSensorObject& other)
{
    m_sensorType = other.m_sensorType;
    m_time = other.m_time;
    m_nModified = 1;
}

void CSensorObject::DrawBeams(CDC*) const {}

void CSensorObject::DrawOutlineOnLayer(CDC* pDC, int layer) const
{
    if (layer == m_sensorType.GetLayer()) DrawOutline(pDC);
}

void CSensorObject::DrawFilledOnLayer(CDC* pDC, int layer) const
{
    if (layer == m_sensorType.GetLayer()) DrawFilled(pDC);
}

void CSensorObject::DrawHandlesOnLayer(CDC* pDC, int layer) const
{
    if (layer == m_sensorType.GetLayer()) DrawHandles(pDC);
}

void CSensorObject::DrawBeamsOnLayer(CDC* pDC, int layer) const
{
    if (layer == m_sensorType.GetLayer()) DrawBeams(pDC);
}

void CSensorObject::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion;
        m_sensorType.Serialize(ar);
        ar << DWORD(m_time.GetTime() + kStoredTimeOffset) << WORD(m_nModified);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion && version != kVersionWithoutMark)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    CSensorType type;
    type.Serialize(ar);
    // Unsigned: a stored time beyond 2038 stays in the future.
    DWORD storedTime = 0;
    ar >> storedTime;
    WORD mark = 0;
    if (version == kVersion) ar >> mark;
    m_sensorType = type;
    m_time = CTime(std::time_t(storedTime) - kStoredTimeOffset);
    m_nModified = mark;
}
