#include "dialogs/CWizardPage.h"

IMPLEMENT_DYNAMIC(CWizardPage, CPropertyPage)

CWizardPage::CWizardPage(UINT nIDTemplate, UINT nIDBitmap) : CPropertyPage(nIDTemplate), m_nIDBitmap(nIDBitmap) {}

CWizardPage::~CWizardPage()
{
    // The picture goes before the page's own window.
    if (m_picture.GetSafeHwnd())
        m_picture.DestroyWindow();
}

BOOL CWizardPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (m_picture.SubclassDlgItem(IDC_WIZARD_PICTURE, this)) {
        m_picture.LoadBitmap(m_nIDBitmap);
        m_picture.SizeToContent();
        m_picture.EnableWindow(FALSE);
    }
    return TRUE;
}

CPropertySheet* CWizardPage::GetSheet() const
{
    return dynamic_cast<CPropertySheet*>(GetParent());
}

void CWizardPage::SetWizardButtons(DWORD dwFlags) const
{
    if (CPropertySheet* sheet = GetSheet())
        sheet->SetWizardButtons(dwFlags);
}

void CWizardPage::SetFinishText(LPCTSTR lpszText) const
{
    if (CPropertySheet* sheet = GetSheet())
        sheet->SetFinishText(lpszText);
}

bool CWizardPage::IsFirstPage() const
{
    const CPropertySheet* sheet = GetSheet();
    return sheet && sheet->GetPageIndex(const_cast<CWizardPage*>(this)) == 0;
}

void CWizardPage::SetBackNextButtons() const
{
    SetWizardButtons(IsFirstPage() ? kButtonsNext : kButtonsBackNext);
}

void CWizardPage::SetFinishButtons() const
{
    SetWizardButtons(kButtonsBackFinish);
    SetFinishText("OK");
}
