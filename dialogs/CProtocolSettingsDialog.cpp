#include "dialogs/CProtocolSettingsDialog.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/MessageBox.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CProtocolSettingsDialog, CDialog)

namespace {
constexpr UINT IDD_PROTOCOL_SETTINGS = 112;
constexpr int IDC_DEFAULTS_BUTTON = 2072;
constexpr int IDC_FIRST_ANGLE = 2106;
constexpr int IDC_LAST_ANGLE = 2107;
constexpr int IDC_ANGLE_STEP = 2109;
constexpr UINT IDP_STEP_NOT_HALF_DEGREES = 447;
constexpr const char* kDegrees = "°";
// A step of 0 or below would list nothing sensible and cannot divide the angles.
constexpr float kMinAngleStep = 0.5f;
constexpr float kMaxAngleStep = 180.0f;
} // namespace

BEGIN_MESSAGE_MAP(CProtocolSettingsDialog, CDialog)
    ON_BN_CLICKED(IDC_DEFAULTS_BUTTON, OnDefaults)
END_MESSAGE_MAP()

BOOL IsWholeMultiple(double value, double step)
{
    if (!(step > 0))
        return FALSE;
    const double quotient = value / step;
    return std::fabs(quotient - std::round(quotient)) < 1e-4;
}

CProtocolSettingsDialog::CProtocolSettingsDialog(CWnd* pParentWnd) : CDialog(IDD_PROTOCOL_SETTINGS, pParentWnd) {}

BOOL CProtocolSettingsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

void CProtocolSettingsDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_FIRST_ANGLE, m_nFirstAngle, kDegrees);
    DDV_MinMaxWithUnit(pDX, m_nFirstAngle, 0, kDefaultLastAngle - 1, kDegrees);
    DDX_TextWithUnit(pDX, IDC_LAST_ANGLE, m_nLastAngle, kDegrees);
    DDV_MinMaxWithUnit(pDX, m_nLastAngle, m_nFirstAngle + 1, kDefaultLastAngle, kDegrees);
    DDX_TextWithUnit(pDX, IDC_ANGLE_STEP, m_fAngleStep, kDegrees);
    DDV_MinMaxWithUnit(pDX, m_fAngleStep, kMinAngleStep, kMaxAngleStep, kDegrees);
    if (pDX->m_bSaveAndValidate && !IsWholeMultiple(m_fAngleStep, 0.5)) {
        AfxMessageBox(IDP_STEP_NOT_HALF_DEGREES, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void CProtocolSettingsDialog::OnDefaults()
{
    m_nFirstAngle = kDefaultFirstAngle;
    m_nLastAngle = kDefaultLastAngle;
    m_fAngleStep = kDefaultAngleStep;
    UpdateData(FALSE);
}
