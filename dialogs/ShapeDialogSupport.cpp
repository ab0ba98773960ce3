#include "dialogs/ShapeDialogSupport.h"

#include "framework/ui/CDialog.h"

namespace {
constexpr UINT IDS_UNIT_CM = 951;
constexpr UINT IDS_UNIT_INCH = 953;
constexpr int IDC_BEAM_COUNT = 2105;
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
