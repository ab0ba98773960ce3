#include "framework/ui/CPreviewView.h"

#include "framework/core/Resources.h"
#include "framework/ui/CDialogBar.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/WindowHandle.h"
#include "framework/ui/WindowManager.h"

#include <QRect>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int kPreviewDpi = 150;   // resolution of the page pictures
constexpr int kScreenDpi = 96;     // "actual size" on the screen
constexpr int kMargin = 12;        // pixels around the pages
constexpr int kPageGap = 16;       // pixels between two pages
constexpr COLORREF kBackground = RGB(128, 128, 128);

std::map<const CView*, CPreviewView*>& OpenPreviews()
{
    static std::map<const CView*, CPreviewView*> previews;
    return previews;
}

GdiPageSetup PreviewPage()
{
    GdiPageSetup page = CPrintDialog::CurrentPage();
    page.dpiX = page.dpiY = kPreviewDpi;
    return page;
}

// The preview's window opens 900 x 960 at (60, 40); where the screen's work area is
// smaller it takes what the area holds, inside it. Once shown it has its title bar and
// border, which go inside the area, too.
void FitIntoWorkArea(CFrameWnd& frame)
{
    QWidget* widget = AfxWidgetFromHandle(frame.GetSafeHwnd());
    if (widget == nullptr) return;
    const QRect area = AfxAvailableScreenArea(*widget);
    if (area.isEmpty()) return;
    CRect outer;
    CRect inner;
    frame.GetWindowRect(&outer);
    frame.GetClientRect(&inner);
    const int excessX = std::max(0, outer.Width() - area.width());
    const int excessY = std::max(0, outer.Height() - area.height());
    if (excessX > 0 || excessY > 0)
        frame.SetWindowPos(nullptr, 0, 0, inner.Width() - excessX, inner.Height() - excessY,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AfxKeepOnScreen(frame);
}

CSize PagePixels()
{
    const GdiPageSetup page = PreviewPage();
    const int width = MulDiv(page.paperWidth - page.unprintableLeft - page.unprintableRight, kPreviewDpi, 2540);
    const int height = MulDiv(page.paperHeight - page.unprintableTop - page.unprintableBottom, kPreviewDpi, 2540);
    return CSize(std::max(1, width), std::max(1, height));
}

} // namespace

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrintCmd)
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewCloseCmd)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView()
{
    if (!m_bEnded && m_bBegun) ClosePreview(FALSE);
    auto& previews = OpenPreviews();
    for (auto it = previews.begin(); it != previews.end();) {
        if (it->second == this) it = previews.erase(it);
        else ++it;
    }
}

BOOL CPreviewView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_HSCROLL | WS_VSCROLL;
    return CView::PreCreateWindow(cs);
}

BOOL CPreviewView::SetPrintView(CView* pPrintView)
{
    if (pPrintView == nullptr || m_pPrintView != nullptr) return FALSE;
    m_pPreviewInfo = std::make_unique<CPrintInfo>();
    m_pPreviewInfo->m_bPreview = TRUE;
    m_pPreviewInfo->m_nNumPreviewPages = 1;
    if (!pPrintView->OnPreparePrinting(m_pPreviewInfo.get())) {
        m_pPreviewInfo.reset();
        return FALSE;
    }
    if (!m_dcAttrib.CreatePageImageDC(PreviewPage())) {
        m_pPreviewInfo.reset();
        return FALSE;
    }
    m_pPrintView = pPrintView;
    m_dcAttrib.m_bPrinting = TRUE;
    m_nPages = std::clamp<UINT>(m_pPreviewInfo->m_nNumPreviewPages, 1, 2);
    m_nCurrentPage = std::max<UINT>(1, m_pPreviewInfo->GetMinPage());
    pPrintView->OnBeginPrinting(&m_dcAttrib, m_pPreviewInfo.get());
    m_bBegun = TRUE;
    OpenPreviews()[pPrintView] = this;
    return TRUE;
}

CPreviewView* CPreviewView::FindPreviewOf(const CView* pPrintView)
{
    const auto& previews = OpenPreviews();
    const auto it = previews.find(pPrintView);
    return it == previews.end() ? nullptr : it->second;
}

