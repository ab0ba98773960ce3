#include "model/CBaseShelter.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CBaseShelter, CTalsData, 1)

namespace {

constexpr BYTE kVersionColours = 1;
constexpr BYTE kVersionLimits = 2;

} // namespace

CBaseShelter::CBaseShelter(int minDistance, int maxDistance, int step, COLORREF fill)
    : m_nMinDistance(minDistance), m_nMaxDistance(maxDistance), m_nDistanceStep(step), m_crFill(fill)
{
}

void CBaseShelter::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) return;
    LoadBase(ar);
}

void CBaseShelter::LoadBase(CArchive& ar)
{
    CTalsData::Serialize(ar);
    BYTE version = 0;
    ar >> version;
    if (version != kVersionColours && version != kVersionLimits)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    int cx = 0, cy = 0;
    ar >> m_crFill >> m_crHandle >> cx >> cy;
    m_handleSize = CSize(cx, cy);
    if (version != kVersionLimits) return;
    short minDistance = 0, maxDistance = 0, step = 0;
    WORD maxLow = 0, stepLow = 0;
    ar >> minDistance >> maxDistance >> step >> maxLow >> stepLow;
    m_nMinDistance = minDistance;
    m_nMaxDistance = int((DWORD(int(maxDistance)) & 0xFFFF0000u) | maxLow);
    m_nDistanceStep = int((DWORD(int(step)) & 0xFFFF0000u) | stepLow);
}
