#include "model/CBShelter.h"

#include "framework/core/CArchive.h"

IMPLEMENT_SERIAL(CBShelter, CBaseShelter, 1)

namespace {

constexpr BYTE kVersionDerivedFlag = 1;
constexpr BYTE kVersionStoredFlag = 2;
constexpr int kFineBeamCount = 361;

LegacyRectangle ReadRectangle(CArchive& ar)
{
    LegacyRectangle rectangle;
    ar >> rectangle.left >> rectangle.top >> rectangle.right >> rectangle.bottom >> rectangle.value;
    return rectangle;
}

} // namespace

CBShelter::CBShelter() : CBaseShelter(5, 700, 5, 0xFF0000), m_timeStamp(CTime::GetCurrentTime()) {}

void CBShelter::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) return;
    LoadBase(ar);
    BYTE version = 0;
    ar >> version;
    if (version != kVersionDerivedFlag && version != kVersionStoredFlag)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    DWORD seconds = 0;
    ar >> seconds;
    m_timeStamp = CTime(std::time_t(seconds));
    WORD count = 0;
    ar >> count;
    m_rectangles.clear();
    // Record by record, so a short file ends the read before anything is reserved for it.
    for (WORD n = 0; n < count; ++n)
        m_rectangles.push_back(ReadRectangle(ar));
    if (version == kVersionStoredFlag) {
        WORD flag = 0;
        ar >> flag;
        m_bFineResolution = flag;
    } else {
        m_bFineResolution = GetBeamCount() == kFineBeamCount;
    }
    m_nReserved = 0;
}

BOOL CBShelter::GetRectangle(int n, LegacyRectangle& rectangle) const
{
    if (n < 0 || n >= GetRectangleCount()) return FALSE;
    rectangle = m_rectangles[std::size_t(n)];
    return TRUE;
}

BOOL CBShelter::GetFirstRectangle(CRect& rect) const
{
    LegacyRectangle first;
    if (!GetRectangle(0, first)) {
        rect.SetRectEmpty();
        return FALSE;
    }
    rect.SetRect(first.left, first.top, first.right, first.bottom);
    return TRUE;
}
