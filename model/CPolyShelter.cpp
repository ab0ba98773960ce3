#include "model/CPolyShelter.h"

#include "framework/core/CArchive.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CPropertyPage.h"
#include "model/CAngle.h"
#include "model/DistanceUnit.h"
#include "model/ShelterConversions.h"
#include "model/ShelterEditor.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CPolyShelter, CShelter, 0)

namespace {

constexpr BYTE kVersion = 1;
constexpr int kContourType = 13;
constexpr UINT IDS_POLYGON_FIELD = 967;

constexpr double kSlopeEpsilon = 1e-6;
constexpr double kVerticalSlope = 3.4028235e38;
// Radius of the point that gives a beam's ray its slope.
constexpr float kRayRadius = 10.0f;
// A point this far behind the scanner line still counts as on it (float sines at 0 and
// 180 degrees are not exactly 0).
constexpr float kBehindTolerance = 0.5f;
// A beam whose sine is this small runs along the scanner line: moving its vertex ahead
// would need an endless radius.
constexpr double kAlongScannerLine = 1e-3;

constexpr COLORREF kMarkedBeam = RGB(0, 255, 0);
constexpr COLORREF kUnmarkedBeam = RGB(255, 0, 0);
constexpr COLORREF kSelectedHandle = RGB(255, 255, 255);

struct Line {
    double x;
    double y;
    double slope;
};

double SlopeBetween(double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (std::fabs(dx) > kSlopeEpsilon) return dy / dx;
    return std::fabs(dy) > kSlopeEpsilon ? kVerticalSlope : 0.0;
}

// Parallel lines cross at the origin.
void Crossing(const Line& a, const Line& b, double& x, double& y)
{
    const double d = b.slope - a.slope;
    if (std::fabs(d) < kSlopeEpsilon) {
        x = y = 0;
        return;
    }
    const double cb = b.slope * b.x - b.y;
    const double ca = a.slope * a.x - a.y;
    x = (cb - ca) / d;
    y = (a.slope * cb - b.slope * ca) / d;
}

int DistanceOf(const CSensorPoint& point) { return std::clamp(point.GetRoundedRadius(), 0, 0xFFFF); }

} // namespace

CPolyShelter::CPolyShelter()
{
    SetSnap(1);
    m_contour.Fill(CBeamWord(), 0, kContourType);
}

CPolyShelter::CPolyShelter(const CPolyShelter& other) : CShelter(other), m_contour(other.m_contour) {}

std::unique_ptr<CSensorObject> CPolyShelter::Clone() const { return std::make_unique<CPolyShelter>(*this); }

void CPolyShelter::CopyFrom(const CPolyShelter& other)
{
    if (&other == this) return;
    CShelter::CopyFrom(other);
    m_contour.CopyFrom(other.m_contour);
}

void CPolyShelter::Serialize(CArchive& ar)
{
    CShelter::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion;
        m_contour.Serialize(ar);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    CBeamArray contour;
    contour.Serialize(ar);
    if (contour.GetType() != kContourType) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    m_contour.CopyFrom(contour);
    m_nDragBeam = -1;
}

// --- initialisers ---

void CPolyShelter::RefillContour(int count, WORD distance)
{
    CBeamWord word;
    word.SetDistance(kContourType, distance);
    m_contour.Fill(word, WORD(std::clamp(count, 0, int(CBeamArray::kMaxBeams))), kContourType);
}

void CPolyShelter::InitializeFromDistances(const CSensorType& type, const WORD* distances, int count, int kind)
{
    SetSensorType(type, kind);
    m_contour.SetWords(distances, WORD(std::clamp(count, 0, int(CBeamArray::kMaxBeams))), kContourType);
    if (GetVertexCount() == 0) {
        SetVertexFlags(-1, TRUE);
    } else {
        SetVertexFlags(0, TRUE);
        SetVertexFlags(GetBeamCount() - 1, TRUE);
    }
}

BOOL CPolyShelter::InitializeFromRectangle(const CSensorType& type, int beamCount, int left, int front, int right,
                                           int kind)
{
    SetSensorType(type, kind);
    RefillContour(beamCount, GetMinDistance());
    const int last = GetBeamCount() - 1;
    if (last < 0) return FALSE;
    SetBeamDistance(0, WORD(std::clamp(right, 0, 0xFFFF)));
    SetBeamDistance(last, WORD(std::clamp(left, 0, 0xFFFF)));
    SetVertexFlags(0, TRUE);
    SetVertexFlags(last, TRUE);
    CSensorPoint rightCorner;
    rightCorner.SetXY(float(right), float(front));
    CSensorPoint leftCorner;
    leftCorner.SetXY(float(-left), float(front));
    const BOOL rightTaken = SetPoint(SnapPoint(rightCorner, kSnapToGrid));
    const BOOL leftTaken = SetPoint(SnapPoint(leftCorner, kSnapToGrid));
    return rightTaken && leftTaken;
}

