// The contour point table of printed reports: its cells, columns, rows and drawing.
#include "PrintTestSupport.h"
#include "app/CTableObject.h"
#include "model/LanguageScript.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// A 181-beam protective field at 200 cm whose vertices are the given beams.
CPolyShelter FieldWithVertices(std::initializer_list<int> beams)
{
    CPolyShelter field;
    field.InitializeConstant(CSensorType(), 200, 181, 1);
    field.SetVertexFlags(-1, FALSE);
    for (const int beam : beams) field.SetVertexFlags(beam, TRUE);
    return field;
}

CPolyShelter FieldWithTenVertices() { return FieldWithVertices({0, 20, 40, 60, 80, 100, 120, 140, 160, 180}); }

TEST(CTableObject, GridFillsColumnsWithoutLeavingOneEmpty)
{
    // Cells 10 wide with a gap of 2: a pitch of 12.
    const struct {
        int cells;
        int width;
        int columns;
        int rows;
    } cases[] = {
        {10, 4 * 12 + 5, 4, 3},  // fits 4: 3 rows, and 3 rows need all 4 columns (3, 3, 3, 1)
        {10, 6 * 12, 5, 2},      // fits 6: 2 rows, which 5 columns fill
        {10, 100 * 12, 10, 1},   // never more columns than cells
        {10, 11, 1, 10},         // narrower than one cell: still one column
        {10, 0, 1, 10},
        {1, 12, 1, 1},
        {0, 100, 0, 0},
    };
    for (const auto& c : cases) {
        const CTableObject::Grid grid = CTableObject::ComputeGrid(c.cells, c.width, 10, 2);
        EXPECT_EQ(grid.columns, c.columns) << c.cells << " cells in " << c.width;
        EXPECT_EQ(grid.rows, c.rows) << c.cells << " cells in " << c.width;
    }
}

class CTableObjectPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(units.Loaded()) << units.Error();
        ASSERT_TRUE(CreatePrintRecorder(dc));
    }
    LanguageScript units{"model2.rc"};
    CDC dc;
};

TEST_F(CTableObjectPrint, CellsHoldEachVertexInPolarOrCartesianForm)
{
    const CPolyShelter field = FieldWithVertices({0, 60, 120});
    const CRect rect(0, 0, 18000, 27000);
    CTableObject polar(&field, TRUE, FALSE);
    CTableObject cartesian(&field, FALSE, FALSE);
    CTableObject inch(&field, TRUE, TRUE);
    polar.Print(&dc, rect, TRUE);
    cartesian.Print(&dc, rect, TRUE);
    inch.Print(&dc, rect, TRUE);
    ASSERT_EQ(polar.GetCells().GetSize(), 3);
    ASSERT_EQ(cartesian.GetCells().GetSize(), 3);
    EXPECT_STREQ(polar.GetCells()[0], "0.00°, 200cm");
    EXPECT_STREQ(polar.GetCells()[1], "60.00°, 200cm");
    EXPECT_STREQ(inch.GetCells()[2], "120.00°, 78.74in");
    EXPECT_STREQ(cartesian.GetCells()[0], "200.0cm, 0.0cm");
    EXPECT_STREQ(cartesian.GetCells()[1], "100.0cm, 173.2cm");
    EXPECT_STREQ(cartesian.GetCells()[2], "-100.0cm, 173.2cm");
}