void CPreviewView::ClosePreviewOf(CView* pPrintView)
{
    if (CPreviewView* preview = FindPreviewOf(pPrintView)) {
        preview->m_bPrintViewClosing = TRUE;
        preview->ClosePreview(TRUE);
    }
}

void CPreviewView::ClosePreview(BOOL bCloseWindow)
{
    if (!m_bEnded && m_bBegun) {
        m_bEnded = TRUE;
        OnEndPreview();
        OpenPreviews().erase(m_pPrintView);
        m_pPrintView->OnEndPrinting(&m_dcAttrib, m_pPreviewInfo.get());
    }
    if (bCloseWindow && GetSafeHwnd() != nullptr) {
        if (CFrameWnd* frame = GetParentFrame()) frame->PostMessage(WM_CLOSE);
    }
}

void CPreviewView::OnPreviewPrint()
{
    CView* printView = m_pPrintView;
    ClosePreview(TRUE);
    if (printView != nullptr && printView->GetSafeHwnd() != nullptr && !m_bPrintViewClosing)
        printView->PostMessage(WM_COMMAND, ID_FILE_PRINT);
}

void CPreviewView::OnPreviewClose()
{
    ClosePreview(TRUE);
}

void CPreviewView::DisableWhileOpen(CWnd* pWnd)
{
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr || !pWnd->IsWindowEnabled() || m_bEnded) return;
    // The preview's window belongs to the main window: disabling the main window would
    // disable the preview's buttons with it. The preview blocks the main window instead.
    CFrameWnd* frame = GetParentFrame();
    QWidget* widget = frame != nullptr ? AfxWidgetFromHandle(frame->GetSafeHwnd()) : nullptr;
    if (widget != nullptr && !widget->isVisible()) widget->setWindowModality(Qt::WindowModal);
}

UINT CPreviewView::GetLastPage() const
{
    if (m_pPreviewInfo == nullptr) return 1;
    return std::max(m_pPreviewInfo->GetMinPage(), std::min(m_nKnownLastPage, m_pPreviewInfo->GetMaxPage()));
}

BOOL CPreviewView::CanShowNext()
{
    if (m_bEnded || m_pPreviewInfo == nullptr) return FALSE;
    const UINT next = m_nCurrentPage + m_nPages;
    if (next > GetLastPage()) return FALSE;
    // An unknown end is found by asking the view whether the page exists.
    if (m_nKnownLastPage == AFX_PRINT_PAGE_UNLIMITED && m_pPreviewInfo->GetMaxPage() == AFX_PRINT_PAGE_UNLIMITED) {
        CDC probe;
        if (!probe.CreatePageImageDC(PreviewPage())) return FALSE;
        probe.m_bPrinting = TRUE;
        m_pPreviewInfo->m_nCurPage = next;
        m_pPreviewInfo->m_bContinuePrinting = TRUE;
        m_pPrintView->OnPrepareDC(&probe, m_pPreviewInfo.get());
        if (!m_pPreviewInfo->m_bContinuePrinting) {
            m_nKnownLastPage = next - 1;
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CPreviewView::CanShowPrevious() const
{
    return !m_bEnded && m_pPreviewInfo != nullptr && m_nCurrentPage > m_pPreviewInfo->GetMinPage();
}

void CPreviewView::SetZoomState(UINT nState)
{
    m_nZoomState = std::min<UINT>(nState, ZOOM_IN);
    m_ptScroll = CPoint(0, 0);
    UpdateScrollBars();
    if (GetSafeHwnd() != nullptr) Invalidate(TRUE);
}

void CPreviewView::SetCurrentPage(UINT nPage)
{
    if (m_pPreviewInfo == nullptr) return;
    m_nCurrentPage = std::clamp(nPage, m_pPreviewInfo->GetMinPage(), GetLastPage());
    InvalidatePages();
}

void CPreviewView::InvalidatePages()
{
    m_nRenderedPage[0] = m_nRenderedPage[1] = 0;
    UpdatePageDescription();
    if (GetSafeHwnd() != nullptr) Invalidate(TRUE);
}

void CPreviewView::OnNextPage()
{
    if (CanShowNext()) SetCurrentPage(m_nCurrentPage + 1);
}

void CPreviewView::OnPrevPage()
{
    if (CanShowPrevious()) SetCurrentPage(m_nCurrentPage - 1);
}

void CPreviewView::OnNumPageChange()
{
    m_nPages = m_nPages == 1 ? 2 : 1;
    if (m_pPreviewInfo != nullptr) m_pPreviewInfo->m_nNumPreviewPages = m_nPages;
    AfxGetApp() != nullptr ? void(AfxGetApp()->m_nNumPreviewPages = m_nPages) : void();
    SetZoomState(m_nZoomState);
    InvalidatePages();
}

void CPreviewView::OnZoomIn()
{
    if (m_nZoomState < ZOOM_IN) SetZoomState(m_nZoomState + 1);
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoomState > ZOOM_OUT) SetZoomState(m_nZoomState - 1);
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI) { pCmdUI->Enable(CanShowNext()); }
void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI) { pCmdUI->Enable(CanShowPrevious()); }
void CPreviewView::OnUpdateZoomIn(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bEnded && m_nZoomState < ZOOM_IN); }
void CPreviewView::OnUpdateZoomOut(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bEnded && m_nZoomState > ZOOM_OUT); }

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI)
{
    CString text;
    if (text.LoadString(m_nPages == 1 ? AFX_IDS_TWOPAGE : AFX_IDS_ONEPAGE)) pCmdUI->SetText(text);
    pCmdUI->Enable(!m_bEnded);
}

