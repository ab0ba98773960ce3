#pragma once
// The common base of the device views: the plane in front of the scanner with the scanner
// at the logical origin, x to the right and y straight ahead (upwards). It owns the mapping
// to the window, zoom, scrolling and panning, the grid with its labels, the angle-range
// marks, double-buffered painting, the caption line at the top, the cursor and axis-lock
// panes of the frame's status bar, and the mouse editing of the document's current field.
#include "framework/core/CPoint.h"
#include "framework/ui/CStatic.h"
#include "framework/ui/CView.h"
#include "framework/gdi/CGdiObject.h"
#include "model/CSensorPoint.h"

#include <memory>

class CCmdUI;
class CMenu;
class CScan;
class CShelter;
class CTalisoDoc;

// Commands of the view.
constexpr UINT ID_VIEW_PAN_MODE = 32776;
constexpr UINT ID_VIEW_ZOOM_IN = 32783;
constexpr UINT ID_VIEW_ZOOM_OUT = 32784;
constexpr UINT ID_VIEW_RECENTER = 32906;
constexpr UINT ID_VIEW_NO_ACTION = 32915;

// Status-bar panes the view fills.
constexpr UINT ID_PANE_CURSOR_POSITION = 50;
constexpr UINT ID_PANE_AXIS_LOCK = 56;

// Update hint of a field transfer: the view moves back to the scanner.
constexpr LPARAM kHintBackToScanner = 400;

// Texts and cursors of the view (language library).
constexpr UINT IDP_POINT_OUT_OF_RANGE = 308;
constexpr UINT IDS_AXIS_LOCK_NONE = 927;
constexpr UINT IDS_AXIS_LOCK_X = 928;
constexpr UINT IDS_AXIS_LOCK_Y = 929;
constexpr UINT IDS_VIEW_CAPTION = 956;
constexpr UINT IDC_ON_CONTOUR = 2004;
constexpr UINT IDC_ON_VERTEX = 2016;
constexpr UINT IDC_ON_VERTEX_MODIFIER = 2018;

// A left-button gesture becomes a drag once the mouse moved this far (pixels) on one axis.
constexpr int kDragThreshold = 5;

class CTalisoView : public CView {
    DECLARE_DYNCREATE(CTalisoView)
public:
    CTalisoView();
    ~CTalisoView() override;

    CTalisoDoc* GetDocument() const;

    // --- operations the device views refine ---
    // The menu whose first popup is the context menu; none by default.
    virtual std::unique_ptr<CMenu> GetContextMenu();
    // The second and the current object and, in edit mode, the handles.
    virtual void DrawObjects(CDC* pDC);
    virtual void DrawAngleRange(CDC* pDC);
    virtual void DrawGrid(CDC* pDC);
    virtual void DrawGridLabels(CDC* pDC);
    virtual void SetCaptionText(const char* text);

    // The two edges of a scanned sector of the span (degrees) out to the radius, as the
    // polyline right end, scanner, left end; FALSE for a span of 180 degrees or more, or of none.
    static BOOL GetAngleRangeEdges(int span, int radius, POINT edges[3]);

    // A measured scan in the scan colours, as a line or filled by the settings.
    void DrawScan(CDC* pDC, CScan* pScan);
    // The whole picture on a prepared DC: objects, then angle marks, grid and labels as set.
    void DrawScene(CDC* pDC);

    // --- mapping, zoom and scrolling ---
    // The range grown in zoom steps until the far end of the grid fits 16-bit device
    // coordinates in the current window; the range itself when it fits.
    int ComputeMapping(int range) const;
    // The clamped range; FALSE (and a beep) when nothing changed.
    BOOL SetRange(int range);
    int GetRange() const { return m_nRange; }
    int GetMinRange() const { return m_nMinRange; }
    int GetMaxRange() const { return m_nMaxRange; }
    int GetZoomStep() const { return m_nZoomStep; }
    int GetScrollDivisor() const { return m_nScrollDivisor; }
    // The logical point shown at the bottom centre of the window, held by the scroll bars.
    CPoint GetViewOrigin() const;
    void SetViewOrigin(int x, int y);
    void ScrollBy(int dx, int dy);
    void SetupScrollBars(BOOL bRedraw);
    CSensorPoint ClientToLogical(CPoint point);
    CPoint LogicalToClient(CPoint point);

