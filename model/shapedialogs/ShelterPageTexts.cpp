#include "model/shapedialogs/ShelterPageTexts.h"

#include "model/CSensorType.h"
#include "model/DistanceUnit.h"

CString FormatShelterTime(const CTime& time) { return time.Format("%x %H:%M:%S"); }

CString FormatShelterDistance(int distance, const CSensorType& type, bool inch)
{
    if (inch) return FormatDecimal(CmToInch(float(distance)), 2) + GetUnitText(kUnitCm, true);
    CString text;
    text.Format("%d%s", distance, static_cast<LPCTSTR>(type.GetUnitText()));
    return text;
}
