#include "model/CPolyShelter.h"

#include "ArchiveBytes.h"
#include "framework/gdi/CDC.h"
#include "model/DistanceUnit.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

const CSensorType kType50(50, 0); // 5 to 5000 cm for every kind

CSensorPoint Polar(float angle, float radius)
{
    CSensorPoint p;
    p.SetAngleRadius(angle, radius);
    return p;
}

// A contour of count beams at the distance with vertices only on the given beams (the
// first and the last always).
CPolyShelter Contour(int count, int distance, std::initializer_list<int> vertices, int kind = kGeneralField,
                     const CSensorType& type = kType50)
{
    CPolyShelter field;
    field.InitializeConstant(type, distance, count, kind);
    field.SetVertexFlags(-1, FALSE);
    field.SetVertexFlags(0, TRUE);
    field.SetVertexFlags(count - 1, TRUE);
    for (int v : vertices) field.SetVertexFlags(v, TRUE);
    return field;
}

std::set<int> Selected(const CPolyShelter& field)
{
    std::set<int> beams;
    for (int k = 0; k < field.GetBeamCount(); ++k)
        if (field.IsBeamSelected(k)) beams.insert(k);
    return beams;
}

std::vector<WORD> Words(const CPolyShelter& field)
{
    std::vector<WORD> words;
    for (int k = 0; k < field.GetBeamCount(); ++k) words.push_back(field.GetContour().GetWord(k));
    return words;
}

TEST(CPolyShelterTest, NewContourIsEmptyWithSnapOn)
{
    CPolyShelter field;
    EXPECT_EQ(field.GetBeamCount(), 0);
    EXPECT_EQ(field.GetContour().GetType(), 13);
    EXPECT_EQ(field.GetSnap(), 1);
    EXPECT_TRUE(field.IsBeamContour());
    EXPECT_FALSE(field.IsDragging());
    // Nothing to place a point on: refused, not a write beyond the contour.
    EXPECT_EQ(field.BeamIndexFromAngle(90), -1);
    EXPECT_FALSE(field.SetPoint(Polar(90, 100)));
    EXPECT_FALSE(field.ResampleDown(1));
}

TEST(CPolyShelterTest, AngularStepFollowsTheBeamCount)
{
    const struct {
        int count;
        float step;
    } cases[] = {{361, 0.5f}, {181, 1.0f}, {91, 2.0f}, {360, 0.5f}, {1, 0.0f}};
    for (const auto& c : cases) {
        CPolyShelter field;
        field.InitializeConstant(kType50, 100, c.count, kGeneralField);
        EXPECT_FLOAT_EQ(field.GetAngleStep(), c.step) << c.count;
    }
    CPolyShelter field;
    field.InitializeConstant(kType50, 100, 91, kGeneralField);
    EXPECT_FLOAT_EQ(field.GetBeamAngle(45), 90.0f);
    EXPECT_EQ(field.BeamIndexFromAngle(3.1f), 2); // 1.55 rounds to 2
    EXPECT_EQ(field.BeamIndexFromAngle(180.5f), -1);
}

TEST(CPolyShelterTest, BeamsBetweenVerticesFollowTheStraightEdge)
{
    // Vertices at 0 and 90 degrees, both 400 cm: the edge x + y = 400.
    CPolyShelter field = Contour(181, 400, {90});
    field.SetBeamDistance(0, 400);
    field.RebuildContour(0);
    const struct {
        int beam;
        WORD distance;
    } cases[] = {{45, 283}, {30, 293}, {60, 293}, {1, 393}, {89, 393}, {90, 400}, {120, 400}};
    for (const auto& c : cases) EXPECT_EQ(field.GetBeamDistance(c.beam), c.distance) << c.beam;
}

