#include "model/CShelter.h"

#include "ArchiveBytes.h"
#include "framework/gdi/CDC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The least concrete field: a half disc of one radius with handles ahead and to the right.
// Radii above 1000 are refused, so that a refusal can be seen.
class DiscShelter : public CShelter {
public:
    DiscShelter() = default;
    DiscShelter(const DiscShelter& other) : CShelter(other), m_radius(other.m_radius) {}

    std::unique_ptr<CSensorObject> Clone() const override { return std::make_unique<DiscShelter>(*this); }

    void DrawOutline(CDC* pDC) const override
    {
        const std::vector<CPoint> arc = Corners();
        if (m_radius > 0) DrawOutlinePolyline(pDC, arc.data(), int(arc.size()));
    }
    void DrawFilled(CDC* pDC) const override
    {
        const std::vector<CPoint> arc = Corners();
        if (m_radius > 0) DrawFilledPolygon(pDC, arc.data(), int(arc.size()));
    }
    void DrawHandles(CDC* pDC) const override
    {
        const CPoint handles[] = {{0, m_radius}, {m_radius, 0}};
        DrawHandleSquares(pDC, handles, 2);
    }

    WORD GetMinExtent() const override { return WORD(m_radius); }
    WORD GetMaxExtent() const override { return WORD(m_radius); }
    BOOL IsInSensorRange(const CSensorPoint& p) const override
    {
        return p.GetRadius() >= GetMinDistance() && p.GetRadius() <= GetMaxDistance();
    }
    BOOL IsSelectedVertex(const CSensorPoint&) const override { return FALSE; }
    BOOL HitsVertex(const CSensorPoint&) const override { return FALSE; }
    BOOL SetPoint(const CSensorPoint& p) override
    {
        if (p.GetRoundedRadius() > 1000) return FALSE;
        m_radius = p.GetRoundedRadius();
        return TRUE;
    }
    BOOL RemovePoint(const CSensorPoint&) override { return FALSE; }
    BOOL HasSelection() const override { return FALSE; }
    BOOL Select(int, const CSensorPoint&) override { return FALSE; }
    BOOL DeleteSelection() override { return FALSE; }
    BOOL Edit(CWnd*, int, BOOL, CObject*) override { return FALSE; }
    void ResetToDefaults() override { m_radius = GetDefaultDistance(); }

    using CShelter::GetHandleRect;
    using CShelter::IsOnHandle;

    int m_radius = 0;

private:
    std::vector<CPoint> Corners() const { return {{m_radius, 0}, {0, m_radius}, {-m_radius, 0}}; }
};

DiscShelter MakeField(int typeCode, int kind)
{
    DiscShelter field;
    field.SetSensorType(CSensorType(typeCode, 0), kind);
    return field;
}

TEST(CShelterTest, NewFieldDefaults)
{
    DiscShelter field;
    EXPECT_EQ(field.GetSnap(), 1);
    EXPECT_EQ(field.GetFillColor(), 0xC0C0C0u);
    EXPECT_EQ(field.GetHandleColor(), 0x0080FFFFu);
    EXPECT_EQ(field.GetHandleSize(), CSize(10, 10));
    EXPECT_EQ(field.IsLocked() + field.IsProtectiveInDevice() + field.IsWarningInDevice(), 0);
    EXPECT_EQ(field.GetFieldKind(), kGeneralField);
    EXPECT_FALSE(field.IsBeamContour());
}

struct LimitCase {
    int typeCode;
    int kind;
    WORD minDistance, maxDistance, step, defaultDistance, maxWidth;
    UINT textId;
};

