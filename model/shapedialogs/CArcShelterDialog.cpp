#include "model/shapedialogs/CArcShelterDialog.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "model/DistanceUnit.h"

IMPLEMENT_DYNAMIC(CArcShelterDialog, CDialog)

namespace {
constexpr UINT IDD_ARC_SHELTER = 150;
constexpr int IDC_RADIUS = 2015;
} // namespace

CArcShelterDialog::CArcShelterDialog(const CArcShelter& shelter, BOOL inch, CWnd* pParentWnd)
    : CDialog(IDD_ARC_SHELTER, pParentWnd), m_shelter(shelter), m_bInch(inch)
{
}

void CArcShelterDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    const CString unit = m_bInch ? GetUnitText(kUnitCm, true) : m_shelter.GetUnitText();
    if (m_bInch) {
        double radius = m_shelter.GetRadius();
        DDX_InchLength(pDX, IDC_RADIUS, radius, unit);
        DDV_InchMinMax(pDX, radius, m_shelter.GetMinDistance(), m_shelter.GetMaxDistance(), unit);
        if (pDX->m_bSaveAndValidate) m_shelter.SetRadius(WORD(radius));
    } else {
        UINT radius = m_shelter.GetRadius();
        DDX_TextWithUnit(pDX, IDC_RADIUS, radius, unit);
        DDV_MinMaxWithUnit(pDX, radius, UINT(m_shelter.GetMinDistance()), UINT(m_shelter.GetMaxDistance()), unit);
        if (pDX->m_bSaveAndValidate) m_shelter.SetRadius(WORD(radius));
    }
}
