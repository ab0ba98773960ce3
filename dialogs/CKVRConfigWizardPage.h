#pragma once
// The pages of the KVR configuration wizard (CKVRConfigWizard). Each page reads the
// wizard's configuration when it becomes active and writes its values back when it is
// left after validation; the list pages change the configuration at once.
#include "dialogs/CKVRListPageBase.h"
#include "dialogs/CWizardPage.h"
#include "dialogs/KVRInputsChoice.h"
#include "framework/ui/CListBox.h"
#include "model/CSensorType.h"

class CKVRConfig;
class CKVRConfigWizard;
class KVRWizardHelpers;

class CKVRConfigWizardPage : public CWizardPageOf<CKVRConfigWizard> {
    DECLARE_DYNAMIC(CKVRConfigWizardPage)
public:
    static constexpr UINT IDB_SIDE_PICTURE = 89;

    explicit CKVRConfigWizardPage(UINT nIDTemplate);

    CKVRConfig* GetConfig() const;

protected:
    // The dialogs the list pages open; null without them.
    KVRWizardHelpers* GetHelpers() const;
};

// 172: the sensor type of a new configuration, typed or read from the unit.
class CKVRConfigSensorTypePage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 172;
    static constexpr int IDC_TYPE = 2096;
    static constexpr int IDC_READ = 2095;
    static constexpr UINT IDP_TYPE_NOT_READ = 303;
    CKVRConfigSensorTypePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    CSensorType m_type;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnReadType();
    DECLARE_MESSAGE_MAP()
};

// 173: the option value, off or 5 to 126.
class CKVRConfigOptionValuePage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 173;
    static constexpr int IDC_OFF = 2051;
    static constexpr int IDC_VALUE = 2052;
    static constexpr int IDC_ON = 2053;
    CKVRConfigOptionValuePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    int m_nOn = 0; // radio index: 0 off, 1 on
    BYTE m_byValue = 5;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOffOrOn();
    DECLARE_MESSAGE_MAP()
};

// 174: the sensor variant and the size option, radios that only the handlers set.
class CKVRConfigVariantPage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 174;
    static constexpr int IDC_VARIANT0 = 2157;
    static constexpr int IDC_VARIANT1 = 2159;
    static constexpr int IDC_SIZE0 = 2091;
    static constexpr int IDC_SIZE1 = 2092;
    static constexpr UINT IDP_SIZE_OPTION = 461;
    static constexpr UINT IDP_TO_VARIANT1 = 467;
    static constexpr UINT IDP_TO_VARIANT0 = 468;
    CKVRConfigVariantPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void OnVariant0();
    void OnVariant1();
    void OnSize0();
    void OnSize1();
    void ToVariant0();
    void ToVariant1();
    bool m_bInHandler = false;
    DECLARE_MESSAGE_MAP()
};

// 175: the control inputs, the speed inputs and the two options in use.
class CKVRConfigInputsPage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 175;
    static constexpr int IDC_INPUT1 = KVRInputsChoice::IDC_INPUTS[0];
    static constexpr int IDC_INPUT2 = KVRInputsChoice::IDC_INPUTS[1];
    static constexpr int IDC_INPUT3 = KVRInputsChoice::IDC_INPUTS[2];
    static constexpr int IDC_INPUT4 = KVRInputsChoice::IDC_INPUTS[3];
    static constexpr int IDC_SPEED = 2102;
    static constexpr int IDC_OPTION_A = KVRInputsChoice::IDC_OPTION_A;
    static constexpr int IDC_OPTION_B = KVRInputsChoice::IDC_OPTION_B;
    static constexpr int IDC_EXTRA_A = KVRInputsChoice::IDC_EXTRA_A;
    static constexpr int IDC_EXTRA_B = KVRInputsChoice::IDC_EXTRA_B;
    CKVRConfigInputsPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    KVRInputsChoice m_choice;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSpeed();
    void OnOption();
    // Inputs 3 and 4 are shown only while the speed does not take their terminals.
    void ShowInputsFreeOfSpeed();
    DECLARE_MESSAGE_MAP()
};