TEST(CShelterTest, DistanceLimitsFollowTheFieldKind)
{
    const LimitCase cases[] = {
        {4, kGeneralField, 5, 5000, 1, 50, 5000, 0},
        {4, kProtectiveField, 5, 400, 1, 50, 400, 522},
        {4, kWarningField, 5, 5000, 1, 50, 5000, 523},
        {7, kProtectiveField, 5, 400, 1, 50, 400, 524},
        {50, kProtectiveField, 5, 5000, 1, 50, 5000, 526},
        {50, kWarningField, 5, 5000, 1, 50, 5000, 527},
        {4, 9, 5, 5000, 1, 50, 5000, 0},
    };
    for (const LimitCase& c : cases) {
        const DiscShelter field = MakeField(c.typeCode, c.kind);
        EXPECT_EQ(field.GetMinDistance(), c.minDistance) << c.typeCode << "/" << c.kind;
        EXPECT_EQ(field.GetMaxDistance(), c.maxDistance) << c.typeCode << "/" << c.kind;
        EXPECT_EQ(field.GetDistanceStep(), c.step) << c.typeCode << "/" << c.kind;
        EXPECT_EQ(field.GetDefaultDistance(), c.defaultDistance) << c.typeCode << "/" << c.kind;
        EXPECT_EQ(field.GetMaxWidth(), c.maxWidth) << c.typeCode << "/" << c.kind;
        EXPECT_EQ(field.GetKindTextId(), c.textId) << c.typeCode << "/" << c.kind;
        EXPECT_EQ(field.GetMinAngle(), 0);
        EXPECT_EQ(field.GetMaxAngle(), 180);
        EXPECT_FLOAT_EQ(field.GetAngleStep(), 0.5f);
    }
}

TEST(CShelterTest, AnyEditOrNewTypeEndsTheAgreementWithTheDevice)
{
    DiscShelter field;
    for (int mark : {0, 1, 0x10000}) {
        field.SetLocked(1);
        field.SetProtectiveInDevice(1);
        EXPECT_EQ(field.SetWarningInDevice(1), 0);
        field.SetModified(mark);
        EXPECT_EQ(field.GetModified(), mark);
        EXPECT_EQ(field.IsLocked() + field.IsProtectiveInDevice() + field.IsWarningInDevice(), 0) << mark;
    }
    field.SetProtectiveInDevice(1);
    field.SetModified(1);
    field.SetSensorType(CSensorType(7, 1), kWarningField);
    EXPECT_EQ(field.GetSensorType(), CSensorType(7, 1));
    EXPECT_EQ(field.GetFieldKind(), kWarningField);
    EXPECT_EQ(field.GetModified(), 0);
    EXPECT_EQ(field.IsProtectiveInDevice(), 0);
}

TEST(CShelterTest, CopiesTakeEveryFieldAndAreMarkedModified)
{
    DiscShelter source = MakeField(50, kWarningField);
    source.SetSnap(0);
    source.SetFillColor(0x123456);
    source.SetHandleSize(4, 6);
    source.SetLocked(1);
    source.SetWarningInDevice(1);
    source.SetTime(CTime(1000000));
    source.m_radius = 300;

    const std::unique_ptr<CShelter> copy = source.CloneShelter();
    const auto& clone = static_cast<const DiscShelter&>(*copy);
    EXPECT_EQ(clone.GetSensorType(), CSensorType(50, 0));
    EXPECT_EQ(clone.GetFieldKind(), kWarningField);
    EXPECT_EQ(clone.GetSnap(), 0);
    EXPECT_EQ(clone.GetFillColor(), 0x123456u);
    EXPECT_EQ(clone.GetHandleSize(), CSize(4, 6));
    EXPECT_EQ(clone.IsLocked(), 1);
    EXPECT_EQ(clone.IsWarningInDevice(), 1);
    EXPECT_EQ(clone.GetTime(), CTime(1000000));
    EXPECT_EQ(clone.GetModified(), 1);
    EXPECT_EQ(clone.m_radius, 300);

    source.CopyFrom(source); // nothing happens
    EXPECT_EQ(source.GetModified(), 0);
    EXPECT_EQ(source.IsLocked(), 1);
}

TEST(CShelterTest, DistanceSnapping)
{
    DiscShelter field = MakeField(4, kGeneralField); // step 1, 5 to 5000
    const std::pair<int, WORD> cases[] = {
        {3, 5}, {6000, 5000}, {100, 100}, {5, 5}, {5000, 5000}, {0, 5},
        {65535, 5000}, // the upper candidate must not wrap to 0
        {70000, 5000}, {-20, 5},
    };
    for (const auto& [input, expected] : cases) EXPECT_EQ(field.SnapDistance(input), expected) << input;
    field.SetSnap(0);
    EXPECT_EQ(field.SnapDistance(3), 3);
    EXPECT_EQ(field.SnapDistance(6000), 6000);
}

