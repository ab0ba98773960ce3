#pragma once
// The logical-to-device mapping of a device context, in integer arithmetic:
//   device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg
// rounded to the nearest integer with halves away from zero, and back.
#include "framework/core/CPoint.h"
#include "framework/core/CRect.h"

class GdiMapping {
public:
    // The device resolution decides the fixed metric and English modes and the
    // aspect correction of MM_ISOTROPIC.
    GdiMapping(int dpiX = 96, int dpiY = 96);

    int Mode() const { return m_mode; }
    // Unknown modes are refused (returns 0) and change nothing; else the old mode.
    int SetMode(int mode);

    CPoint WindowOrg() const { return m_windowOrg; }
    CPoint ViewportOrg() const { return m_viewportOrg; }
    CSize WindowExt() const { return m_windowExt; }
    CSize ViewportExt() const { return m_viewportExt; }
    void SetWindowOrg(CPoint p) { m_windowOrg = p; }
    void SetViewportOrg(CPoint p) { m_viewportOrg = p; }
    // Only in MM_ISOTROPIC and MM_ANISOTROPIC, never to a zero extent; false when ignored.
    bool SetWindowExt(CSize ext);
    bool SetViewportExt(CSize ext);

    CPoint ToDevice(CPoint logical) const;
    CPoint ToLogical(CPoint device) const;
    // Sizes scale by the absolute extents, keeping their own signs.
    CSize SizeToDevice(CSize logical) const;
    CSize SizeToLogical(CSize device) const;
    // A logical length along x or y in whole device pixels (absolute).
    int LengthToDeviceX(int logical) const;
    int LengthToDeviceY(int logical) const;
    int LengthToLogicalX(int device) const;
    int LengthToLogicalY(int device) const;
    // y grows upwards on the device when the two y extents differ in sign.
    bool FlipsY() const;
    bool FlipsX() const;

private:
    void ApplyFixedMode(int unitsPerInch);
    void AdjustIsotropic();

    int m_dpiX;
    int m_dpiY;
    int m_mode = 1;
    CPoint m_windowOrg;
    CPoint m_viewportOrg;
    CSize m_windowExt{1, 1};
    CSize m_viewportExt{1, 1};
};

// value * numerator / denominator rounded to nearest, halves away from zero, in 64 bits;
// denominator must not be 0.
long long GdiScaleRound(long long value, long long numerator, long long denominator);