void CPolyShelter::InitializeConstant(const CSensorType& type, int distance, int beamCount, int kind)
{
    SetSensorType(type, kind);
    RefillContour(beamCount, WORD(std::clamp(distance, 0, 0xFFFF)));
    SetVertexFlags(-1, TRUE);
}

void CPolyShelter::InitializeWithBeamCount(const CSensorType& type, int beamCount, int kind)
{
    SetSensorType(type, kind);
    const int d = GetDefaultDistance();
    InitializeFromRectangle(type, beamCount, d, d, d, kind);
}

void CPolyShelter::ResetToDefaults() { InitializeWithBeamCount(GetSensorType(), GetBeamCount(), GetFieldKind()); }

// --- beams ---

float CPolyShelter::GetAngleStep() const
{
    const int count = GetBeamCount();
    if (count < 2) return 0;
    const float span = float(GetMaxAngle() - GetMinAngle());
    const float step = span / float(count);
    if (std::fmod(step, 0.25f) != 0) return span / float(count - 1);
    return step;
}

float CPolyShelter::GetBeamAngle(int beam) const { return float(GetMinAngle()) + float(beam) * GetAngleStep(); }

CSensorPoint CPolyShelter::GetBeamPoint(int beam) const
{
    CSensorPoint point;
    point.SetAngleRadius(GetBeamAngle(beam), float(GetBeamDistance(beam)));
    return point;
}

int CPolyShelter::BeamIndexFromAngle(float angle) const
{
    if (GetBeamCount() < 2) return -1;
    if (angle < float(GetMinAngle()) || angle > float(GetMaxAngle())) return -1;
    const int beam = RoundToInt((angle - float(GetMinAngle())) / GetAngleStep());
    return std::clamp(beam, 0, GetBeamCount() - 1);
}

int CPolyShelter::FindBeamAt(float angle, int distance) const
{
    const int beam = BeamIndexFromAngle(angle);
    if (beam < 0 || GetBeamDistance(beam) != WORD(distance)) return -1;
    return beam;
}

BOOL CPolyShelter::IsVertexAt(float angle, int distance) const
{
    const int beam = FindBeamAt(angle, distance);
    return beam >= 0 && IsVertex(beam);
}

int CPolyShelter::BeamUnder(const CSensorPoint& point) const { return FindBeamAt(point.GetAngle(), DistanceOf(point)); }

// --- contour rebuilding ---

int CPolyShelter::NextVertexAfter(int beam) const
{
    for (int k = beam + 1; k < GetBeamCount(); ++k)
        if (IsVertex(k)) return k;
    return GetBeamCount() - 1;
}

int CPolyShelter::PreviousVertexBefore(int beam) const
{
    for (int k = beam - 1; k >= 0; --k)
        if (IsVertex(k)) return k;
    return 0;
}

void CPolyShelter::FollowEdge(const CSensorPoint& from, const CSensorPoint& through, int first, int last)
{
    const Line edge{through.GetX(), through.GetY(), SlopeBetween(from.GetX(), from.GetY(), through.GetX(), through.GetY())};
    const WORD minDistance = GetMinDistance();
    for (int k = first + 1; k < last; ++k) {
        CSensorPoint rayPoint;
        rayPoint.SetAngleRadius(GetBeamAngle(k), kRayRadius);
        const Line ray{rayPoint.GetX(), rayPoint.GetY(), SlopeBetween(0, 0, rayPoint.GetX(), rayPoint.GetY())};
        double x = 0;
        double y = 0;
        Crossing(edge, ray, x, y);
        const int distance = std::clamp(RoundToInt(std::sqrt(x * x + y * y)), int(minDistance), 0x1FFF);
        SetBeamDistance(k, WORD(distance));
    }
}

void CPolyShelter::RebuildContour(int beam)
{
    if (beam < 0 || beam >= GetBeamCount()) return;
    const int next = NextVertexAfter(beam);
    const int previous = PreviousVertexBefore(beam);
    if (IsVertex(beam)) {
        const CSensorPoint p = GetBeamPoint(beam);
        if (next - beam > 1) FollowEdge(p, GetBeamPoint(next), beam, next);
        if (beam - previous > 1) FollowEdge(p, GetBeamPoint(previous), previous, beam);
    } else if (next - previous > 1) {
        FollowEdge(GetBeamPoint(previous), GetBeamPoint(next), previous, next);
    }
}

