#include "model/CArcShelter.h"

#include "ArchiveBytes.h"
#include "framework/core/CMemFile.h"
#include "framework/gdi/CDC.h"
#include "model/DistanceUnit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A protective arc of the type with the 400 cm range: distances 5 to 400, handles 10 x 10.
CArcShelter MakeArc(WORD radius)
{
    CArcShelter arc;
    arc.Initialize(CSensorType(4, 0), radius, kProtectiveField);
    return arc;
}

CSensorPoint Point(float x, float y)
{
    CSensorPoint p;
    p.SetXY(x, y);
    return p;
}

TEST(CArcShelterTest, ConstructionDefaultsAndCopies)
{
    CArcShelter fresh;
    EXPECT_EQ(fresh.GetSnap(), 0);
    EXPECT_EQ(fresh.GetRadius(), 0);
    EXPECT_FALSE(fresh.IsDragging());

    CArcShelter arc;
    arc.InitializeDefault(CSensorType(50, 0), kWarningField);
    EXPECT_EQ(arc.GetRadius(), 50);
    EXPECT_EQ(arc.GetFieldKind(), kWarningField);
    arc.SetRadius(300);
    arc.ResetToDefaults();
    EXPECT_EQ(arc.GetRadius(), 50);
    EXPECT_EQ(arc.GetSensorType(), CSensorType(50, 0));

    // A copy takes the field and the radius but is not dragging.
    CArcShelter source = MakeArc(120);
    source.SetFillColor(RGB(1, 2, 3));
    ASSERT_FALSE(source.BeginDrag(Point(0, 120)));
    ASSERT_TRUE(source.IsDragging());
    const std::unique_ptr<CShelter> clone = source.CloneShelter();
    ASSERT_TRUE(clone->IsKindOf(RUNTIME_CLASS(CArcShelter)));
    const auto& copy = static_cast<const CArcShelter&>(*clone);
    EXPECT_EQ(copy.GetRadius(), 120);
    EXPECT_EQ(copy.GetFillColor(), RGB(1, 2, 3));
    EXPECT_EQ(copy.GetFieldKind(), kProtectiveField);
    EXPECT_FALSE(copy.IsDragging());

    CArcShelter assigned;
    assigned = source;
    EXPECT_EQ(assigned.GetRadius(), 120);
    assigned = assigned;
    EXPECT_EQ(assigned.GetRadius(), 120);
}

TEST(CArcShelterTest, RangeVertexAndPointRules)
{
    const CArcShelter arc = MakeArc(100);
    struct Case {
        float x, y;
        bool inRange;
        bool vertex;
    };
    // Only the distance counts for the range, not the angle or the width.
    const Case cases[] = {
        {0, 100, true, true},   {100, 0, true, true},  {-100, 0, true, true}, {-100, 100, true, false},
        {100, 100, true, false}, {0, 4.9f, false, false}, {0, 5, true, false},   {-400, 0, true, false},
        {0, 400.5f, false, false}, {3, -4, true, false},  {0.4f, 99.6f, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bool(arc.IsInSensorRange(Point(c.x, c.y))), c.inRange) << c.x << "," << c.y;
        EXPECT_EQ(bool(arc.HitsVertex(Point(c.x, c.y))), c.vertex) << c.x << "," << c.y;
    }

    CArcShelter target = MakeArc(100);
    EXPECT_TRUE(target.SetPoint(Point(30, 40.4f)));
    EXPECT_EQ(target.GetRadius(), 50);
    // A distance a 16-bit radius cannot hold is refused, not wrapped.
    EXPECT_FALSE(target.SetPoint(Point(70000, 0)));
    EXPECT_EQ(target.GetRadius(), 50);
    EXPECT_FALSE(target.RemovePoint(Point(0, 50)));
    EXPECT_FALSE(target.HasSelection());
    EXPECT_TRUE(target.Select(1, Point(0, 50)));
    EXPECT_TRUE(target.DeleteSelection());
    EXPECT_EQ(target.GetMinExtent(), 50);
    EXPECT_EQ(target.GetMaxExtent(), 50);
}

