#include "framework/ui/CView.h"

#include "framework/gdi/CDC.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CPaintDC.h"
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

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && frame->GetActiveView() != this)
        frame->SetActiveView(this);
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
