#include "framework/ui/CDialogBar.h"

#include "framework/core/Resources.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/DialogWindow.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
END_MESSAGE_MAP()

CDialogBar::CDialogBar() = default;

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    if (pParentWnd == nullptr || pParentWnd->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    const DialogTemplate* dialogTemplate = FindDialogTemplate(AfxGetResourceHandle(), nIDTemplate);
    if (dialogTemplate == nullptr)
        return FALSE;
    m_dwStyle = nStyle & CBRS_ALL;
    if (!AfxCreateDialogWindow(*this, *dialogTemplate, pParentWnd->m_hWnd, true))
        return FALSE;
    SetDlgCtrlID(int(nID));
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = CSize(rect.Width(), rect.Height());
    // The template's own WS_VISIBLE does not count: the bar's style decides.
    SendMessage(WM_INITDIALOG, 0, 0);
    ShowWindow((nStyle & WS_VISIBLE) ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcParentLayout();
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    const CRect insets = BorderInsets();
    const int height = m_sizeDefault.cy + insets.top + insets.bottom;
    return bHorz ? CSize(32767, height) : CSize(m_sizeDefault.cx, 32767);
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHandler);
}

BOOL CDialogBar::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg == nullptr || m_hWnd == nullptr)
        return FALSE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == WPARAM(VK_ESCAPE)) {
        // A control that takes every key (an open list) keeps its Escape.
        if (::SendMessage(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, LPARAM(pMsg)) & DLGC_WANTALLKEYS)
            return FALSE;
        if (ReturnFocusToView())
            return TRUE;
    }
    if (AfxDialogAccessKey(m_hWnd, *pMsg))
        return TRUE;
    return CControlBar::PreTranslateMessage(pMsg);
}

bool CDialogBar::ReturnFocusToView()
{
    CFrameWnd* frame = GetParentFrame();
    CView* view = frame != nullptr ? frame->GetActiveView() : nullptr;
    if (view == nullptr || view->m_hWnd == nullptr)
        return false;
    view->SetFocus();
    return true;
}

BOOL CDialogBar::OnEraseBkgnd(CDC* pDC)
{
    if (pDC != nullptr)
        DrawBarBackground(*pDC);
    return TRUE;
}
