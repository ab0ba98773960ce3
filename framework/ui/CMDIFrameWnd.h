#pragma once
// The MDI main frame: its client area is the MDI client window, which holds the child
// frames. The active child's menu (its template's shared menu) replaces the frame's,
// and commands go to the active child first.
#include "framework/ui/CFrameWnd.h"

#include <vector>

class CMDIChildWnd;

// Window menu commands, and the ids of its list of open child windows.
constexpr UINT ID_WINDOW_ARRANGE = 0xE131;
constexpr UINT ID_WINDOW_CASCADE = 0xE132;
constexpr UINT ID_WINDOW_TILE_HORZ = 0xE133;
constexpr UINT ID_WINDOW_TILE_VERT = 0xE134;
constexpr UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;
constexpr UINT kMaxMDIChildMenuItems = 9;

// How MDITile lays the children out.
constexpr int MDITILE_VERTICAL = 0x0000;   // side by side
constexpr int MDITILE_HORIZONTAL = 0x0001; // one above the other

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDINext();
    void MDIPrev();
    void MDICascade();
    void MDITile(int nType = MDITILE_VERTICAL);
    // Lines the minimised children up along the bottom of the client area.
    void MDIIconArrange();
    // The children in the order they were opened.
    std::vector<CMDIChildWnd*> GetMDIChildren() const;
    // Shows the menu as the frame's menu bar (nullptr: the frame's own menu).
    void MDISetMenu(HMENU hMenu);

    CFrameWnd* GetActiveFrame() override;
    CView* GetActiveView() const override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The window keys before the accelerators: Ctrl+F6 and Ctrl+Shift+F6 step to the next
    // and the previous child, Ctrl+F4 closes the active one as its close box would.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The MDI client window; derived frames may subclass it.
    HWND m_hWndMDIClient = nullptr;

    // The MDI client reports a change of the active child (and the child's destruction).
    void OnActiveChildChanged(CMDIChildWnd* pRequested);
    // A maximised child that goes leaves the one taking over maximised too.
    void OnChildDestroyed(CMDIChildWnd* pChild, BOOL bWasMaximized);

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    virtual BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu);
    void OnDestroy() override;
    // A popup holding the window commands gets the list of open children appended.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;

    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    afx_msg BOOL OnActivateChildFromMenu(UINT nID);

    DECLARE_MESSAGE_MAP()

private:
    BOOL TranslateWindowKey(const MSG& msg);

    CMDIChildWnd* m_pLastActive = nullptr;
    bool m_bDestroying = false;
};
