#include "dialogs/CCartesianPointDialog.h"

#include "dialogs/UnitDataExchange.h"
#include "framework/core/Profile.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DDX.h"
#include "model/CShelter.h"
#include "model/DistanceUnit.h"

namespace {
constexpr int IDC_CALC_MODE = 2087;
constexpr int IDC_X = 2012;
constexpr int IDC_Y = 2013;
constexpr int IDC_RESULT_X = 2088;
constexpr int IDC_RESULT_Y = 2089;
constexpr int IDC_CALCULATE = 2090;
constexpr const char* kSection = "Settings";
constexpr const char* kCalcModeKey = "CalcMode";

LPCTSTR ProfileName()
{
    CWinApp* app = AfxGetApp();
    return app && *app->m_pszProfileName ? app->m_pszProfileName : nullptr;
}

float ToShown(float cm, int inch) { return inch ? CmToInch(cm) : cm; }
float ToCm(float shown, int inch) { return inch ? InchToCm(shown) : shown; }

} // namespace

BEGIN_MESSAGE_MAP(CCartesianPointDialog, CDialog)
    ON_BN_CLICKED(IDC_CALCULATE, OnCalculate)
    ON_EN_CHANGE(IDC_X, OnChangeCoordinate)
    ON_EN_CHANGE(IDC_Y, OnChangeCoordinate)
END_MESSAGE_MAP()

CCartesianPointDialog::CCartesianPointDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CCartesianPointDialog::OnInitDialog()
{
    if (LPCTSTR profile = ProfileName())
        m_nCalcMode = int(GetPrivateProfileInt(kSection, kCalcModeKey, 0, profile));
    else
        m_nCalcMode = 0;
    if (m_nCalcMode < 0 || m_nCalcMode > 2) m_nCalcMode = 0;
    m_strUnit = GetUnitText(kUnitCm, m_bInch != 0);
    const BOOL result = CDialog::OnInitDialog();
    ClearResult();
    return result;
}

CSensorPoint CCartesianPointDialog::ResultPointOf(float x, float y) const
{
    CSensorPoint point;
    point.SetXY(x, y);
    if (!m_pField) return point;
    const int mode = m_nCalcMode == 1 ? kSnapKeepX : m_nCalcMode == 2 ? kSnapKeepY : kSnapToGrid;
    return m_pField->SnapPoint(point, mode);
}

CSensorPoint CCartesianPointDialog::GetResultPoint() const { return ResultPointOf(m_fX, m_fY); }

void CCartesianPointDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_CALC_MODE, m_nCalcMode);

    // Working copies in the shown unit: a failed check leaves the members in cm.
    float x = ToShown(m_fX, m_bInch);
    float y = ToShown(m_fY, m_bInch);
    const float minDistance = ToShown(m_fMinDistance, m_bInch);
    const float maxDistance = ToShown(m_fMaxDistance, m_bInch);
    const float maxWidth = ToShown(m_fMaxWidth, m_bInch);

    DDX_TextWithUnit(pDX, IDC_X, x, m_strUnit);
    if (maxWidth > 0) DDV_MinMaxWithUnit(pDX, x, -maxWidth, maxWidth, m_strUnit);
    DDX_TextWithUnit(pDX, IDC_Y, y, m_strUnit);
    DDV_MinMaxWithUnit(pDX, y, 0.0f, maxDistance, m_strUnit);

    if (!pDX->m_bSaveAndValidate) return;
    // The snapped point, not only the typed one, must satisfy the limits.
    const CSensorPoint snapped = ResultPointOf(ToCm(x, m_bInch), ToCm(y, m_bInch));
    const float px = ToShown(snapped.GetX(), m_bInch);
    const float py = ToShown(snapped.GetY(), m_bInch);
    pDX->PrepareEditCtrl(IDC_X);
    if (maxWidth > 0) DDV_MinMaxWithUnit(pDX, px, -maxWidth, maxWidth, m_strUnit);
    DDV_MinMaxRadius(pDX, px, py, minDistance, maxDistance, m_strUnit);
    pDX->Store(m_fX, ToCm(x, m_bInch));
    pDX->Store(m_fY, ToCm(y, m_bInch));
}

void CCartesianPointDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    const CSensorPoint result = GetResultPoint();
    m_fX = result.GetX();
    m_fY = result.GetY();
    if (LPCTSTR profile = ProfileName()) {
        CString mode;
        mode.Format("%d", m_nCalcMode);
        WritePrivateProfileString(kSection, kCalcModeKey, mode, profile);
    }
    EndDialog(IDOK);
}

void CCartesianPointDialog::ClearResult()
{
    SetDlgItemText(IDC_RESULT_X, "");
    SetDlgItemText(IDC_RESULT_Y, "");
}

void CCartesianPointDialog::OnCalculate()
{
    ClearResult();
    if (!UpdateData(TRUE)) return;
    const CSensorPoint result = GetResultPoint();
    CString text;
    text.Format("%.2f %s", double(ToShown(result.GetX(), m_bInch)), m_strUnit.c_str());
    SetDlgItemText(IDC_RESULT_X, text);
    text.Format("%.2f %s", double(ToShown(result.GetY(), m_bInch)), m_strUnit.c_str());
    SetDlgItemText(IDC_RESULT_Y, text);
}

void CCartesianPointDialog::OnChangeCoordinate() { ClearResult(); }