    int GetAxisLock() const { return m_nAxisLock; }
    BOOL IsPanMode() const { return m_bPanMode; }
    BOOL IsDraggingGesture() const { return m_bDragging; }
    // The texts of the cursor-position and axis-lock panes as they would be shown now.
    CString GetCursorPaneText(CPoint clientPoint);
    CString GetAxisLockPaneText() const;
    // The unit text of the view's lengths (cm, mm, dm or inch by the settings).
    CString GetUnitText();

    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnCancelMode() override;

    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnRecenter();
    afx_msg void OnPanMode();
    afx_msg void OnUpdatePanMode(CCmdUI* pCmdUI);
    // Command 32915 does nothing; handling it keeps a menu item bound to it enabled.
    afx_msg void OnCommand32915();
    afx_msg void OnUpdateCursorPane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAxisLockPane(CCmdUI* pCmdUI);

protected:
    // The current object when the mouse may edit it: edit mode on and the field on the
    // document's active layer.
    CShelter* GetEditableObject();
    // The document's active layer, the distance unit of the settings' getters (cm without one).
    int GetActiveUnit() const;
    // Redraws the view now, as the scroll and zoom commands want.
    void RedrawNow();
    // The range limits and the zoom step from the settings for the document's unit; TRUE
    // when a limit changed.
    BOOL FetchRangeLimits();
    // Widens a status pane to its text (never narrows it), enables it when the text is not
    // empty and shows the text.
    static void ShowPaneText(CCmdUI* pCmdUI, const CString& text, BOOL bNarrow);

    int m_nMinRange = 100;
    int m_nMaxRange = 15000;
    int m_nRange = 400;
    int m_nZoomStep = 100;
    CSize m_sizeLine{10, 10};
    CSize m_sizePage{100, 100};
    int m_nScrollDivisor = 1;
    int m_bPanMode = 0;
    HCURSOR m_hcurPan = nullptr;
    HCURSOR m_hcurOnContour = nullptr;
    HCURSOR m_hcurOnVertex = nullptr;
    HCURSOR m_hcurOnVertexModifier = nullptr;
    int m_bDragging = 0;
    CPoint m_ptLast;
    int m_bInContextMenu = 0;
    CStatic m_wndStatusLine;
    CFont m_fontStatus;
    CFont m_fontStatusBold;
    int m_nAxisLock = 0;

private:
    void DrawRectGrid(CDC* pDC, int spacing);
    void DrawPolarGrid(CDC* pDC, int spacing);
    void DrawDoubleBuffered(CDC* pDC, const CRect& client);
    void DrawIntoPixels(CDC* pDC, const CRect& client);
    void ScrollTo(int nBar, UINT nSBCode, UINT nPos);
    void RefreshCursorShape();
    // Mouse editing: the drag of a handle and the change record that makes it one undo step.
    void BeginHandleDrag(CShelter* pField);
    // Ends a handle drag: one undo step when the field changed. TRUE when the field
    // refused the lifted point where it was dropped (and is back as it was).
    BOOL FinishDrag(CPoint point);
    void NotifyFieldChanged(BOOL bModified);

    // Set between a left-button press in this view and its release.
    BOOL m_bButtonDown = FALSE;
    // The field before a handle drag; the undo step when the drag changed the field.
    std::unique_ptr<CShelter> m_pDragSnapshot;
    // The drag began by lifting a point off the contour; the release must place it.
    BOOL m_bPointLifted = FALSE;
    // What the document's modified flag was before the drag, for a drag that changes nothing.
    BOOL m_bModifiedBeforeDrag = FALSE;

    DECLARE_MESSAGE_MAP()
};
