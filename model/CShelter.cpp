#include "model/CShelter.h"

#include "model/DistanceUnit.h"
#include "framework/core/CArchive.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPropertyPage.h"
#include "model/CAngle.h"

#include <algorithm>
#include <cmath>
#include <utility>

IMPLEMENT_DYNAMIC(CShelter, CSensorObject)

namespace {

constexpr BYTE kVersion = 3;
constexpr BYTE kVersionWithoutWarningFlag = 2;
constexpr BYTE kVersionWithoutFlags = 1;

constexpr double kStraightAhead = 90.0;
// A point this near to a beam counts as lying on it.
constexpr double kBeamCapture = 0.1;

template <class T>
T ClampCandidate(T candidate, T minValue, T maxValue)
{
    T c = candidate > minValue ? candidate : minValue;
    if (c >= maxValue) c = maxValue;
    return c;
}

// Half up to the given number of decimals.
double RoundHalfUp(double value, double scale) { return std::floor(value * scale + 0.5) / scale; }

// Distances of the field are 16-bit; a rounded radius beyond that range is its nearest end.
int DistanceOf(float radius) { return std::clamp(RoundToInt(radius), 0, 0xFFFF); }

// A point on the beam at the angle (degrees) and the distance, with the axis part that
// the beam cannot have set to 0 and every coordinate half up to one decimal.
CSensorPoint PointOnBeam(double angle, double distance)
{
    const double a = DegreesToRadians(angle);
    const double x = angle == 90.0 ? 0.0 : distance * std::cos(a);
    const double y = (angle == 0.0 || angle == 180.0) ? 0.0 : distance * std::sin(a);
    CSensorPoint point;
    point.SetXY(float(RoundHalfUp(x, 10)), float(RoundHalfUp(y, 10)));
    return point;
}

void ReadWord(CArchive& ar, int& field)
{
    WORD value = 0;
    ar >> value;
    field = value;
}

} // namespace

CShelter::CShelter(const CShelter& other) : CSensorObject(other) { CopyFrom(other); }

std::unique_ptr<CShelter> CShelter::CloneShelter() const
{
    return std::unique_ptr<CShelter>(static_cast<CShelter*>(Clone().release()));
}

void CShelter::CopyFrom(const CShelter& other)
{
    if (&other == this) return;
    CSensorObject::CopyFrom(other);
    m_nSnap = other.m_nSnap;
    m_crFill = other.m_crFill;
    m_crHandle = other.m_crHandle;
    m_handleSize = other.m_handleSize;
    m_bLocked = other.m_bLocked;
    m_bProtectiveInDevice = other.m_bProtectiveInDevice;
    m_bWarningInDevice = other.m_bWarningInDevice;
    m_nFieldKind = other.m_nFieldKind;
}

void CShelter::SetModified(int mark)
{
    CSensorObject::SetModified(mark);
    m_bLocked = 0;
    m_bProtectiveInDevice = 0;
    m_bWarningInDevice = 0;
}

void CShelter::SetSensorType(const CSensorType& type, int kind)
{
    AssignSensorType(type);
    m_nFieldKind = kind;
    SetModified(0);
}

int CShelter::SetLocked(int locked) { return std::exchange(m_bLocked, locked); }
int CShelter::SetProtectiveInDevice(int inDevice) { return std::exchange(m_bProtectiveInDevice, inDevice); }
int CShelter::SetWarningInDevice(int inDevice) { return std::exchange(m_bWarningInDevice, inDevice); }
int CShelter::SetSnap(int snap) { return std::exchange(m_nSnap, snap); }
COLORREF CShelter::SetFillColor(COLORREF color) { return std::exchange(m_crFill, color); }
CSize CShelter::SetHandleSize(CSize size) { return std::exchange(m_handleSize, size); }

UINT CShelter::GetKindTextId() const
{
    switch (m_nFieldKind) {
    case kGeneralField: return m_sensorType.GetGeneralFieldTextId();
    case kProtectiveField: return m_sensorType.GetProtectiveFieldTextId();
    case kWarningField: return m_sensorType.GetWarningFieldTextId();
    default: return 0;
    }
}

