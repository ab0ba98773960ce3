#include "framework/gdi/GdiMapping.h"

#include "framework/gdi/GdiDefs.h"

#include <climits>
#include <cstdlib>

namespace {

// Units per inch of the fixed modes.
constexpr int kLoMetricPerInch = 254;
constexpr int kHiMetricPerInch = 2540;
constexpr int kLoEnglishPerInch = 100;
constexpr int kHiEnglishPerInch = 1000;
constexpr int kTwipsPerInch = 1440;

LONG ClampToLong(long long v)
{
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return LONG(v);
}

long long Abs(long long v) { return v < 0 ? -v : v; }

} // namespace

long long GdiScaleRound(long long value, long long numerator, long long denominator)
{
    const __int128 product = static_cast<__int128>(value) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const __int128 magnitude = (product < 0 ? -product : product);
    const __int128 divisor = denominator < 0 ? -static_cast<__int128>(denominator) : denominator;
    const __int128 quotient = (magnitude + divisor / 2) / divisor;
    const __int128 result = negative ? -quotient : quotient;
    if (result > LLONG_MAX) return LLONG_MAX;
    if (result < LLONG_MIN) return LLONG_MIN;
    return static_cast<long long>(result);
}

GdiMapping::GdiMapping(int dpiX, int dpiY)
    : m_dpiX(dpiX > 0 ? dpiX : 96), m_dpiY(dpiY > 0 ? dpiY : 96)
{
}

int GdiMapping::SetMode(int mode)
{
    const int old = m_mode;
    switch (mode) {
    case MM_TEXT:
        m_windowExt = {1, 1};
        m_viewportExt = {1, 1};
        break;
    case MM_LOMETRIC: ApplyFixedMode(kLoMetricPerInch); break;
    case MM_HIMETRIC: ApplyFixedMode(kHiMetricPerInch); break;
    case MM_LOENGLISH: ApplyFixedMode(kLoEnglishPerInch); break;
    case MM_HIENGLISH: ApplyFixedMode(kHiEnglishPerInch); break;
    case MM_TWIPS: ApplyFixedMode(kTwipsPerInch); break;
    case MM_ISOTROPIC:
        // Starts from the metric extents, then keeps units square.
        ApplyFixedMode(kLoMetricPerInch);
        m_mode = mode;
        AdjustIsotropic();
        return old;
    case MM_ANISOTROPIC:
        // Keeps whatever extents the previous mode had.
        break;
    default:
        return 0;
    }
    m_mode = mode;
    return old;
}

void GdiMapping::ApplyFixedMode(int unitsPerInch)
{
    m_windowExt = {unitsPerInch, unitsPerInch};
    m_viewportExt = {m_dpiX, -m_dpiY};
}

bool GdiMapping::SetWindowExt(CSize ext)
{
    if (m_mode != MM_ISOTROPIC && m_mode != MM_ANISOTROPIC) return false;
    if (ext.cx == 0 || ext.cy == 0) return false;
    m_windowExt = ext;
    if (m_mode == MM_ISOTROPIC) AdjustIsotropic();
    return true;
}

bool GdiMapping::SetViewportExt(CSize ext)
{
    if (m_mode != MM_ISOTROPIC && m_mode != MM_ANISOTROPIC) return false;
    if (ext.cx == 0 || ext.cy == 0) return false;
    m_viewportExt = ext;
    if (m_mode == MM_ISOTROPIC) AdjustIsotropic();
    return true;
}

// One logical unit must cover the same physical length on both axes: the axis
// whose unit came out longer has its viewport extent shrunk to match the other.
void GdiMapping::AdjustIsotropic()
{
    const long long vx = Abs(m_viewportExt.cx), vy = Abs(m_viewportExt.cy);
    const long long wx = Abs(m_windowExt.cx), wy = Abs(m_windowExt.cy);
    // Physical length of a unit along x is vx / (dpiX * wx); along y vy / (dpiY * wy).
    const __int128 lengthX = static_cast<__int128>(vx) * m_dpiY * wy;
    const __int128 lengthY = static_cast<__int128>(vy) * m_dpiX * wx;
    if (lengthX > lengthY) {
        const long long shrunk = GdiScaleRound(vy * wx, m_dpiX, static_cast<long long>(m_dpiY) * wy);
        const LONG magnitude = shrunk == 0 ? 1 : ClampToLong(shrunk);
        m_viewportExt.cx = m_viewportExt.cx < 0 ? -magnitude : magnitude;
    } else if (lengthY > lengthX) {
        const long long shrunk = GdiScaleRound(vx * wy, m_dpiY, static_cast<long long>(m_dpiX) * wx);
        const LONG magnitude = shrunk == 0 ? 1 : ClampToLong(shrunk);
        m_viewportExt.cy = m_viewportExt.cy < 0 ? -magnitude : magnitude;
    }
}

CPoint GdiMapping::ToDevice(CPoint l) const
{
    return {ClampToLong(GdiScaleRound(static_cast<long long>(l.x) - m_windowOrg.x, m_viewportExt.cx, m_windowExt.cx) + m_viewportOrg.x),
            ClampToLong(GdiScaleRound(static_cast<long long>(l.y) - m_windowOrg.y, m_viewportExt.cy, m_windowExt.cy) + m_viewportOrg.y)};
}

CPoint GdiMapping::ToLogical(CPoint d) const
{
    return {ClampToLong(GdiScaleRound(static_cast<long long>(d.x) - m_viewportOrg.x, m_windowExt.cx, m_viewportExt.cx) + m_windowOrg.x),
            ClampToLong(GdiScaleRound(static_cast<long long>(d.y) - m_viewportOrg.y, m_windowExt.cy, m_viewportExt.cy) + m_windowOrg.y)};
}

CSize GdiMapping::SizeToDevice(CSize s) const
{
    return {ClampToLong(GdiScaleRound(s.cx, Abs(m_viewportExt.cx), Abs(m_windowExt.cx))),
            ClampToLong(GdiScaleRound(s.cy, Abs(m_viewportExt.cy), Abs(m_windowExt.cy)))};
}

CSize GdiMapping::SizeToLogical(CSize s) const
{
    return {ClampToLong(GdiScaleRound(s.cx, Abs(m_windowExt.cx), Abs(m_viewportExt.cx))),
            ClampToLong(GdiScaleRound(s.cy, Abs(m_windowExt.cy), Abs(m_viewportExt.cy)))};
}

int GdiMapping::LengthToDeviceX(int logical) const { return std::abs(SizeToDevice({logical, 0}).cx); }
int GdiMapping::LengthToDeviceY(int logical) const { return std::abs(SizeToDevice({0, logical}).cy); }
int GdiMapping::LengthToLogicalX(int device) const { return std::abs(SizeToLogical({device, 0}).cx); }
int GdiMapping::LengthToLogicalY(int device) const { return std::abs(SizeToLogical({0, device}).cy); }

bool GdiMapping::FlipsY() const { return (m_viewportExt.cy < 0) != (m_windowExt.cy < 0); }
bool GdiMapping::FlipsX() const { return (m_viewportExt.cx < 0) != (m_windowExt.cx < 0); }

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0) return -1;
    const long long result = GdiScaleRound(number, numerator, denominator);
    return result > INT_MAX || result < INT_MIN ? -1 : int(result);
}