// --- points ---

BOOL CPolyShelter::IsInSensorRange(const CSensorPoint& point) const
{
    const float angle = point.GetAngle();
    const float radius = point.GetRadius();
    return angle >= float(GetMinAngle()) && angle <= float(GetMaxAngle()) && radius >= float(GetMinDistance())
        && radius <= float(GetMaxDistance()) && std::fabs(point.GetX()) <= float(GetMaxWidth())
        && point.GetY() >= -kBehindTolerance;
}

BOOL CPolyShelter::IsSelectedVertex(const CSensorPoint& point) const
{
    return IsVertexAt(point.GetAngle(), DistanceOf(point));
}

BOOL CPolyShelter::HitsVertex(const CSensorPoint& point) const { return IsVertexAt(point.GetAngle(), DistanceOf(point)); }

BOOL CPolyShelter::SetPoint(const CSensorPoint& point)
{
    if (!IsInSensorRange(point)) return FALSE;
    const int beam = BeamIndexFromAngle(point.GetAngle());
    if (beam < 0) return FALSE;
    SetBeamDistance(beam, WORD(DistanceOf(point)));
    SetVertexFlags(beam, TRUE);
    RebuildContour(beam);
    return TRUE;
}

BOOL CPolyShelter::RemovePoint(const CSensorPoint& point)
{
    if (!IsVertexAt(point.GetAngle(), DistanceOf(point))) return FALSE;
    const int beam = BeamIndexFromAngle(point.GetAngle());
    if (beam == 0 || beam == GetBeamCount() - 1)
        SetBeamDistance(beam, GetMinDistance());
    else
        SetVertexFlags(beam, FALSE);
    SetBeamSelection(beam, FALSE);
    RebuildContour(beam);
    return TRUE;
}

// --- selection ---

BOOL CPolyShelter::Select(int mode, const CSensorPoint& point)
{
    switch (mode) {
    case 0:
        if (HasSelection()) SetBeamSelection(-1, FALSE);
        break;
    case 1:
        SetBeamSelection(-1, TRUE);
        break;
    case 2:
        for (int k = 0; k < GetBeamCount(); ++k) SetBeamSelection(k, !IsBeamSelected(k));
        break;
    case 3: {
        const int beam = BeamUnder(point);
        if (beam < 0) break;
        const BOOL was = IsBeamSelected(beam);
        SetBeamSelection(-1, FALSE);
        SetBeamSelection(beam, !was);
        break;
    }
    case 4: {
        const int beam = BeamUnder(point);
        if (beam >= 0) SetBeamSelection(beam, !IsBeamSelected(beam));
        break;
    }
    case 5: {
        const int beam = BeamUnder(point);
        if (beam < 0) break;
        if (GetSelectedBeamCount() != 1) {
            SetBeamSelection(beam, !IsBeamSelected(beam));
            break;
        }
        int selected = 0;
        while (!IsBeamSelected(selected)) ++selected;
        for (int k = std::min(beam, selected); k <= std::max(beam, selected); ++k) SetBeamSelection(k, TRUE);
        break;
    }
    default:
        break;
    }
    return TRUE;
}

BOOL CPolyShelter::DeleteSelection()
{
    if (!HasSelection()) return FALSE;
    for (int k = 0; k < GetBeamCount(); ++k)
        if (IsBeamSelected(k)) RemovePoint(GetBeamPoint(k));
    // Selected beams without a vertex have nothing to remove; they must not stay selected.
    SetBeamSelection(-1, FALSE);
    return TRUE;
}

// --- hit test and dragging ---

int CPolyShelter::FindHandleBeam(const CSensorPoint& point) const
{
    const int d = BeamIndexFromAngle(point.GetAngle());
    if (d < 0) return -1;
    const float h = float(GetDistanceStep());
    const float radius = point.GetRadius();
    auto isHandle = [&](int k) {
        if (k < 0 || k >= GetBeamCount() || !IsVertex(k)) return false;
        const float distance = float(GetBeamDistance(k));
        return distance - h <= radius && radius <= distance + h;
    };
    for (int k : {d, d - 1, d + 1})
        if (isHandle(k)) return k;
    return -1;
}

WORD CPolyShelter::HitTest(const CSensorPoint& point) const
{
    if (!IsInSensorRange(point)) return 0;
    const int d = BeamIndexFromAngle(point.GetAngle());
    if (d < 0) return kHitOutside;
    WORD flags = float(GetBeamDistance(d)) >= point.GetRadius() ? kHitInside : kHitOutside;
    if (FindHandleBeam(point) >= 0) flags |= kHitHandle;
    return flags;
}

