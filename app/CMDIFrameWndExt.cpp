#include "app/CMDIFrameWndExt.h"

#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CView.h"

IMPLEMENT_DYNCREATE(CMDIFrameWndExt, CMDIFrameWnd)

namespace {

// Commands with all of these bits set are the system commands of a window menu.
constexpr UINT kSystemCommandBits = 0xF000;

} // namespace

BOOL CMDIFrameWndExt::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (!CMDIFrameWnd::OnCreateClient(lpcs, pContext))
        return FALSE;
    return m_wndClientBackground.SubclassWindow(m_hWndMDIClient);
}

BOOL CMDIFrameWndExt::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const BOOL handled = CMDIFrameWnd::OnCommand(wParam, lParam);
    const UINT nID = LOWORD(DWORD(wParam));
    if (lParam != 0 || (nID & kSystemCommandBits) != kSystemCommandBits)
        return handled;
    CMDIChildWnd* active = MDIGetActive();
    CView* view = active != nullptr ? active->GetActiveView() : nullptr;
    if (view == nullptr || view->m_hWnd == nullptr)
        return handled;
    CWnd* focus = CWnd::GetFocus();
    if (focus == nullptr || focus->GetParentFrame() != active)
        view->SetFocus();
    return handled;
}

void CMDIFrameWndExt::OnDestroy()
{
    if (m_wndClientBackground.m_hWnd != nullptr)
        m_wndClientBackground.UnsubclassWindow();
    CMDIFrameWnd::OnDestroy();
}
