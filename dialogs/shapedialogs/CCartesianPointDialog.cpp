#include "dialogs/shapedialogs/CCartesianPointDialog.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Profile.h"
#include "framework/core/ProfileBatch.h"
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

    // Working copies in cm: a failed check leaves the members as they were.
    float x = m_fX;
    float y = m_fY;
    if (m_bInch)
        ExchangeInches(pDX, x, y);
    else
        ExchangeCentimetres(pDX, x, y);
    if (!pDX->m_bSaveAndValidate) return;
    pDX->Store(m_fX, x);
    pDX->Store(m_fY, y);
}

void CCartesianPointDialog::ExchangeCentimetres(CDataExchange* pDX, float& x, float& y)
{
    DDX_TextWithUnit(pDX, IDC_X, x, m_strUnit);
    if (m_fMaxWidth > 0) DDV_MinMaxWithUnit(pDX, x, -m_fMaxWidth, m_fMaxWidth, m_strUnit);
    DDX_TextWithUnit(pDX, IDC_Y, y, m_strUnit);
    DDV_MinMaxWithUnit(pDX, y, 0.0f, m_fMaxDistance, m_strUnit);
    if (!pDX->m_bSaveAndValidate) return;
    // The snapped point, not only the typed one, must satisfy the limits.
    const CSensorPoint snapped = ResultPointOf(x, y);
    pDX->PrepareEditCtrl(IDC_X);
    if (m_fMaxWidth > 0) DDV_MinMaxWithUnit(pDX, snapped.GetX(), -m_fMaxWidth, m_fMaxWidth, m_strUnit);
    DDV_MinMaxRadius(pDX, snapped.GetX(), snapped.GetY(), m_fMinDistance, m_fMaxDistance, m_strUnit);
}

void CCartesianPointDialog::ExchangeInches(CDataExchange* pDX, float& x, float& y)
{
    double cmX = x;
    double cmY = y;
    DDX_InchLength(pDX, IDC_X, cmX, m_strUnit);
    if (m_fMaxWidth > 0) DDV_InchMinMax(pDX, cmX, -m_fMaxWidth, m_fMaxWidth, m_strUnit);
    DDX_InchLength(pDX, IDC_Y, cmY, m_strUnit);
    DDV_InchMinMax(pDX, cmY, 0.0, m_fMaxDistance, m_strUnit);
    if (!pDX->m_bSaveAndValidate) return;
    x = float(cmX);
    y = float(cmY);
    const CSensorPoint snapped = ResultPointOf(x, y);
    pDX->PrepareEditCtrl(IDC_X);
    if (m_fMaxWidth > 0) DDV_InchMinMax(pDX, snapped.GetX(), -m_fMaxWidth, m_fMaxWidth, m_strUnit);
    DDV_InchRadius(pDX, snapped.GetX(), snapped.GetY(), m_fMinDistance, m_fMaxDistance, m_strUnit);
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
        ProfileBatch ini(profile);
        ini.WriteString(kSection, kCalcModeKey, mode);
        // The point stands; only the choice of calculation is not kept.
        if (!ini.Commit())
            AfxReportProfileWriteError(profile, ini.Error());
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
    SetDlgItemText(IDC_RESULT_X, FormatDecimal(ToShown(result.GetX(), m_bInch), 2) + " " + m_strUnit);
    SetDlgItemText(IDC_RESULT_Y, FormatDecimal(ToShown(result.GetY(), m_bInch), 2) + " " + m_strUnit);
}

void CCartesianPointDialog::OnChangeCoordinate() { ClearResult(); }
