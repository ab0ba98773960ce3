#include "app/CTableObject.h"

#include "model/DistanceUnit.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTableObject, CPrintObject)

namespace {

constexpr int kTablePoints = 8;
constexpr int kTableSpacing = 5;

CFont& ClassFont()
{
    static CFont font;
    return font;
}

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

} // namespace

CTableObject::CTableObject(const CPolyShelter* pField, BOOL polar, BOOL inch)
    : CPrintObject(FALSE, kTableSpacing, kTableSpacing), m_bPolar(polar), m_bInch(inch),
      m_pField(pField ? std::make_unique<CPolyShelter>(*pField) : nullptr)
{
    CreateClassFont(ClassFont(), kTablePoints, FW_NORMAL, FALSE);
}

CTableObject::Grid CTableObject::ComputeGrid(int cellCount, int width, int cellWidth, int columnGap)
{
    Grid grid;
    if (cellCount <= 0) return grid;
    const int pitch = cellWidth + columnGap;
    grid.columns = pitch > 0 ? std::clamp(width / pitch, 1, cellCount) : cellCount;
    grid.rows = CeilDiv(cellCount, grid.columns);
    grid.columns = CeilDiv(cellCount, grid.rows);
    return grid;
}

CString CTableObject::FormatCell(const CSensorPoint& point) const
{
    const bool inch = m_bInch != FALSE;
    const bool withUnit = m_bWithUnit != FALSE;
    CString cell = m_bPolar ? FormatPointAngle(point, withUnit) : FormatPointX(point, kUnitCm, inch, withUnit);
    cell += ", ";
    cell += m_bPolar ? FormatPointRadius(point, kUnitCm, inch, withUnit) : FormatPointY(point, kUnitCm, inch, withUnit);
    return cell;
}

void CTableObject::BuildCells(CDC* pDC)
{
    for (int beam = 0; beam < m_pField->GetBeamCount(); ++beam) {
        if (!m_pField->IsVertex(beam)) continue;
        const CString cell = FormatCell(m_pField->GetBeamPoint(beam));
        const CSize extent = pDC->GetTextExtent(cell);
        m_sizeCell.cx = std::max(m_sizeCell.cx, extent.cx);
        m_sizeCell.cy = std::max(m_sizeCell.cy, extent.cy);
        m_cells.Add(cell);
    }
    m_nColumnGap = 3 * pDC->GetTextExtent(CString("X")).cx;
}

int CTableObject::Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly)
{
    if (!m_pField || m_pField->GetVertexCount() == 0) return 0;
    CFont* oldFont = ClassFont().GetSafeHandle() ? pDC->SelectObject(&ClassFont()) : nullptr;
    if (m_cells.IsEmpty()) BuildCells(pDC);
    const Grid grid = ComputeGrid(m_cells.GetSize(), rect.Width(), m_sizeCell.cx, m_nColumnGap);
    if (!bMeasureOnly) DrawTable(pDC, rect, grid);
    if (oldFont) pDC->SelectObject(oldFont);
    return PointsToPageUnits(GetSpaceBefore()) + grid.rows * m_sizeCell.cy + PointsToPageUnits(GetSpaceAfter());
}

void CTableObject::DrawTable(CDC* pDC, const CRect& rect, const Grid& grid) const
{
    const int pitch = m_sizeCell.cx + m_nColumnGap;
    const int tableHeight = grid.rows * m_sizeCell.cy;
    for (int column = 1; column < grid.columns; ++column) {
        const int x = rect.left + column * pitch - m_nColumnGap / 2;
        pDC->MoveTo(x, rect.top);
        pDC->LineTo(x, rect.top + tableHeight);
    }
    // Only a single column can be wider than the rectangle; its cells are clipped.
    const bool clip = m_sizeCell.cx > rect.Width();
    for (int i = 0; i < m_cells.GetSize(); ++i) {
        const int x = rect.left + (i / grid.rows) * pitch;
        const int y = rect.top + (i % grid.rows) * m_sizeCell.cy;
        if (clip) {
            const CRect cellBox(x, y, rect.right, y + m_sizeCell.cy);
            pDC->ExtTextOut(x, y, ETO_CLIPPED, &cellBox, m_cells[i]);
        } else {
            pDC->TextOut(x, y, m_cells[i]);
        }
    }
}
