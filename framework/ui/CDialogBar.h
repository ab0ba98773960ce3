#pragma once
// A control bar made from a dialog template: the template's controls in a strip along
// the top (or bottom) of a frame, as tall as the template. The controls' notifications
// (CBN_SELCHANGE, BN_CLICKED, ...) go to the frame and through its command route, and
// at idle their update handlers enable or disable them.
#include "framework/core/CRect.h"
#include "framework/ui/CControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();

    // FALSE when the template is missing or the window cannot be made.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    // While the focus is in the bar: Escape gives it back to the frame's active view,
    // and the bar's labels take their access keys.
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    bool ReturnFocusToView();

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;

    CSize m_sizeDefault; // the template's size in pixels

    DECLARE_MESSAGE_MAP()
};
