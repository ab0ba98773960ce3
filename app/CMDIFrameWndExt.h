#pragma once
// The main frame's base: its MDI client paints its own background, and after a system
// command (menu of the window) the keyboard focus goes back to the active document view.
#include "app/CMDIClientBackground.h"
#include "framework/ui/CMDIFrameWnd.h"

class CMDIFrameWndExt : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWndExt)
public:
    CMDIFrameWndExt() = default;

    CMDIClientBackground& GetClientBackground() { return m_wndClientBackground; }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

    CMDIClientBackground m_wndClientBackground;
};
