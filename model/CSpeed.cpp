#include "model/CSpeed.h"

#include "framework/core/CArchive.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_SERIAL(CSpeed, CObject, 1)

namespace {
constexpr BYTE kVersion = 1;
constexpr UINT IDS_SPEED_OUTSIDE_RANGES = 472;
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

void DDV_MinMaxTwoRanges(CDataExchange* pDX, int value, int min1, int max1, int min2, int max2, LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate)
        return;
    if ((value >= min1 && value <= max1) || (value >= min2 && value <= max2))
        return;
    const int bounds[4] = {min1, max1, min2, max2};
    CString texts[4];
    const char* inserts[4];
    for (int i = 0; i < 4; ++i) {
        texts[i].Format("%d%s", bounds[i], unit ? unit : "");
        inserts[i] = texts[i];
    }
    CString prompt;
    AfxFormatStrings(prompt, IDS_SPEED_OUTSIDE_RANGES, inserts, 4);
    AfxMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION, IDS_SPEED_OUTSIDE_RANGES);
    pDX->Fail();
}
