#pragma once
// The sheet that edits one monitoring case of a KVR configuration on four pages: sensor
// and field pair, input states (or inputs 1 and 2 with a speed range when the unit
// measures speed) with the option, following cases, and the number of scans. The case
// changes only when the sheet ends with OK.
#include "framework/ui/CComboBox.h"
#include "framework/ui/CPropertySheet.h"
#include "model/CKVRConfig.h"

#include <array>

class CKVRControlAssignPage : public CPropertyPage {
    DECLARE_DYNAMIC(CKVRControlAssignPage)
public:
    CKVRControlAssignPage();
    BOOL OnInitDialog() override;

    const CKVRConfig* m_pConfig = nullptr;
    int m_nShelterIndex = -1;
    int m_nSensorIndex = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// The option radios (2187 A, 2188 B) and the table button shared by both input pages.
class CKVRControlOptionPage : public CPropertyPage {
    DECLARE_DYNAMIC(CKVRControlOptionPage)
public:
    explicit CKVRControlOptionPage(UINT nIDTemplate);

    const CKVRConfig* m_pConfig = nullptr;
    int m_nCaseIndex = -1;
    int m_nOutputA = 1;
    int m_nOutputB = 0;

protected:
    void ExchangeOption(CDataExchange* pDX);
    void EnableControl(int nID, BOOL bEnable) const;
    void EnableByFlags(int inputCount);

    afx_msg void OnTable();

    DECLARE_MESSAGE_MAP()
};

class CKVRControlInputsPage : public CKVRControlOptionPage {
    DECLARE_DYNAMIC(CKVRControlInputsPage)
public:
    CKVRControlInputsPage();
    BOOL OnInitDialog() override;

    std::array<int, 4> m_nState{};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CKVRControlSpeedPage : public CKVRControlOptionPage {
    DECLARE_DYNAMIC(CKVRControlSpeedPage)
public:
    CKVRControlSpeedPage();
    BOOL OnInitDialog() override;

    std::array<int, 2> m_nState{};
    CSpeed m_speed;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnRangeClicked();

private:
    int m_nRangeSet = 0;
    int m_nLow = 0;
    int m_nHigh = 0;

    DECLARE_MESSAGE_MAP()
};

class CKVRControlFollowPage : public CPropertyPage {
    DECLARE_DYNAMIC(CKVRControlFollowPage)
public:
    CKVRControlFollowPage();
    BOOL OnInitDialog() override;

    int m_nCaseIndex = -1;
    int m_nFollowCount = 0;
    int m_nFollow1 = -1;
    int m_nFollow2 = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnCountClicked();

private:
    void FillCombo(CComboBox& combo, int selected);
    void EnableCombos();

    CComboBox m_follow1;
    CComboBox m_follow2;

    DECLARE_MESSAGE_MAP()
};

class CKVRControlScansPage : public CPropertyPage {
    DECLARE_DYNAMIC(CKVRControlScansPage)
public:
    CKVRControlScansPage();
    BOOL OnInitDialog() override;

    BYTE m_byScans = 2;
    BYTE m_byMinScans = 2;
    BYTE m_byMaxScans = 16;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnScansChanged();

    DECLARE_MESSAGE_MAP()
};

class CKVRControlSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CKVRControlSheet)
public:
    explicit CKVRControlSheet(CWnd* pParentWnd = nullptr);

    // Edits case m_nCaseIndex of m_config; IDOK writes the pages back into the case.
    INT_PTR DoModal() override;

    CKVRConfig m_config;
    int m_nCaseIndex = -1;
};
