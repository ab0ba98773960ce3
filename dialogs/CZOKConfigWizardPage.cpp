#include "dialogs/CZOKConfigWizardPage.h"

#include "device/CZOKSensor.h"
#include "device/DeviceProcedures.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CZOKConfigWizard.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CZOKConfig.h"

#include <cstdint>

IMPLEMENT_DYNAMIC(CZOKConfigWizardPage, CWizardPage)

namespace {

constexpr LPCTSTR kNoUnit = "";
constexpr int kProtectiveKind = 1;
constexpr int kWarningKind = 2;

void EnableControl(CWnd& page, int nID, BOOL enable)
{
    if (CWnd* control = page.GetDlgItem(nID)) control->EnableWindow(enable);
}

// The configuration's fields take its type as it now is (variant included).
void PassTypeToFields(CZOKConfig& config)
{
    for (const int kind : {kProtectiveKind, kWarningKind})
        if (CShelter* field = config.GetShelter(kind)) field->ReplaceSensorType(config.GetSensorType());
}

} // namespace

CZOKConfigWizardPage::CZOKConfigWizardPage(UINT nIDTemplate) : CWizardPageOf(nIDTemplate, IDB_SIDE_PICTURE) {}

CZOKConfig* CZOKConfigWizardPage::GetConfig() const
{
    CZOKConfigWizard* wizard = GetWizard();
    return wizard ? wizard->GetConfig() : nullptr;
}

// ------------------------------------------------------------------ 182 sensor type

BEGIN_MESSAGE_MAP(CZOKConfigSensorTypePage, CZOKConfigWizardPage)
    ON_BN_CLICKED(CZOKConfigSensorTypePage::IDC_READ_TYPE, OnReadType)
END_MESSAGE_MAP()

CZOKConfigSensorTypePage::CZOKConfigSensorTypePage() : CZOKConfigWizardPage(IDD) {}

void CZOKConfigSensorTypePage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigWizardPage::DoDataExchange(pDX);
    DDX_SensorTypeCombo(pDX, IDC_TYPE, m_sensorType);
}

BOOL CZOKConfigSensorTypePage::OnSetActive()
{
    SetWizardButtons(kButtonsNext);
    CZOKConfig* config = GetConfig();
    if (CZOKConfigWizard* wizard = GetWizard()) wizard->ResetTitle();
    if (config) m_sensorType = config->GetSensorType();
    UpdateData(FALSE);
    // The fields were built for the type; it stays once they exist.
    const BOOL free = config && !config->GetShelter(kProtectiveKind) && !config->GetShelter(kWarningKind);
    EnableControl(*this, IDC_TYPE, free);
    EnableControl(*this, IDC_READ_TYPE, free);
    return TRUE;
}

BOOL CZOKConfigSensorTypePage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) config->SetSensorType(m_sensorType);
    return TRUE;
}

void CZOKConfigSensorTypePage::OnReadType()
{
    if (!UpdateData(TRUE)) return;
    CZOKSensor sensor(0);
    if (!ConnectSensor(sensor, TRUE)) return;
    if (IdentifySensor(sensor, TRUE)) {
        CSensorType read;
        if (ReadZOKSensorType(sensor, read, TRUE)) {
            m_sensorType.SetType(read.GetTypeCode(), 0);
            UpdateData(FALSE);
        } else {
            AfxMessageBox(IDP_TYPE_NOT_READ, MB_OK);
        }
        if (CWnd* combo = GetDlgItem(IDC_TYPE)) GotoDlgCtrl(combo);
    }
    DisconnectSensor(sensor, TRUE);
}

// ------------------------------------------------------------------ 183 names

CZOKConfigNamesPage::CZOKConfigNamesPage() : CZOKConfigWizardPage(IDD) {}

void CZOKConfigNamesPage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PROTECTIVE_NAME, m_strProtectiveName);
    DDV_MaxChars(pDX, m_strProtectiveName, kMaxNameLength);
    DDX_Text(pDX, IDC_WARNING_NAME, m_strWarningName);
    DDV_MaxChars(pDX, m_strWarningName, kMaxNameLength);
}

BOOL CZOKConfigNamesPage::OnSetActive()
{
    SetBackNextButtons();
    if (CZOKConfigWizard* wizard = GetWizard()) wizard->ResetTitle();
    if (CZOKConfig* config = GetConfig()) {
        m_strProtectiveName = config->GetProtectiveName();
        m_strWarningName = config->GetWarningName();
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CZOKConfigNamesPage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) {
        config->SetProtectiveName(m_strProtectiveName);
        config->SetWarningName(m_strWarningName);
    }
    return TRUE;
}

