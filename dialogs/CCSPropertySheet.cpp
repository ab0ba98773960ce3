#include "dialogs/CCSPropertySheet.h"

#include "framework/ui/WinHelp.h"

IMPLEMENT_DYNAMIC(CCSPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CCSPropertySheet, CPropertySheet)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CCSPropertySheet::CCSPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
    m_psh.dwFlags |= PSH_HASHELP;
}

CCSPropertySheet::CCSPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    m_psh.dwFlags |= PSH_HASHELP;
}

void CCSPropertySheet::OnHelp() { SendMessage(WM_COMMANDHELP, 0, 0); }

LRESULT CCSPropertySheet::OnCommandHelp(WPARAM, LPARAM lParam)
{
    UINT context = UINT(lParam);
    if (context == 0) {
        const CPropertyPage* page = GetActivePage();
        if (page == nullptr) return FALSE;
        context = page->m_nIDHelp;
    }
    if (context == 0) return FALSE;
    ShowHelpTopic(context);
    return TRUE;
}

void CCSPropertySheet::ShowHelpTopic(UINT nContextId)
{
    AfxWinHelp(nContextId, HELP_CONTEXT);
}
