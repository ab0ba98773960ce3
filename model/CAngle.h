#pragma once
// An angle kept both in radians and in degrees, with its degree-minute-second text, and
// the conversions between the two measures.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

double RadiansToDegrees(double radians);
double DegreesToRadians(double degrees);
double DMSToDegrees(int degrees, int minutes, int seconds);
// Whole degrees, minutes and seconds (seconds rounded, carries taken over); only the
// degrees carry the sign. A value beyond the int range or nan gives its nearest end or 0.
void DegreesToDMS(double value, int& degrees, int& minutes, int& seconds);

class CAngle : public CObject {
    DECLARE_SERIAL(CAngle)
public:
    CAngle() = default;
    CAngle(double radians) { SetRadians(radians); }
    CAngle(int degrees, int minutes, int seconds);
    CAngle(const CAngle& other) = default;
    CAngle& operator=(const CAngle& other) = default;
    CAngle& operator=(double radians);

    void SetRadians(double radians);
    void SetDegrees(double degrees);
    double GetRadians() const { return m_dRadians; }
    double GetDegrees() const { return m_dDegrees; }

    // "%.5lf" of the value.
    CString FormatRadians() const;
    CString FormatDegrees() const;
    // "%2d° %2d' %2d''" of GetDMS.
    CString FormatDMS() const;
    void GetDMS(int& degrees, int& minutes, int& seconds) const;

    // Exact comparison of the radians.
    friend bool operator==(const CAngle& a, const CAngle& b) { return a.m_dRadians == b.m_dRadians; }
    friend bool operator==(const CAngle& a, double radians) { return a.m_dRadians == radians; }

    // Sums and differences of radians, reduced by fmod with 2 pi (the sign of the result stays).
    friend CAngle operator+(const CAngle& a, const CAngle& b);
    friend CAngle operator-(const CAngle& a, const CAngle& b);

    // The radians as an 8-byte double, no version byte.
    void Serialize(CArchive& ar) override;

private:
    double m_dRadians = 0;
    double m_dDegrees = 0;
};
