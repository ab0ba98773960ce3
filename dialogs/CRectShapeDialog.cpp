#include "dialogs/CRectShapeDialog.h"

#include "dialogs/ShapeDialogSupport.h"
#include "dialogs/UnitDataExchange.h"

IMPLEMENT_DYNAMIC(CRectShapeDialog, CDialog)

namespace {
constexpr UINT IDD_RECT_SHAPE = 151;
constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;
constexpr int IDC_BEAM_COUNT = 2105;
} // namespace

CRectShapeDialog::CRectShapeDialog(CWnd* pParentWnd) : CDialog(IDD_RECT_SHAPE, pParentWnd) {}

BOOL CRectShapeDialog::OnInitDialog()
{
    m_strUnit = ShapeDialogUnitText(m_bInch);
    const BOOL result = CDialog::OnInitDialog();
    ShowBeamCountCombo(*this, m_bShowBeamCount);
    return result;
}

void CRectShapeDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // Working values in the unit shown; the members change only when every check passed.
    float left = float(m_nLeft);
    float right = float(m_nRight);
    float front = float(m_nFront);
    float minDistance = float(m_nMinDistance);
    float maxDistance = float(m_nMaxDistance);
    float width = float(m_nMaxWidth);
    if (m_bInch) {
        for (float* value : {&left, &right, &front, &minDistance, &maxDistance, &width}) *value = CmToInch(*value);
    }
    const LPCTSTR unit = m_strUnit;
    DDX_TextWithUnit(pDX, IDC_FRONT, front, unit);
    DDV_MinMaxWithUnit(pDX, front, minDistance, maxDistance, unit);
    DDX_TextWithUnit(pDX, IDC_LEFT, left, unit);
    DDV_MinMaxWithUnit(pDX, left, minDistance, width, unit);
    DDV_MinMaxRadius(pDX, left, front, minDistance, maxDistance, unit);
    DDX_TextWithUnit(pDX, IDC_RIGHT, right, unit);
    DDV_MinMaxWithUnit(pDX, right, minDistance, width, unit);
    DDV_MinMaxRadius(pDX, right, front, minDistance, maxDistance, unit);
    int beamCount = m_nBeamCount;
    DDX_BeamCount(pDX, IDC_BEAM_COUNT, beamCount);
    if (!pDX->m_bSaveAndValidate) return;
    if (m_bInch) {
        for (float* value : {&left, &right, &front}) *value = InchToCm(*value);
    }
    m_nLeft = RoundToInt(left);
    m_nRight = RoundToInt(right);
    m_nFront = RoundToInt(front);
    m_nBeamCount = beamCount;
}
