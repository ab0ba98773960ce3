#include "dialogs/shapedialogs/ShapeDialogSupport.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/CDialog.h"

#include <utility>

namespace {
constexpr UINT IDS_UNIT_CM = 951;
constexpr UINT IDS_UNIT_INCH = 953;
constexpr int IDC_BEAM_COUNT = 2105;
constexpr int IDC_BEAM_COUNT_LABEL = 2106;
constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;
} // namespace

CString ShapeDialogUnitText(int inch)
{
    CString unit;
    unit.LoadString(inch ? IDS_UNIT_INCH : IDS_UNIT_CM);
    return unit;
}

void ShowBeamCountCombo(CDialog& dialog, int show)
{
    for (const int id : {IDC_BEAM_COUNT, IDC_BEAM_COUNT_LABEL}) {
        if (CWnd* control = dialog.GetDlgItem(id)) control->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

template <class T>
void DDX_RectExtents(CDataExchange* pDX, T& left, T& front, T& right, T minVal, T maxVal, T width, LPCTSTR unit)
{
    DDX_TextWithUnit(pDX, IDC_FRONT, front, unit);
    DDV_MinMaxWithUnit(pDX, front, minVal, maxVal, unit);
    for (const auto& [id, side] : {std::pair{IDC_LEFT, &left}, std::pair{IDC_RIGHT, &right}}) {
        DDX_TextWithUnit(pDX, id, *side, unit);
        DDV_MinMaxWithUnit(pDX, *side, minVal, width, unit);
        DDV_MinMaxRadius(pDX, *side, front, minVal, maxVal, unit);
    }
}

template void DDX_RectExtents<float>(CDataExchange*, float&, float&, float&, float, float, float, LPCTSTR);
template void DDX_RectExtents<UINT>(CDataExchange*, UINT&, UINT&, UINT&, UINT, UINT, UINT, LPCTSTR);

void DDX_InchRectExtents(CDataExchange* pDX, RectExtentsCm& extents, double minCm, double maxCm, double widthCm,
                         LPCTSTR inchUnit)
{
    DDX_InchLength(pDX, IDC_FRONT, extents.front, inchUnit);
    DDV_InchMinMax(pDX, extents.front, minCm, maxCm, inchUnit);
    for (const auto& [id, side] : {std::pair{IDC_LEFT, &extents.left}, std::pair{IDC_RIGHT, &extents.right}}) {
        DDX_InchLength(pDX, id, *side, inchUnit);
        DDV_InchMinMax(pDX, *side, minCm, widthCm, inchUnit);
        DDV_InchRadius(pDX, *side, extents.front, minCm, maxCm, inchUnit);
    }
}