CSensorPoint CPolyShelter::GetDragPosition(WORD hitFlags, const CSensorPoint& current) const
{
    if (!(hitFlags & kHitHandle)) return current;
    const int beam = FindHandleBeam(current);
    return beam >= 0 ? GetBeamPoint(beam) : current;
}

BOOL CPolyShelter::BeginDrag(const CSensorPoint& point)
{
    m_nDragBeam = BeamUnder(point);
    m_dragPoint = point;
    if (GetSelectedBeamCount() == 1 && HitsVertex(point)) {
        m_dragOrigin.CopyFrom(m_contour);
        RemovePoint(point);
        m_bMoveSelection = 0;
        return TRUE;
    }
    m_bMoveSelection = 1;
    return FALSE;
}

BOOL CPolyShelter::DragTo(const CSensorPoint& point)
{
    const CSensorPoint previous = m_dragPoint;
    m_dragPoint = point;
    if (!m_bMoveSelection) return TRUE;
    if (GetVertexCount() == 0) return FALSE;

    const float dy = std::trunc(point.GetY() - previous.GetY());
    std::vector<CSensorPoint> moved;
    for (int k = 0; k < GetBeamCount(); ++k) {
        if (!IsVertex(k) || !IsBeamSelected(k)) continue;
        // A vertex on the scanner line cannot move ahead along its own beam: it stays.
        if (std::fabs(std::sin(DegreesToRadians(GetBeamAngle(k)))) < kAlongScannerLine) continue;
        CSensorPoint p = GetBeamPoint(k);
        p.SetYKeepAngle(p.GetY() + dy);
        const bool fits = p.GetRadius() >= float(GetMinDistance()) && p.GetRadius() <= float(GetMaxDistance())
            && std::fabs(p.GetX()) <= float(GetMaxWidth());
        if (!fits) return FALSE;
        moved.push_back(p);
    }
    for (const CSensorPoint& p : moved) SetPoint(p);
    return TRUE;
}

BOOL CPolyShelter::EndDrag(const CSensorPoint& point)
{
    BOOL result = FALSE;
    if (m_bMoveSelection == 0 && m_nDragBeam != -1) {
        RemovePoint(m_dragPoint);
        if (SetPoint(point)) {
            SetBeamSelection(BeamIndexFromAngle(point.GetAngle()), TRUE);
            result = TRUE;
        } else {
            m_contour.CopyFrom(m_dragOrigin);
        }
    }
    m_nDragBeam = -1;
    m_bMoveSelection = 0;
    return result;
}

// --- drawing ---

namespace {

std::vector<CPoint> OriginAndBeams(const CPolyShelter& field)
{
    std::vector<CPoint> points;
    points.reserve(std::size_t(field.GetBeamCount()) + 1);
    points.emplace_back(0, 0);
    for (int k = 0; k < field.GetBeamCount(); ++k) points.push_back(field.GetBeamPoint(k).GetPoint());
    return points;
}

} // namespace

void CPolyShelter::DrawOutline(CDC* pDC) const
{
    if (GetBeamCount() == 0) return;
    const std::vector<CPoint> points = OriginAndBeams(*this);
    DrawOutlinePolyline(pDC, points.data(), int(points.size()));
}

void CPolyShelter::DrawFilled(CDC* pDC) const
{
    if (GetBeamCount() == 0) return;
    const std::vector<CPoint> points = OriginAndBeams(*this);
    DrawFilledPolygon(pDC, points.data(), int(points.size()));
}