TEST(CShelterTest, AngleSnappingRoundsTiesTowardStraightAhead)
{
    DiscShelter field = MakeField(4, kProtectiveField); // step 0.5, 0 to 180
    const std::pair<float, float> cases[] = {
        {45.25f, 45.5f},  {135.25f, 135.0f}, {180.3f, 180.0f}, {89.75f, 90.0f}, {90.25f, 90.0f},
        {44.1f, 44.0f},   {44.4f, 44.5f},    {-0.3f, 0.0f},    {0.0f, 0.0f},    {179.9f, 180.0f},
    };
    for (const auto& [input, expected] : cases) EXPECT_FLOAT_EQ(field.SnapAngle(input), expected) << input;
    EXPECT_TRUE(field.IsOnGrid(45.5f, 100));
    EXPECT_FALSE(field.IsOnGrid(45.25f, 100));
    EXPECT_FALSE(field.IsOnGrid(45.5f, 4000)); // beyond the protective maximum 400

    field.SetSnap(0);
    EXPECT_FLOAT_EQ(field.SnapAngle(45.25f), 45.25f);
    EXPECT_FLOAT_EQ(field.SnapAngle(180.3f), 180.3f);
    EXPECT_TRUE(field.IsOnGrid(45.25f, 4000));
}

struct BeamCase {
    double x, y;
    float firstX, firstY, secondX, secondY;
};

TEST(CShelterTest, PointsOnTheNeighbouringBeams)
{
    const DiscShelter field = MakeField(4, kGeneralField);
    const BeamCase cases[] = {
        {0, 100, 0, 100, 0, 100},
        // 45.05 degrees: within 0.1 of the 45 degree beam, which both points take.
        {70.64894, 70.77235, 70.7f, 70.7f, 70.7f, 70.7f},
        // 28.81 degrees: first on 29 (nearer 90) keeps x, second on 28.5 keeps y.
        {100, 55, 99.7f, 55.3f, 101.1f, 54.9f},
        {-100, 55, -99.7f, 55.3f, -101.1f, 54.9f},
        // Behind the scanner: the nearest end of the angle range.
        {100, -50, 100, 0, 100, 0},
        {-100, -50, -100, 0, -100, 0},
        {-3, 0, -3, 0, -3, 0},
    };
    for (const BeamCase& c : cases) {
        CSensorPoint first;
        CSensorPoint second;
        field.PolarFromPoint(c.x, c.y, first, second);
        EXPECT_NEAR(first.GetX(), c.firstX, 1e-4) << c.x << "," << c.y;
        EXPECT_NEAR(first.GetY(), c.firstY, 1e-4) << c.x << "," << c.y;
        EXPECT_NEAR(second.GetX(), c.secondX, 1e-4) << c.x << "," << c.y;
        EXPECT_NEAR(second.GetY(), c.secondY, 1e-4) << c.x << "," << c.y;
    }
}

TEST(CShelterTest, SnapPointByMode)
{
    DiscShelter field = MakeField(4, kGeneralField);
    CSensorPoint point;
    point.SetXY(100, 55);

    const CSensorPoint keepY = field.SnapPoint(point, kSnapKeepY);
    EXPECT_NEAR(keepY.GetX(), 101.1f, 1e-4);
    EXPECT_NEAR(keepY.GetY(), 54.9f, 1e-4);
    const CSensorPoint keepX = field.SnapPoint(point, kSnapKeepX);
    EXPECT_NEAR(keepX.GetX(), 99.7f, 1e-4);
    EXPECT_NEAR(keepX.GetY(), 55.3f, 1e-4);

    // The grid: 28.81 degrees and 114.13 cm become 29 degrees and 114 cm.
    const CSensorPoint grid = field.SnapPoint(point, kSnapToGrid);
    EXPECT_NEAR(grid.GetAngle(), 29.0f, 1e-3);
    EXPECT_NEAR(grid.GetRadius(), 114.0f, 1e-3);
    EXPECT_TRUE(field.IsPointOnGrid(CSensorPoint(CPolarCoord(29.0f, 114.0f))));
    EXPECT_FALSE(field.IsPointOnGrid(point));

    // Without snapping the grid mode keeps the point; the beam modes still move it.
    field.SetSnap(0);
    const CSensorPoint kept = field.SnapPoint(point, kSnapToGrid);
    EXPECT_NEAR(kept.GetAngle(), point.GetAngle(), 1e-3);
    EXPECT_NEAR(kept.GetRadius(), 114.0f, 1e-3); // the radius is taken as whole cm
    EXPECT_NEAR(field.SnapPoint(point, kSnapKeepY).GetX(), 101.1f, 1e-4);
}

