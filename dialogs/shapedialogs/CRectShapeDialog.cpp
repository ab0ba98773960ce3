#include "dialogs/shapedialogs/CRectShapeDialog.h"

#include "dialogs/shapedialogs/ShapeDialogSupport.h"
#include "dialogs/controls/UnitDataExchange.h"

IMPLEMENT_DYNAMIC(CRectShapeDialog, CDialog)

namespace {
constexpr UINT IDD_RECT_SHAPE = 151;
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
    // Working values; the members change only when every check passed.
    int left = m_nLeft;
    int right = m_nRight;
    int front = m_nFront;
    if (m_bInch)
        ExchangeInches(pDX, left, front, right);
    else
        ExchangeCentimetres(pDX, left, front, right);
    int beamCount = m_nBeamCount;
    DDX_BeamCount(pDX, IDC_BEAM_COUNT, beamCount);
    if (!pDX->m_bSaveAndValidate) return;
    m_nLeft = left;
    m_nRight = right;
    m_nFront = front;
    m_nBeamCount = beamCount;
}

void CRectShapeDialog::ExchangeCentimetres(CDataExchange* pDX, int& left, int& front, int& right)
{
    float l = float(left);
    float f = float(front);
    float r = float(right);
    DDX_RectExtents(pDX, l, f, r, float(m_nMinDistance), float(m_nMaxDistance), float(m_nMaxWidth), m_strUnit);
    left = RoundToInt(l);
    front = RoundToInt(f);
    right = RoundToInt(r);
}

void CRectShapeDialog::ExchangeInches(CDataExchange* pDX, int& left, int& front, int& right)
{
    RectExtentsCm extents{double(left), double(front), double(right)};
    DDX_InchRectExtents(pDX, extents, m_nMinDistance, m_nMaxDistance, m_nMaxWidth, m_strUnit);
    left = int(extents.left);
    front = int(extents.front);
    right = int(extents.right);
}
