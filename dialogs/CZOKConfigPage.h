#pragma once
// The pages of the ZOK configuration sheet. Each edits one part of the sheet's copy:
// the names page (125), option value (130), number of scans (129), restart (128),
// sensor variant (127) and the choice page (131). Pages 125, 128, 130 and 131 read
// their part once when they open; 127 and 129 on every activation, since the variant
// page may change the number of scans. Every page writes its part when it is left.
#include "framework/core/CString.h"
#include "framework/ui/CPropertyPage.h"
#include "model/CModeDelay.h"

class CZOKConfig;

class CZOKConfigPage : public CPropertyPage {
    DECLARE_DYNAMIC(CZOKConfigPage)
public:
    explicit CZOKConfigPage(UINT nIDTemplate);
    // The edited configuration of the sheet the page is shown in.
    CZOKConfig* GetConfig() const;
};

class CZOKNamesPage : public CZOKConfigPage {
    DECLARE_DYNAMIC(CZOKNamesPage)
public:
    CZOKNamesPage();
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CString m_strProtectiveName;
    CString m_strWarningName;
};

class CZOKOptionValuePage : public CZOKConfigPage {
    DECLARE_DYNAMIC(CZOKOptionValuePage)
public:
    CZOKOptionValuePage();
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnOnOff();

private:
    void EnableValueEdit();

    int m_nOn = 0;      // radio index: 0 off, 1 on
    BYTE m_byValue = 1; // the number shown, kept while the option is off

    DECLARE_MESSAGE_MAP()
};

class CZOKScansPage : public CZOKConfigPage {
    DECLARE_DYNAMIC(CZOKScansPage)
public:
    CZOKScansPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnScansChanged();

private:
    BYTE m_byScans = 2;
    BYTE m_byMinScans = 1;
    BYTE m_byMaxScans = 1;

    DECLARE_MESSAGE_MAP()
};

class CZOKRestartPage : public CZOKConfigPage {
    DECLARE_DYNAMIC(CZOKRestartPage)
public:
    CZOKRestartPage();
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnModeClicked();

private:
    void EnableDelayEdit();

    CModeDelay m_modeDelay;
    int m_nRestart = 1;

    DECLARE_MESSAGE_MAP()
};

class CZOKVariantPage : public CZOKConfigPage {
    DECLARE_DYNAMIC(CZOKVariantPage)
public:
    CZOKVariantPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    afx_msg void OnVariant0();
    afx_msg void OnVariant1();

private:
    void ShowVariant(int variant);
    void SwitchToVariant0();
    void SwitchToVariant1();

    int m_nVariant = 0;
    // A handler asking its question blocks the other clicks.
    bool m_bBusy = false;

    DECLARE_MESSAGE_MAP()
};

class CZOKChoicePage : public CZOKConfigPage {
    DECLARE_DYNAMIC(CZOKChoicePage)
public:
    CZOKChoicePage();
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int m_nChoice = 0;
};
