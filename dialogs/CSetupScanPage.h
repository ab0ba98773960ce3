#pragma once
// The scan page (template 146) of the options sheet: which beams a scan reads (every
// one or every second) and the scan interval while editing.
#include "framework/ui/CPropertyPage.h"

class CTalisoSetup;

class CSetupScanPage : public CPropertyPage {
    DECLARE_DYNAMIC(CSetupScanPage)
public:
    // The page edits the settings object it is given; it must outlive the page.
    explicit CSetupScanPage(CTalisoSetup* pSetup);

    BOOL OnSetActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // The sheet's relabelled Apply button: this page's settings back to the defaults.
    afx_msg LRESULT OnSetDefaults(WPARAM wParam, LPARAM lParam);

private:
    CTalisoSetup* m_pSetup;

    DECLARE_MESSAGE_MAP()
};
