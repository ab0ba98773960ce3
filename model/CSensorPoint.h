#pragma once
// A point of the scanner's plane kept in both forms at once: angle (degrees) and radius,
// x and y (cm). Every setter of one form recomputes the other. The polar form always
// lies in the front half: a point behind the scanner gets the angle of its mirror image,
// and the origin gets angle 90.
#include "framework/core/CPoint.h"
#include "framework/core/CString.h"
#include "model/CPolarCoord.h"

class CSensorPoint {
public:
    CSensorPoint() = default;
    explicit CSensorPoint(const CPolarCoord& polar) { SetPolar(polar); }
    explicit CSensorPoint(const CCartesianCoord& cartesian) { SetCartesian(cartesian); }
    CSensorPoint(const CSensorPoint& other) = default;
    CSensorPoint& operator=(const CSensorPoint& other) = default;
    void CopyFrom(const CSensorPoint& other) { *this = other; }

    void Clear();

    void SetPolar(const CPolarCoord& polar);
    void SetAngleRadius(float angle, float radius);
    void SetAngle(float angle);
    void SetRadius(float radius);

    void SetCartesian(const CCartesianCoord& cartesian);
    void SetXY(float x, float y);
    void SetX(float x);
    void SetY(float y);
    void SetPoint(const POINT& point);

    // Moves the point along its beam to the given x (or y); on a beam parallel to that
    // axis the other coordinate becomes 0.
    void SetXKeepAngle(float x);
    void SetYKeepAngle(float y);

    float GetAngle() const { return m_fAngle; }
    float GetRadius() const { return m_fRadius; }
    float GetX() const { return m_fX; }
    float GetY() const { return m_fY; }
    CPolarCoord GetPolar() const { return CPolarCoord(m_fAngle, m_fRadius); }
    CCartesianCoord GetCartesian() const { return CCartesianCoord(m_fX, m_fY); }

    // Rounded half away from zero.
    int GetRoundedAngle() const;
    int GetRoundedRadius() const;
    int GetRoundedX() const;
    int GetRoundedY() const;
    CPoint GetPoint() const;

private:
    void UpdatePolar();
    void UpdateCartesian();

    float m_fAngle = 0;
    float m_fRadius = 0;
    float m_fX = 0;
    float m_fY = 0;
};

// Display texts of a point's coordinates. "With unit" appends the unit text directly.
// The angle: "%.2f", with the degree sign as its unit.
CString FormatPointAngle(const CSensorPoint& point, bool withUnit);
// The radius: "%d" of the rounded radius; in inch mode the rounded radius in inch with
// the unit's precision (GetUnitPrecision).
CString FormatPointRadius(const CSensorPoint& point, int unit, bool inch, bool withUnit);
// x and y: "%.1f"; in inch mode the value in inch with the unit's precision.
CString FormatPointX(const CSensorPoint& point, int unit, bool inch, bool withUnit);
CString FormatPointY(const CSensorPoint& point, int unit, bool inch, bool withUnit);
