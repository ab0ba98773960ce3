#pragma once
// A point of the scanner's plane in polar form (angle in degrees, 0 along +x, 90 straight
// ahead; radius in cm) and in Cartesian form (x across, y ahead).

class CCartesianCoord;

class CPolarCoord {
public:
    CPolarCoord() = default;
    CPolarCoord(float angle, float radius) : m_fAngle(angle), m_fRadius(radius) {}

    CCartesianCoord ToCartesian() const;

    float m_fAngle = 0;
    float m_fRadius = 0;
};

class CCartesianCoord {
public:
    CCartesianCoord() = default;
    CCartesianCoord(float x, float y) : m_fX(x), m_fY(y) {}

    // At the origin the angle is 0.
    CPolarCoord ToPolar() const;

    float m_fX = 0;
    float m_fY = 0;
};
