#include "model/CRectShelterDialog.h"

#include "dialogs/UnitDataExchange.h"
#include "model/DistanceUnit.h"

IMPLEMENT_DYNAMIC(CRectShelterDialog, CDialog)

namespace {
constexpr UINT IDD_RECT_SHELTER = 149;
constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;

WORD CmFromInch(float inch) { return WORD(RoundToInt(InchToCm(inch))); }
} // namespace

CRectShelterDialog::CRectShelterDialog(const CRectShelter& shelter, BOOL inch, CWnd* pParentWnd)
    : CDialog(IDD_RECT_SHELTER, pParentWnd), m_shelter(shelter), m_bInch(inch)
{
}

template <class T>
void CRectShelterDialog::ExchangeExtents(CDataExchange* pDX, T left, T front, T right, T minDistance, T maxDistance,
                                         T width, LPCTSTR unit)
{
    DDX_TextWithUnit(pDX, IDC_FRONT, front, unit);
    DDV_MinMaxWithUnit(pDX, front, minDistance, maxDistance, unit);
    DDX_TextWithUnit(pDX, IDC_LEFT, left, unit);
    DDV_MinMaxWithUnit(pDX, left, minDistance, width, unit);
    DDV_MinMaxRadius(pDX, left, front, minDistance, maxDistance, unit);
    DDX_TextWithUnit(pDX, IDC_RIGHT, right, unit);
    DDV_MinMaxWithUnit(pDX, right, minDistance, width, unit);
    DDV_MinMaxRadius(pDX, right, front, minDistance, maxDistance, unit);
    if (!pDX->m_bSaveAndValidate) return;
    if constexpr (std::is_floating_point_v<T>)
        m_shelter.SetExtents(CmFromInch(left), CmFromInch(front), CmFromInch(right));
    else
        m_shelter.SetExtents(WORD(left), WORD(front), WORD(right));
}

void CRectShelterDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    const CString unit = m_bInch ? GetUnitText(kUnitCm, true) : m_shelter.GetUnitText();
    const CRectShelter& s = m_shelter;
    if (m_bInch)
        ExchangeExtents<float>(pDX, CmToInch(s.GetLeft()), CmToInch(s.GetFront()), CmToInch(s.GetRight()),
                               CmToInch(s.GetMinDistance()), CmToInch(s.GetMaxDistance()), CmToInch(s.GetMaxWidth()),
                               unit);
    else
        ExchangeExtents<UINT>(pDX, s.GetLeft(), s.GetFront(), s.GetRight(), s.GetMinDistance(), s.GetMaxDistance(),
                              s.GetMaxWidth(), unit);
}
