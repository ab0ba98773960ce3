#include "model/shapedialogs/CRectShelterDialog.h"

#include "dialogs/shapedialogs/ShapeDialogSupport.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "model/DistanceUnit.h"

IMPLEMENT_DYNAMIC(CRectShelterDialog, CDialog)

namespace {
constexpr UINT IDD_RECT_SHELTER = 149;
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
    DDX_RectExtents<UINT>(pDX, left, front, right, s.GetMinDistance(), s.GetMaxDistance(), s.GetMaxWidth(), unit);
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
