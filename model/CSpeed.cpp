#include "model/CSpeed.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CSpeed, CObject, 1)

namespace {
constexpr BYTE kVersion = 1;
} // namespace

int CSpeed::Compare(const CSpeed& other) const
{
    if (m_nLow == other.m_nLow && m_nHigh == other.m_nHigh)
        return 0;
    if (other.m_nLow > m_nHigh)
        return 2;
    if (other.m_nHigh < m_nLow)
        return 1;
    return 3;
}

int CSpeed::Classify(int value) const
{
    if (value > m_nHigh)
        return 2;
    if (value < m_nLow)
        return 1;
    return 3;
}

void CSpeed::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << WORD(m_nLow) << WORD(m_nHigh);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    short low = 0, high = 0;
    ar >> low >> high;
    m_nLow = low;
    m_nHigh = high;
}
