#pragma once
// The program's print previews. Each opens at the middle zoom.
//  - CPreviewViewPre: the view's standard preview; Print prints at once.
//  - CPreviewViewExt: the configuration report; its tool bar's Print, Save Copy and Close
//    post WM_PREVIEW_COMMAND to the printed view with the button's command (Print and
//    Close also end the preview).
//  - CConfirmView (CConfirmView.h): the confirmation before a transfer is committed.
#include "framework/ui/CPreviewView.h"

constexpr UINT WM_CONFIRM_PREVIEW_DONE = WM_USER + 0x37; // wParam: print (accepted) or close (rejected)
constexpr UINT WM_PREVIEW_COMMAND = WM_USER + 0x3C;      // wParam: the tool bar's command
constexpr UINT ID_PREVIEW_SAVE_COPY = 32912;
constexpr UINT IDR_PREVIEW_SAVE_TOOLBAR = 220;

class CPreviewViewPre : public CPreviewView {
    DECLARE_DYNCREATE(CPreviewViewPre)
public:
    CPreviewViewPre();
};

class CPreviewViewExt : public CPreviewView {
    DECLARE_DYNCREATE(CPreviewViewExt)
public:
    CPreviewViewExt();

protected:
    void OnPreviewPrint() override;
    void OnPreviewClose() override;
    afx_msg void OnSaveCopy();

    DECLARE_MESSAGE_MAP()
};

// The report preview of the view with the tool bar (220 or the standard 30723).
BOOL DoReportPreview(CView* pView, UINT nToolBar);
// The confirmation preview of the view, with the standard tool bar.
BOOL DoConfirmPreview(CView* pView);
