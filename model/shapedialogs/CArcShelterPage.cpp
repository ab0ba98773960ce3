#include "model/shapedialogs/CArcShelterPage.h"

#include "framework/ui/DDX.h"
#include "model/CArcShelter.h"
#include "model/shapedialogs/ShelterPageTexts.h"

IMPLEMENT_DYNAMIC(CArcShelterPage, CShelterPage)

namespace {
constexpr UINT IDD_ARC_SHELTER_PAGE = 158;
constexpr int IDC_TIME = 2161;
constexpr int IDC_RADIUS = 2015;
} // namespace

CArcShelterPage::CArcShelterPage(UINT nIDCaption, const CSensorType& type, CArcShelter* pShelter, BOOL inch)
    : CShelterPage(IDD_ARC_SHELTER_PAGE, nIDCaption, type, pShelter, inch)
{
}

BOOL CArcShelterPage::OnInitDialog()
{
    const auto* shelter = static_cast<const CArcShelter*>(m_pShelter);
    if (shelter) {
        m_strTime = FormatShelterTime(shelter->GetTime());
        m_strRadius = FormatShelterDistance(shelter->GetRadius(), m_sensorType, m_bInch != FALSE);
    }
    // The base fills its texts and transfers every text to the controls.
    return CShelterPage::OnInitDialog();
}

void CArcShelterPage::DoDataExchange(CDataExchange* pDX)
{
    CShelterPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TIME, m_strTime);
    DDX_Text(pDX, IDC_RADIUS, m_strRadius);
}