TEST(CPolyShelterTest, SettingAPointMakesAVertexAndRebuildsBothSides)
{
    CPolyShelter field = Contour(361, 400, {});
    ASSERT_TRUE(field.SetPoint(Polar(90, 300)));
    EXPECT_TRUE(field.IsVertex(180));
    EXPECT_EQ(field.GetBeamDistance(180), 300);
    EXPECT_EQ(field.GetVertexCount(), 3);
    // Edges (400, 0) - (0, 300) and (0, 300) - (-400, 0): 45 and 135 degrees at 242 cm.
    EXPECT_EQ(field.GetBeamDistance(90), 242);
    EXPECT_EQ(field.GetBeamDistance(270), 242);
    EXPECT_EQ(field.GetBeamDistance(0), 400);

    // Outside the range, behind the scanner, or beyond the width: refused, nothing changes.
    const std::vector<WORD> before = Words(field);
    CSensorPoint behind;
    behind.SetXY(100, -50);
    for (const CSensorPoint& p : {Polar(90, 6000), Polar(90, 2), behind}) EXPECT_FALSE(field.SetPoint(p));
    EXPECT_EQ(Words(field), before);
}

TEST(CPolyShelterTest, RemovingAVertex)
{
    CPolyShelter field = Contour(181, 400, {});
    ASSERT_TRUE(field.SetPoint(Polar(90, 200)));

    // The end beams stay vertices at the minimum distance.
    ASSERT_TRUE(field.RemovePoint(Polar(0, 400)));
    EXPECT_TRUE(field.IsVertex(0));
    EXPECT_EQ(field.GetBeamDistance(0), 5);

    // A middle vertex goes; its beams follow the edge between its neighbours.
    ASSERT_TRUE(field.RemovePoint(Polar(90, 200)));
    EXPECT_FALSE(field.IsVertex(90));
    EXPECT_EQ(field.GetVertexCount(), 2);
    EXPECT_NE(field.GetBeamDistance(90), 200);

    // Where there is no vertex there is nothing to remove.
    EXPECT_FALSE(field.RemovePoint(Polar(45, 123)));
}

TEST(CPolyShelterTest, InitialisersSetVerticesAndCorners)
{
    CPolyShelter field;
    const WORD words[] = {100, 0x8000 | 120, 130, 140};
    field.InitializeFromDistances(kType50, words, 4, kWarningField);
    EXPECT_EQ(field.GetFieldKind(), kWarningField);
    EXPECT_EQ(field.GetVertexCount(), 3); // beam 1 and both ends
    const WORD plain[] = {100, 120, 130};
    field.InitializeFromDistances(kType50, plain, 3, kGeneralField);
    EXPECT_EQ(field.GetVertexCount(), 3); // no vertex given: every beam is one

    ASSERT_TRUE(field.InitializeFromRectangle(kType50, 181, 100, 200, 150, kProtectiveField));
    EXPECT_EQ(field.GetBeamDistance(0), 150);
    EXPECT_EQ(field.GetBeamDistance(180), 100);
    EXPECT_EQ(field.GetVertexCount(), 4);
    // The front edge y = 200 straight ahead, the right side x = 150 at 10 degrees.
    EXPECT_EQ(field.GetBeamDistance(90), 200);
    EXPECT_EQ(field.GetBeamDistance(10), 152);
    EXPECT_EQ(field.GetModified(), 0);

    // A corner beyond the range is snapped onto its edge.
    EXPECT_TRUE(field.InitializeFromRectangle(CSensorType(4, 0), 181, 100, 390, 390, kProtectiveField));
    EXPECT_TRUE(field.IsVertex(45));
    EXPECT_EQ(field.GetBeamDistance(45), 400);

    field.InitializeWithBeamCount(kType50, 91, kGeneralField);
    EXPECT_EQ(field.GetBeamCount(), 91);
    // Corners (50, 50) snapped to 46 and 134 degrees at 71 cm: 51 cm straight ahead.
    EXPECT_TRUE(field.IsVertex(23));
    EXPECT_EQ(field.GetBeamDistance(23), 71);
    EXPECT_EQ(field.GetBeamDistance(45), 51);
}

