#include "dialogs/shapedialogs/CPolarPointDialog.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/DDX.h"
#include "model/CSensorPoint.h"
#include "model/DistanceUnit.h"

namespace {
constexpr int IDC_ANGLE = 2014;
constexpr int IDC_DISTANCE = 2015;
constexpr UINT IDS_DEGREE = 954;
constexpr float kStraightAhead = 90.0f;
} // namespace

CPolarPointDialog::CPolarPointDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CPolarPointDialog::OnInitDialog()
{
    m_strAngleUnit.LoadString(IDS_DEGREE);
    m_strDistanceUnit = GetUnitText(m_nUnit, m_bInch != 0);
    return CDialog::OnInitDialog();
}

void CPolarPointDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ANGLE, m_editAngle);
    if (m_bAngleFixed) m_editAngle.EnableWindow(FALSE);

    DDX_TextWithUnit(pDX, IDC_ANGLE, m_fAngle, m_strAngleUnit);
    DDV_MinMaxWithUnit(pDX, m_fAngle, m_fMinAngle, m_fMaxAngle, m_strAngleUnit);
    const float distance = m_bInch ? ExchangeInchDistance(pDX) : ExchangeDistance(pDX);
    if (pDX->m_bSaveAndValidate) pDX->Store(m_fDistance, distance);
}

float CPolarPointDialog::LateralLimit(float distance) const
{
    // A point may not lie farther out than where its beam meets the lateral limit.
    if (m_fMaxWidth <= 0 || m_fAngle == kStraightAhead) return m_fMaxDistance;
    CSensorPoint limit;
    limit.SetAngleRadius(m_fAngle, distance);
    limit.SetXKeepAngle(m_fAngle > kStraightAhead ? -m_fMaxWidth : m_fMaxWidth);
    return limit.GetRadius();
}

float CPolarPointDialog::ExchangeDistance(CDataExchange* pDX)
{
    float distance = m_fDistance;
    DDX_TextWithUnit(pDX, IDC_DISTANCE, distance, m_strDistanceUnit);
    DDV_MinMaxWithUnit(pDX, distance, m_fMinDistance, m_fMaxDistance, m_strDistanceUnit);
    if (pDX->m_bSaveAndValidate)
        DDV_MinMaxWithUnit(pDX, distance, m_fMinDistance, LateralLimit(distance), m_strDistanceUnit);
    return distance;
}

float CPolarPointDialog::ExchangeInchDistance(CDataExchange* pDX)
{
    const double unitsPerInch = UnitFromInch(1.0, m_nUnit);
    double distance = m_fDistance;
    DDX_InchLength(pDX, IDC_DISTANCE, distance, m_strDistanceUnit, unitsPerInch);
    DDV_InchMinMax(pDX, distance, m_fMinDistance, m_fMaxDistance, m_strDistanceUnit, unitsPerInch);
    if (pDX->m_bSaveAndValidate)
        DDV_InchMinMax(pDX, distance, m_fMinDistance, LateralLimit(float(distance)), m_strDistanceUnit, unitsPerInch);
    return float(distance);
}
