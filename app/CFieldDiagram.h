#pragma once
// The printed diagram of up to three fields: a box with a scale of square cells (10 mm
// per cell in cm, one inch per cell in inch), labelled axes, a caption with the unit, a
// legend of the fields present, and the fields drawn to scale with the scanner at the
// middle of the bottom axis. Logical units are 0.01 mm with y growing downwards.
#include "framework/core/CRect.h"
#include "framework/core/CString.h"
#include "framework/gdi/CDC.h"

class CSensorObject;

struct FieldDiagramStyle {
    BOOL metric = TRUE;                    // cm, else inch
    CString unitText;                      // for the caption
    CFont* captionFont = nullptr;          // labels, caption and legend; null: the DC's font
    COLORREF fill[3] = {RGB(255, 255, 0), RGB(255, 0, 0), RGB(255, 128, 0)}; // first, second, third
};

class CFieldDiagram {
public:
    // Draws the diagram of the present objects into rect; rect returns the box it used.
    static void Draw(CDC* pDC, CRect& rect, const CSensorObject* first, const CSensorObject* second,
                     const CSensorObject* third, const FieldDiagramStyle& style);

    // The label step of an axis of the cells: the smallest multiple of 5 whose cells
    // reach the extent; at least 5, also for no extent or a single cell.
    static int GetDiagramStep(int extent, int cells);
    // The cells that fit a length after its two margins; at least one.
    static int CellsIn(int length, int margin, int cell);
};
