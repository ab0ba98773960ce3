#pragma once
// The pages of the serial-port wizard (CComWizard), each with the wizard's side picture.
#include "dialogs/CWizardPage.h"
#include "framework/core/CString.h"
#include "framework/ui/CListBox.h"

class CComWizard;

class CComWizardPage : public CWizardPage {
    DECLARE_DYNAMIC(CComWizardPage)
public:
    static constexpr UINT IDB_SIDE_PICTURE = 92;

    explicit CComWizardPage(UINT nIDTemplate);

    CComWizard* GetWizard() const;
};

// 160: what the wizard does.
class CComWizardIntroPage : public CComWizardPage {
public:
    static constexpr UINT IDD = 160;
    CComWizardIntroPage();
    BOOL OnSetActive() override;
};

// 161: the device family to search, radio group 2139.
class CComWizardFamilyPage : public CComWizardPage {
public:
    static constexpr UINT IDD = 161;
    static constexpr int IDC_FAMILY = 2139;
    CComWizardFamilyPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    int m_nFamilyChoice = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// 162: the serial ports that can be opened now, list box 2050 with the port number as
// item data. Next takes the selected port and stores it in the INI file at once.
class CComWizardPortPage : public CComWizardPage {
public:
    static constexpr UINT IDD = 162;
    static constexpr int IDC_PORTS = 2050;
    static constexpr UINT IDS_PORT_ITEM = 1195;
    static constexpr UINT IDP_NO_PORT = 1196;
    static constexpr UINT IDP_PORT_UNAVAILABLE = 1208;
    CComWizardPortPage();
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

    CListBox m_portList;
    int m_nSelected = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// 163: Next connects and searches for a device of the chosen family; the progress text
// is control 2142.
class CComWizardSearchPage : public CComWizardPage {
public:
    static constexpr UINT IDD = 163;
    static constexpr int IDC_PROGRESS = 2142;
    static constexpr UINT IDS_SEARCHING = 1199;
    CComWizardSearchPage();
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// 159: the result in control 2146; Back and OK.
class CComWizardResultPage : public CComWizardPage {
public:
    static constexpr UINT IDD = 159;
    static constexpr int IDC_RESULT = 2146;
    static constexpr UINT IDS_FOUND = 1198;
    static constexpr UINT IDS_NOT_FOUND = 1197;
    static constexpr UINT IDS_SIMULATING = 1209;
    CComWizardResultPage();
    BOOL OnSetActive() override;

    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
