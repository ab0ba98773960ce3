#include "model/CRectShelter.h"

#include "ArchiveBytes.h"
#include "framework/core/CMemFile.h"
#include "framework/gdi/CDC.h"
#include "model/DistanceUnit.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// A protective rectangle of the type with the 400 cm range: distances 5 to 400, width 400.
CRectShelter MakeRect(WORD left, WORD front, WORD right)
{
    CRectShelter rect;
    rect.Initialize(CSensorType(4, 0), left, front, right, kProtectiveField);
    return rect;
}

CSensorPoint Point(float x, float y)
{
    CSensorPoint p;
    p.SetXY(x, y);
    return p;
}

struct Extents {
    WORD left, front, right;
    friend bool operator==(const Extents&, const Extents&) = default;
};

Extents ExtentsOf(const CRectShelter& rect) { return {rect.GetLeft(), rect.GetFront(), rect.GetRight()}; }

void PrintTo(const Extents& e, std::ostream* os) { *os << e.left << "/" << e.front << "/" << e.right; }

TEST(CRectShelterTest, ConstructionDefaultsAndCopies)
{
    CRectShelter fresh;
    EXPECT_EQ(fresh.GetSnap(), 0);
    EXPECT_EQ(ExtentsOf(fresh), (Extents{0, 0, 0}));

    CRectShelter rect;
    rect.InitializeDefault(CSensorType(7, 1), kWarningField);
    EXPECT_EQ(ExtentsOf(rect), (Extents{50, 50, 50}));
    rect.SetExtents(10, 20, 30);
    WORD left = 0, front = 0, right = 0;
    rect.GetExtents(left, front, right);
    EXPECT_EQ((Extents{left, front, right}), (Extents{10, 20, 30}));
    rect.ResetToDefaults();
    EXPECT_EQ(ExtentsOf(rect), (Extents{50, 50, 50}));
    EXPECT_EQ(rect.GetFieldKind(), kWarningField);

    CRectShelter source = MakeRect(100, 200, 150);
    source.BeginDrag(Point(0, 200));
    ASSERT_TRUE(source.IsDragging());
    const std::unique_ptr<CShelter> clone = source.CloneShelter();
    ASSERT_TRUE(clone->IsKindOf(RUNTIME_CLASS(CRectShelter)));
    const auto& copy = static_cast<const CRectShelter&>(*clone);
    EXPECT_EQ(ExtentsOf(copy), (Extents{100, 200, 150}));
    EXPECT_FALSE(copy.IsDragging());

    CRectShelter assigned;
    assigned = source;
    EXPECT_EQ(ExtentsOf(assigned), (Extents{100, 200, 150}));
    EXPECT_EQ(assigned.GetFieldKind(), kProtectiveField);
}

TEST(CRectShelterTest, FarCornerExtents)
{
    struct Case {
        Extents extents;
        WORD minExtent, maxExtent;
    };
    const Case cases[] = {
        {{30, 40, 0}, 40, 50},
        {{300, 400, 0}, 400, 500},
        {{1, 1, 1}, 1, 1},       // 1.414 rounds down
        {{3, 3, 0}, 3, 4},       // 4.243 rounds down, 3 stays
        {{5, 5, 0}, 5, 7},       // 7.071
        {{65535, 65535, 0}, 65535, 65535},
    };
    for (const Case& c : cases) {
        const CRectShelter rect = MakeRect(c.extents.left, c.extents.front, c.extents.right);
        EXPECT_EQ(rect.GetMinExtent(), c.minExtent) << c.extents.left;
        EXPECT_EQ(rect.GetMaxExtent(), c.maxExtent) << c.extents.left;
    }
}