TEST(CArcShelterTest, HitTestFlags)
{
    struct Case {
        WORD radius;
        float x, y;
        WORD flags;
    };
    const Case cases[] = {
        {100, 0, 50, 0x01},      // inside
        {100, 0, 200, 0x02},     // beyond the arc
        {100, 0, 100, 0x15},     // front handle, on the arc
        {100, 4, 104, 0x16},     // front handle square, just beyond
        {100, 100, 0, 0x45},     // right handle
        {100, -105, 5, 0x86},    // corner of the left handle square
        {100, -106, 0, 0x02},    // just off it
        {100, 0, 4, 0x00},       // nearer than the minimum distance
        {400, 0, 404, 0x00},     // beyond the maximum, even on the front handle square
        {400, 0, 396, 0x15},
        {5, 3, 4, 0x15},         // front and right squares overlap: the front handle wins
    };
    for (const Case& c : cases) {
        const CArcShelter arc = MakeArc(c.radius);
        EXPECT_EQ(arc.HitTest(Point(c.x, c.y)), c.flags) << c.radius << ": " << c.x << "," << c.y;
    }
}

TEST(CArcShelterTest, DraggingEachHandleStaysWithinTheDistanceLimits)
{
    struct Case {
        float grabX, grabY; // where the drag starts
        float toX, toY;
        WORD radius;        // after the drag; 100 when nothing moved
    };
    const Case cases[] = {
        {0, 100, 0, 250, 250},    {0, 100, 30, 20.4f, 20},  {0, 100, 0, 2, 5},    {0, 100, 0, 900, 400},
        {100, 0, 150, 80, 150},   {100, 0, -30, 0, 5},      {100, 0, 450, 0, 400},
        {-100, 0, -150, 70, 150}, {-100, 0, 30, 0, 5},      {-100, 0, -500, 0, 400},
        {0, 50, 0, 250, 100},     // a press inside, on no handle, drags nothing
    };
    for (const Case& c : cases) {
        CArcShelter arc = MakeArc(100);
        arc.BeginDrag(Point(c.grabX, c.grabY));
        EXPECT_EQ(arc.DragTo(Point(c.toX, c.toY)), c.radius != 100) << c.toX << "," << c.toY;
        EXPECT_EQ(arc.GetRadius(), c.radius) << c.toX << "," << c.toY;
        // Reaching the same radius again is no change.
        EXPECT_FALSE(arc.DragTo(Point(c.toX, c.toY)));
        arc.EndDrag(Point(c.toX, c.toY));
        EXPECT_FALSE(arc.IsDragging());
        EXPECT_FALSE(arc.DragTo(Point(0, 300)));
    }
}

TEST(CArcShelterTest, DragPositionOfEachHandle)
{
    const CArcShelter arc = MakeArc(120);
    const CSensorPoint current = Point(7, 8);
    struct Case {
        WORD flags;
        float x, y;
    };
    const Case cases[] = {
        {0x84, -120, 0}, {0x14, 0, 120}, {0x44, 120, 0}, {0x86, -120, 0}, {0xD4, -120, 0}, {0x04, 7, 8}, {0x80, 7, 8},
        {0x01, 7, 8},
    };
    for (const Case& c : cases) {
        const CSensorPoint p = arc.GetDragPosition(c.flags, current);
        EXPECT_FLOAT_EQ(p.GetX(), c.x) << std::hex << c.flags;
        EXPECT_FLOAT_EQ(p.GetY(), c.y) << std::hex << c.flags;
    }
}

std::vector<CString> DrawArc(const CArcShelter& arc, BOOL printing)
{
    CDC dc;
    EXPECT_TRUE(dc.CreateRecordingDC(800, 600, 96, 96, printing));
    dc.ClearRecording();
    arc.DrawOutline(&dc);
    arc.DrawFilled(&dc);
    arc.DrawHandles(&dc);
    return dc.GetRecording();
}

const std::vector<CString> kHandleCalls = {
    "SelectObject pen style=0 width=0 color=#000000",
    "SelectObject brush style=0 color=#FFFF80",
    "SetROP2 13",
    "Rectangle L[-5,95,5,105] D[-5,95,5,105]",
    "Rectangle L[95,-5,105,5] D[95,-5,105,5]",
    "Rectangle L[-105,-5,-95,5] D[-105,-5,-95,5]",
    "SetROP2 13",
    "SelectObject brush style=0 color=#FFFFFF",
    "SelectObject pen style=0 width=0 color=#000000",
};

