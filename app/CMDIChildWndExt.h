#pragma once
// The document windows' base: the caption of a modified document ends in "*" (checked
// at idle), and a click into the window gives the keyboard focus to its active view.
#include "framework/ui/CMDIChildWnd.h"

class CMDIChildWndExt : public CMDIChildWnd {
    DECLARE_DYNCREATE(CMDIChildWndExt)
public:
    CMDIChildWndExt() = default;

    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) override;

    // The document's modified state when the caption was last made; -1 before that.
    int m_nLastModified = -1;

    DECLARE_MESSAGE_MAP()
};