// 176: the two speed values and the tolerance; skipped without speed.
class CKVRConfigSpeedPage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 176;
    static constexpr int IDC_SPEED1 = 2064;
    static constexpr int IDC_SPEED2 = 2065;
    static constexpr int IDC_TOLERANCE = 2067;
    static constexpr int IDC_LOWEST = 2135;
    static constexpr int IDC_HIGHEST = 2232;
    static constexpr UINT IDS_LOWEST = 1192;
    static constexpr UINT IDS_HIGHEST = 1193;
    CKVRConfigSpeedPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    UINT m_nSpeed1 = 50;
    UINT m_nSpeed2 = 50;
    UINT m_nTolerance = 25;
    UINT m_nUpperBound = 1000;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSpeedChanged();
    DECLARE_MESSAGE_MAP()
};

// 177: the restart settings of both options and the restart flag.
class CKVRConfigRestartPage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 177;
    static constexpr int IDC_MODE_A = 2194; // 2194-2196
    static constexpr int IDC_DELAY_A = 2197;
    static constexpr int IDC_MODE_B = 2198; // 2198-2200
    static constexpr int IDC_DELAY_B = 2201;
    static constexpr int IDC_RESTART = 2193;
    CKVRConfigRestartPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnModeClicked(UINT nID);
    void EnableGroups();
    DECLARE_MESSAGE_MAP()
};

// The wizard's list pages: numbered lines; Back and Next. Leaving forwards needs at least
// one entry (the page's empty message), leaving backwards does not unless the page says so.
class CKVRConfigListPage : public CKVRListPageBase<CKVRConfigWizardPage> {
public:
    CKVRConfigListPage(UINT nIDTemplate, int nListId, const KVRConfigList& list, UINT nIDEmptyPrompt);
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

protected:
    // Whether an empty list holds the page up when leaving backwards as well.
    virtual bool EmptyHoldsBack() const { return false; }

    const UINT m_nIDEmptyPrompt;
    bool m_bLeavingBack = false;
};

// 178: the sensor configurations, 1 to 4.
class CKVRConfigSensorListPage : public CKVRConfigListPage {
public:
    static constexpr UINT IDD = 178;
    static constexpr int IDC_LIST = 2096;
    static constexpr int IDC_MODEL = 2098;
    static constexpr UINT IDS_MODEL = 1183;
    static constexpr UINT IDP_EMPTY = 454;
    CKVRConfigSensorListPage();
    BOOL OnSetActive() override;

protected:
    bool EmptyHoldsBack() const override { return true; }
    void OnAdd() { AddNamedSensor(); }
    DECLARE_MESSAGE_MAP()
};

// 179: the field pairs, 1 to 8.
class CKVRConfigShelterListPage : public CKVRConfigListPage {
public:
    static constexpr UINT IDD = 179;
    static constexpr int IDC_LIST = 2100;
    static constexpr UINT IDP_EMPTY = 455;
    CKVRConfigShelterListPage();

protected:
    void OnAdd();
    DECLARE_MESSAGE_MAP()
};

// 180: the monitoring cases, 1 to 15, with the case table and the case check.
class CKVRConfigControlListPage : public CKVRConfigListPage {
public:
    static constexpr UINT IDD = 180;
    static constexpr int IDC_LIST = 2101;
    static constexpr int IDC_EDIT = 2062;
    static constexpr int IDC_TABLE = 2177;
    static constexpr int IDC_CHECK = 2181;
    static constexpr UINT IDP_EMPTY = 456;
    static constexpr UINT IDP_CHECK_PASSED = 466;
    CKVRConfigControlListPage();
    BOOL OnKillActive() override;

protected:
    void EnableButtons(int count) override;
    void OnAdd();
    void OnEdit();
    void OnTable();
    void OnCheck();
    DECLARE_MESSAGE_MAP()
};

// 181: the end; Back and Finish, labelled "OK".
class CKVRConfigFinishPage : public CKVRConfigWizardPage {
public:
    static constexpr UINT IDD = 181;
    CKVRConfigFinishPage();
    BOOL OnSetActive() override;
};
