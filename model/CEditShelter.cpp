#include "model/CEditShelter.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CEditShelter, CTalsData, 1)

namespace {

constexpr int kVersionWithoutTime = 2;
constexpr int kVersionWithTime = 3;

int ReadWord(CArchive& ar)
{
    WORD value = 0;
    ar >> value;
    return value;
}

} // namespace

void CEditShelter::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) return;
    const int version = s_nLegacyVersion;
    if (version != kVersionWithoutTime && version != kVersionWithTime)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    CTalsData::Serialize(ar);
    m_nKindSelector = ReadWord(ar);
    for (DWORD& value : m_values)
        ar >> value;
    m_nShape = ReadWord(ar);
    m_nFront = ReadWord(ar);
    m_nLeft = ReadWord(ar);
    m_nRight = ReadWord(ar);
    if (version != kVersionWithTime) return;
    for (BYTE& timeByte : m_timeBytes)
        timeByte = BYTE(ReadWord(ar) & 0xFF);
}
