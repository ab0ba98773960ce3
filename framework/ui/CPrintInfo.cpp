#include "framework/ui/CPrintInfo.h"

#include "framework/ui/CPrintDialog.h"

CPrintInfo::CPrintInfo() : m_pPD(std::make_unique<CPrintDialog>(FALSE))
{
    m_pPD->m_pd.nMinPage = 1;
    m_pPD->m_pd.nMaxPage = AFX_PRINT_PAGE_UNLIMITED;
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = AFX_PRINT_PAGE_UNLIMITED;
}

CPrintInfo::~CPrintInfo() = default;

void CPrintInfo::SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = WORD(nMinPage); }
void CPrintInfo::SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = WORD(nMaxPage); }
UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }
UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
UINT CPrintInfo::GetFromPage() const { return m_pPD->m_pd.nFromPage; }
UINT CPrintInfo::GetToPage() const { return m_pPD->m_pd.nToPage; }
UINT CPrintInfo::GetCopies() const { return m_pPD->m_pd.nCopies; }
