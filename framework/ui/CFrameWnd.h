#pragma once
// Frame windows: a top-level window (or MDI child) that holds a menu, a client window
// (a view, a splitter or the MDI client) and knows its active view. Commands entering a
// frame go to the active view (and through it the document), then to the frame.
#include "framework/core/CString.h"
#include "framework/core/ResourceScript.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CWnd.h"

#include <vector>

class CControlBar;
class CDocTemplate;
class CDocument;
class CView;

// What a frame hands to the views it creates.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;
constexpr DWORD FWS_SNAPTOBARS = 0x00002000;

// View menu commands that show or hide the bar of the same id.
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault; // "let the system place it"

    // Creates the frame with the title (first "\n" part of string nIDResource) and the
    // menu of that resource id, if there is one.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);

    virtual CView* GetActiveView() const { return m_pViewActive; }
    // Makes the view active (its OnActivateView hears it) and gives it the focus.
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The MDI frame's active child, else this frame.
    virtual CFrameWnd* GetActiveFrame() { return this; }

    // Places the client window (pane AFX_IDW_PANE_FIRST or the MDI client) in the client
    // area below the menu bar.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // The text of the message pane: pane 0 of the status bar with id AFX_IDW_STATUS_BAR,
    // else the parent frame's (a child frame's prompts show in the main frame).
    virtual void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    const CString& GetMessageText() const { return m_strMessageText; }
    // The area below the menu bar, in client coordinates; the control bars take their
    // strips of it and the client window gets the rest.
    CRect GetClientArea() const;

    // Control bars sit at a fixed side (top, or bottom for CBRS_ALIGN_BOTTOM bars).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    // Puts the bar at the top (or bottom) dock side and lays the frame out again.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Shows or hides the bar; the client area follows (at once, also when bDelay).
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The bar among the frame's children with the id, or nullptr.
    CControlBar* GetControlBar(UINT nID);

    CView* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The icon of the resource id becomes the frame's (LoadFrame loads the one of its id);
    // an MDI child's shows in its caption. FALSE when the module has no such icon.
    BOOL LoadFrameIcon(UINT nIDResource);
    // The accelerator table of the resource id becomes the frame's (LoadFrame loads the
    // one of its own id); FALSE when the module has none.
    BOOL LoadAccelTable(UINT nIDResource);
    const std::vector<AccelEntry>& GetAccelerators() const { return m_accelerators; }
    // The command of the key message in the frame's table, 0 when no entry matches.
    UINT FindAccelerator(const MSG& msg) const;
    // A key that matches the table posts its command to the frame instead of reaching
    // the window with the focus.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    BOOL m_bAutoMenuEnable = TRUE; // items without a handler are disabled
    BOOL m_bAutoDelete = TRUE;     // deleted with its window (PostNcDestroy)
    UINT m_nIDHelp = 0;
    HMENU m_hMenuDefault = nullptr;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Where commands go after the frame's own map: the application.
    virtual BOOL RouteBeyondFrame(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;
    void PostNcDestroy() override;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // CAPS, NUM and SCRL panes: enabled (showing their text) while the lock is on.
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    // View menu items of the tool bar and status bar: show or hide the frame's bar of
    // the command's id, checked while shown; a frame without that bar lets the command
    // go on to the next frame of the route.
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    CString m_strMessageText;
    CMenu m_menuDefault;
    DWORD m_dwDockStyle = 0;
    std::vector<AccelEntry> m_accelerators;

    DECLARE_MESSAGE_MAP()
};
