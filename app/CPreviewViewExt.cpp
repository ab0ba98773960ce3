#include "app/CPreviewViewExt.h"

#include "app/CConfirmView.h"

IMPLEMENT_DYNCREATE(CPreviewViewPre, CPreviewView)

CPreviewViewPre::CPreviewViewPre()
{
    m_nZoomState = ZOOM_MIDDLE;
}

IMPLEMENT_DYNCREATE(CPreviewViewExt, CPreviewView)

BEGIN_MESSAGE_MAP(CPreviewViewExt, CPreviewView)
    ON_COMMAND(ID_PREVIEW_SAVE_COPY, OnSaveCopy)
END_MESSAGE_MAP()

CPreviewViewExt::CPreviewViewExt()
{
    m_nZoomState = ZOOM_MIDDLE;
}

void CPreviewViewExt::OnPreviewPrint()
{
    if (CView* view = GetPrintView()) view->PostMessage(WM_PREVIEW_COMMAND, AFX_ID_PREVIEW_PRINT);
    ClosePreview();
}

void CPreviewViewExt::OnPreviewClose()
{
    if (CView* view = GetPrintView()) view->PostMessage(WM_PREVIEW_COMMAND, AFX_ID_PREVIEW_CLOSE);
    ClosePreview();
}

void CPreviewViewExt::OnSaveCopy()
{
    if (CView* view = GetPrintView(); view != nullptr && !IsPreviewEnded())
        view->PostMessage(WM_PREVIEW_COMMAND, ID_PREVIEW_SAVE_COPY);
}

BOOL DoReportPreview(CView* pView, UINT nToolBar)
{
    return pView != nullptr &&
           pView->DoPrintPreview(nToolBar, pView, RUNTIME_CLASS(CPreviewViewExt), new CPrintPreviewState);
}

BOOL DoConfirmPreview(CView* pView)
{
    return pView != nullptr &&
           pView->DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, pView, RUNTIME_CLASS(CConfirmView), new CPrintPreviewState);
}
