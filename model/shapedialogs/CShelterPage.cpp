#include "model/shapedialogs/CShelterPage.h"

#include "framework/ui/DDX.h"
#include "model/DistanceUnit.h"

IMPLEMENT_DYNAMIC(CShelterPage, CPropertyPage)

namespace {
constexpr int IDC_ANGLE_SPAN = 2131;
constexpr int IDC_ANGLE_STEP = 2132;
constexpr int IDC_UNIT = 2133;
} // namespace

CShelterPage::CShelterPage(UINT nIDTemplate, UINT nIDCaption, const CSensorType& type, CShelter* pShelter, BOOL inch)
    : CPropertyPage(nIDTemplate, nIDCaption), m_sensorType(type), m_pShelter(pShelter), m_bInch(inch)
{
}

BOOL CShelterPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_strUnit = m_sensorType.GetUnitText();
    m_strAngleSpan.Format("%d\u00B0", int(m_sensorType.GetAngleSpan()));
    m_strAngleStep = FormatDecimal(m_sensorType.GetAngleStep(), 2) + "\u00B0";
    UpdateData(FALSE);
    return result;
}

void CShelterPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_UNIT, m_strUnit);
    DDX_Text(pDX, IDC_ANGLE_SPAN, m_strAngleSpan);
    DDX_Text(pDX, IDC_ANGLE_STEP, m_strAngleStep);
}