WORD CShelter::GetMinAngle() const { return m_sensorType.GetMinAngle(); }
WORD CShelter::GetMaxAngle() const { return m_sensorType.GetMaxAngle(); }
float CShelter::GetAngleStep() const { return m_sensorType.GetAngleStep(); }
WORD CShelter::GetMinDistance() const { return m_sensorType.GetMinDistanceOfKind(m_nFieldKind); }
WORD CShelter::GetMaxDistance() const { return m_sensorType.GetMaxDistanceOfKind(m_nFieldKind); }
WORD CShelter::GetDistanceStep() const { return m_sensorType.GetDistanceStepOfKind(m_nFieldKind); }
WORD CShelter::GetDefaultDistance() const { return m_sensorType.GetDefaultDistanceOfKind(m_nFieldKind); }
WORD CShelter::GetMaxWidth() const { return m_sensorType.GetMaxWidthOfKind(m_nFieldKind); }

WORD CShelter::HitTest(const CSensorPoint&) const { return 0; }
CSensorPoint CShelter::GetDragPosition(WORD, const CSensorPoint& current) const { return current; }
BOOL CShelter::IsDragging() const { return FALSE; }
BOOL CShelter::BeginDrag(const CSensorPoint&) { return FALSE; }
BOOL CShelter::DragTo(const CSensorPoint&) { return FALSE; }
BOOL CShelter::EndDrag(const CSensorPoint&) { return FALSE; }

std::unique_ptr<CPropertyPage> CShelter::CreatePropertyPage(int, BOOL, UINT) { return nullptr; }
CString CShelter::GetTypeName() const { return CString(); }
BOOL CShelter::FitsUnit(int) const { return FALSE; }
BOOL CShelter::ChangeUnit(int) { return FALSE; }
BOOL CShelter::CanConvertTo(int) const { return FALSE; }
std::unique_ptr<CShelter> CShelter::ConvertTo(int) const { return nullptr; }

WORD CShelter::SnapDistance(int distance) const
{
    // 32-bit arithmetic: near 65535 the upper candidate must not wrap to 0.
    const int d = std::clamp(distance, 0, 0xFFFF);
    if (m_nSnap == 0) return WORD(d);
    const int step = std::max<int>(GetDistanceStep(), 1);
    const int minDistance = GetMinDistance();
    const int maxDistance = GetMaxDistance();
    const int lower = ClampCandidate(d / step * step, minDistance, maxDistance);
    const int upper = ClampCandidate(d / step * step + step, minDistance, maxDistance);
    return WORD(std::abs(d - lower) <= std::abs(upper - d) ? lower : upper);
}

float CShelter::SnapAngle(float angle) const
{
    if (m_nSnap == 0) return angle;
    const float step = GetAngleStep();
    if (!(step > 0)) return angle;
    const float minAngle = GetMinAngle();
    const float maxAngle = GetMaxAngle();
    const float grid = step * std::floor(angle / step);
    const float lower = ClampCandidate(grid, minAngle, maxAngle);
    const float upper = ClampCandidate(grid + step, minAngle, maxAngle);
    const float dl = angle - lower;
    const float du = upper - angle;
    if (dl < du) return lower;
    if (dl > du) return upper;
    // A tie rounds toward straight ahead.
    return angle < kStraightAhead ? upper : lower;
}

BOOL CShelter::IsOnGrid(float angle, int distance) const
{
    return SnapAngle(angle) == angle && SnapDistance(distance) == distance;
}

BOOL CShelter::IsPointOnGrid(const CSensorPoint& point) const
{
    return IsOnGrid(point.GetAngle(), DistanceOf(point.GetRadius()));
}

CSensorPoint CShelter::SnapPolar(float angle, int distance) const
{
    CSensorPoint point;
    point.SetAngleRadius(SnapAngle(angle), SnapDistance(distance));
    return point;
}

void CShelter::PolarFromPoint(double x, double y, CSensorPoint& first, CSensorPoint& second) const
{
    double angle = kStraightAhead;
    if (x != 0) angle = RoundHalfUp(RadiansToDegrees(std::atan(y / x)) + (x < 0 ? 180.0 : 0.0), 1000);
    // A point behind the scanner has no beam; it takes the nearest end of the range.
    angle = std::clamp(angle, double(GetMinAngle()), double(GetMaxAngle()));

    const double step = GetAngleStep();
    const double lo = step > 0 ? step * std::floor(angle / step) : angle;
    const double hi = step > 0 ? lo + step : angle;
    const double b1 = std::fabs(angle - lo) < kBeamCapture ? lo : hi;
    const double b2 = std::fabs(angle - hi) < kBeamCapture ? hi : lo;
    // alpha1 is the neighbouring beam nearer to straight ahead.
    const double alpha1 = x >= 0 ? b1 : b2;
    const double alpha2 = x >= 0 ? b2 : b1;

    const double r1 = alpha1 == 90.0 ? std::floor(y + 0.5) : std::floor(x / std::cos(DegreesToRadians(alpha1)) + 0.5);
    const double r2 = (alpha2 == 0.0 || alpha2 == 180.0) ? std::floor(std::fabs(x) + 0.5)
                                                         : std::floor(y / std::sin(DegreesToRadians(alpha2)) + 0.5);
    first = PointOnBeam(alpha1, r1);
    second = PointOnBeam(alpha2, r2);
}