// ------------------------------------------------------------------ 184 option value

BEGIN_MESSAGE_MAP(CZOKConfigOptionValuePage, CZOKConfigWizardPage)
    ON_BN_CLICKED(CZOKConfigOptionValuePage::IDC_OFF, OnSwitch)
    ON_BN_CLICKED(CZOKConfigOptionValuePage::IDC_ON, OnSwitch)
END_MESSAGE_MAP()

CZOKConfigOptionValuePage::CZOKConfigOptionValuePage() : CZOKConfigWizardPage(IDD) {}

void CZOKConfigOptionValuePage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigWizardPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OFF, m_nOn);
    // Switched off, the value is not used: what the disabled edit holds cannot keep the page.
    if (pDX->m_bSaveAndValidate && m_nOn != 1) return;
    DDX_TextWithUnit(pDX, IDC_VALUE, m_byValue, kNoUnit);
    DDV_MinMaxWithUnit(pDX, m_byValue, kMinValue, kMaxValue, kNoUnit);
}

BOOL CZOKConfigOptionValuePage::OnSetActive()
{
    SetBackNextButtons();
    if (CZOKConfig* config = GetConfig()) {
        // Off shows 1, the first value the edit accepts, ready for switching on.
        m_nOn = config->GetOption1() != 0 ? 1 : 0;
        if (m_nOn == 0) config->SetOption1(kMinValue);
        m_byValue = config->GetOption1();
    }
    UpdateData(FALSE);
    EnableValue();
    return TRUE;
}

BOOL CZOKConfigOptionValuePage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) config->SetOption1(m_nOn == 1 ? m_byValue : 0);
    return TRUE;
}

void CZOKConfigOptionValuePage::OnSwitch() { EnableValue(); }

void CZOKConfigOptionValuePage::EnableValue()
{
    EnableControl(*this, IDC_VALUE, IsDlgButtonChecked(IDC_ON) == BST_CHECKED);
}

// ------------------------------------------------------------------ 185 restart

BEGIN_MESSAGE_MAP(CZOKConfigRestartPage, CZOKConfigWizardPage)
    ON_BN_CLICKED(CZOKConfigRestartPage::IDC_MODE, OnModeClicked)
    ON_BN_CLICKED(CZOKConfigRestartPage::IDC_MODE + 1, OnModeClicked)
    ON_BN_CLICKED(CZOKConfigRestartPage::IDC_MODE_DELAYED, OnModeClicked)
END_MESSAGE_MAP()

CZOKConfigRestartPage::CZOKConfigRestartPage() : CZOKConfigWizardPage(IDD) {}

void CZOKConfigRestartPage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigWizardPage::DoDataExchange(pDX);
    DDX_ModeRadio(pDX, IDC_MODE, m_modeDelay);
    // Only mode 1 has a delay of its own; the disabled edit of another mode is not read.
    if (!pDX->m_bSaveAndValidate || m_modeDelay.GetMode() == CModeDelay::kDelayedMode) {
        DDX_Delay(pDX, IDC_DELAY, m_modeDelay);
        DDV_Delay(pDX, m_modeDelay);
    }
    DDX_Check(pDX, IDC_RESTART, m_bRestart);
}

BOOL CZOKConfigRestartPage::OnSetActive()
{
    SetWizardButtons(kButtonsBackNext);
    if (CZOKConfig* config = GetConfig()) {
        m_modeDelay = config->GetModeDelay();
        m_bRestart = config->GetOption3() ? 1 : 0;
    }
    UpdateData(FALSE);
    EnableDelay();
    return TRUE;
}

BOOL CZOKConfigRestartPage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) {
        config->GetModeDelay() = m_modeDelay;
        config->SetOption3(BYTE(m_bRestart ? 1 : 0));
    }
    return TRUE;
}

void CZOKConfigRestartPage::OnModeClicked() { EnableDelay(); }

void CZOKConfigRestartPage::EnableDelay()
{
    EnableControl(*this, IDC_DELAY, IsDlgButtonChecked(IDC_MODE_DELAYED) == BST_CHECKED);
}

// ------------------------------------------------------------------ 186 scans

BEGIN_MESSAGE_MAP(CZOKConfigScansPage, CZOKConfigWizardPage)
    ON_EN_CHANGE(CZOKConfigScansPage::IDC_SCANS, OnScansChanged)
END_MESSAGE_MAP()

CZOKConfigScansPage::CZOKConfigScansPage() : CZOKConfigWizardPage(IDD) {}

