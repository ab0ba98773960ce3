#include "model/CAngle.h"

#include "framework/core/CArchive.h"

#include <cmath>
#include <limits>

IMPLEMENT_SERIAL(CAngle, CObject, 0)

namespace {

constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kFullCircle = 6.283185308;

// Truncation toward zero that stays defined for every double.
int TruncateToInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

double RadiansToDegrees(double radians) { return radians * kDegreesPerRadian; }

double DegreesToRadians(double degrees) { return degrees * kRadiansPerDegree; }

double DMSToDegrees(int degrees, int minutes, int seconds)
{
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

void DegreesToDMS(double value, int& degrees, int& minutes, int& seconds)
{
    const bool negative = value < 0;
    const double a = std::fabs(value);
    degrees = TruncateToInt(a);
    const double f = (a - degrees) * 60;
    minutes = TruncateToInt(f);
    seconds = TruncateToInt((f - minutes) * 60 + 0.5);
    if (seconds == 60) {
        seconds = 0;
        ++minutes;
    }
    if (minutes == 60) {
        minutes = 0;
        if (degrees < std::numeric_limits<int>::max()) ++degrees;
    }
    if (negative) degrees = -degrees;
}

CAngle::CAngle(int degrees, int minutes, int seconds) { SetDegrees(DMSToDegrees(degrees, minutes, seconds)); }

CAngle& CAngle::operator=(double radians)
{
    SetRadians(radians);
    return *this;
}

void CAngle::SetRadians(double radians)
{
    m_dRadians = radians;
    m_dDegrees = RadiansToDegrees(radians);
}

void CAngle::SetDegrees(double degrees)
{
    m_dDegrees = degrees;
    m_dRadians = DegreesToRadians(degrees);
}

CString CAngle::FormatRadians() const
{
    CString text;
    text.Format("%.5f", m_dRadians);
    return text;
}

CString CAngle::FormatDegrees() const
{
    CString text;
    text.Format("%.5f", m_dDegrees);
    return text;
}

void CAngle::GetDMS(int& degrees, int& minutes, int& seconds) const { DegreesToDMS(m_dDegrees, degrees, minutes, seconds); }

CString CAngle::FormatDMS() const
{
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    GetDMS(degrees, minutes, seconds);
    CString text;
    text.Format("%2d\u00B0 %2d' %2d''", degrees, minutes, seconds);
    return text;
}

CAngle operator+(const CAngle& a, const CAngle& b) { return CAngle(std::fmod(a.m_dRadians + b.m_dRadians, kFullCircle)); }

CAngle operator-(const CAngle& a, const CAngle& b) { return CAngle(std::fmod(a.m_dRadians - b.m_dRadians, kFullCircle)); }

void CAngle::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dRadians;
        return;
    }
    double radians = 0;
    ar >> radians;
    SetRadians(radians);
}
