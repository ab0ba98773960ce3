#pragma once
// A view: a child window that shows (part of) a document. It draws through OnDraw after
// OnPrepareDC, hears OnUpdate when the document changes and routes commands to its
// document. Views delete themselves when their window is destroyed.
#include "framework/ui/CWnd.h"

class CDC;
class CDocument;
class CFrameWnd;
struct CPrintInfo; // the printing layer's page and range record
struct CPrintPreviewState;

constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnInitialUpdate(); // the default runs OnUpdate(nullptr, 0, nullptr)
    // The default invalidates the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    // Printing hooks, for the printing layer.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo); // the default draws with OnDraw
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    // The print dialog of the run (none for a preview or a direct print), preset to the
    // run's whole page range; TRUE when there is something to print on.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // ID_FILE_PRINT for views that map it: OnPreparePrinting, then the pages through the
    // print loop with its status dialog, the main window disabled meanwhile.
    afx_msg void OnFilePrint();
    // ID_FILE_PRINT_PREVIEW for views that map it: the preview with the standard tool bar
    // (message 61705 when it cannot open).
    afx_msg void OnFilePrintPreview();
    // A preview of pPrintView in the preview view class with the tool bar template; the
    // state is the preview's (freed on failure). FALSE when it could not open.
    BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, const CRuntimeClass* pPreviewViewClass,
                        CPrintPreviewState* pState);

    // Commands reach the view, then its document.
    void GetCommandRoute(std::vector<CCmdTarget*>& route) override;

    // The document's view list keeps this in step (AddView, RemoveView).
    CDocument* m_pDocument = nullptr;
    // Deleted with its window (PostNcDestroy).
    BOOL m_bAutoDelete = TRUE;

protected:
    CView();

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnPaint() override;
    void OnDestroy() override;
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) override;
    void PostNcDestroy() override;

    // ID_NEXT_PANE and ID_PREV_PANE: the next pane of the splitter holding the view.
    afx_msg BOOL OnNextPaneCmd(UINT nID);
    afx_msg void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
