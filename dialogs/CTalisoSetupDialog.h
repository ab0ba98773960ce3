#pragma once
// The options sheet (caption string 1187): edits a copy of the program's settings on
// its view and scan pages and hands the copy back on OK. The Apply button, relabelled
// by the view page, resets the shown page to the defaults instead; Help and F1 open the
// topic of the shown page.
#include "dialogs/CCSPropertySheet.h"

// Sent to the shown page by the relabelled Apply button.
constexpr UINT WM_SETUP_PAGE_DEFAULTS = WM_USER + 1;

// Page mask bits of Edit.
constexpr UINT kSetupViewPage = 0x1;
constexpr UINT kSetupScanPage = 0x2;

class CTalisoSetupDialog : public CCSPropertySheet {
    DECLARE_DYNAMIC(CTalisoSetupDialog)
public:
    explicit CTalisoSetupDialog(CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Runs the sheet with the pages of the mask on a copy of GetTalisoSetup(); on IDOK
    // the copy replaces the settings (saving them is the caller's). Returns the result
    // of the modal run.
    INT_PTR Edit(UINT pageMask);

protected:
    afx_msg void OnApplyNow();

    DECLARE_MESSAGE_MAP()
};
