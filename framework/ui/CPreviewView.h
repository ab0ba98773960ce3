#pragma once
// Print preview: the pages of a view drawn as they will print, in a window of their own
// with a tool bar (a dialog bar template) above them: Print, Next and Previous page, one
// or two pages, Zoom in and out, Close. While it is open the main window is disabled.
// The preview calls the printed view's printing hooks (OnPreparePrinting once,
// OnBeginPrinting once, OnPrepareDC and OnPrint per page) and, however it is left, its
// OnEndPrinting exactly once.
#include "framework/gdi/CDC.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CPrintInfo.h"
#include "framework/ui/CView.h"

#include <memory>

constexpr UINT AFX_IDD_PREVIEW_TOOLBAR = 30723;
constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
constexpr UINT AFX_ID_PREVIEW_NUMPAGE = 0xE301;
constexpr UINT AFX_ID_PREVIEW_NEXT = 0xE302;
constexpr UINT AFX_ID_PREVIEW_PREV = 0xE303;
constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE304;
constexpr UINT AFX_ID_PREVIEW_ZOOMIN = 0xE305;
constexpr UINT AFX_ID_PREVIEW_ZOOMOUT = 0xE306;
constexpr int AFX_IDC_PREVIEW_PAGEDESC = 0xE30A; // static of the tool bar showing the page
constexpr UINT AFX_IDW_PREVIEW_BAR = 0xE80F;
constexpr UINT AFX_IDP_PREVIEW_FAILED = 61705;
constexpr UINT AFX_IDS_ONEPAGE = 61742;
constexpr UINT AFX_IDS_TWOPAGE = 61743;
constexpr UINT AFX_IDS_PREVIEWPAGEDESC = 61744;
constexpr UINT AFX_IDS_PREVIEW_CAPTION = 61745;

// What a preview start hands over; the preview owns it from then on.
struct CPrintPreviewState {
    CPrintPreviewState() = default;
    virtual ~CPrintPreviewState() = default;
};

class CPreviewView : public CView {
    DECLARE_DYNCREATE(CPreviewView)
public:
    enum { ZOOM_OUT = 0, ZOOM_MIDDLE = 1, ZOOM_IN = 2 };

    CPreviewView();
    ~CPreviewView() override;

    // Starts previewing the view's pages: its OnPreparePrinting (for a preview), then
    // OnBeginPrinting. FALSE when the view declined; nothing else has happened then.
    BOOL SetPrintView(CView* pPrintView);
    CView* GetPrintView() const { return m_pPrintView; }
    CPrintInfo* GetPrintInfo() { return m_pPreviewInfo.get(); }

    UINT GetZoomState() const { return m_nZoomState; }
    void SetZoomState(UINT nState);
    // The first page shown; pages that do not exist are not shown.
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    void SetCurrentPage(UINT nPage);
    UINT GetPagesShown() const { return m_nPages; }
    // The last page: the print run's maximum page, lowered when a page turns out not to exist.
    UINT GetLastPage() const;
    BOOL CanShowNext();
    BOOL CanShowPrevious() const;

    // Ends the preview, once: OnEndPreview, the printed view's OnEndPrinting, the main
    // window enabled again; with bCloseWindow the preview window then goes, too.
    void ClosePreview(BOOL bCloseWindow = TRUE);
    BOOL IsPreviewEnded() const { return m_bEnded; }
    // Set while the preview ends because its printed view is being destroyed.
    BOOL IsPrintViewClosing() const { return m_bPrintViewClosing; }

    // Keeps the user out of the window (the main window) until the preview ends.
    void DisableWhileOpen(CWnd* pWnd);

    // The picture of a shown page (index 0 or 1) as last drawn; null before.
    CDC* GetPageDC(int index) const;
    // The shown pages with the margin around them, in screen pixels: what the scroll
    // bars scroll over.
    CSize GetPagesExtent() const;

    void OnDraw(CDC* pDC) override;

    // The preview of a view, if one is open.
    static CPreviewView* FindPreviewOf(const CView* pPrintView);
    // Ends the preview of a view that is going away.
    static void ClosePreviewOf(CView* pPrintView);

    // Tool bar commands.
    afx_msg void OnPreviewPrintCmd() { OnPreviewPrint(); }
    afx_msg void OnPreviewCloseCmd() { OnPreviewClose(); }
    afx_msg void OnNextPage();
    afx_msg void OnPrevPage();
    afx_msg void OnNumPageChange();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();

protected:
    // The tool bar's Print: the preview ends and the printed view gets ID_FILE_PRINT.
    virtual void OnPreviewPrint();
    // The tool bar's Close: the preview ends.
    virtual void OnPreviewClose();
    // Runs once when the preview ends, whatever ended it, before the printed view's
    // end-of-printing hook.
    virtual void OnEndPreview() {}

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;

    afx_msg void OnUpdateNextPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePrevPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNumPageChange(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomIn(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomOut(CCmdUI* pCmdUI);

    UINT m_nZoomState = ZOOM_OUT;

private:
    // Draws page nPage into slot index; FALSE when the page does not exist.
    BOOL RenderPage(int index, UINT nPage);
    void InvalidatePages();
    void UpdatePageDescription();
    // Screen pixels per page pixel for the zoom state, and the size of one shown page.
    double Scale() const;
    CSize PageSize() const;
    CSize BareClientSize() const;
    void UpdateScrollBars();
    void ScrollTo(int nBar, int pos);

    CView* m_pPrintView = nullptr;
    std::unique_ptr<CPrintInfo> m_pPreviewInfo;
    CDC m_dcAttrib; // the printer-like device of OnBeginPrinting and OnEndPrinting
    std::unique_ptr<CDC> m_pPageDC[2];
    UINT m_nRenderedPage[2] = {0, 0};
    UINT m_nCurrentPage = 1;
    UINT m_nPages = 1;
    UINT m_nKnownLastPage = AFX_PRINT_PAGE_UNLIMITED;
    CPoint m_ptScroll;
    BOOL m_bBegun = FALSE;
    BOOL m_bEnded = FALSE;
    BOOL m_bPrintViewClosing = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The preview's window: the tool bar and the preview view.
class CPreviewFrame : public CFrameWnd {
    DECLARE_DYNAMIC(CPreviewFrame)
public:
    CPreviewFrame() = default;
    CPreviewView* GetPreviewView() const;
    CWnd* GetToolBar() { return m_pToolBar.get(); }
    BOOL CreateToolBar(UINT nIDResource);

protected:
    void OnClose() override;

private:
    std::unique_ptr<CWnd> m_pToolBar;
};

// Opens a preview of pPrintView with the tool bar template and the preview view class
// (CPreviewView or a class derived from it). FALSE when it could not start; the state is
// freed either way and nothing is left open.
BOOL AfxDoPrintPreview(UINT nIDResource, CView* pPrintView, const CRuntimeClass* pPreviewViewClass,
                       CPrintPreviewState* pState);
