#include "framework/ui/CCmdUI.h"

#include "framework/ui/CCmdTarget.h"

// The base class applies nothing: each item kind (menu item, button, pane) derives.
void CCmdUI::Enable(BOOL)
{
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int) {}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR) {}

void CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    // Id 0 and the separator ids carry no command.
    if (pTarget == nullptr || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return;
    m_bEnableChanged = FALSE;
    pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        const BOOL hasHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
}

void CTestCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}

void CTestCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
}

void CTestCmdUI::SetRadio(BOOL bOn)
{
    m_nCheck = bOn ? 1 : 0;
}

void CTestCmdUI::SetText(LPCTSTR lpszText)
{
    m_strText = lpszText;
    m_bTextSet = TRUE;
}
