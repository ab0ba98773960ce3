#include "app/StatusPaneText.h"

#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CStatusBar.h"

void FitStatusPaneToText(CCmdUI* pCmdUI, const CString& text)
{
    auto* bar = dynamic_cast<CStatusBar*>(pCmdUI->m_pOther);
    if (bar == nullptr || bar->m_hWnd == nullptr)
        return;
    CClientDC dc(bar);
    CFont* old = dc.SelectObject(bar->GetFont());
    const int width = dc.GetTextExtent(text).cx;
    dc.SelectObject(old);
    UINT id = 0;
    UINT style = 0;
    int current = 0;
    bar->GetPaneInfo(int(pCmdUI->m_nIndex), id, style, current);
    if (current != width)
        bar->SetPaneInfo(int(pCmdUI->m_nIndex), id, style, width);
}
