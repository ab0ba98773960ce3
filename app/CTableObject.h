#pragma once
// The contour points of a polygon field as a table in a report: one cell per vertex,
// "angle, radius" or "x, y" with their units, laid out in as many columns as fit the
// width and filled column by column. Arial 8 pt, 5 pt above and below.
#include "app/CPrintObject.h"
#include "framework/core/CArray.h"
#include "model/CPolyShelter.h"

#include <memory>

class CTableObject : public CPrintObject {
    DECLARE_DYNAMIC(CTableObject)
public:
    // Keeps a copy of the field (none for null). polar: (angle, radius) cells, else (x, y);
    // inch: lengths in inch.
    CTableObject(const CPolyShelter* pField, BOOL polar, BOOL inch);

    // Nothing for a field without vertices. The cells are built and measured on the first
    // call and reused afterwards. A cell wider than the rectangle still gets one column,
    // its text clipped at the rectangle's right edge.
    int Print(CDC* pDC, const CRect& rect, BOOL bMeasureOnly) override;

    const CStringArray& GetCells() const { return m_cells; }
    // The largest cell extent and the gap between columns, page units; 0 until measured.
    CSize GetCellSize() const { return m_sizeCell; }
    int GetColumnGap() const { return m_nColumnGap; }

    // Rows and columns for a number of cells in a width: as many columns as fit (at
    // least one, at most the cells), the rows that needs, then no more columns than
    // those rows fill.
    struct Grid {
        int columns = 0;
        int rows = 0;
    };
    static Grid ComputeGrid(int cellCount, int width, int cellWidth, int columnGap);

private:
    void BuildCells(CDC* pDC);
    CString FormatCell(const CSensorPoint& point) const;
    void DrawTable(CDC* pDC, const CRect& rect, const Grid& grid) const;

    BOOL m_bPolar;
    BOOL m_bInch;
    BOOL m_bWithUnit = TRUE;
    std::unique_ptr<CPolyShelter> m_pField;
    CStringArray m_cells;
    CSize m_sizeCell;
    int m_nColumnGap = 0;
};