void CPolyShelter::DrawHandles(CDC* pDC) const
{
    if (GetVertexCount() == 0) return;
    CBrush handleBrush(GetHandleColor());
    CBrush selectedBrush(kSelectedHandle);
    CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
    CBrush* oldBrush = pDC->SelectObject(&handleBrush);
    const int oldMix = pDC->SetROP2(R2_COPYPEN);
    for (int k = 0; k < GetBeamCount(); ++k) {
        if (!IsVertex(k)) continue;
        const CRect square = GetHandleRect(GetBeamPoint(k).GetPoint());
        if (IsBeamSelected(k)) {
            pDC->SelectObject(&selectedBrush);
            pDC->Rectangle(square);
            pDC->MoveTo(square.left, square.top);
            pDC->LineTo(square.right, square.bottom);
            pDC->MoveTo(square.right, square.top);
            pDC->LineTo(square.left, square.bottom);
            pDC->SelectObject(&handleBrush);
        } else {
            pDC->Rectangle(square);
        }
    }
    pDC->SetROP2(oldMix);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CPolyShelter::DrawBeams(CDC* pDC) const
{
    if (GetBeamCount() == 0) return;
    CPen marked(PS_SOLID, 0, kMarkedBeam);
    CPen unmarked(PS_SOLID, 0, kUnmarkedBeam);
    CPen* oldPen = pDC->SelectObject(&unmarked);
    const int oldMix = pDC->SetROP2(R2_COPYPEN);
    for (int k = 0; k < GetBeamCount(); ++k) {
        pDC->SelectObject(IsBeamMarked(k) ? &marked : &unmarked);
        pDC->MoveTo(0, 0);
        pDC->LineTo(GetBeamPoint(k).GetPoint());
    }
    pDC->SetROP2(oldMix);
    pDC->SelectObject(oldPen);
}

// --- resampling ---

BOOL CPolyShelter::ResampleUp(int n)
{
    if (n <= GetBeamCount() || GetBeamCount() < 2 || n > int(CBeamArray::kMaxBeams)) return FALSE;
    const CPolyShelter old(*this);
    RefillContour(n, old.GetMinExtent());
    for (int k = 0; k < old.GetBeamCount(); ++k)
        if (old.IsVertex(k)) SetPoint(old.GetBeamPoint(k));
    return TRUE;
}

BOOL CPolyShelter::ResampleDown(int n)
{
    const int oldCount = GetBeamCount();
    if (n < 2 || n >= oldCount) return FALSE;
    const CBeamArray old(m_contour);
    RefillContour(n, old.GetMinDistance());
    const int group = (oldCount - 1) / (n - 1);
    for (int j = 0; j < n; ++j) {
        const int first = j * group;
        const int last = j == n - 1 ? oldCount - 1 : first + group - 1;
        WORD smallest = 0xFFFF;
        BOOL vertex = FALSE, mark = FALSE, selected = FALSE;
        for (int k = first; k <= last; ++k) {
            smallest = std::min(smallest, old.GetDistance(k));
            vertex |= old.GetFlag15(k);
            mark |= old.GetFlag14(k);
            selected |= old.GetFlag13(k);
        }
        SetBeamDistance(j, SnapDistance(smallest));
        SetVertexFlags(j, vertex);
        SetBeamMarks(j, mark);
        SetBeamSelection(j, selected);
    }
    return TRUE;
}

// --- editing, pages, units ---

BOOL CPolyShelter::Edit(CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner)
{
    return GetShelterEditor().EditPoly(*this, pParentWnd, polarEntry, inch, pOwner);
}

std::unique_ptr<CPropertyPage> CPolyShelter::CreatePropertyPage(int polarEntry, BOOL inch, UINT nIDCaption)
{
    return GetShelterEditor().CreatePolyPage(*this, polarEntry, inch, nIDCaption);
}

CString CPolyShelter::GetTypeName() const
{
    CString name;
    name.LoadString(IDS_POLYGON_FIELD);
    return name;
}

BOOL CPolyShelter::FitsUnit(int unit) const
{
    const int converted = RoundToInt(ConvertDistanceUnit(GetMaxExtent(), GetUnit(), unit));
    return GetSensorType().GetMaxDistance() >= converted;
}

BOOL CPolyShelter::ChangeUnit(int unit) { return unit == GetUnit() && FitsUnit(unit); }

BOOL CPolyShelter::CanConvertTo(int code) const
{
    switch (code) {
    case kConvertToContour91:
    case kConvertToContour181:
    case kConvertToContour361:
        return CSensorType::GetBeamCountForResolution(code) != GetBeamCount();
    case kConvertToRectangle:
    case kConvertToArc:
        return GetFieldKind() != kWarningField;
    case kConvertToRectangleContour:
    case kConvertToArcContour:
        return TRUE;
    default:
        return FALSE;
    }
}

std::unique_ptr<CShelter> CPolyShelter::ConvertTo(int code) const
{
    if (!CanConvertTo(code)) return nullptr;
    const int beamCount = CSensorType::GetBeamCountForResolution(code);
    if (beamCount == 0) return AskConvertedShape(*this, code);
    auto resampled = std::make_unique<CPolyShelter>(*this);
    const BOOL resampledOk =
        beamCount < GetBeamCount() ? resampled->ResampleDown(beamCount) : resampled->ResampleUp(beamCount);
    // A contour of fewer than two beams has no edges to carry over.
    if (!resampledOk) return nullptr;
    resampled->SetModified(1);
    return resampled;
}
