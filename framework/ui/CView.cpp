#include "framework/ui/CView.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CPaintDC.h"
#include "framework/ui/CPreviewView.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CPrintingDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/CSplitterWnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_COMMAND_EX(ID_NEXT_PANE, OnNextPaneCmd)
    ON_COMMAND_EX(ID_PREV_PANE, OnNextPaneCmd)
    ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateNextPaneMenu)
    ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateNextPaneMenu)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* context = lpCreateStruct != nullptr ? static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams) : nullptr;
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    // A preview must not outlive the view it shows.
    CPreviewView::ClosePreviewOf(this);
    // The frame must not keep a view that is going.
    for (CFrameWnd* frame = GetParentFrame(); frame != nullptr; frame = frame->GetParentFrame()) {
        if (frame->GetActiveView() == this)
            frame->SetActiveView(nullptr, FALSE);
    }
    CWnd::OnDestroy();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (bActivate && pActivateView == this && m_hWnd != nullptr)
        SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

namespace {

// The print loop's view of a view.
class ViewPrintJob : public CPrintJobClient {
public:
    explicit ViewPrintJob(CView& view) : m_view(view) {}
    void PrintJobPrepareDC(CDC* pDC, CPrintInfo* pInfo) override { m_view.OnPrepareDC(pDC, pInfo); }
    void PrintJobBegin(CDC* pDC, CPrintInfo* pInfo) override { m_view.OnBeginPrinting(pDC, pInfo); }
    void PrintJobPage(CDC* pDC, CPrintInfo* pInfo) override { m_view.OnPrint(pDC, pInfo); }
    void PrintJobEnd(CDC* pDC, CPrintInfo* pInfo) override { m_view.OnEndPrinting(pDC, pInfo); }

private:
    CView& m_view;
};

} // namespace

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    return AfxDoPreparePrinting(pInfo);
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    ViewPrintJob job(*this);
    CPrintingDialog status;
    CWnd* owner = AfxGetMainWnd();
    if (owner == nullptr || owner->GetSafeHwnd() == nullptr)
        owner = GetTopLevelParent();
    const CString name = m_pDocument != nullptr ? m_pDocument->GetTitle() : CString(AfxGetAppName());
    AfxRunPrintJob(job, info, status, owner, name);
}

void CView::OnFilePrintPreview()
{
    if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), new CPrintPreviewState))
        AfxMessageBox(AFX_IDP_PREVIEW_FAILED);
}

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, const CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState)
{
    return AfxDoPrintPreview(nIDResource, pPrintView, pPreviewViewClass, pState);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (result == MA_NOACTIVATEANDEAT)
        return result;
    CFrameWnd* frame = GetParentFrame();
    if (frame == nullptr)
        return result;
    if (frame->GetActiveView() != this) {
        frame->SetActiveView(this);
        return result;
    }
    // Already the active view, with the focus elsewhere (a bar of the frame): a click takes it back.
    CWnd* focus = CWnd::GetFocus();
    if (focus != this && (focus == nullptr || !IsChild(focus)))
        OnActivateView(TRUE, this, this);
    return result;
}

void CView::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CView::GetCommandRoute(std::vector<CCmdTarget*>& route)
{
    route.push_back(this);
    if (m_pDocument != nullptr)
        route.push_back(m_pDocument);
}

BOOL CView::OnNextPaneCmd(UINT nID)
{
    auto* splitter = dynamic_cast<CSplitterWnd*>(GetParent());
    if (splitter == nullptr || !splitter->CanActivateNext(nID == ID_PREV_PANE))
        return FALSE;
    splitter->ActivateNext(nID == ID_PREV_PANE);
    return TRUE;
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI)
{
    auto* splitter = dynamic_cast<CSplitterWnd*>(GetParent());
    pCmdUI->Enable(splitter != nullptr && splitter->CanActivateNext(pCmdUI->m_nID == ID_PREV_PANE));
}