void CPreviewView::UpdatePageDescription()
{
    CFrameWnd* frame = GetSafeHwnd() != nullptr ? GetParentFrame() : nullptr;
    CWnd* bar = frame != nullptr ? frame->GetDescendantWindow(AFX_IDW_PREVIEW_BAR) : nullptr;
    if (bar == nullptr) return;
    CString format;
    if (!format.LoadString(AFX_IDS_PREVIEWPAGEDESC)) format = "Page %u";
    CString text;
    text.Format(format.c_str(), m_nCurrentPage);
    bar->SetDlgItemText(AFX_IDC_PREVIEW_PAGEDESC, text);
}

CDC* CPreviewView::GetPageDC(int index) const
{
    return index >= 0 && index < 2 ? m_pPageDC[index].get() : nullptr;
}

BOOL CPreviewView::RenderPage(int index, UINT nPage)
{
    if (m_pPrintView == nullptr || m_bEnded || nPage > GetLastPage()) return FALSE;
    if (m_nRenderedPage[index] == nPage && m_pPageDC[index] != nullptr) return TRUE;
    auto dc = std::make_unique<CDC>();
    if (!dc->CreatePageImageDC(PreviewPage())) return FALSE;
    dc->m_bPrinting = TRUE;
    m_pPreviewInfo->m_nCurPage = nPage;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    m_pPrintView->OnPrepareDC(dc.get(), m_pPreviewInfo.get());
    if (!m_pPreviewInfo->m_bContinuePrinting) {
        m_nKnownLastPage = std::min(m_nKnownLastPage, nPage - 1);
        return FALSE;
    }
    CRect page(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    dc->DPtoLP(&page);
    m_pPreviewInfo->m_rectDraw = page;
    dc->StartDoc("preview");
    dc->StartPage();
    m_pPrintView->OnPrint(dc.get(), m_pPreviewInfo.get());
    dc->EndPage();
    dc->EndDoc();
    m_pPageDC[index] = std::move(dc);
    m_nRenderedPage[index] = nPage;
    return TRUE;
}

CSize CPreviewView::BareClientSize() const
{
    const WindowHandle* handle = GetSafeHwnd();
    if (handle == nullptr) return CSize(0, 0);
    const QSize size = handle->BareClientSize();
    return CSize(size.width(), size.height());
}

// The scale follows the view's area without scroll bars: a bar that comes or goes then
// never changes the size of the pages, which decides whether the bar is needed.
double CPreviewView::Scale() const
{
    const CSize bare = BareClientSize();
    const CSize page = PagePixels();
    const int gaps = int(m_nPages - 1) * kPageGap;
    const double fitX = std::max(1, int(bare.cx) - 2 * kMargin - gaps) / double(m_nPages * page.cx);
    const double fitY = std::max(1, int(bare.cy) - 2 * kMargin) / double(page.cy);
    const double fit = std::max(0.05, std::min(fitX, fitY));
    const double actual = double(kScreenDpi) / kPreviewDpi;
    const double full = std::max(actual, fit * 2.0);
    switch (m_nZoomState) {
    case ZOOM_IN: return full;
    case ZOOM_MIDDLE: return (fit + full) / 2.0;
    default: return fit;
    }
}

// Page sizes are cut to whole pixels, never rounded up, so that fitted pages fit.
CSize CPreviewView::PageSize() const
{
    const double scale = Scale();
    const CSize page = PagePixels();
    return CSize(std::max(1, int(page.cx * scale)), std::max(1, int(page.cy * scale)));
}

CSize CPreviewView::GetPagesExtent() const
{
    const CSize page = PageSize();
    return CSize(int(m_nPages) * page.cx + int(m_nPages - 1) * kPageGap + 2 * kMargin, page.cy + 2 * kMargin);
}

void CPreviewView::UpdateScrollBars()
{
    const WindowHandle* handle = GetSafeHwnd();
    if (handle == nullptr) return;
    const CSize bare = BareClientSize();
    const int bar = handle->ScrollBarExtent();
    const CSize extent = GetPagesExtent();
    // Each bar is decided with the room of the other reserved: a bar only narrows the
    // room, so once needed a bar stays needed and this settles within two rounds.
    bool horizontal = false;
    bool vertical = false;
    for (bool changed = true; changed;) {
        const bool needHorizontal = extent.cx > bare.cx - (vertical ? bar : 0);
        const bool needVertical = extent.cy > bare.cy - (needHorizontal ? bar : 0);
        changed = needHorizontal != horizontal || needVertical != vertical;
        horizontal = needHorizontal;
        vertical = needVertical;
    }
    const int maxX = std::max(0, extent.cx - (bare.cx - (vertical ? bar : 0)));
    const int maxY = std::max(0, extent.cy - (bare.cy - (horizontal ? bar : 0)));
    m_ptScroll.x = std::clamp(int(m_ptScroll.x), 0, maxX);
    m_ptScroll.y = std::clamp(int(m_ptScroll.y), 0, maxY);
    SetScrollRange(SB_HORZ, 0, maxX, FALSE);
    SetScrollPos(SB_HORZ, m_ptScroll.x, TRUE);
    SetScrollRange(SB_VERT, 0, maxY, FALSE);
    SetScrollPos(SB_VERT, m_ptScroll.y, TRUE);
}

void CPreviewView::ScrollTo(int nBar, int pos)
{
    int low = 0;
    int high = 0;
    GetScrollRange(nBar, &low, &high);
    pos = std::clamp(pos, low, high);
    if (nBar == SB_HORZ) m_ptScroll.x = pos;
    else m_ptScroll.y = pos;
    SetScrollPos(nBar, pos, TRUE);
    Invalidate(TRUE);
}

void CPreviewView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateScrollBars();
}

