#include "model/DistanceUnit.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace {

constexpr UINT IDS_UNIT_MM = 950;
constexpr UINT IDS_UNIT_CM = 951;
constexpr UINT IDS_UNIT_DM = 952;
constexpr UINT IDS_UNIT_INCH = 953;

// Length of one unit in mm; 0 for an unknown unit.
int UnitInMm(int unit)
{
    switch (unit) {
    case kUnitCm: return 10;
    case kUnitMm: return 1;
    case kUnitDm: return 100;
    default: return 0;
    }
}

double InchPerUnit(int unit)
{
    switch (unit) {
    case kUnitCm: return kCmPerInch;
    case kUnitMm: return kCmPerInch * 10;
    case kUnitDm: return kCmPerInch / 10;
    default: return 1.0;
    }
}

} // namespace

int RoundToInt(double value)
{
    if (std::isnan(value)) return 0;
    const double rounded = value >= 0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
    if (rounded >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (rounded <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(rounded);
}

double InchFromUnit(double value, int unit) { return value / InchPerUnit(unit); }

double UnitFromInch(double value, int unit) { return value * InchPerUnit(unit); }

double ConvertDistanceUnit(double value, int fromUnit, int toUnit)
{
    const int from = UnitInMm(fromUnit);
    const int to = UnitInMm(toUnit);
    if (from == 0 || to == 0) return value;
    // Whole factors keep results such as 12 cm -> 120 mm exact.
    return from >= to ? value * double(from / to) : value / double(to / from);
}

CString GetUnitText(int unit, bool inch)
{
    UINT id = 0;
    if (inch)
        id = IDS_UNIT_INCH;
    else if (unit == kUnitMm)
        id = IDS_UNIT_MM;
    else if (unit == kUnitCm)
        id = IDS_UNIT_CM;
    else if (unit == kUnitDm)
        id = IDS_UNIT_DM;
    CString text;
    if (id != 0) text.LoadString(id);
    return text;
}

int GetUnitPrecision(int unit)
{
    switch (unit) {
    case kUnitCm: return 2;
    case kUnitMm: return 3;
    case kUnitDm: return 1;
    default: return 0;
    }
}

CString FormatDecimal(double value, int decimals)
{
    CString text;
    text.Format("%.*f", decimals, value);
    std::string digits = text.str();
    if (digits.starts_with('-') && digits.find_first_not_of("0.", 1) == std::string::npos) digits.erase(0, 1);
    return CString(std::move(digits));
}