TEST(CPolyShelterTest, SelectionModes)
{
    const struct {
        std::set<int> before;
        int mode;
        int beam; // the point lies on this beam (-1: beside every beam)
        std::set<int> after;
    } cases[] = {
        {{3, 7}, 0, -1, {}},
        {{3}, 3, 4, {4}},
        {{4, 7}, 3, 4, {}},
        {{3}, 4, 4, {3, 4}},
        {{3, 4}, 4, 4, {3}},
        {{10}, 5, 4, {4, 5, 6, 7, 8, 9, 10}},
        {{4}, 5, 10, {4, 5, 6, 7, 8, 9, 10}},
        {{3, 10}, 5, 4, {3, 4, 10}},
        {{3}, 3, -1, {3}},
        {{3}, 9, 4, {3}},
    };
    for (const auto& c : cases) {
        CPolyShelter field = Contour(181, 100, {});
        for (int k : c.before) field.SetBeamSelection(k, TRUE);
        const CSensorPoint point = c.beam >= 0 ? field.GetBeamPoint(c.beam) : Polar(45, 150);
        EXPECT_TRUE(field.Select(c.mode, point));
        EXPECT_EQ(Selected(field), c.after) << "mode " << c.mode << " beam " << c.beam;
    }

    CPolyShelter field = Contour(181, 100, {});
    field.SetBeamSelection(3, TRUE);
    field.Select(2, CSensorPoint());
    EXPECT_EQ(field.GetSelectedBeamCount(), 180);
    EXPECT_FALSE(field.IsBeamSelected(3));
    field.Select(1, CSensorPoint());
    EXPECT_EQ(field.GetSelectedBeamCount(), 181);
}

TEST(CPolyShelterTest, DeletingTheSelectionLeavesNothingSelected)
{
    CPolyShelter field = Contour(181, 300, {30, 60, 90});
    EXPECT_FALSE(field.DeleteSelection());
    field.Select(1, CSensorPoint());
    EXPECT_TRUE(field.DeleteSelection());
    EXPECT_EQ(field.GetVertexCount(), 2);
    EXPECT_FALSE(field.HasSelection());
    EXPECT_EQ(field.GetBeamDistance(0), 5);
    EXPECT_EQ(field.GetBeamDistance(180), 5);
}

TEST(CPolyShelterTest, ResamplingDownTakesTheNearestOfEachGroup)
{
    std::vector<WORD> words;
    for (int k = 0; k < 361; ++k) words.push_back(WORD(200 + k % 7));
    words[359] = 20;
    words[360] = 50;
    words[5] |= 0x8000;  // vertex
    words[6] |= 0x4000;  // mark
    words[13] |= 0x2000; // selection

    CPolyShelter field;
    field.InitializeFromDistances(kType50, words.data(), 361, kGeneralField);
    ASSERT_TRUE(field.ResampleDown(181));
    EXPECT_EQ(field.GetBeamCount(), 181);
    EXPECT_EQ(field.GetBeamDistance(0), 200);  // min(200, 201)
    EXPECT_EQ(field.GetBeamDistance(3), 200);  // min(206, 200)
    EXPECT_TRUE(field.IsVertex(2));            // old 5 of (4, 5)
    EXPECT_TRUE(field.IsBeamMarked(3));        // old 6 of (6, 7)
    EXPECT_TRUE(field.IsBeamSelected(6));      // old 13 of (12, 13)
    EXPECT_EQ(field.GetBeamDistance(180), 50); // the last old beam alone

    CPolyShelter coarse;
    coarse.InitializeFromDistances(kType50, words.data(), 361, kGeneralField);
    ASSERT_TRUE(coarse.ResampleDown(91));
    EXPECT_EQ(coarse.GetBeamDistance(90), 50); // old 360 alone, not old 359
    EXPECT_EQ(coarse.GetBeamDistance(89), 20); // old 356 to 359
    EXPECT_FLOAT_EQ(coarse.GetAngleStep(), 2.0f);

    for (int n : {0, 1, 91, 181}) EXPECT_FALSE(coarse.ResampleDown(n)) << n;
    EXPECT_FALSE(coarse.ResampleUp(91));
}

