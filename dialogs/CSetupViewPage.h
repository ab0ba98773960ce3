#pragma once
// The view page (template 145) of the options sheet: grid kind, length unit, what the
// views show, the grid spacings, the largest view range and the marker size. Lengths
// are kept in cm and shown in cm or inches by the unit chosen on the page.
#include "framework/ui/CPropertyPage.h"

class CTalisoSetup;

class CSetupViewPage : public CPropertyPage {
    DECLARE_DYNAMIC(CSetupViewPage)
public:
    // The page edits the settings object it is given; it must outlive the page.
    explicit CSetupViewPage(CTalisoSetup* pSetup);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnCentimetres();
    afx_msg void OnInches();
    // The sheet's relabelled Apply button: this page's settings back to the defaults.
    afx_msg LRESULT OnSetDefaults(WPARAM wParam, LPARAM lParam);

private:
    void ShowInUnit(BOOL metric);

    CTalisoSetup* m_pSetup;

    DECLARE_MESSAGE_MAP()
};