void CZOKConfigScansPage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigWizardPage::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_SCANS, m_byScans, kNoUnit);
    if (const CZOKConfig* config = GetConfig()) {
        const CSensorType& type = config->GetSensorType();
        DDV_MinMaxWithUnit(pDX, m_byScans, type.GetMinScanCount(), type.GetMaxScanCount(), kNoUnit);
    }
}

BOOL CZOKConfigScansPage::OnSetActive()
{
    SetWizardButtons(kButtonsBackNext);
    const CZOKConfig* config = GetConfig();
    BOOL editable = TRUE;
    if (config) {
        const CSensorType& type = config->GetSensorType();
        m_byScans = config->GetScanCount();
        // A type with one number of scans gets it: the disabled edit could not be corrected.
        editable = type.GetMinScanCount() != type.GetMaxScanCount();
        if (!editable) m_byScans = type.GetMinScanCount();
    }
    UpdateData(FALSE);
    EnableControl(*this, IDC_SCANS, editable);
    ShowResponseTime();
    return TRUE;
}

BOOL CZOKConfigScansPage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) config->SetScanCount(m_byScans);
    return TRUE;
}

void CZOKConfigScansPage::OnScansChanged() { ShowResponseTime(); }

// The response time of the number as typed; nothing while the entry is not a number.
void CZOKConfigScansPage::ShowResponseTime()
{
    CWnd* edit = GetDlgItem(IDC_SCANS);
    CWnd* label = GetDlgItem(IDC_RESPONSE_TIME);
    if (!edit || !label) return;
    CString typed;
    edit->GetWindowText(typed);
    std::int64_t scans = 0;
    CString text;
    if (ParseIntWithUnit(typed, "%u", scans, kNoUnit) == kParseAccepted && scans <= 0xFF) {
        CString milliseconds;
        milliseconds.Format("%ld", long(kMillisecondsPerScan * scans));
        AfxFormatString1(text, IDS_RESPONSE_TIME, milliseconds);
    }
    label->SetWindowText(text);
}

// ------------------------------------------------------------------ 187 variant

BEGIN_MESSAGE_MAP(CZOKConfigVariantPage, CZOKConfigWizardPage)
    ON_BN_CLICKED(CZOKConfigVariantPage::IDC_VARIANT_0, OnVariant0)
    ON_BN_CLICKED(CZOKConfigVariantPage::IDC_VARIANT_1, OnVariant1)
END_MESSAGE_MAP()

CZOKConfigVariantPage::CZOKConfigVariantPage() : CZOKConfigWizardPage(IDD) {}

BOOL CZOKConfigVariantPage::OnSetActive()
{
    SetWizardButtons(kButtonsBackNext);
    if (const CZOKConfig* config = GetConfig())
        CheckRadioButton(IDC_VARIANT_0, IDC_VARIANT_1,
                         config->GetSensorType().GetVariant() == 1 ? IDC_VARIANT_1 : IDC_VARIANT_0);
    return TRUE;
}

BOOL CZOKConfigVariantPage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) {
        CSensorType type = config->GetSensorType();
        type.SetVariant(IsDlgButtonChecked(IDC_VARIANT_1) == BST_CHECKED ? 1 : 0);
        config->SetSensorType(type);
    }
    return TRUE;
}