TEST(CShelterTest, PlacedPointChangesTheFieldOnlyWhenTaken)
{
    DiscShelter field = MakeField(4, kGeneralField);
    field.m_radius = 50;
    CSensorPoint point;

    // Outside the sensor range, and refused by the shape: no change, no modified mark,
    // and the field still agrees with the device.
    for (const float radius : {2.0f, 1200.0f}) {
        field.SetProtectiveInDevice(1);
        point.SetAngleRadius(90, radius);
        EXPECT_FALSE(field.PlacePoint(point, kSnapToGrid)) << radius;
        EXPECT_EQ(field.m_radius, 50) << radius;
        EXPECT_EQ(field.GetModified(), 0) << radius;
        EXPECT_EQ(field.IsProtectiveInDevice(), 1) << radius;
    }

    point.SetAngleRadius(90, 300.4f);
    EXPECT_TRUE(field.PlacePoint(point, kSnapToGrid));
    EXPECT_EQ(field.m_radius, 300);
    EXPECT_EQ(field.GetModified(), 1);
    EXPECT_EQ(field.IsProtectiveInDevice(), 0);
}

TEST(CShelterTest, HandleSquaresAreClosedAroundTheirPoint)
{
    DiscShelter field;
    const CPoint handle(0, 100);
    EXPECT_EQ(field.GetHandleRect(handle), CRect(-5, 95, 5, 105));
    struct Case {
        float x, y;
        bool on;
    };
    const Case cases[] = {
        {5, 105, true}, {-5, 95, true}, {5.4f, 105.4f, true}, {5.5f, 100, false}, {0, 94.4f, false}, {0, 100, true},
    };
    for (const Case& c : cases) {
        CSensorPoint p;
        p.SetXY(c.x, c.y);
        EXPECT_EQ(bool(field.IsOnHandle(p, handle)), c.on) << c.x << "," << c.y;
    }
    // Odd sizes use integer halves; a negative size still gives a square.
    field.SetHandleSize(11, -7);
    EXPECT_EQ(field.GetHandleRect(handle), CRect(-5, 103, 5, 97));
    CSensorPoint inside;
    inside.SetXY(5, 97);
    EXPECT_TRUE(field.IsOnHandle(inside, handle));
}

// The 12-byte sensor-object level of a field of type 4 variant 0 made at time 1000000.
const std::vector<BYTE> kObjectLevel = {0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xC0, 0x0F, 0x00, 0x00, 0x00};

std::vector<BYTE> WithObjectLevel(std::initializer_list<BYTE> shelterLevel)
{
    std::vector<BYTE> bytes = kObjectLevel;
    bytes.insert(bytes.end(), shelterLevel);
    return bytes;
}

TEST(CShelterTest, ArchiveLevelBytes)
{
    DiscShelter field = MakeField(4, kProtectiveField);
    field.SetSnap(0);
    field.SetTime(CTime(1000000));
    EXPECT_EQ(StoreBytes(field), WithObjectLevel({0x03, 0x00, 0x00, 0xC0, 0xC0, 0xC0, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x0A,
                                                  0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00}));

    // The device flags are written, but a loaded field never agrees with a device.
    field.SetLocked(1);
    field.SetProtectiveInDevice(1);
    field.SetWarningInDevice(1);
    const std::vector<BYTE> stored = StoreBytes(field);
    EXPECT_EQ(std::vector<BYTE>(stored.end() - 8, stored.end()),
              (std::vector<BYTE>{0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00}));
    DiscShelter loaded;
    LoadBytes(loaded, stored);
    EXPECT_EQ(loaded.IsLocked(), 1);
    EXPECT_EQ(loaded.IsProtectiveInDevice(), 0);
    EXPECT_EQ(loaded.IsWarningInDevice(), 0);
    EXPECT_EQ(loaded.GetFieldKind(), kProtectiveField);
    EXPECT_EQ(loaded.GetSnap(), 0);
    EXPECT_EQ(loaded.GetHandleSize(), CSize(10, 10));
    EXPECT_EQ(loaded.GetTime(), CTime(1000000));
}

