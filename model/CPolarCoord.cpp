#include "model/CPolarCoord.h"

#include "model/CAngle.h"

#include <algorithm>
#include <cmath>

CCartesianCoord CPolarCoord::ToCartesian() const
{
    const double a = DegreesToRadians(m_fAngle);
    return CCartesianCoord(float(m_fRadius * std::cos(a)), float(m_fRadius * std::sin(a)));
}

CPolarCoord CCartesianCoord::ToPolar() const
{
    const float radius = std::sqrt(m_fX * m_fX + m_fY * m_fY);
    if (!(radius > 0)) return CPolarCoord(0, radius);
    // Rounding must not push the cosine past 1, where acos has no value.
    const double q = std::clamp(double(m_fX) / radius, -1.0, 1.0);
    return CPolarCoord(float(RadiansToDegrees(std::acos(q))), radius);
}