TEST(CPolyShelterTest, ResamplingUpKeepsTheVertices)
{
    CPolyShelter field = Contour(91, 300, {});
    ASSERT_TRUE(field.SetPoint(Polar(60, 250)));
    ASSERT_TRUE(field.ResampleUp(361));
    EXPECT_EQ(field.GetBeamCount(), 361);
    EXPECT_EQ(field.GetVertexCount(), 3);
    EXPECT_TRUE(field.IsVertex(120));
    EXPECT_EQ(field.GetBeamDistance(120), 250);
    EXPECT_EQ(field.GetBeamDistance(0), 300);
    EXPECT_EQ(field.GetBeamDistance(360), 300);
}

TEST(CPolyShelterTest, HitTestAndDragPosition)
{
    CPolyShelter field = Contour(181, 200, {90});
    const struct {
        CSensorPoint point;
        WORD flags;
    } cases[] = {
        {Polar(45, 100), kHitInside},
        {Polar(45, 300), kHitOutside},
        {Polar(90, 200), kHitInside | kHitHandle},
        {Polar(90, 201), kHitOutside | kHitHandle},
        {Polar(91, 200), kHitInside | kHitHandle},  // next to the vertex beam
        {Polar(92, 200), kHitInside},
        {Polar(90, 6000), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(field.HitTest(c.point), c.flags) << c.point.GetAngle() << "/" << c.point.GetRadius();
    const CSensorPoint handle = field.GetDragPosition(kHitInside | kHitHandle, Polar(91, 200));
    EXPECT_FLOAT_EQ(handle.GetAngle(), 90);
    EXPECT_FLOAT_EQ(handle.GetRadius(), 200);
    const CSensorPoint plain = field.GetDragPosition(kHitInside, Polar(91, 200));
    EXPECT_FLOAT_EQ(plain.GetAngle(), 91);
}

TEST(CPolyShelterTest, DraggingOneVertex)
{
    CPolyShelter field = Contour(181, 200, {90});
    field.SetBeamSelection(90, TRUE);
    ASSERT_TRUE(field.BeginDrag(Polar(90, 200)));
    EXPECT_TRUE(field.IsDragging());
    EXPECT_TRUE(field.DragTo(Polar(100, 250)));
    ASSERT_TRUE(field.EndDrag(Polar(100, 250)));
    EXPECT_FALSE(field.IsDragging());
    EXPECT_FALSE(field.IsVertex(90));
    EXPECT_TRUE(field.IsVertex(100));
    EXPECT_TRUE(field.IsBeamSelected(100));
    EXPECT_EQ(field.GetBeamDistance(100), 250);
}

TEST(CPolyShelterTest, AVertexDroppedOutOfRangeGoesBack)
{
    CPolyShelter field = Contour(181, 200, {90});
    field.SetBeamSelection(90, TRUE);
    const std::vector<WORD> before = Words(field);
    ASSERT_TRUE(field.BeginDrag(Polar(90, 200)));
    field.DragTo(Polar(90, 6000));
    EXPECT_FALSE(field.EndDrag(Polar(90, 6000)));
    EXPECT_EQ(Words(field), before);
    EXPECT_FALSE(field.IsDragging());
}

TEST(CPolyShelterTest, MovingTheSelectionAhead)
{
    // Every beam selected: the vertex straight ahead moves 50 cm; those on the scanner
    // line stay where they are, and no vertex appears elsewhere.
    CPolyShelter field = Contour(181, 200, {90});
    field.Select(1, CSensorPoint());
    CSensorPoint start = Polar(90, 200);
    EXPECT_FALSE(field.BeginDrag(start));
    CSensorPoint moved;
    moved.SetXY(0, 250.7f);
    EXPECT_TRUE(field.DragTo(moved));
    EXPECT_EQ(field.GetBeamDistance(90), 250);
    EXPECT_EQ(field.GetBeamDistance(0), 200);
    EXPECT_EQ(field.GetBeamDistance(180), 200);
    EXPECT_EQ(field.GetVertexCount(), 3);
    EXPECT_FALSE(field.EndDrag(moved));

    // A move that would take a vertex beyond the maximum moves nothing.
    CPolyShelter near = Contour(181, 380, {90}, kProtectiveField, CSensorType(4, 0));
    near.Select(1, CSensorPoint());
    near.BeginDrag(Polar(90, 380));
    CSensorPoint far;
    far.SetXY(0, 430);
    const std::vector<WORD> before = Words(near);
    EXPECT_FALSE(near.DragTo(far));
    EXPECT_EQ(Words(near), before);
}

std::vector<CString> Draw(const CPolyShelter& field, BOOL printing, void (CPolyShelter::*draw)(CDC*) const)
{
    CDC dc;
    EXPECT_TRUE(dc.CreateRecordingDC(800, 600, 96, 96, printing));
    dc.ClearRecording();
    (field.*draw)(&dc);
    return dc.GetRecording();
}

TEST(CPolyShelterTest, DrawingOutlineFillHandlesAndBeams)
{
    CPolyShelter field;
    const WORD words[] = {0x8000 | 100, 100, 0x8000 | 100};
    field.InitializeFromDistances(kType50, words, 3, kGeneralField);
    field.SetBeamSelection(2, TRUE);
    field.SetBeamMarks(1, TRUE);
    field.SetFillColor(RGB(0, 0, 255));
    // Three beams over 180 degrees lie 60 degrees apart.
    const char* points = "[(0,0) (100,0) (50,87) (-50,87)]";

    for (const BOOL printing : {FALSE, TRUE}) {
        const CString pen = printing ? "SelectObject pen style=0 width=0 color=#000000"
                                     : "SelectObject pen style=0 width=0 color=#FFFFFF";
        const std::vector<CString> outline = {pen, CString("Polyline L") + points + " D" + points,
                                              "SelectObject pen style=0 width=0 color=#000000"};
        EXPECT_EQ(Draw(field, printing, &CPolyShelter::DrawOutline), outline) << printing;
        const std::vector<CString> filled = Draw(field, printing, &CPolyShelter::DrawFilled);
        ASSERT_GE(filled.size(), 4u);
        EXPECT_EQ(filled[0], pen);
        EXPECT_EQ(filled[1], "SelectObject brush style=0 color=#0000FF");
        EXPECT_EQ(filled[3], CString("Polygon L") + points + " D" + points);
    }

    const std::vector<CString> handles = Draw(field, FALSE, &CPolyShelter::DrawHandles);
    const std::vector<CString> expectedHandles = {
        "SelectObject pen style=0 width=0 color=#000000",
        "SelectObject brush style=0 color=#FFFF80",
        "SetROP2 13",
        "Rectangle L[95,-5,105,5] D[95,-5,105,5]",
        "SelectObject brush style=0 color=#FFFFFF",
        "Rectangle L[-55,82,-45,92] D[-55,82,-45,92]",
        "MoveTo L[-55,82] D[-55,82]",
        "LineTo L[-45,92] D[-45,92]",
        "MoveTo L[-45,82] D[-45,82]",
        "LineTo L[-55,92] D[-55,92]",
        "SelectObject brush style=0 color=#FFFF80",
        "SetROP2 13",
        "SelectObject brush style=0 color=#FFFFFF",
        "SelectObject pen style=0 width=0 color=#000000",
    };
    EXPECT_EQ(handles, expectedHandles);

    const std::vector<CString> beams = Draw(field, FALSE, &CPolyShelter::DrawBeams);
    std::vector<CString> lines;
    for (const CString& entry : beams)
        if (entry.Find("LineTo") == 0 || entry.Find("SelectObject pen") == 0) lines.push_back(entry);
    const std::vector<CString> expectedBeams = {
        "SelectObject pen style=0 width=0 color=#FF0000",
        "SelectObject pen style=0 width=0 color=#FF0000", "LineTo L[100,0] D[100,0]",
        "SelectObject pen style=0 width=0 color=#00FF00", "LineTo L[50,87] D[50,87]",
        "SelectObject pen style=0 width=0 color=#FF0000", "LineTo L[-50,87] D[-50,87]",
        "SelectObject pen style=0 width=0 color=#000000",
    };
    EXPECT_EQ(lines, expectedBeams);

    CPolyShelter empty;
    EXPECT_TRUE(Draw(empty, FALSE, &CPolyShelter::DrawOutline).empty());
    EXPECT_TRUE(Draw(empty, FALSE, &CPolyShelter::DrawHandles).empty());
}

TEST(CPolyShelterTest, ArchiveBytesOfASmallContour)
{
    CPolyShelter field;
    const WORD words[] = {0x8064, 0x2032, 0x8064};
    field.InitializeFromDistances(CSensorType(4, 0), words, 3, kProtectiveField);
    field.SetTime(CTime(std::time_t(0)));
    const std::vector<BYTE> expected = {
        0x02, 0x97, 0x00, 0x00, 0x00, 0x00, 0x90, 0x7E, 0x00, 0x00, 0x00, 0x00, // sensor object
        0x03, 0x01, 0x00, 0xC0, 0xC0, 0xC0, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x0A, 0x00, 0x0A, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, // field level
        0x01,                                           // contour level
        0x03, 0x0D, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03, 0x00, 0x64, 0x80, 0x32, 0x20, 0x64, 0x80,
    };
    EXPECT_EQ(StoreBytes(field), expected);

    CPolyShelter loaded;
    LoadBytes(loaded, expected);
    EXPECT_EQ(Words(loaded), Words(field));
    EXPECT_EQ(loaded.GetFieldKind(), kProtectiveField);
    EXPECT_EQ(loaded.GetVertexCount(), 2);
    EXPECT_EQ(loaded.GetSelectedBeamCount(), 1);

    std::vector<BYTE> wrongVersion = expected;
    wrongVersion[35] = 0x02;
    EXPECT_EQ(LoadFailure(loaded, wrongVersion), CArchiveException::badSchema);
    std::vector<BYTE> wrongType = expected;
    wrongType[37] = 0x0E;
    EXPECT_EQ(LoadFailure(loaded, wrongType), CArchiveException::badSchema);
}

TEST(CPolyShelterTest, CopiesUnitsAndNames)
{
    CPolyShelter field = Contour(91, 300, {20});
    field.SetBeamSelection(20, TRUE);
    std::unique_ptr<CShelter> copy = field.CloneShelter();
    ASSERT_TRUE(copy->IsKindOf(RUNTIME_CLASS(CPolyShelter)));
    EXPECT_EQ(Words(static_cast<CPolyShelter&>(*copy)), Words(field));

    EXPECT_TRUE(field.FitsUnit(kUnitCm));
    EXPECT_TRUE(field.FitsUnit(kUnitMm)); // 3000 mm within 5000
    EXPECT_TRUE(field.ChangeUnit(kUnitCm));
    // Distances are kept in cm only: another unit is refused instead of rescaling them.
    EXPECT_FALSE(field.ChangeUnit(kUnitMm));
    EXPECT_EQ(field.GetBeamDistance(20), 300);

    field.ResetToDefaults();
    EXPECT_EQ(field.GetBeamCount(), 91);
    EXPECT_EQ(field.GetVertexCount(), 4);
    EXPECT_EQ(field.GetBeamDistance(45), 51);
}

} // namespace
