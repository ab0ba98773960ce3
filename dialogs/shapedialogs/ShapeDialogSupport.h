#pragma once
// What the field shape dialogs share: the unit text, the beam-count combo and the inch
// entry of a rectangle's extents.
#include "framework/core/CString.h"

class CDataExchange;
class CDialog;

// String 953 (inch) or 951 (cm).
CString ShapeDialogUnitText(int inch);
// Shows or hides the beam-count combo 2105 with its label 2106; hidden, the combo is
// still exchanged.
void ShowBeamCountCombo(CDialog& dialog, int show);

// The extents in the unit shown, checked in this order: front (edit 2023) within
// [minVal, maxVal]; left (2061) within [minVal, width] and its far corner within [minVal,
// maxVal]; right (2063) likewise. T is float or UINT; the extents are working copies.
template <class T>
void DDX_RectExtents(CDataExchange* pDX, T& left, T& front, T& right, T minVal, T maxVal, T width, LPCTSTR unit);
extern template void DDX_RectExtents<float>(CDataExchange*, float&, float&, float&, float, float, float, LPCTSTR);
extern template void DDX_RectExtents<UINT>(CDataExchange*, UINT&, UINT&, UINT&, UINT, UINT, UINT, LPCTSTR);

// A rectangle's extents in whole cm.
struct RectExtentsCm {
    double left = 0;
    double front = 0;
    double right = 0;
};
// The extents entered in inches, checked in this order on the cm values that will be
// stored: front (edit 2023) within [minCm, maxCm]; left (2061) within [minCm, widthCm] and
// its far corner within [minCm, maxCm]; right (2063) likewise. The extents are working
// copies that the caller stores only when every check passed.
void DDX_InchRectExtents(CDataExchange* pDX, RectExtentsCm& extents, double minCm, double maxCm, double widthCm,
                         LPCTSTR inchUnit);
