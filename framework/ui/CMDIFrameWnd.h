#pragma once
// The MDI main frame: its client area is the MDI client window, which holds the child
// frames. The active child's menu (its template's shared menu) replaces the frame's,
// and commands go to the active child first.
#include "framework/ui/CFrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDINext();
    void MDICascade();
    void MDITile();
    // Shows the menu as the frame's menu bar (nullptr: the frame's own menu).
    void MDISetMenu(HMENU hMenu);

    CFrameWnd* GetActiveFrame() override;
    CView* GetActiveView() const override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The MDI client window; derived frames may subclass it.
    HWND m_hWndMDIClient = nullptr;

    // The MDI client reports a change of the active child (and the child's destruction).
    void OnActiveChildChanged(CMDIChildWnd* pRequested);
    void OnChildDestroyed(CMDIChildWnd* pChild);

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    virtual BOOL CreateClient(LPCREATESTRUCT lpcs, CMenu* pWindowMenu);
    void OnDestroy() override;

private:
    CMDIChildWnd* m_pLastActive = nullptr;
    bool m_bDestroying = false;
};
