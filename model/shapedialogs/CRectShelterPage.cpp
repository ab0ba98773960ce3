#include "model/shapedialogs/CRectShelterPage.h"

#include "framework/ui/DDX.h"
#include "model/CRectShelter.h"
#include "model/shapedialogs/ShelterPageTexts.h"

IMPLEMENT_DYNAMIC(CRectShelterPage, CShelterPage)

namespace {
constexpr UINT IDD_RECT_SHELTER_PAGE = 157;
constexpr int IDC_TIME = 2161;
constexpr int IDC_LEFT = 2061;
constexpr int IDC_FRONT = 2023;
constexpr int IDC_RIGHT = 2063;
} // namespace

CRectShelterPage::CRectShelterPage(UINT nIDCaption, const CSensorType& type, CRectShelter* pShelter, BOOL inch)
    : CShelterPage(IDD_RECT_SHELTER_PAGE, nIDCaption, type, pShelter, inch)
{
}

BOOL CRectShelterPage::OnInitDialog()
{
    const auto* shelter = static_cast<const CRectShelter*>(m_pShelter);
    if (shelter) {
        const bool inch = m_bInch != FALSE;
        m_strTime = FormatShelterTime(shelter->GetTime());
        m_strLeft = FormatShelterDistance(shelter->GetLeft(), m_sensorType, inch);
        m_strFront = FormatShelterDistance(shelter->GetFront(), m_sensorType, inch);
        m_strRight = FormatShelterDistance(shelter->GetRight(), m_sensorType, inch);
    }
    // The base fills its texts and transfers every text to the controls.
    return CShelterPage::OnInitDialog();
}

void CRectShelterPage::DoDataExchange(CDataExchange* pDX)
{
    CShelterPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TIME, m_strTime);
    DDX_Text(pDX, IDC_LEFT, m_strLeft);
    DDX_Text(pDX, IDC_FRONT, m_strFront);
    DDX_Text(pDX, IDC_RIGHT, m_strRight);
}
