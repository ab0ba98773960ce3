#include "dialogs/shapedialogs/CArcShapeDialog.h"

#include "dialogs/shapedialogs/ShapeDialogSupport.h"
#include "dialogs/controls/UnitDataExchange.h"

IMPLEMENT_DYNAMIC(CArcShapeDialog, CDialog)

namespace {
constexpr UINT IDD_ARC_SHAPE = 152;
constexpr int IDC_RADIUS = 2015;
constexpr int IDC_BEAM_COUNT = 2105;
} // namespace

CArcShapeDialog::CArcShapeDialog(CWnd* pParentWnd) : CDialog(IDD_ARC_SHAPE, pParentWnd) {}

BOOL CArcShapeDialog::OnInitDialog()
{
    m_strUnit = ShapeDialogUnitText(m_bInch);
    const BOOL result = CDialog::OnInitDialog();
    ShowBeamCountCombo(*this, m_bShowBeamCount);
    return result;
}

void CArcShapeDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // Working values; the members change only when every check passed.
    int radius = m_nRadius;
    if (m_bInch) {
        double cm = radius;
        DDX_InchLength(pDX, IDC_RADIUS, cm, m_strUnit);
        DDV_InchMinMax(pDX, cm, m_nMinDistance, m_nMaxDistance, m_strUnit);
        radius = int(cm);
    } else {
        float cm = float(radius);
        DDX_TextWithUnit(pDX, IDC_RADIUS, cm, m_strUnit);
        DDV_MinMaxWithUnit(pDX, cm, float(m_nMinDistance), float(m_nMaxDistance), m_strUnit);
        radius = RoundToInt(cm);
    }
    int beamCount = m_nBeamCount;
    DDX_BeamCount(pDX, IDC_BEAM_COUNT, beamCount);
    if (!pDX->m_bSaveAndValidate) return;
    m_nRadius = radius;
    m_nBeamCount = beamCount;
}
