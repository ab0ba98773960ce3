#include "app/CConfirmView.h"

namespace {
constexpr UINT kAcceptCaption = 960;
constexpr UINT kRejectCaption = 961;
} // namespace

IMPLEMENT_DYNCREATE(CConfirmView, CPreviewView)

BEGIN_MESSAGE_MAP(CConfirmView, CPreviewView)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PRINT, OnUpdatePrint)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_CLOSE, OnUpdateClose)
END_MESSAGE_MAP()

CConfirmView::CConfirmView()
{
    m_nZoomState = ZOOM_MIDDLE;
    m_strPrint.LoadString(kAcceptCaption);
    m_strClose.LoadString(kRejectCaption);
}

void CConfirmView::Decide(UINT command)
{
    if (m_bDecided) return;
    m_bDecided = TRUE;
    CView* view = GetPrintView();
    if (view == nullptr || view->GetSafeHwnd() == nullptr) return;
    // A view that is going away hears the decision now; later would be too late.
    if (IsPrintViewClosing()) view->SendMessage(WM_CONFIRM_PREVIEW_DONE, command);
    else view->PostMessage(WM_CONFIRM_PREVIEW_DONE, command);
}

void CConfirmView::OnPreviewPrint()
{
    // Accepting prints nothing: it only confirms.
    Decide(AFX_ID_PREVIEW_PRINT);
    ClosePreview();
}

void CConfirmView::OnPreviewClose()
{
    Decide(AFX_ID_PREVIEW_CLOSE);
    ClosePreview();
}

void CConfirmView::OnEndPreview()
{
    Decide(AFX_ID_PREVIEW_CLOSE);
}

void CConfirmView::OnUpdatePrint(CCmdUI* pCmdUI)
{
    if (!m_strPrint.IsEmpty()) pCmdUI->SetText(m_strPrint);
    pCmdUI->Enable(!IsPreviewEnded());
}

void CConfirmView::OnUpdateClose(CCmdUI* pCmdUI)
{
    if (!m_strClose.IsEmpty()) pCmdUI->SetText(m_strClose);
    pCmdUI->Enable(!IsPreviewEnded());
}
