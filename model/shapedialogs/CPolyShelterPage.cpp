#include "model/shapedialogs/CPolyShelterPage.h"

#include "framework/ui/DDX.h"
#include "model/CPolyShelter.h"
#include "model/shapedialogs/CPolyShelterDialog.h"

IMPLEMENT_DYNAMIC(CPolyShelterPage, CShelterPage)

namespace {
constexpr int IDC_TIME = 2161;
constexpr int IDC_VERTICES = 2078;
} // namespace

CPolyShelterPage::CPolyShelterPage(UINT nIDTemplate, UINT nIDCaption, const CSensorType& type, CPolyShelter* pField,
                                   int displayMode, BOOL inch)
    : CShelterPage(nIDTemplate, nIDCaption, type, pField, inch), m_pPolyField(pField), m_nDisplayMode(displayMode)
{
}

BOOL CPolyShelterPage::OnInitDialog()
{
    // The locale's short date and the 24-hour time.
    if (m_pPolyField) m_strTime = m_pPolyField->GetTime().Format("%x %H:%M:%S");
    const BOOL result = CShelterPage::OnInitDialog();
    if (m_list.AttachToDlgItem(IDC_VERTICES, this)) {
        CPolyShelterDialog::SetUpVertexColumns(m_list, m_nDisplayMode);
        if (m_pPolyField) CPolyShelterDialog::FillVertexList(m_list, *m_pPolyField, m_nDisplayMode, m_bInch);
    }
    return result;
}

void CPolyShelterPage::DoDataExchange(CDataExchange* pDX)
{
    CShelterPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TIME, m_strTime);
}
