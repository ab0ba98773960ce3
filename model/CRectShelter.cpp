#include "model/CRectShelter.h"

#include "framework/core/CArchive.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPropertyPage.h"
#include "model/DistanceUnit.h"
#include "model/ShelterConversions.h"
#include "model/ShelterEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

IMPLEMENT_SERIAL(CRectShelter, CShelter, 0)

namespace {

constexpr BYTE kVersion = 1;
constexpr UINT IDS_RECT_FIELD = 965;

// How far a side (or the front) may reach while its far corner stays within maxDistance
// of the scanner. None when the other extent alone already lies beyond the maximum (a
// smaller device type, an old file): no position of this handle can bring the corner back.
std::optional<int> Reach(int maxDistance, int other)
{
    const double radicand = double(maxDistance) * maxDistance - double(other) * other;
    if (radicand < 0) return std::nullopt;
    return RoundToInt(std::sqrt(radicand));
}

// The lower bound first, then the upper: where they cross, the upper bound wins, so that
// a far corner never moves beyond the maximum distance.
int ClampUpperWins(int value, int lower, int upper) { return std::min(std::max(value, lower), upper); }

bool FitsWord(int value) { return value >= 0 && value <= 0xFFFF; }

} // namespace

CRectShelter::CRectShelter() { SetSnap(0); }

CRectShelter::CRectShelter(const CRectShelter& other)
    : CShelter(other), m_wLeft(other.m_wLeft), m_wFront(other.m_wFront), m_wRight(other.m_wRight)
{
}

CRectShelter& CRectShelter::operator=(const CRectShelter& other)
{
    CopyFrom(other);
    return *this;
}

void CRectShelter::CopyFrom(const CRectShelter& other)
{
    if (&other == this) return;
    CShelter::CopyFrom(other);
    m_wLeft = other.m_wLeft;
    m_wFront = other.m_wFront;
    m_wRight = other.m_wRight;
}

std::unique_ptr<CSensorObject> CRectShelter::Clone() const { return std::make_unique<CRectShelter>(*this); }

void CRectShelter::Initialize(const CSensorType& type, WORD left, WORD front, WORD right, int kind)
{
    SetSensorType(type, kind);
    SetExtents(left, front, right);
}

void CRectShelter::InitializeDefault(const CSensorType& type, int kind)
{
    SetSensorType(type, kind);
    const WORD distance = GetDefaultDistance();
    SetExtents(distance, distance, distance);
}

void CRectShelter::ResetToDefaults() { InitializeDefault(m_sensorType, GetFieldKind()); }

BOOL CRectShelter::Edit(CWnd* pParentWnd, int, BOOL inch, CObject*)
{
    return GetShelterEditor().EditRect(*this, pParentWnd, inch);
}

void CRectShelter::SetExtents(WORD left, WORD front, WORD right)
{
    m_wLeft = left;
    m_wFront = front;
    m_wRight = right;
}

void CRectShelter::GetExtents(WORD& left, WORD& front, WORD& right) const
{
    left = m_wLeft;
    front = m_wFront;
    right = m_wRight;
}

void CRectShelter::Serialize(CArchive& ar)
{
    CShelter::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << m_wLeft << m_wFront << m_wRight;
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    WORD left = 0;
    WORD front = 0;
    WORD right = 0;
    ar >> left >> front >> right;
    SetExtents(left, front, right);
}

int CRectShelter::FarCornerDistance(int side, int front)
{
    return RoundToInt(std::sqrt(double(side) * side + double(front) * front));
}

// The far corner of two 16-bit extents can lie beyond 16 bits; it then reports 65535.
WORD CRectShelter::GetMinExtent() const
{
    return WORD(std::min({FarCornerDistance(m_wLeft, m_wFront), FarCornerDistance(m_wRight, m_wFront), 0xFFFF}));
}

WORD CRectShelter::GetMaxExtent() const
{
    return WORD(std::min(std::max(FarCornerDistance(m_wLeft, m_wFront), FarCornerDistance(m_wRight, m_wFront)), 0xFFFF));
}

void CRectShelter::DrawOutline(CDC* pDC) const
{
    if (m_wLeft == 0 && m_wFront == 0 && m_wRight == 0) return;
    const POINT corners[] = {{-LONG(m_wLeft), 0}, {-LONG(m_wLeft), m_wFront}, {m_wRight, m_wFront}, {m_wRight, 0}};
    DrawOutlinePolyline(pDC, corners, 4);
}

void CRectShelter::DrawFilled(CDC* pDC) const
{
    if (m_wLeft == 0 && m_wFront == 0 && m_wRight == 0) return;
    const POINT corners[] = {{-LONG(m_wLeft), 0}, {-LONG(m_wLeft), m_wFront}, {m_wRight, m_wFront}, {m_wRight, 0}};
    DrawFilledPolygon(pDC, corners, 4);
}

void CRectShelter::DrawHandles(CDC* pDC) const
{
    const POINT handles[] = {LeftHandle(), FrontHandle(), RightHandle()};
    DrawHandleSquares(pDC, handles, 3);
}

BOOL CRectShelter::IsInSensorRange(const CSensorPoint& point) const
{
    const float minDistance = GetMinDistance();
    const float maxDistance = GetMaxDistance();
    const auto within = [&](float value) { return value >= minDistance && value <= maxDistance; };
    const float x = point.GetX();
    const float y = point.GetY();
    // The far corner of the other side at the point's depth.
    const float otherSide = x >= 0 ? m_wLeft : m_wRight;
    const float cornerRadius = std::sqrt(otherSide * otherSide + y * y);
    // y must lie ahead: a point behind the scanner would turn into a negative front.
    return within(std::fabs(x)) && within(y) && within(point.GetRadius()) && within(cornerRadius)
        && std::fabs(x) <= float(GetMaxWidth());
}