TEST(CRectShelterTest, SensorRange)
{
    const CRectShelter rect = MakeRect(100, 200, 300);
    struct Case {
        float x, y;
        bool inRange;
    };
    const Case cases[] = {
        {50, 200, true},
        {0, 200, false},     // straight ahead: abs(x) is below the minimum distance
        {3, 100, false},
        {50, -200, false},   // behind the scanner
        {50, 380, true},     // the far corner of the left side at this depth: 393
        {-50, 380, false},   // the far corner of the right side at this depth: 484
        {300, 300, false},   // the point itself lies 424 away
        {-390, 50, true},
        {-401, 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bool(rect.IsInSensorRange(Point(c.x, c.y))), c.inRange) << c.x << "," << c.y;
}

TEST(CRectShelterTest, SetPointAndVertices)
{
    struct Case {
        float x, y;
        bool taken;
        Extents after;
    };
    const Case cases[] = {
        {50.4f, 200, true, {100, 200, 50}},
        {-70, 80.5f, true, {70, 81, 100}},
        {0.3f, 150, false, {100, 100, 100}},   // straight ahead names no side
        {50, -100, false, {100, 100, 100}},    // behind the scanner: no negative front
        {70000, 10, false, {100, 100, 100}},   // beyond what an extent holds
    };
    for (const Case& c : cases) {
        CRectShelter rect = MakeRect(100, 100, 100);
        EXPECT_EQ(bool(rect.SetPoint(Point(c.x, c.y))), c.taken) << c.x << "," << c.y;
        EXPECT_EQ(ExtentsOf(rect), c.after) << c.x << "," << c.y;
    }

    // The corners ahead and the handle points are the vertices.
    const CRectShelter rect = MakeRect(100, 101, 150);
    const std::vector<std::pair<int, int>> vertices = {{-100, 50}, {-100, 101}, {0, 101}, {150, 101}, {150, 50}};
    const std::vector<std::pair<int, int>> others = {{150, 0}, {-100, 51}, {0, 0}, {0, 50}};
    for (const auto& [x, y] : vertices) EXPECT_TRUE(rect.HitsVertex(Point(float(x), float(y)))) << x << "," << y;
    for (const auto& [x, y] : others) EXPECT_FALSE(rect.HitsVertex(Point(float(x), float(y)))) << x << "," << y;
}

TEST(CRectShelterTest, HitTestFlags)
{
    struct Case {
        Extents extents;
        float x, y;
        WORD flags;
    };
    const Case cases[] = {
        {{100, 101, 150}, 0, 50, 0x01},
        {{100, 101, 150}, 0, 0, 0x01},
        {{100, 101, 150}, 0, -50, 0x01},      // no range test
        {{100, 101, 150}, -101, 50, 0x86},    // beyond the left side, on its handle square
        {{100, 101, 150}, -100, 45, 0x85},    // the side handles stand at 101 div 2
        {{100, 101, 150}, -100, 56, 0x01},
        {{100, 101, 150}, 0, 106, 0x16},
        {{100, 101, 150}, 150, 50, 0x45},
        {{100, 101, 150}, 155, 45, 0x46},
        {{100, 101, 150}, 200, 50, 0x02},
        {{0, 10, 0}, 0, 7, 0x85},             // every square overlaps: the left handle wins
        {{0, 10, 0}, 0, 12, 0x16},            // the front handle before the right one
    };
    for (const Case& c : cases) {
        const CRectShelter rect = MakeRect(c.extents.left, c.extents.front, c.extents.right);
        EXPECT_EQ(rect.HitTest(Point(c.x, c.y)), c.flags) << c.x << "," << c.y;
    }
}

TEST(CRectShelterTest, DragPositionOfEachHandle)
{
    const CRectShelter rect = MakeRect(100, 101, 150);
    const CSensorPoint current = Point(7, 8);
    struct Case {
        WORD flags;
        float x, y;
    };
    const Case cases[] = {
        {0x84, -100, 50.5f}, {0x14, 0, 101}, {0x44, 150, 50.5f}, {0xD4, -100, 50.5f}, {0x04, 7, 8}, {0x40, 7, 8},
    };
    for (const Case& c : cases) {
        const CSensorPoint p = rect.GetDragPosition(c.flags, current);
        EXPECT_FLOAT_EQ(p.GetX(), c.x) << std::hex << c.flags;
        EXPECT_FLOAT_EQ(p.GetY(), c.y) << std::hex << c.flags;
    }
}

TEST(CRectShelterTest, DraggingKeepsTheFarCornersWithinTheMaximum)
{
    struct Case {
        Extents start;
        float grabX, grabY;
        float toX, toY;
        Extents after;
    };
    const Case cases[] = {
        // The right side at front 300 reaches round(sqrt(400² - 300²)) = 265 at most.
        {{100, 300, 100}, 100, 150, 390, 150, {100, 300, 265}},
        {{100, 300, 100}, 100, 150, 200.4f, 0, {100, 300, 200}},
        {{100, 300, 100}, 100, 150, 2, 150, {100, 300, 5}},
        {{100, 300, 100}, -100, 150, -390, 150, {265, 300, 100}},
        {{100, 300, 100}, -100, 150, 30, 150, {5, 300, 100}},
        // The front reaches round(sqrt(400² - 100²)) = 387 with the larger side at 100.
        {{100, 300, 60}, 0, 300, 0, 500, {100, 387, 60}},
        {{100, 300, 60}, 0, 300, 0, 2, {100, 5, 60}},
        {{100, 300, 60}, 0, 300, 10, 350, {100, 350, 60}},
        // A front beyond the maximum leaves a side no position: it does not move; the
        // front itself can still be pulled back.
        {{100, 450, 100}, 100, 225, 390, 225, {100, 450, 100}},
        {{100, 450, 100}, -100, 225, -50, 225, {100, 450, 100}},
        {{100, 450, 100}, 0, 450, 0, 300, {100, 300, 100}},
        {{420, 100, 0}, 0, 100, 0, 200, {420, 100, 0}},
        // A press on no handle drags nothing.
        {{100, 300, 100}, 0, 100, 390, 150, {100, 300, 100}},
    };
    for (const Case& c : cases) {
        CRectShelter rect = MakeRect(c.start.left, c.start.front, c.start.right);
        rect.BeginDrag(Point(c.grabX, c.grabY));
        const bool moved = !(c.after == c.start);
        EXPECT_EQ(bool(rect.DragTo(Point(c.toX, c.toY))), moved) << c.toX << "," << c.toY;
        EXPECT_EQ(ExtentsOf(rect), c.after) << c.toX << "," << c.toY;
        EXPECT_FALSE(rect.DragTo(Point(c.toX, c.toY)));
        rect.EndDrag(Point(c.toX, c.toY));
        EXPECT_FALSE(rect.IsDragging());
    }
}

std::vector<CString> DrawRect(const CRectShelter& rect, BOOL printing)
{
    CDC dc;
    EXPECT_TRUE(dc.CreateRecordingDC(800, 600, 96, 96, printing));
    dc.ClearRecording();
    rect.DrawOutline(&dc);
    rect.DrawFilled(&dc);
    rect.DrawHandles(&dc);
    return dc.GetRecording();
}

TEST(CRectShelterTest, DrawingOnScreenAndOnPaper)
{
    const std::vector<CString> handles = {
        "SelectObject pen style=0 width=0 color=#000000",
        "SelectObject brush style=0 color=#FFFF80",
        "SetROP2 13",
        "Rectangle L[-105,95,-95,105] D[-105,95,-95,105]",
        "Rectangle L[-5,195,5,205] D[-5,195,5,205]",
        "Rectangle L[145,95,155,105] D[145,95,155,105]",
        "SetROP2 13",
        "SelectObject brush style=0 color=#FFFFFF",
        "SelectObject pen style=0 width=0 color=#000000",
    };
    CRectShelter rect = MakeRect(100, 200, 150);
    rect.SetFillColor(RGB(0, 255, 0));
    for (const BOOL printing : {FALSE, TRUE}) {
        const CString pen = printing ? "SelectObject pen style=0 width=0 color=#000000"
                                     : "SelectObject pen style=0 width=0 color=#FFFFFF";
        std::vector<CString> expected = {
            pen,
            "Polyline L[(-100,0) (-100,200) (150,200) (150,0)] D[(-100,0) (-100,200) (150,200) (150,0)]",
            "SelectObject pen style=0 width=0 color=#000000",
            pen,
            "SelectObject brush style=0 color=#00FF00",
            "SetPolyFillMode 2",
            "Polygon L[(-100,0) (-100,200) (150,200) (150,0)] D[(-100,0) (-100,200) (150,200) (150,0)]",
            "SetPolyFillMode 1",
            "SelectObject brush style=0 color=#FFFFFF",
            "SelectObject pen style=0 width=0 color=#000000",
        };
        expected.insert(expected.end(), handles.begin(), handles.end());
        EXPECT_EQ(DrawRect(rect, printing), expected) << printing;
    }

    // All extents 0: only the handles; one extent is enough for an outline.
    EXPECT_EQ(DrawRect(MakeRect(0, 0, 0), FALSE).size(), handles.size());
    EXPECT_GT(DrawRect(MakeRect(0, 0, 10), FALSE).size(), handles.size());
}

TEST(CRectShelterTest, UnitsStayInCentimetres)
{
    CRectShelter rect = MakeRect(300, 400, 0); // far corner 500
    EXPECT_TRUE(rect.FitsUnit(kUnitMm));       // 5000 mm: just within the general maximum
    rect.SetExtents(300, 401, 0);
    EXPECT_FALSE(rect.FitsUnit(kUnitMm));
    EXPECT_FALSE(rect.ChangeUnit(kUnitDm));
    EXPECT_EQ(ExtentsOf(rect), (Extents{300, 401, 0}));
    EXPECT_TRUE(rect.ChangeUnit(kUnitCm));
    EXPECT_EQ(ExtentsOf(rect), (Extents{300, 401, 0}));
}

const std::vector<BYTE> kRectObject = {
    0xFF, 0xFF, 0x00, 0x00, 0x0C, 0x00, 'C', 'R', 'e', 'c', 't', 'S', 'h', 'e', 'l', 't', 'e', 'r',
    0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xC0, 0x0F, 0x00, 0x00, 0x00,
    0x03, 0x00, 0x00, 0xC0, 0xC0, 0xC0, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x01, 0x00,
    0x01, 0x64, 0x00, 0xC8, 0x00, 0x2C, 0x01,
};

std::unique_ptr<CObject> ReadObjectFrom(std::vector<BYTE> bytes)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return std::unique_ptr<CObject>(ar.ReadObject(RUNTIME_CLASS(CShelter)));
}

TEST(CRectShelterTest, ArchiveBytesAndVersions)
{
    CRectShelter rect = MakeRect(100, 200, 300);
    rect.SetTime(CTime(1000000));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(&rect);
        ar.Close();
    }
    EXPECT_EQ(file.Detach(), kRectObject);

    const std::unique_ptr<CObject> read = ReadObjectFrom(kRectObject);
    ASSERT_TRUE(read && read->IsKindOf(RUNTIME_CLASS(CRectShelter)));
    EXPECT_EQ(ExtentsOf(static_cast<const CRectShelter&>(*read)), (Extents{100, 200, 300}));

    std::vector<BYTE> version0 = kRectObject;
    version0[version0.size() - 7] = 0x00;
    std::vector<BYTE> shortened(kRectObject.begin(), kRectObject.end() - 2);
    for (const auto& [bytes, cause] : {std::pair{version0, int(CArchiveException::badSchema)},
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
