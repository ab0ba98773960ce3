#include "dialogs/CArcShapeDialog.h"

#include "dialogs/ShapeDialogSupport.h"
#include "dialogs/UnitDataExchange.h"

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
    // Working values in the unit shown; the members change only when every check passed.
    float radius = float(m_nRadius);
    float minDistance = float(m_nMinDistance);
    float maxDistance = float(m_nMaxDistance);
    if (m_bInch) {
        radius = CmToInch(radius);
        minDistance = CmToInch(minDistance);
        maxDistance = CmToInch(maxDistance);
    }
    DDX_TextWithUnit(pDX, IDC_RADIUS, radius, m_strUnit);
    DDV_MinMaxWithUnit(pDX, radius, minDistance, maxDistance, m_strUnit);
    int beamCount = m_nBeamCount;
    DDX_BeamCount(pDX, IDC_BEAM_COUNT, beamCount);
    if (!pDX->m_bSaveAndValidate) return;
    if (m_bInch) radius = InchToCm(radius);
    m_nRadius = RoundToInt(radius);
    m_nBeamCount = beamCount;
}