BOOL CRectShelter::HitsVertex(const CSensorPoint& point) const
{
    const CPoint p = point.GetPoint();
    const POINT vertices[] = {LeftHandle(), {-LONG(m_wLeft), m_wFront}, FrontHandle(), {m_wRight, m_wFront},
                              RightHandle()};
    for (const POINT& vertex : vertices)
        if (p.x == vertex.x && p.y == vertex.y) return TRUE;
    return FALSE;
}

BOOL CRectShelter::SetPoint(const CSensorPoint& point)
{
    const CPoint p = point.GetPoint();
    // A 16-bit extent cannot hold a point behind the scanner or beyond 65535 cm.
    if (p.x == 0 || !FitsWord(std::abs(p.x)) || !FitsWord(p.y)) return FALSE;
    if (p.x > 0)
        m_wRight = WORD(p.x);
    else
        m_wLeft = WORD(-p.x);
    m_wFront = WORD(p.y);
    return TRUE;
}

WORD CRectShelter::HitTest(const CSensorPoint& point) const
{
    const CPoint p = point.GetPoint();
    const bool outside = p.x < -LONG(m_wLeft) || p.x > LONG(m_wRight) || p.y > LONG(m_wFront);
    WORD flags = outside ? kHitOutside : kHitInside;
    if (IsOnHandle(point, LeftHandle()))
        flags |= kHitLeftHandle;
    else if (IsOnHandle(point, FrontHandle()))
        flags |= kHitFrontHandle;
    else if (IsOnHandle(point, RightHandle()))
        flags |= kHitRightHandle;
    return flags;
}

CSensorPoint CRectShelter::GetDragPosition(WORD hitFlags, const CSensorPoint& current) const
{
    if ((hitFlags & kHitHandle) == 0) return current;
    const float halfFront = m_wFront / 2.0f;
    CSensorPoint position;
    if ((hitFlags & kHitLeftHandle) == kHitLeftHandle)
        position.SetXY(-float(m_wLeft), halfFront);
    else if ((hitFlags & kHitFrontHandle) == kHitFrontHandle)
        position.SetXY(0, float(m_wFront));
    else if ((hitFlags & kHitRightHandle) == kHitRightHandle)
        position.SetXY(float(m_wRight), halfFront);
    else
        return current;
    return position;
}

BOOL CRectShelter::BeginDrag(const CSensorPoint& point)
{
    m_wDragFlags = HitTest(point);
    return FALSE;
}

BOOL CRectShelter::EndDrag(const CSensorPoint&)
{
    m_wDragFlags = 0;
    return FALSE;
}

BOOL CRectShelter::DragTo(const CSensorPoint& point)
{
    if (!IsDragging()) return FALSE;
    const int minDistance = GetMinDistance();
    const int maxDistance = GetMaxDistance();
    const int width = GetMaxWidth();
    const CPoint p = point.GetPoint();
    int left = m_wLeft;
    int front = m_wFront;
    int right = m_wRight;
    // The handle that the hit flags name; a reach that does not exist moves nothing.
    if ((m_wDragFlags & kHitLeftHandle) == kHitLeftHandle) {
        const std::optional<int> reach = Reach(maxDistance, m_wFront);
        if (reach) left = ClampUpperWins(-p.x, minDistance, std::min(*reach, width));
    } else if ((m_wDragFlags & kHitFrontHandle) == kHitFrontHandle) {
        const std::optional<int> reach = Reach(maxDistance, std::max(m_wLeft, m_wRight));
        if (reach) front = ClampUpperWins(p.y, minDistance, *reach);
    } else if ((m_wDragFlags & kHitRightHandle) == kHitRightHandle) {
        const std::optional<int> reach = Reach(maxDistance, m_wFront);
        if (reach) right = ClampUpperWins(p.x, minDistance, std::min(*reach, width));
    }
    if (left == m_wLeft && front == m_wFront && right == m_wRight) return FALSE;
    SetExtents(WORD(left), WORD(front), WORD(right));
    return TRUE;
}

std::unique_ptr<CPropertyPage> CRectShelter::CreatePropertyPage(int, BOOL inch, UINT nIDCaption)
{
    return GetShelterEditor().CreateRectPage(*this, inch, nIDCaption);
}

CString CRectShelter::GetTypeName() const
{
    CString name;
    name.LoadString(IDS_RECT_FIELD);
    return name;
}

BOOL CRectShelter::FitsUnit(int unit) const
{
    const int largest = std::max(FarCornerDistance(m_wLeft, m_wFront), FarCornerDistance(m_wRight, m_wFront));
    return RoundToInt(ConvertDistanceUnit(largest, GetUnit(), unit)) <= int(m_sensorType.GetMaxDistance());
}

BOOL CRectShelter::ChangeUnit(int unit)
{
    // The device type keeps cm whatever it is told, so rescaling the extents would only
    // corrupt them: the current unit is all there is.
    if (unit != GetUnit()) return FALSE;
    return FitsUnit(unit);
}

BOOL CRectShelter::CanConvertTo(int code) const { return IsConversionCode(code) && code != kConvertToRectangle; }

std::unique_ptr<CShelter> CRectShelter::ConvertTo(int code) const
{
    if (!CanConvertTo(code)) return nullptr;
    const int beamCount = CSensorType::GetBeamCountForResolution(code);
    if (beamCount != 0) return MakeRectangleContour(*this, beamCount, m_wLeft, m_wFront, m_wRight);
    return AskConvertedShape(*this, code);
}
