#include "model/CArcShelter.h"

#include "framework/core/CArchive.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPropertyPage.h"
#include "model/DistanceUnit.h"
#include "model/ShelterConversions.h"
#include "model/ShelterEditor.h"

#include <algorithm>

IMPLEMENT_SERIAL(CArcShelter, CShelter, 0)

namespace {

constexpr BYTE kVersion = 1;
constexpr UINT IDS_ARC_FIELD = 968;

} // namespace

CArcShelter::CArcShelter() { SetSnap(0); }

CArcShelter::CArcShelter(const CArcShelter& other) : CShelter(other), m_wRadius(other.m_wRadius) {}

CArcShelter& CArcShelter::operator=(const CArcShelter& other)
{
    CopyFrom(other);
    return *this;
}

void CArcShelter::CopyFrom(const CArcShelter& other)
{
    if (&other == this) return;
    CShelter::CopyFrom(other);
    m_wRadius = other.m_wRadius;
}

std::unique_ptr<CSensorObject> CArcShelter::Clone() const { return std::make_unique<CArcShelter>(*this); }

void CArcShelter::Initialize(const CSensorType& type, WORD radius, int kind)
{
    SetSensorType(type, kind);
    m_wRadius = radius;
}

void CArcShelter::InitializeDefault(const CSensorType& type, int kind)
{
    SetSensorType(type, kind);
    m_wRadius = GetDefaultDistance();
}

void CArcShelter::ResetToDefaults() { InitializeDefault(m_sensorType, GetFieldKind()); }

BOOL CArcShelter::Edit(CWnd* pParentWnd, int, BOOL inch, CObject*)
{
    return GetShelterEditor().EditArc(*this, pParentWnd, inch);
}

void CArcShelter::Serialize(CArchive& ar)
{
    CShelter::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << m_wRadius;
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    WORD radius = 0;
    ar >> radius;
    m_wRadius = radius;
}

void CArcShelter::DrawOutline(CDC* pDC) const
{
    if (m_wRadius == 0) return;
    const int r = m_wRadius;
    CPen pen(PS_SOLID, 0, GetOutlineColor(pDC));
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Arc(-r, r, r, -r, r, 0, -r, 0);
    pDC->SelectObject(oldPen);
}

void CArcShelter::DrawFilled(CDC* pDC) const
{
    if (m_wRadius == 0) return;
    const int r = m_wRadius;
    CPen pen(PS_SOLID, 0, GetOutlineColor(pDC));
    CBrush brush(GetFillColor());
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    pDC->Pie(-r, r, r, -r, r, 0, -r, 0);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CArcShelter::DrawHandles(CDC* pDC) const
{
    const POINT handles[] = {FrontHandle(), RightHandle(), LeftHandle()};
    DrawHandleSquares(pDC, handles, 3);
}

BOOL CArcShelter::IsInSensorRange(const CSensorPoint& point) const
{
    const float radius = point.GetRadius();
    return radius >= float(GetMinDistance()) && radius <= float(GetMaxDistance());
}

BOOL CArcShelter::HitsVertex(const CSensorPoint& point) const
{
    // The arc's vertices are the points its handles stand on.
    const CPoint p = point.GetPoint();
    for (const POINT vertex : {FrontHandle(), RightHandle(), LeftHandle()})
        if (p.x == vertex.x && p.y == vertex.y) return TRUE;
    return FALSE;
}

BOOL CArcShelter::SetPoint(const CSensorPoint& point)
{
    const int radius = point.GetRoundedRadius();
    if (radius < 0 || radius > 0xFFFF) return FALSE;
    m_wRadius = WORD(radius);
    return TRUE;
}

WORD CArcShelter::HitTest(const CSensorPoint& point) const
{
    if (!IsInSensorRange(point)) return 0;
    WORD flags = m_wRadius < point.GetRoundedRadius() ? kHitOutside : kHitInside;
    if (IsOnHandle(point, FrontHandle()))
        flags |= kHitFrontHandle;
    else if (IsOnHandle(point, RightHandle()))
        flags |= kHitRightHandle;
    else if (IsOnHandle(point, LeftHandle()))
        flags |= kHitLeftHandle;
    return flags;
}

CSensorPoint CArcShelter::GetDragPosition(WORD hitFlags, const CSensorPoint& current) const
{
    if ((hitFlags & kHitHandle) == 0) return current;
    POINT handle;
    if ((hitFlags & kHitLeftHandle) == kHitLeftHandle)
        handle = LeftHandle();
    else if ((hitFlags & kHitFrontHandle) == kHitFrontHandle)
        handle = FrontHandle();
    else if ((hitFlags & kHitRightHandle) == kHitRightHandle)
        handle = RightHandle();
    else
        return current;
    CSensorPoint position;
    position.SetXY(float(handle.x), float(handle.y));
    return position;
}

BOOL CArcShelter::BeginDrag(const CSensorPoint& point)
{
    m_wDragFlags = HitTest(point);
    return FALSE;
}

BOOL CArcShelter::EndDrag(const CSensorPoint&)
{
    m_wDragFlags = 0;
    return FALSE;
}

BOOL CArcShelter::DragTo(const CSensorPoint& point)
{
    if (!IsDragging()) return FALSE;
    const int minDistance = GetMinDistance();
    const int maxDistance = GetMaxDistance();
    const CPoint p = point.GetPoint();
    int radius = m_wRadius;
    // The lower bound first, then the upper, so that the radius never exceeds the maximum.
    if ((m_wDragFlags & kHitLeftHandle) == kHitLeftHandle)
        radius = std::min(std::max(-p.x, minDistance), maxDistance);
    else if ((m_wDragFlags & kHitFrontHandle) == kHitFrontHandle)
        radius = std::min(std::max(p.y, minDistance), maxDistance);
    else if ((m_wDragFlags & kHitRightHandle) == kHitRightHandle)
        radius = std::min(std::max(p.x, minDistance), maxDistance);
    if (radius == m_wRadius) return FALSE;
    m_wRadius = WORD(radius);
    return TRUE;
}

std::unique_ptr<CPropertyPage> CArcShelter::CreatePropertyPage(int, BOOL inch, UINT nIDCaption)
{
    return GetShelterEditor().CreateArcPage(*this, inch, nIDCaption);
}

CString CArcShelter::GetTypeName() const
{
    CString name;
    name.LoadString(IDS_ARC_FIELD);
    return name;
}

BOOL CArcShelter::FitsUnit(int unit) const
{
    const int extent = RoundToInt(ConvertDistanceUnit(m_wRadius, GetUnit(), unit));
    return extent <= int(m_sensorType.GetMaxDistance());
}

BOOL CArcShelter::ChangeUnit(int unit)
{
    // The device type keeps cm whatever it is told, so rescaling the radius would only
    // corrupt it: the current unit is all there is.
    if (unit != GetUnit()) return FALSE;
    return FitsUnit(unit);
}

BOOL CArcShelter::CanConvertTo(int code) const
{
    if (CSensorType::GetBeamCountForResolution(code) != 0) return GetMaxWidth() >= m_wRadius;
    return IsConversionCode(code) && code != kConvertToArc;
}

std::unique_ptr<CShelter> CArcShelter::ConvertTo(int code) const
{
    if (!CanConvertTo(code)) return nullptr;
    const int beamCount = CSensorType::GetBeamCountForResolution(code);
    if (beamCount != 0) return MakeConstantContour(*this, m_wRadius, beamCount);
    return AskConvertedShape(*this, code);
}