namespace {
int ScrollTarget(UINT code, UINT thumb, int current, int line, int page, int high)
{
    switch (code) {
    case SB_LINEUP: return current - line;
    case SB_LINEDOWN: return current + line;
    case SB_PAGEUP: return current - page;
    case SB_PAGEDOWN: return current + page;
    case SB_THUMBTRACK: return int(thumb);
    case SB_TOP: return 0;
    case SB_BOTTOM: return high;
    default: return current;
    }
}
} // namespace

void CPreviewView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect client;
    GetClientRect(&client);
    int low = 0, high = 0;
    GetScrollRange(SB_HORZ, &low, &high);
    ScrollTo(SB_HORZ, ScrollTarget(nSBCode, nPos, m_ptScroll.x, 20, client.Width(), high));
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect client;
    GetClientRect(&client);
    int low = 0, high = 0;
    GetScrollRange(SB_VERT, &low, &high);
    ScrollTo(SB_VERT, ScrollTarget(nSBCode, nPos, m_ptScroll.y, 20, client.Height(), high));
}

void CPreviewView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_ESCAPE: OnPreviewClose(); return;
    case VK_NEXT: OnNextPage(); return;
    case VK_PRIOR: OnPrevPage(); return;
    default: CView::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

BOOL CPreviewView::OnEraseBkgnd(CDC*)
{
    return TRUE; // OnDraw paints every pixel
}

