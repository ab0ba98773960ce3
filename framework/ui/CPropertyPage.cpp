#include "framework/ui/CPropertyPage.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) { Construct(nIDTemplate, nIDCaption); }

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption)
{
    m_nIDTemplate = nIDTemplate;
    m_nIDHelp = nIDTemplate;
    m_nIDCaption = nIDCaption;
    m_psp.nTemplateId = nIDTemplate;
    if (nIDCaption != 0 && m_psp.strTitle.LoadString(nIDCaption)) m_psp.dwFlags |= PSP_USETITLE;
}

CString CPropertyPage::GetCaption() const
{
    if (m_psp.dwFlags & PSP_USETITLE) return m_psp.strTitle;
    // The caption string may only have become readable once the language module was set.
    if (CString caption; m_nIDCaption != 0 && caption.LoadString(m_nIDCaption)) return caption;
    const DialogTemplate* pageTemplate = FindTemplate();
    return pageTemplate ? CString(pageTemplate->caption) : CString();
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnOK() {}

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::OnCancel() {}

LRESULT CPropertyPage::OnWizardBack() { return 0; }

LRESULT CPropertyPage::OnWizardNext() { return 0; }

BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bModified = bChanged;
    if (CWnd* sheet = GetParent()) sheet->SendMessage(bChanged ? PSM_CHANGED : PSM_UNCHANGED, WPARAM(GetSafeHwnd()), 0);
}
