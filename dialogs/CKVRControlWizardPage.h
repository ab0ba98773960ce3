#pragma once
// The pages of the KVR monitoring-case wizard (CKVRControlWizard). Each page reads the
// wizard's case when it is first shown and writes its values back when it is left after
// validation; the pages see the wizard's copy of the configuration.
#include "dialogs/CWizardPage.h"
#include "framework/ui/CComboBox.h"

#include <array>

class CKVRConfig;
class CKVRControlConfig;
class CKVRControlWizard;

class CKVRControlWizardPage : public CWizardPage {
    DECLARE_DYNAMIC(CKVRControlWizardPage)
public:
    static constexpr UINT IDB_SIDE_PICTURE = 85;

    explicit CKVRControlWizardPage(UINT nIDTemplate);

    CKVRControlWizard* GetWizard() const;
    CKVRConfig* GetConfig() const;
    CKVRControlConfig* GetCase() const;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    // The page's members from the case, and back.
    virtual void ReadCase(const CKVRControlConfig&) {}
    virtual void WriteCase(CKVRControlConfig&) {}
    virtual DWORD Buttons() const { return kButtonsBackNext; }

    // Enables a control when the configuration's usage flags hold the bit.
    void EnableByUsage(int nID, BYTE usageBit) const;
    void EnableItem(int nID, BOOL bEnable) const;
    // The case table of the configuration copy.
    void ShowCaseTable();
};

// 164: the name of a new case, unique among the configuration's cases.
class CKVRControlNamePage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 164;
    static constexpr int IDC_NAME = 2086;
    static constexpr UINT IDP_NAME_IN_USE = 448;
    static constexpr UINT IDP_NO_NAME = 449;
    CKVRControlNamePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    CString m_strName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    DWORD Buttons() const override { return kButtonsNext; }
};

// 165: the sensor configuration and the field pair the case uses.
class CKVRControlAssignWizardPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 165;
    static constexpr int IDC_SENSORS = 2167;
    static constexpr int IDC_FIELD_PAIRS = 2169;
    static constexpr UINT IDP_NOT_CHOSEN = 450;
    CKVRControlAssignWizardPage();
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    int m_nSensor = -1;
    int m_nFieldPair = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    void WriteCase(CKVRControlConfig& control) override;
    DWORD Buttons() const override;
};

// 166: the states of control inputs 1 to 4 (configurations without speed).
class CKVRControlInputsWizardPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 166;
    static constexpr int IDC_INPUT1 = 2068; // inputs 1-4: 2068-2071
    static constexpr int IDC_TABLE = 2177;
    CKVRControlInputsWizardPage();
    BOOL OnInitDialog() override;

    std::array<int, 4> m_nState{};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    void WriteCase(CKVRControlConfig& control) override;
    afx_msg void OnTable();
    DECLARE_MESSAGE_MAP()
};

// 167: inputs 1 and 2 and the speed range (configurations with speed).
class CKVRControlSpeedWizardPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 167;
    static constexpr int IDC_INPUT1 = 2068;
    static constexpr int IDC_USE_SPEED = 2099;
    static constexpr int IDC_LOW = 2093;
    static constexpr int IDC_HIGH = 2094;
    static constexpr int IDC_TABLE = 2177;
    CKVRControlSpeedWizardPage();
    BOOL OnInitDialog() override;

    std::array<int, 2> m_nState{};
    int m_nUseSpeed = 0;
    int m_nLow = 0;
    int m_nHigh = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    void WriteCase(CKVRControlConfig& control) override;
    afx_msg void OnUseSpeed();
    afx_msg void OnTable();
    DECLARE_MESSAGE_MAP()
};

// 168: option A or option B.
class CKVRControlOptionWizardPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 168;
    static constexpr int IDC_OPTION_A = 2187;
    static constexpr int IDC_OPTION_B = 2188;
    CKVRControlOptionWizardPage();
    BOOL OnInitDialog() override;

    int m_nChoice = 0; // radio index: 0 option A, 1 option B

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    void WriteCase(CKVRControlConfig& control) override;
};

// 169: none, one or two following cases, by case number.
class CKVRControlFollowWizardPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 169;
    static constexpr int IDC_NONE = 2126;
    static constexpr int IDC_FIRST = 2127;
    static constexpr int IDC_ONE = 2128;
    static constexpr int IDC_SECOND = 2129;
    static constexpr int IDC_TWO = 2130;
    CKVRControlFollowWizardPage();
    BOOL OnInitDialog() override;

    int m_nCount = 0;
    int m_nFirst = -1;
    int m_nSecond = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    void WriteCase(CKVRControlConfig& control) override;
    afx_msg void OnCount();

private:
    void FillCombo(CComboBox& combo, int selected) const;
    void EnableCombos();

    CComboBox m_first;
    CComboBox m_second;

    DECLARE_MESSAGE_MAP()
};

// 170: the number of scans with the response time it gives; read each time it is shown.
class CKVRControlScansWizardPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 170;
    static constexpr int IDC_SCANS = 2186;
    static constexpr int IDC_RESPONSE_TIME = 2054;
    static constexpr UINT IDS_RESPONSE_TIME = 1178;
    CKVRControlScansWizardPage();
    BOOL OnSetActive() override;

    BYTE m_byScans = 2;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ReadCase(const CKVRControlConfig& control) override;
    void WriteCase(CKVRControlConfig& control) override;
    afx_msg void OnScansChanged();
    DECLARE_MESSAGE_MAP()
};

// 171: the end, with Back and a finish button reading "OK".
class CKVRControlFinishPage : public CKVRControlWizardPage {
public:
    static constexpr UINT IDD = 171;
    CKVRControlFinishPage();
    BOOL OnSetActive() override;

protected:
    DWORD Buttons() const override { return kButtonsBackFinish; }
};