CSensorPoint CShelter::SnapPoint(const CSensorPoint& point, int mode) const
{
    CSensorPoint snapped;
    if (mode == kSnapKeepY || mode == kSnapKeepX) {
        CSensorPoint first;
        CSensorPoint second;
        PolarFromPoint(point.GetX(), point.GetY(), first, second);
        snapped = mode == kSnapKeepY ? second : first;
    } else {
        snapped = SnapPolar(point.GetAngle(), DistanceOf(point.GetRadius()));
    }
    CSensorPoint result;
    result.SetXY(snapped.GetX(), snapped.GetY());
    return result;
}

BOOL CShelter::PlacePoint(const CSensorPoint& point, int snapMode)
{
    if (!IsInSensorRange(point)) return FALSE;
    if (!SetPoint(SnapPoint(point, snapMode))) return FALSE;
    SetModified(1);
    return TRUE;
}

COLORREF CShelter::GetOutlineColor(const CDC* pDC) { return pDC->IsPrinting() ? RGB(0, 0, 0) : RGB(255, 255, 255); }

void CShelter::DrawOutlinePolyline(CDC* pDC, const POINT* points, int count) const
{
    CPen pen(PS_SOLID, 0, GetOutlineColor(pDC));
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Polyline(points, count);
    pDC->SelectObject(oldPen);
}

void CShelter::DrawFilledPolygon(CDC* pDC, const POINT* points, int count) const
{
    CPen pen(PS_SOLID, 0, GetOutlineColor(pDC));
    CBrush brush(m_crFill);
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    const int oldFillMode = pDC->SetPolyFillMode(WINDING);
    pDC->Polygon(points, count);
    pDC->SetPolyFillMode(oldFillMode);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

CRect CShelter::GetHandleRect(POINT center) const
{
    const LONG halfX = m_handleSize.cx / 2;
    const LONG halfY = m_handleSize.cy / 2;
    return CRect(center.x - halfX, center.y - halfY, center.x + halfX, center.y + halfY);
}

BOOL CShelter::IsOnHandle(const CSensorPoint& point, POINT center) const
{
    CRect square = GetHandleRect(center);
    square.NormalizeRect();
    const CPoint p = point.GetPoint();
    return p.x >= square.left && p.x <= square.right && p.y >= square.top && p.y <= square.bottom;
}

void CShelter::DrawHandleSquares(CDC* pDC, const POINT* points, int count) const
{
    CBrush brush(m_crHandle);
    CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    const int oldMix = pDC->SetROP2(R2_COPYPEN);
    for (int i = 0; i < count; ++i) pDC->Rectangle(GetHandleRect(points[i]));
    pDC->SetROP2(oldMix);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CShelter::Serialize(CArchive& ar)
{
    CSensorObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << WORD(m_nSnap) << DWORD(m_crFill) << DWORD(m_crHandle) << WORD(m_handleSize.cx)
           << WORD(m_handleSize.cy) << WORD(m_bLocked) << WORD(m_bProtectiveInDevice) << WORD(m_bWarningInDevice)
           << WORD(m_nFieldKind);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion && version != kVersionWithoutWarningFlag && version != kVersionWithoutFlags)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);

    int snap = 0;
    DWORD fill = 0;
    DWORD handle = 0;
    ReadWord(ar, snap);
    ar >> fill >> handle;
    CSize size;
    if (version == kVersion) {
        int cx = 0;
        int cy = 0;
        ReadWord(ar, cx);
        ReadWord(ar, cy);
        size = CSize(cx, cy);
    } else {
        ar >> size.cx >> size.cy;
    }
    int locked = 0;
    short kind = 0;
    if (version != kVersionWithoutFlags) {
        ReadWord(ar, locked);
        WORD inDevice = 0;
        ar >> inDevice; // protective, and in version 3 warning: never kept
        if (version == kVersion) ar >> inDevice;
        ar >> kind;
    }
    m_nSnap = snap;
    m_crFill = fill;
    m_crHandle = handle;
    m_handleSize = size;
    m_bLocked = locked;
    m_bProtectiveInDevice = 0;
    m_bWarningInDevice = 0;
    m_nFieldKind = kind;
}
