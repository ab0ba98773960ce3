#include "model/CRectShelterDialog.h"

#include "dialogs/ShapeDialogSupport.h"
#include "dialogs/UnitDataExchange.h"
#include "model/DistanceUnit.h"

IMPLEMENT_DYNAMIC(CRectShelterDialog, CDialog)

namespace {
constexpr UINT IDD_RECT_SHELTER = 149;
constexpr int IDC_FRONT = 2023;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_RIGHT = 2063;
} // namespace

CRectShelterDialog::CRectShelterDialog(const CRectShelter& shelter, BOOL inch, CWnd* pParentWnd)
    : CDialog(IDD_RECT_SHELTER, pParentWnd), m_shelter(shelter), m_bInch(inch)
{
}

void CRectShelterDialog::ExchangeCentimetres(CDataExchange* pDX, LPCTSTR unit)
{
    const CRectShelter& s = m_shelter;
    UINT left = s.GetLeft();
    UINT front = s.GetFront();
    UINT right = s.GetRight();
    const UINT minDistance = s.GetMinDistance();
    const UINT maxDistance = s.GetMaxDistance();
    const UINT width = s.GetMaxWidth();
    DDX_TextWithUnit(pDX, IDC_FRONT, front, unit);
    DDV_MinMaxWithUnit(pDX, front, minDistance, maxDistance, unit);
    DDX_TextWithUnit(pDX, IDC_LEFT, left, unit);
    DDV_MinMaxWithUnit(pDX, left, minDistance, width, unit);
    DDV_MinMaxRadius(pDX, left, front, minDistance, maxDistance, unit);
    DDX_TextWithUnit(pDX, IDC_RIGHT, right, unit);
    DDV_MinMaxWithUnit(pDX, right, minDistance, width, unit);
    DDV_MinMaxRadius(pDX, right, front, minDistance, maxDistance, unit);
    if (pDX->m_bSaveAndValidate) m_shelter.SetExtents(WORD(left), WORD(front), WORD(right));
}

void CRectShelterDialog::ExchangeInches(CDataExchange* pDX, LPCTSTR unit)
{
    const CRectShelter& s = m_shelter;
    RectExtentsCm extents{double(s.GetLeft()), double(s.GetFront()), double(s.GetRight())};
    DDX_InchRectExtents(pDX, extents, s.GetMinDistance(), s.GetMaxDistance(), s.GetMaxWidth(), unit);
    if (pDX->m_bSaveAndValidate) m_shelter.SetExtents(WORD(extents.left), WORD(extents.front), WORD(extents.right));
}

void CRectShelterDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    const CString unit = m_bInch ? GetUnitText(kUnitCm, true) : m_shelter.GetUnitText();
    if (m_bInch)
        ExchangeInches(pDX, unit);
    else
        ExchangeCentimetres(pDX, unit);
}