TEST(CArcShelterTest, DrawingOnScreenAndOnPaper)
{
    CArcShelter arc = MakeArc(100);
    arc.SetFillColor(RGB(0, 0, 255));
    for (const BOOL printing : {FALSE, TRUE}) {
        const CString pen = printing ? "SelectObject pen style=0 width=0 color=#000000"
                                     : "SelectObject pen style=0 width=0 color=#FFFFFF";
        std::vector<CString> expected = {
            pen,
            "Arc L[-100,100,100,-100,100,0,-100,0] D[-100,-100,100,100,100,0,-100,0]",
            "SelectObject pen style=0 width=0 color=#000000",
            pen,
            "SelectObject brush style=0 color=#0000FF",
            "Pie L[-100,100,100,-100,100,0,-100,0] D[-100,-100,100,100,100,0,-100,0]",
            "SelectObject brush style=0 color=#FFFFFF",
            "SelectObject pen style=0 width=0 color=#000000",
        };
        expected.insert(expected.end(), kHandleCalls.begin(), kHandleCalls.end());
        EXPECT_EQ(DrawArc(arc, printing), expected) << printing;
    }

    // A radius of 0 draws no outline and no fill, only the handles (all at the scanner).
    const std::vector<CString> calls = DrawArc(MakeArc(0), FALSE);
    ASSERT_EQ(calls.size(), kHandleCalls.size());
    EXPECT_EQ(calls[3], "Rectangle L[-5,-5,5,5] D[-5,-5,5,5]");
}

TEST(CArcShelterTest, UnitsStayInCentimetres)
{
    CArcShelter arc = MakeArc(450);
    EXPECT_TRUE(arc.FitsUnit(kUnitCm));
    EXPECT_TRUE(arc.FitsUnit(kUnitMm)); // 4500 mm is within the general maximum of 5000
    EXPECT_TRUE(arc.FitsUnit(kUnitDm));
    arc.SetRadius(600);
    EXPECT_FALSE(arc.FitsUnit(kUnitMm));
    // The type keeps cm whatever it is told: a unit change would only rescale the radius.
    EXPECT_FALSE(arc.ChangeUnit(kUnitDm));
    EXPECT_FALSE(arc.ChangeUnit(kUnitMm));
    EXPECT_EQ(arc.GetRadius(), 600);
    EXPECT_TRUE(arc.ChangeUnit(kUnitCm));
    EXPECT_EQ(arc.GetRadius(), 600);
}

// Object head, sensor-object level (type 4, time 1000000, mark 0), field level of a
// protective field with snapping off, arc level with radius 100.
const std::vector<BYTE> kArcObject = {
    0xFF, 0xFF, 0x00, 0x00, 0x0B, 0x00, 'C', 'A', 'r', 'c', 'S', 'h', 'e', 'l', 't', 'e', 'r',
    0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xC0, 0x0F, 0x00, 0x00, 0x00,
    0x03, 0x00, 0x00, 0xC0, 0xC0, 0xC0, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x01, 0x00,
    0x01, 0x64, 0x00,
};

std::unique_ptr<CObject> ReadObjectFrom(std::vector<BYTE> bytes)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return std::unique_ptr<CObject>(ar.ReadObject(RUNTIME_CLASS(CShelter)));
}

TEST(CArcShelterTest, ArchiveBytesAndVersions)
{
    CArcShelter arc = MakeArc(100);
    arc.SetTime(CTime(1000000));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(&arc);
        ar.Close();
    }
    EXPECT_EQ(file.Detach(), kArcObject);

    const std::unique_ptr<CObject> read = ReadObjectFrom(kArcObject);
    ASSERT_TRUE(read && read->IsKindOf(RUNTIME_CLASS(CArcShelter)));
    const auto& loaded = static_cast<const CArcShelter&>(*read);
    EXPECT_EQ(loaded.GetRadius(), 100);
    EXPECT_EQ(loaded.GetFieldKind(), kProtectiveField);
    EXPECT_EQ(loaded.GetTime(), CTime(1000000));

    // Only version 1 of the arc level is known; a short level is the end of the file.
    std::vector<BYTE> version2 = kArcObject;
    version2[version2.size() - 3] = 0x02;
    std::vector<BYTE> shortened(kArcObject.begin(), kArcObject.end() - 1);
    for (const auto& [bytes, cause] : {std::pair{version2, int(CArchiveException::badSchema)},
                                       std::pair{shortened, int(CArchiveException::endOfFile)}}) {
        try {
            ReadObjectFrom(bytes);
            ADD_FAILURE() << "read without an error";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, cause);
        }
    }
}

} // namespace