void CZOKConfigVariantPage::OnVariant0()
{
    CZOKConfig* config = GetConfig();
    if (m_bBusy || !config || IsDlgButtonChecked(IDC_VARIANT_1) != BST_CHECKED) return;
    m_bBusy = true;
    if (config->GetSensorType().GetTypeCode() != kAskedTypeCode) {
        CheckRadioButton(IDC_VARIANT_0, IDC_VARIANT_1, IDC_VARIANT_0);
    } else if (AfxMessageBox(IDP_TO_VARIANT_0, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        CheckRadioButton(IDC_VARIANT_0, IDC_VARIANT_1, IDC_VARIANT_0);
        ApplyVariant0(*config);
    } else if (CWnd* button = GetDlgItem(IDC_VARIANT_1)) {
        GotoDlgCtrl(button);
    }
    m_bBusy = false;
}

void CZOKConfigVariantPage::OnVariant1()
{
    CZOKConfig* config = GetConfig();
    if (m_bBusy || !config || IsDlgButtonChecked(IDC_VARIANT_0) != BST_CHECKED) return;
    m_bBusy = true;
    if (config->GetSensorType().GetTypeCode() != kAskedTypeCode) {
        CheckRadioButton(IDC_VARIANT_0, IDC_VARIANT_1, IDC_VARIANT_1);
    } else if (AfxMessageBox(IDP_TO_VARIANT_1, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        CheckRadioButton(IDC_VARIANT_0, IDC_VARIANT_1, IDC_VARIANT_1);
        ApplyVariant1(*config);
    } else if (CWnd* button = GetDlgItem(IDC_VARIANT_0)) {
        GotoDlgCtrl(button);
    }
    m_bBusy = false;
}

// A protective field beyond the shorter range of variant 0 becomes an arc of exactly
// that range; the fields that fit keep their shape.
void CZOKConfigVariantPage::ApplyVariant0(CZOKConfig& config)
{
    CSensorType type = config.GetSensorType();
    type.SetVariant(0);
    config.SetSensorType(type);
    const CShelter* protective = config.GetShelter(kProtectiveKind);
    if (protective && protective->GetMaxExtent() > type.GetProtectiveMaxDistance()) {
        auto arc = std::make_unique<CArcShelter>();
        arc->Initialize(type, type.GetProtectiveMaxDistance(), kProtectiveKind);
        config.SetShelter(kProtectiveKind, std::move(arc));
    }
    PassTypeToFields(config);
}

void CZOKConfigVariantPage::ApplyVariant1(CZOKConfig& config)
{
    CSensorType type = config.GetSensorType();
    type.SetVariant(1);
    config.SetSensorType(type);
    config.SetScanCount(type.GetMinScanCount());
    PassTypeToFields(config);
}

// ------------------------------------------------------------------ 188 choice

CZOKConfigChoicePage::CZOKConfigChoicePage() : CZOKConfigWizardPage(IDD) {}

void CZOKConfigChoicePage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigWizardPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_CHOICE, m_nChoice);
}

BOOL CZOKConfigChoicePage::OnSetActive()
{
    SetWizardButtons(kButtonsBackNext);
    if (const CZOKConfig* config = GetConfig()) m_nChoice = config->GetOption5();
    UpdateData(FALSE);
    return TRUE;
}

BOOL CZOKConfigChoicePage::OnKillActive()
{
    if (!CZOKConfigWizardPage::OnKillActive()) return FALSE;
    // No button checked (a byte beyond the group) keeps the byte.
    if (CZOKConfig* config = GetConfig(); config && m_nChoice >= 0) config->SetOption5(BYTE(m_nChoice));
    return TRUE;
}

// ------------------------------------------------------------------ 189 fields

BEGIN_MESSAGE_MAP(CZOKConfigShelterPage, CZOKConfigWizardPage)
    ON_CBN_SELCHANGE(CShelterShapes::IDC_PROTECTIVE_SHAPE, OnShapeChanged)
    ON_CBN_SELCHANGE(CShelterShapes::IDC_WARNING_SHAPE, OnShapeChanged)
    ON_CONTROL_RANGE(BN_CLICKED, CShelterShapes::IDC_PROTECTIVE_SIZES, CShelterShapes::IDC_WARNING_SIZES, OnSizes)
END_MESSAGE_MAP()

CZOKConfigShelterPage::CZOKConfigShelterPage() : CShelterShapesPageBase(IDD) {}

const CSensorType* CZOKConfigShelterPage::GetShapesType() const
{
    const CZOKConfig* config = GetConfig();
    return config ? &config->GetSensorType() : nullptr;
}

BOOL CZOKConfigShelterPage::OnInitDialog()
{
    // First shown: the defaults of the type chosen by now.
    if (const CSensorType* type = GetShapesType()) m_shapes.SetDefaults(*type);
    return CShelterShapesPageBase::OnInitDialog();
}

BOOL CZOKConfigShelterPage::OnKillActive()
{
    if (!CShelterShapesPageBase::OnKillActive()) return FALSE;
    CZOKConfig* config = GetConfig();
    if (!config) return TRUE;
    std::unique_ptr<CShelter> protective = m_shapes.CreateProtectiveField(config->GetSensorType());
    std::unique_ptr<CPolyShelter> warning = m_shapes.CreateWarningField(config->GetSensorType());
    if (protective && warning) {
        config->SetShelter(kProtectiveKind, std::move(protective));
        config->SetShelter(kWarningKind, std::move(warning));
    }
    return TRUE;
}

// ------------------------------------------------------------------ 190 end

CZOKConfigFinishPage::CZOKConfigFinishPage() : CZOKConfigWizardPage(IDD) {}

BOOL CZOKConfigFinishPage::OnSetActive()
{
    SetFinishButtons();
    return CZOKConfigWizardPage::OnSetActive();
}
