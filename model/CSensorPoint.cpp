#include "model/CSensorPoint.h"

#include "model/DistanceUnit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kOriginRadius = 0.000001f;
// A cosine or sine this small belongs to a beam parallel to the axis: 90 and 180 degrees
// never give exactly 0 in single precision.
constexpr float kParallel = 0.000001f;

CString WithUnit(CString text, int unit, bool inch, bool withUnit)
{
    if (withUnit) text += GetUnitText(unit, inch);
    return text;
}

CString FormatCoordinate(float value, int unit, bool inch, bool withUnit)
{
    const CString text = inch ? FormatDecimal(InchFromUnit(value, unit), GetUnitPrecision(unit))
                              : FormatDecimal(value, 1);
    return WithUnit(text, unit, inch, withUnit);
}

} // namespace

void CSensorPoint::Clear() { m_fAngle = m_fRadius = m_fX = m_fY = 0; }

void CSensorPoint::SetPolar(const CPolarCoord& polar) { SetAngleRadius(polar.m_fAngle, polar.m_fRadius); }

void CSensorPoint::SetAngleRadius(float angle, float radius)
{
    m_fAngle = angle;
    m_fRadius = radius;
    UpdateCartesian();
}

void CSensorPoint::SetAngle(float angle)
{
    m_fAngle = angle;
    UpdateCartesian();
}

void CSensorPoint::SetRadius(float radius)
{
    m_fRadius = radius;
    UpdateCartesian();
}

void CSensorPoint::SetCartesian(const CCartesianCoord& cartesian) { SetXY(cartesian.m_fX, cartesian.m_fY); }

void CSensorPoint::SetXY(float x, float y)
{
    m_fX = x;
    m_fY = y;
    UpdatePolar();
}

void CSensorPoint::SetX(float x)
{
    m_fX = x;
    UpdatePolar();
}

void CSensorPoint::SetY(float y)
{
    m_fY = y;
    UpdatePolar();
}

void CSensorPoint::SetPoint(const POINT& point) { SetXY(float(point.x), float(point.y)); }

void CSensorPoint::SetXKeepAngle(float x)
{
    const float a = m_fAngle * kRadiansPerDegree;
    const float c = std::cos(a);
    m_fY = std::fabs(c) > kParallel ? std::sin(a) * (x / c) : 0.0f;
    m_fX = x;
    UpdatePolar();
}

void CSensorPoint::SetYKeepAngle(float y)
{
    const float a = m_fAngle * kRadiansPerDegree;
    const float s = std::sin(a);
    m_fX = std::fabs(s) > kParallel ? std::cos(a) * (y / s) : 0.0f;
    m_fY = y;
    UpdatePolar();
}

int CSensorPoint::GetRoundedAngle() const { return RoundToInt(m_fAngle); }
int CSensorPoint::GetRoundedRadius() const { return RoundToInt(m_fRadius); }
int CSensorPoint::GetRoundedX() const { return RoundToInt(m_fX); }
int CSensorPoint::GetRoundedY() const { return RoundToInt(m_fY); }
CPoint CSensorPoint::GetPoint() const { return CPoint(GetRoundedX(), GetRoundedY()); }

void CSensorPoint::UpdatePolar()
{
    m_fRadius = std::sqrt(m_fX * m_fX + m_fY * m_fY);
    float q = 0;
    // Rounding must not push the cosine past 1, where acos has no value.
    if (std::fabs(m_fRadius) > kOriginRadius) q = std::clamp(m_fX / m_fRadius, -1.0f, 1.0f);
    m_fAngle = std::acos(q) * kDegreesPerRadian;
}

void CSensorPoint::UpdateCartesian()
{
    const float a = m_fAngle * kRadiansPerDegree;
    m_fX = m_fRadius * std::cos(a);
    m_fY = m_fRadius * std::sin(a);
}

CString FormatPointAngle(const CSensorPoint& point, bool withUnit)
{
    CString text = FormatDecimal(point.GetAngle(), 2);
    if (withUnit) text += "\u00B0";
    return text;
}

CString FormatPointRadius(const CSensorPoint& point, int unit, bool inch, bool withUnit)
{
    CString text;
    if (inch)
        text = FormatDecimal(InchFromUnit(point.GetRoundedRadius(), unit), GetUnitPrecision(unit));
    else
        text.Format("%d", point.GetRoundedRadius());
    return WithUnit(text, unit, inch, withUnit);
}

CString FormatPointX(const CSensorPoint& point, int unit, bool inch, bool withUnit)
{
    return FormatCoordinate(point.GetX(), unit, inch, withUnit);
}

CString FormatPointY(const CSensorPoint& point, int unit, bool inch, bool withUnit)
{
    return FormatCoordinate(point.GetY(), unit, inch, withUnit);
}
