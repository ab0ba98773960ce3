#pragma once
// The pages of the ZOK configuration wizard (CZOKConfigWizard), each with the wizard's
// side picture. A page reads the configuration when it becomes active and writes its
// values back when it is left after its checks passed; the variant page and the field
// page change the configuration at once.
#include "dialogs/CShelterShapesPageBase.h"
#include "dialogs/CWizardPage.h"
#include "model/CModeDelay.h"
#include "model/CSensorType.h"

class CZOKConfig;
class CZOKConfigWizard;

class CZOKConfigWizardPage : public CWizardPageOf<CZOKConfigWizard> {
    DECLARE_DYNAMIC(CZOKConfigWizardPage)
public:
    static constexpr UINT IDB_SIDE_PICTURE = 94;

    explicit CZOKConfigWizardPage(UINT nIDTemplate);

    // The wizard's configuration; null outside a run.
    CZOKConfig* GetConfig() const;
};

// 182 (new configurations only): the sensor type, combo 2096, or read from the scanner
// with button 2095; both disabled once the configuration holds a field.
class CZOKConfigSensorTypePage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 182;
    static constexpr int IDC_TYPE = 2096;
    static constexpr int IDC_READ_TYPE = 2095;
    static constexpr UINT IDP_TYPE_NOT_READ = 303;

    CZOKConfigSensorTypePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    CSensorType m_sensorType;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnReadType();

    DECLARE_MESSAGE_MAP()
};

// 183: the names of both fields, edits 2167 and 2169, at most 8 characters each.
class CZOKConfigNamesPage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 183;
    static constexpr int IDC_PROTECTIVE_NAME = 2167;
    static constexpr int IDC_WARNING_NAME = 2169;
    static constexpr int kMaxNameLength = 8;

    CZOKConfigNamesPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    CString m_strProtectiveName;
    CString m_strWarningName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// 184: the option value, off (2051) or on (2053) with the value 1..127 in edit 2052,
// which is enabled only while on.
class CZOKConfigOptionValuePage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 184;
    static constexpr int IDC_OFF = 2051;
    static constexpr int IDC_VALUE = 2052;
    static constexpr int IDC_ON = 2053;
    static constexpr BYTE kMinValue = 1;
    static constexpr BYTE kMaxValue = 127;

    CZOKConfigOptionValuePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    int m_nOn = 0;     // radio index: 0 off, 1 on
    BYTE m_byValue = kMinValue;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSwitch();
    void EnableValue();

    DECLARE_MESSAGE_MAP()
};

// 185: the restart setting (radio group 2119..2121, delay edit 2123 enabled only in
// mode 1) and the restart flag (check box 2193).
class CZOKConfigRestartPage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 185;
    static constexpr int IDC_MODE = 2119;
    static constexpr int IDC_MODE_DELAYED = 2121; // the third button: mode 1
    static constexpr int IDC_DELAY = 2123;
    static constexpr int IDC_RESTART = 2193;

    CZOKConfigRestartPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    CModeDelay m_modeDelay{0, CModeDelay::kFixedDelay};
    int m_bRestart = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnModeClicked();
    void EnableDelay();

    DECLARE_MESSAGE_MAP()
};

// 186: the number of scans (edit 2186) within the type's limits, with the response time
// it gives (static 2054, message 1178).
class CZOKConfigScansPage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 186;
    static constexpr int IDC_SCANS = 2186;
    static constexpr int IDC_RESPONSE_TIME = 2054;
    static constexpr UINT IDS_RESPONSE_TIME = 1178;
    static constexpr int kMillisecondsPerScan = 40;

    CZOKConfigScansPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    BYTE m_byScans = 2;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnScansChanged();
    void ShowResponseTime();

    DECLARE_MESSAGE_MAP()
};

// 187: the sensor variant, radio buttons 2157 (0) and 2159 (1) that only the page sets.
// For type code 7 a change is asked (468 to variant 0, 467 to variant 1) and applied to
// the configuration at once.
class CZOKConfigVariantPage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 187;
    static constexpr int IDC_VARIANT_0 = 2157;
    static constexpr int IDC_VARIANT_1 = 2159;
    static constexpr UINT IDP_TO_VARIANT_1 = 467;
    static constexpr UINT IDP_TO_VARIANT_0 = 468;
    static constexpr WORD kAskedTypeCode = 7;

    CZOKConfigVariantPage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void OnVariant0();
    void OnVariant1();
    void ApplyVariant0(CZOKConfig& config);
    void ApplyVariant1(CZOKConfig& config);

    // Set while a handler runs; clicks arriving meanwhile are ignored.
    bool m_bBusy = false;

    DECLARE_MESSAGE_MAP()
};

// 188: the choice byte as the index of the radio group starting at 2154.
class CZOKConfigChoicePage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 188;
    static constexpr int IDC_CHOICE = 2154;

    CZOKConfigChoicePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    int m_nChoice = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// 189 (new configurations only): the shapes and sizes of both fields, as the field
// wizard asks them; leaving the page in either direction builds both fields anew.
class CZOKConfigShelterPage : public CShelterShapesPageBase<CZOKConfigWizardPage> {
public:
    static constexpr UINT IDD = 189;

    CZOKConfigShelterPage();
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

    CShelterShapes m_shapes;

protected:
    // The page's own shapes, for the configuration's sensor type.
    CShelterShapes* GetShapes() override { return &m_shapes; }
    const CSensorType* GetShapesType() const override;

    DECLARE_MESSAGE_MAP()
};

// 190: the end; Back and "OK".
class CZOKConfigFinishPage : public CZOKConfigWizardPage {
public:
    static constexpr UINT IDD = 190;

    CZOKConfigFinishPage();
    BOOL OnSetActive() override;
};