TEST(CShelterTest, OlderVersionsRead)
{
    // Version 2: 32-bit handle size, no warning flag; the kind is sign-extended.
    DiscShelter loaded;
    loaded.SetWarningInDevice(1);
    LoadBytes(loaded, WithObjectLevel({0x02, 0x01, 0x00, 0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x66, 0x00, 0x07, 0x00,
                                       0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(loaded.GetSnap(), 1);
    EXPECT_EQ(loaded.GetFillColor(), 0x332211u);
    EXPECT_EQ(loaded.GetHandleColor(), 0x665544u);
    EXPECT_EQ(loaded.GetHandleSize(), CSize(7, 9));
    EXPECT_EQ(loaded.IsLocked(), 1);
    EXPECT_EQ(loaded.IsProtectiveInDevice(), 0);
    EXPECT_EQ(loaded.IsWarningInDevice(), 0);
    EXPECT_EQ(loaded.GetFieldKind(), -1);

    // Version 1: no flags and no kind at all.
    loaded.SetLocked(1);
    loaded.SetProtectiveInDevice(1);
    loaded.SetSensorType(CSensorType(4, 0), kWarningField);
    LoadBytes(loaded, WithObjectLevel({0x01, 0x00, 0x00, 0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x66, 0x00, 0x02, 0x00,
                                       0x00, 0x00, 0x02, 0x00, 0x00, 0x00}));
    EXPECT_EQ(loaded.GetSnap(), 0);
    EXPECT_EQ(loaded.GetHandleSize(), CSize(2, 2));
    EXPECT_EQ(loaded.IsLocked() + loaded.IsProtectiveInDevice() + loaded.IsWarningInDevice(), 0);
    EXPECT_EQ(loaded.GetFieldKind(), kGeneralField);

    EXPECT_EQ(LoadFailure(loaded, WithObjectLevel({0x04, 0x00, 0x00})), CArchiveException::badSchema);
    EXPECT_EQ(LoadFailure(loaded, WithObjectLevel({0x03, 0x00, 0x00, 0xC0})), CArchiveException::endOfFile);
}

std::vector<CString> DrawField(const DiscShelter& field, BOOL printing)
{
    CDC dc;
    EXPECT_TRUE(dc.CreateRecordingDC(800, 600, 96, 96, printing));
    dc.ClearRecording();
    field.DrawOutline(&dc);
    field.DrawFilled(&dc);
    field.DrawHandles(&dc);
    return dc.GetRecording();
}

TEST(CShelterTest, DrawingOnScreenAndOnPaper)
{
    DiscShelter field;
    field.m_radius = 100;
    field.SetFillColor(RGB(0, 0, 255));
    // Outlines are white on the black screen and black on paper; handles are the same.
    for (const BOOL printing : {FALSE, TRUE}) {
        const CString outlinePen = printing ? "SelectObject pen style=0 width=0 color=#000000"
                                            : "SelectObject pen style=0 width=0 color=#FFFFFF";
        const std::vector<CString> expected = {
            outlinePen,
            "Polyline L[(100,0) (0,100) (-100,0)] D[(100,0) (0,100) (-100,0)]",
            "SelectObject pen style=0 width=0 color=#000000",
            outlinePen,
            "SelectObject brush style=0 color=#0000FF",
            "SetPolyFillMode 2",
            "Polygon L[(100,0) (0,100) (-100,0)] D[(100,0) (0,100) (-100,0)]",
            "SetPolyFillMode 1",
            "SelectObject brush style=0 color=#FFFFFF",
            "SelectObject pen style=0 width=0 color=#000000",
            "SelectObject pen style=0 width=0 color=#000000",
            "SelectObject brush style=0 color=#FFFF80",
            "SetROP2 13",
            "Rectangle L[-5,95,5,105] D[-5,95,5,105]",
            "Rectangle L[95,-5,105,5] D[95,-5,105,5]",
            "SetROP2 13",
            "SelectObject brush style=0 color=#FFFFFF",
            "SelectObject pen style=0 width=0 color=#000000",
        };
        EXPECT_EQ(DrawField(field, printing), expected) << printing;
    }

    // The mix is restored to what it was.
    CDC dc;
    ASSERT_TRUE(dc.CreateRecordingDC(100, 100));
    dc.SetROP2(R2_XORPEN);
    field.DrawHandles(&dc);
    EXPECT_EQ(dc.GetROP2(), R2_XORPEN);
}

} // namespace
