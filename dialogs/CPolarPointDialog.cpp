#include "dialogs/CPolarPointDialog.h"

#include "dialogs/UnitDataExchange.h"
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

    auto shown = [this](float value) { return m_bInch ? float(InchFromUnit(value, m_nUnit)) : value; };
    float distance = shown(m_fDistance);
    const float minDistance = shown(m_fMinDistance);
    const float maxDistance = shown(m_fMaxDistance);
    const float maxWidth = shown(m_fMaxWidth);

    DDX_TextWithUnit(pDX, IDC_ANGLE, m_fAngle, m_strAngleUnit);
    DDV_MinMaxWithUnit(pDX, m_fAngle, m_fMinAngle, m_fMaxAngle, m_strAngleUnit);
    DDX_TextWithUnit(pDX, IDC_DISTANCE, distance, m_strDistanceUnit);
    DDV_MinMaxWithUnit(pDX, distance, minDistance, maxDistance, m_strDistanceUnit);

    if (!pDX->m_bSaveAndValidate) return;
    // A point may not lie farther out than where its beam meets the lateral limit.
    if (maxWidth > 0 && m_fAngle != kStraightAhead) {
        CSensorPoint limit;
        limit.SetAngleRadius(m_fAngle, distance);
        limit.SetXKeepAngle(m_fAngle > kStraightAhead ? -maxWidth : maxWidth);
        DDV_MinMaxWithUnit(pDX, distance, minDistance, limit.GetRadius(), m_strDistanceUnit);
    }
    pDX->Store(m_fDistance, m_bInch ? float(RoundToInt(UnitFromInch(distance, m_nUnit))) : distance);
}
