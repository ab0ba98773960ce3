#include "dialogs/CZOKParameterPrintDialog.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CPrintDialog.h"

IMPLEMENT_DYNAMIC(CZOKParameterPrintDialog, CPrintDialogBase)

BOOL CZOKParameterPrintDialog::OnPreparePrinting(CPrintInfo* pInfo)
{
    pInfo->SetMaxPage(1);
    pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS | PD_NOSELECTION;
    return DoPreparePrinting(pInfo);
}

void CZOKParameterPrintDialog::PrintPage(CDC* pDC, CPrintInfo* pInfo)
{
    CRect rect = pInfo->m_rectDraw;
    rect.left += pDC->GetDeviceCaps(LOGPIXELSX);
    rect.top += pDC->GetDeviceCaps(LOGPIXELSY);
    pDC->DrawText(m_strText, rect, DT_LEFT | DT_TOP);
}