void CPreviewView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(client, kBackground);
    const CSize pageSize = PageSize();
    const int width = pageSize.cx;
    const int height = pageSize.cy;
    const CSize extent = GetPagesExtent();
    const int left = std::max(0, (client.Width() - extent.cx) / 2) + kMargin - m_ptScroll.x;
    const int top = std::max(0, (client.Height() - extent.cy) / 2) + kMargin - m_ptScroll.y;
    for (UINT i = 0; i < m_nPages; ++i) {
        const int x = left + int(i) * (width + kPageGap);
        if (!RenderPage(int(i), m_nCurrentPage + i)) break;
        pDC->FillSolidRect(CRect(x + 4, top + 4, x + width + 4, top + height + 4), RGB(64, 64, 64));
        CDC* source = m_pPageDC[i].get();
        const int mode = source->SaveDC();
        source->SetMapMode(MM_TEXT);
        source->SetWindowOrg(0, 0);
        source->SetViewportOrg(0, 0);
        pDC->StretchBlt(x, top, width, height, source, 0, 0, source->GetDeviceCaps(HORZRES),
                        source->GetDeviceCaps(VERTRES), SRCCOPY);
        source->RestoreDC(mode);
        CBrush frame(RGB(0, 0, 0));
        pDC->FrameRect(CRect(x - 1, top - 1, x + width + 1, top + height + 1), &frame);
    }
}

// --- the preview's window ---

IMPLEMENT_DYNAMIC(CPreviewFrame, CFrameWnd)

CPreviewView* CPreviewFrame::GetPreviewView() const
{
    return dynamic_cast<CPreviewView*>(GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
}

BOOL CPreviewFrame::CreateToolBar(UINT nIDResource)
{
    auto bar = std::make_unique<CDialogBar>();
    if (!bar->Create(this, nIDResource, WS_VISIBLE | CBRS_TOP, AFX_IDW_PREVIEW_BAR)) return FALSE;
    m_pToolBar = std::move(bar);
    RecalcLayout();
    return TRUE;
}

void CPreviewFrame::OnClose()
{
    if (CPreviewView* view = GetPreviewView()) view->ClosePreview(FALSE);
    DestroyWindow();
}

BOOL AfxDoPrintPreview(UINT nIDResource, CView* pPrintView, const CRuntimeClass* pPreviewViewClass,
                       CPrintPreviewState* pState)
{
    std::unique_ptr<CPrintPreviewState> state(pState);
    if (pPrintView == nullptr || pPreviewViewClass == nullptr ||
        !pPreviewViewClass->IsDerivedFrom(RUNTIME_CLASS(CPreviewView)) || CPreviewView::FindPreviewOf(pPrintView) != nullptr)
        return FALSE;

    CCreateContext context;
    context.m_pNewViewClass = pPreviewViewClass;
    auto* frame = new CPreviewFrame;
    CString caption;
    if (!caption.LoadString(AFX_IDS_PREVIEW_CAPTION)) caption = "Print preview";
    if (CDocument* document = pPrintView->GetDocument()) caption = document->GetTitle() + " - " + caption;
    CWnd* mainWnd = AfxGetMainWnd();
    if (!frame->Create(nullptr, caption, WS_OVERLAPPEDWINDOW, CRect(60, 40, 960, 1000), mainWnd, nullptr, 0, &context)) {
        return FALSE; // a frame whose creation failed has deleted itself
    }
    CPreviewView* view = frame->GetPreviewView();
    if (view == nullptr || !frame->CreateToolBar(nIDResource) || !view->SetPrintView(pPrintView)) {
        frame->DestroyWindow();
        return FALSE;
    }
    frame->SetActiveView(view);
    view->SetZoomState(view->GetZoomState());
    view->SetCurrentPage(view->GetCurrentPage());
    view->DisableWhileOpen(mainWnd);
    FitIntoWorkArea(*frame);
    frame->ShowWindow(SW_SHOW);
    FitIntoWorkArea(*frame);
    frame->UpdateWindow();
    return TRUE;
}
