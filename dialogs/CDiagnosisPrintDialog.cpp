#include "dialogs/CDiagnosisPrintDialog.h"

#include "dialogs/DiagnosisText.h"
#include "framework/ui/CPrintDialog.h"

IMPLEMENT_DYNAMIC(CDiagnosisPrintDialog, CPrintDialogBase)

BOOL CDiagnosisPrintDialog::OnPreparePrinting(CPrintInfo* pInfo)
{
    pInfo->SetMaxPage(1);
    pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS | PD_NOSELECTION;
    return DoPreparePrinting(pInfo);
}

void CDiagnosisPrintDialog::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    const UINT pages = UINT(DiagnosisPageCount(pDC, m_strText));
    pInfo->SetMaxPage(pages);
    pInfo->m_pPD->m_pd.nFromPage = 1;
    pInfo->m_pPD->m_pd.nToPage = WORD(pages);
}

void CDiagnosisPrintDialog::PrintPage(CDC* pDC, CPrintInfo* pInfo)
{
    PrintDiagnosisPage(pDC, m_strText, int(pInfo->m_nCurPage));
}