TEST_F(CTableObjectPrint, TenCellsFittingFourColumnsAreDrawnAsThreeRowsOfFourColumns)
{
    const CPolyShelter field = FieldWithTenVertices();
    CTableObject table(&field, TRUE, FALSE);
    // Measure first in a wide rectangle to learn the cell size.
    table.Print(&dc, CRect(0, 0, 18000, 27000), TRUE);
    const CSize cell = table.GetCellSize();
    const int gap = table.GetColumnGap();
    ASSERT_GT(cell.cx, 0);
    ASSERT_GT(cell.cy, 0);
    ASSERT_GT(gap, 0);
    const int pitch = cell.cx + gap;

    const CRect rect(1000, 5000, 1000 + 4 * pitch + pitch / 2, 27000);
    const int spacing = 2 * PointsToPageUnits(5);
    EXPECT_EQ(table.Print(&dc, rect, TRUE), spacing + 3 * cell.cy);
    dc.ClearRecording();
    EXPECT_EQ(table.Print(&dc, rect, FALSE), spacing + 3 * cell.cy);
    EXPECT_EQ(table.GetCells().GetSize(), 10); // built once, not again for every call

    const std::vector<CString> log = dc.GetRecording();
    std::vector<CString> expectedLines;
    for (int i = 1; i < 4; ++i) {
        const int x = 1000 + i * pitch - gap / 2;
        expectedLines.push_back(FormatText("MoveTo L[%d,5000]", x).c_str());
        expectedLines.push_back(FormatText("LineTo L[%d,%d]", x, 5000 + 3 * int(cell.cy)).c_str());
    }
    std::vector<CString> lines = CallsNamed(log, "MoveTo");
    const std::vector<CString> lineTos = CallsNamed(log, "LineTo");
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(lineTos.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].Find(expectedLines[2 * i]), 0) << lines[i];
        EXPECT_EQ(lineTos[i].Find(expectedLines[2 * i + 1]), 0) << lineTos[i];
    }
    // Column by column, three cells each, from the rectangle's top.
    const std::vector<CString> cells = CallsNamed(log, "TextOut");
    ASSERT_EQ(cells.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        const CString at = FormatText("TextOut L[%d,%d]", 1000 + (i / 3) * pitch, 5000 + (i % 3) * int(cell.cy)).c_str();
        EXPECT_EQ(cells[std::size_t(i)].Find(at), 0) << cells[std::size_t(i)];
        EXPECT_NE(cells[std::size_t(i)].Find(table.GetCells()[i]), -1) << cells[std::size_t(i)];
    }
}

TEST_F(CTableObjectPrint, ACellWiderThanTheRectangleStillGetsOneClippedColumn)
{
    const CPolyShelter field = FieldWithTenVertices();
    CTableObject table(&field, FALSE, FALSE);
    const CRect rect(1000, 0, 1100, 27000);
    const int height = table.Print(&dc, rect, TRUE);
    EXPECT_EQ(height, 2 * PointsToPageUnits(5) + 10 * table.GetCellSize().cy);
    dc.ClearRecording();
    EXPECT_EQ(table.Print(&dc, rect, FALSE), height);
    const std::vector<CString> log = dc.GetRecording();
    EXPECT_TRUE(CallsNamed(log, "LineTo").empty());
    EXPECT_TRUE(CallsNamed(log, "TextOut").empty());
    const std::vector<CString> clipped = CallsNamed(log, "ExtTextOut");
    ASSERT_EQ(clipped.size(), 10u);
    EXPECT_EQ(clipped[9].Find(FormatText("ExtTextOut L[1000,%d]", 9 * int(table.GetCellSize().cy)).c_str()), 0)
        << clipped[9];
}

TEST_F(CTableObjectPrint, FieldWithoutVerticesTakesNoSpace)
{
    const CPolyShelter empty = FieldWithVertices({});
    ASSERT_EQ(empty.GetVertexCount(), 0);
    CTableObject table(&empty, TRUE, FALSE);
    CTableObject none(nullptr, TRUE, FALSE);
    const CRect rect(0, 0, 18000, 27000);
    EXPECT_EQ(table.Print(&dc, rect, TRUE), 0);
    EXPECT_EQ(table.Print(&dc, rect, FALSE), 0);
    EXPECT_EQ(none.Print(&dc, rect, FALSE), 0);
    EXPECT_TRUE(dc.GetRecording().empty());
}

TEST_F(CTableObjectPrint, TableKeepsItsOwnCopyOfTheField)
{
    auto field = std::make_unique<CPolyShelter>(FieldWithVertices({0, 180}));
    CTableObject table(field.get(), TRUE, FALSE);
    field->SetVertexFlags(90, TRUE);
    field.reset();
    table.Print(&dc, CRect(0, 0, 18000, 27000), TRUE);
    EXPECT_EQ(table.GetCells().GetSize(), 2);
}

} // namespace
