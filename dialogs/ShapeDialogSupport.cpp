#include "dialogs/ShapeDialogSupport.h"

#include "dialogs/UnitDataExchange.h"
#include "framework/ui/CDialog.h"

#include <utility>

namespace {
constexpr UINT IDS_UNIT_CM = 951;
constexpr UINT IDS_UNIT_INCH = 953;
constexpr int IDC_BEAM_COUNT = 2105;
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
    if (CWnd* combo = dialog.GetDlgItem(IDC_BEAM_COUNT)) combo->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

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
