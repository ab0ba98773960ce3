#include "model/shapedialogs/ShelterPageTexts.h"

#include "model/CSensorType.h"
#include "model/DistanceUnit.h"

CString FormatShelterTime(const CTime& time) { return time.Format("%x %H:%M:%S"); }

CString FormatShelterDistance(int distance, const CSensorType& type, bool inch)
{
    CString text;
    if (inch)
        text.Format("%.2f%s", double(CmToInch(float(distance))), static_cast<LPCTSTR>(GetUnitText(kUnitCm, true)));
    else
        text.Format("%d%s", distance, static_cast<LPCTSTR>(type.GetUnitText()));
    return text;
}
