#include "app/CMDIChildWndExt.h"

#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"

IMPLEMENT_DYNCREATE(CMDIChildWndExt, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CMDIChildWndExt, CMDIChildWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

void CMDIChildWndExt::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
    CDocument* doc = GetActiveDocument();
    if (doc == nullptr || !doc->IsModified())
        return;
    CString title;
    GetWindowText(title);
    SetFrameText(title + "*");
}

LRESULT CMDIChildWndExt::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    CDocument* doc = GetActiveDocument();
    const int modified = doc != nullptr && doc->IsModified() ? 1 : 0;
    if (modified != m_nLastModified) {
        OnUpdateFrameTitle(TRUE);
        m_nLastModified = modified;
    }
    return CMDIChildWnd::OnIdleUpdateCmdUI(wParam, lParam);
}

int CMDIChildWndExt::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int result = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (CMDIFrameWnd* frame = GetMDIFrame(); frame != nullptr && frame->MDIGetActive() != this)
        MDIActivate();
    // A click on a bar control keeps its own focus; elsewhere the view takes it.
    CWnd* focus = CWnd::GetFocus();
    CView* view = GetActiveView();
    if (view != nullptr && view->m_hWnd != nullptr && (focus == nullptr || !IsChild(focus)))
        view->SetFocus();
    return result;
}
