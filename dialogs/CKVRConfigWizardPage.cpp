#include "dialogs/CKVRConfigWizardPage.h"

#include "device/CKVRSensor.h"
#include "device/DeviceProcedures.h"
#include "device/KVRProcedures.h"
#include "dialogs/CKVRConfigWizard.h"
#include "dialogs/KVRWizardHelpers.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/CKVRConfig.h"
#include "model/ConfigLimits.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CKVRConfigWizardPage, CWizardPage)

namespace {

constexpr int kProtective = 1;
constexpr int kWarning = 2;
constexpr UINT kMaxSpeedValue = 1000;
constexpr UINT kMinSpeedValue = 50;
constexpr UINT kMaxTolerance = 25;
constexpr BYTE kMinOptionValue = 5;
constexpr BYTE kMaxOptionValue = 126;
constexpr WORD kTypeWithVariants = 7;

void EnableItem(CWnd* page, int id, BOOL enable)
{
    if (CWnd* item = page->GetDlgItem(id)) item->EnableWindow(enable);
}

void ShowItem(CWnd* page, int id, BOOL show)
{
    if (CWnd* item = page->GetDlgItem(id)) item->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void FocusItem(CWnd* page, int id)
{
    if (CWnd* item = page->GetDlgItem(id)) item->SetFocus();
}

} // namespace

// ------------------------------------------------------------------ page base

CKVRConfigWizardPage::CKVRConfigWizardPage(UINT nIDTemplate) : CWizardPageOf(nIDTemplate, IDB_SIDE_PICTURE) {}

CKVRConfig* CKVRConfigWizardPage::GetConfig() const
{
    CKVRConfigWizard* wizard = GetWizard();
    return wizard ? wizard->GetConfig() : nullptr;
}

KVRWizardHelpers* CKVRConfigWizardPage::GetHelpers() const
{
    const CKVRConfigWizard* wizard = GetWizard();
    return wizard ? wizard->GetHelpers() : nullptr;
}

// ------------------------------------------------------------------ 172 sensor type

BEGIN_MESSAGE_MAP(CKVRConfigSensorTypePage, CKVRConfigWizardPage)
    ON_BN_CLICKED(IDC_READ, OnReadType)
END_MESSAGE_MAP()

CKVRConfigSensorTypePage::CKVRConfigSensorTypePage() : CKVRConfigWizardPage(IDD) {}

void CKVRConfigSensorTypePage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigWizardPage::DoDataExchange(pDX);
    DDX_SensorTypeCombo(pDX, IDC_TYPE, m_type);
}

BOOL CKVRConfigSensorTypePage::OnSetActive()
{
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    SetWizardButtons(kButtonsNext);
    if (CKVRConfigWizard* wizard = GetWizard()) wizard->ResetTitle();
    m_type = config->GetSensorType();
    UpdateData(FALSE);
    // A type change would no longer fit the fields already drawn.
    const BOOL canChange = config->GetShelterConfigCount() == 0;
    EnableItem(this, IDC_TYPE, canChange);
    EnableItem(this, IDC_READ, canChange);
    return TRUE;
}

BOOL CKVRConfigSensorTypePage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (CKVRConfig* config = GetConfig()) config->SetSensorType(m_type);
    return TRUE;
}

void CKVRConfigSensorTypePage::OnReadType()
{
    if (!UpdateData(TRUE)) return;
    CKVRSensor sensor;
    if (!ConnectSensor(sensor, TRUE)) return;
    if (IdentifySensor(sensor, TRUE)) {
        CSensorType type;
        if (ReadKVRSensorType(sensor, type, TRUE)) {
            m_type = type;
            m_type.SetVariant(0);
            UpdateData(FALSE);
        } else {
            AfxMessageBox(IDP_TYPE_NOT_READ);
        }
        FocusItem(this, IDC_TYPE);
    }
    DisconnectSensor(sensor, TRUE);
}

// ------------------------------------------------------------------ 173 option value

BEGIN_MESSAGE_MAP(CKVRConfigOptionValuePage, CKVRConfigWizardPage)
    ON_BN_CLICKED(IDC_OFF, OnOffOrOn)
    ON_BN_CLICKED(IDC_ON, OnOffOrOn)
END_MESSAGE_MAP()

CKVRConfigOptionValuePage::CKVRConfigOptionValuePage() : CKVRConfigWizardPage(IDD) {}

void CKVRConfigOptionValuePage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigWizardPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OFF, m_nOn);
    // A switched-off value is neither read nor checked: it is not stored.
    if (!pDX->m_bSaveAndValidate || m_nOn == 1) {
        DDX_TextWithUnit(pDX, IDC_VALUE, m_byValue, "");
        DDV_MinMaxWithUnit(pDX, m_byValue, kMinOptionValue, kMaxOptionValue, "");
    }
}

BOOL CKVRConfigOptionValuePage::OnSetActive()
{
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    if (CKVRConfigWizard* wizard = GetWizard()) wizard->ResetTitle();
    SetBackNextButtons();
    const BYTE value = config->GetValueV2();
    m_nOn = value != 0 ? 1 : 0;
    m_byValue = value != 0 ? value : kMinOptionValue;
    UpdateData(FALSE);
    OnOffOrOn();
    return TRUE;
}

void CKVRConfigOptionValuePage::OnOffOrOn() { EnableItem(this, IDC_VALUE, IsDlgButtonChecked(IDC_ON) != 0); }

BOOL CKVRConfigOptionValuePage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (CKVRConfig* config = GetConfig()) config->SetValueV2(m_nOn == 1 ? m_byValue : 0);
    return TRUE;
}

// ------------------------------------------------------------------ 174 variant

BEGIN_MESSAGE_MAP(CKVRConfigVariantPage, CKVRConfigWizardPage)
    ON_BN_CLICKED(IDC_VARIANT0, OnVariant0)
    ON_BN_CLICKED(IDC_VARIANT1, OnVariant1)
    ON_BN_CLICKED(IDC_SIZE0, OnSize0)
    ON_BN_CLICKED(IDC_SIZE1, OnSize1)
END_MESSAGE_MAP()

CKVRConfigVariantPage::CKVRConfigVariantPage() : CKVRConfigWizardPage(IDD) {}

BOOL CKVRConfigVariantPage::OnSetActive()
{
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    SetWizardButtons(kButtonsBackNext);
    CheckRadioButton(IDC_VARIANT0, IDC_VARIANT1, config->GetSensorType().GetVariant() == 1 ? IDC_VARIANT1 : IDC_VARIANT0);
    CheckRadioButton(IDC_SIZE0, IDC_SIZE1, config->GetDeviceBitV3() == 1 ? IDC_SIZE1 : IDC_SIZE0);
    return TRUE;
}

BOOL CKVRConfigVariantPage::OnKillActive()
{
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    CSensorType type = config->GetSensorType();
    type.SetVariant(IsDlgButtonChecked(IDC_VARIANT1) ? 1 : 0);
    config->SetSensorType(type);
    config->SetDeviceBitV3(IsDlgButtonChecked(IDC_SIZE1) ? 1 : 0);
    return TRUE;
}

void CKVRConfigVariantPage::ToVariant0()
{
    CKVRConfig* config = GetConfig();
    CSensorType type = config->GetSensorType();
    type.SetVariant(0);
    config->SetSensorType(type);
    const WORD maxDistance = type.GetProtectiveMaxDistance();
    for (int n = 0; n < config->GetShelterConfigCount(); ++n) {
        CKVRShelterConfig* pair = config->GetShelterConfig(n);
        if (!pair) continue;
        if (CShelter* protective = pair->GetShelter(kProtective)) {
            if (protective->GetMaxExtent() > maxDistance) {
                // A field beyond the smaller range becomes the largest arc it allows.
                auto arc = std::make_unique<CArcShelter>();
                arc->Initialize(type, maxDistance, kProtective);
                pair->SetShelter(kProtective, std::move(arc));
            } else {
                protective->ReplaceSensorType(type);
            }
        }
        if (CShelter* warning = pair->GetShelter(kWarning)) warning->ReplaceSensorType(type);
    }
}

void CKVRConfigVariantPage::ToVariant1()
{
    CKVRConfig* config = GetConfig();
    CSensorType type = config->GetSensorType();
    type.SetVariant(1);
    config->SetSensorType(type);
    for (int n = 0; n < config->GetControlConfigCount(); ++n)
        if (CKVRControlConfig* control = config->GetControlConfig(n)) control->SetScanCount(type.GetMinScanCount());
    for (int n = 0; n < config->GetShelterConfigCount(); ++n)
        if (CKVRShelterConfig* pair = config->GetShelterConfig(n)) pair->CopySensorTypeToFields(type);
}

void CKVRConfigVariantPage::OnVariant0()
{
    if (m_bInHandler || !IsDlgButtonChecked(IDC_VARIANT1)) return;
    m_bInHandler = true;
    if (GetConfig()->GetSensorType().GetTypeCode() != kTypeWithVariants) {
        CheckRadioButton(IDC_VARIANT0, IDC_VARIANT1, IDC_VARIANT0);
    } else if (AfxMessageBox(IDP_TO_VARIANT0, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        CheckRadioButton(IDC_VARIANT0, IDC_VARIANT1, IDC_VARIANT0);
        ToVariant0();
    } else {
        FocusItem(this, IDC_VARIANT1);
    }
    m_bInHandler = false;
}

void CKVRConfigVariantPage::OnVariant1()
{
    if (m_bInHandler || !IsDlgButtonChecked(IDC_VARIANT0)) return;
    m_bInHandler = true;
    if (GetConfig()->GetSensorType().GetTypeCode() != kTypeWithVariants) {
        CheckRadioButton(IDC_VARIANT0, IDC_VARIANT1, IDC_VARIANT1);
    } else if (AfxMessageBox(IDP_TO_VARIANT1, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        CheckRadioButton(IDC_VARIANT0, IDC_VARIANT1, IDC_VARIANT1);
        ToVariant1();
    } else {
        FocusItem(this, IDC_VARIANT0);
    }
    m_bInHandler = false;
}

void CKVRConfigVariantPage::OnSize0()
{
    if (m_bInHandler) return;
    CheckRadioButton(IDC_SIZE0, IDC_SIZE1, IDC_SIZE0);
}

void CKVRConfigVariantPage::OnSize1()
{
    if (m_bInHandler || !IsDlgButtonChecked(IDC_SIZE0)) return;
    m_bInHandler = true;
    CString size;
    size.Format("%d mm", IsDlgButtonChecked(IDC_VARIANT1) ? 70 : 50);
    CString text;
    AfxFormatString1(text, IDP_SIZE_OPTION, size);
    if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES)
        CheckRadioButton(IDC_SIZE0, IDC_SIZE1, IDC_SIZE1);
    else
        FocusItem(this, IDC_SIZE0);
    m_bInHandler = false;
}

// ------------------------------------------------------------------ 175 inputs

BEGIN_MESSAGE_MAP(CKVRConfigInputsPage, CKVRConfigWizardPage)
    ON_BN_CLICKED(IDC_SPEED, OnSpeed)
    ON_BN_CLICKED(IDC_OPTION_A, OnOption)
    ON_BN_CLICKED(IDC_OPTION_B, OnOption)
END_MESSAGE_MAP()

CKVRConfigInputsPage::CKVRConfigInputsPage() : CKVRConfigWizardPage(IDD) {}

void CKVRConfigInputsPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigWizardPage::DoDataExchange(pDX);
    m_choice.Exchange(pDX, IDC_SPEED);
}

BOOL CKVRConfigInputsPage::OnSetActive()
{
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    SetWizardButtons(kButtonsBackNext);
    m_choice = KVRInputsChoice::TakeFrom(*config);
    UpdateData(FALSE);

    // What the cases use cannot be switched off here.
    const KVRInputsInUse inUse = KVRInputsInUse::Of(*config);
    for (std::size_t k = 0; k < inUse.input.size(); ++k)
        EnableItem(this, KVRInputsChoice::IDC_INPUTS[k], !inUse.input[k]);
    EnableItem(this, IDC_SPEED, !inUse.speed);
    EnableItem(this, IDC_OPTION_A, FALSE);
    EnableItem(this, IDC_OPTION_B, !inUse.optionB);
    ShowInputsFreeOfSpeed();
    EnableItem(this, IDC_EXTRA_A, m_choice.optionA);
    EnableItem(this, IDC_EXTRA_B, m_choice.optionB);
    return TRUE;
}

void CKVRConfigInputsPage::ShowInputsFreeOfSpeed()
{
    const BOOL show = !IsDlgButtonChecked(IDC_SPEED);
    ShowItem(this, IDC_INPUT3, show);
    ShowItem(this, IDC_INPUT4, show);
}

void CKVRConfigInputsPage::OnSpeed()
{
    // The speed inputs share the terminals of inputs 3 and 4.
    if (IsDlgButtonChecked(IDC_SPEED)) {
        CheckDlgButton(IDC_INPUT3, BST_UNCHECKED);
        CheckDlgButton(IDC_INPUT4, BST_UNCHECKED);
    }
    ShowInputsFreeOfSpeed();
}

void CKVRConfigInputsPage::OnOption()
{
    const BOOL a = IsDlgButtonChecked(IDC_OPTION_A) != 0;
    const BOOL b = IsDlgButtonChecked(IDC_OPTION_B) != 0;
    if (!a) CheckDlgButton(IDC_EXTRA_A, BST_UNCHECKED);
    if (!b) CheckDlgButton(IDC_EXTRA_B, BST_UNCHECKED);
    EnableItem(this, IDC_EXTRA_A, a);
    EnableItem(this, IDC_EXTRA_B, b);
}

BOOL CKVRConfigInputsPage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (!m_choice.Accept()) return FALSE;
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    m_choice.StoreInto(*config);
    return TRUE;
}

// ------------------------------------------------------------------ 176 speed

BEGIN_MESSAGE_MAP(CKVRConfigSpeedPage, CKVRConfigWizardPage)
    ON_EN_CHANGE(IDC_SPEED1, OnSpeedChanged)
    ON_EN_CHANGE(IDC_SPEED2, OnSpeedChanged)
END_MESSAGE_MAP()

CKVRConfigSpeedPage::CKVRConfigSpeedPage() : CKVRConfigWizardPage(IDD) {}

void CKVRConfigSpeedPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigWizardPage::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_SPEED1, m_nSpeed1, "");
    DDV_MinMaxWithUnit(pDX, m_nSpeed1, kMinSpeedValue, m_nUpperBound, "");
    DDX_TextWithUnit(pDX, IDC_SPEED2, m_nSpeed2, "");
    DDV_MinMaxWithUnit(pDX, m_nSpeed2, kMinSpeedValue, m_nUpperBound, "");
    DDX_TextWithUnit(pDX, IDC_TOLERANCE, m_nTolerance, "%");
    DDV_MinMaxWithUnit(pDX, m_nTolerance, 0u, kMaxTolerance, "%");
}

BOOL CKVRConfigSpeedPage::OnSetActive()
{
    if (const CKVRConfigWizard* wizard = GetWizard(); wizard && wizard->SkipPage(wizard->GetPageIndex(this)))
        return FALSE;
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    SetWizardButtons(kButtonsBackNext);
    // The scales must still measure the fastest speed range of the cases, and the
    // configuration check never accepts more than 1000.
    const KVRUsedInputs used = config->GetUsedInputs();
    m_nUpperBound = kMaxSpeedValue;
    if (used.bits & kUsesSpeed)
        m_nUpperBound = UINT(std::min<int>(int(kMaxSpeedValue), MaxSpeedLimitAbs(used.speedLow, used.speedHigh)));
    m_nSpeed1 = config->GetSpeedScale1();
    m_nSpeed2 = config->GetSpeedScale2();
    m_nTolerance = config->GetValueV1();
    UpdateData(FALSE);
    OnSpeedChanged();
    return TRUE;
}

void CKVRConfigSpeedPage::OnSpeedChanged()
{
    auto typed = [this](int id) {
        CString text;
        GetDlgItemText(id, text);
        std::int64_t value = 0;
        return ParseIntWithUnit(text, "%d", value, "") == kParseAccepted ? int(value) : 0;
    };
    CString limit;
    CString text;
    limit.Format("+-%d cm/s", MinSpeedLimit(typed(IDC_SPEED1), typed(IDC_SPEED2)));
    AfxFormatString1(text, IDS_LOWEST, limit);
    SetDlgItemText(IDC_LOWEST, text);
    limit.Format("+-%d cm/s", MaxSpeedLimit(typed(IDC_SPEED1), typed(IDC_SPEED2)));
    AfxFormatString1(text, IDS_HIGHEST, limit);
    SetDlgItemText(IDC_HIGHEST, text);
}

BOOL CKVRConfigSpeedPage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    config->SetSpeedScale1(m_nSpeed1);
    config->SetSpeedScale2(m_nSpeed2);
    config->SetValueV1(m_nTolerance);
    return TRUE;
}

// ------------------------------------------------------------------ 177 restart

BEGIN_MESSAGE_MAP(CKVRConfigRestartPage, CKVRConfigWizardPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_MODE_A, IDC_MODE_A + 2, OnModeClicked)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_MODE_B, IDC_MODE_B + 2, OnModeClicked)
END_MESSAGE_MAP()

CKVRConfigRestartPage::CKVRConfigRestartPage() : CKVRConfigWizardPage(IDD) {}

void CKVRConfigRestartPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigWizardPage::DoDataExchange(pDX);
    CKVRConfig* config = GetConfig();
    if (!config) return;
    DDX_ModeRadio(pDX, IDC_MODE_A, config->GetModeDelay1());
    DDX_Delay(pDX, IDC_DELAY_A, config->GetModeDelay1());
    DDV_Delay(pDX, config->GetModeDelay1());
    DDX_ModeRadio(pDX, IDC_MODE_B, config->GetModeDelay2());
    DDX_Delay(pDX, IDC_DELAY_B, config->GetModeDelay2());
    DDV_Delay(pDX, config->GetModeDelay2());
    int restart = config->GetOptionV4() ? 1 : 0;
    DDX_Check(pDX, IDC_RESTART, restart);
    if (pDX->m_bSaveAndValidate) config->SetOptionV4(BYTE(restart));
}

BOOL CKVRConfigRestartPage::OnSetActive()
{
    if (!GetConfig()) return FALSE;
    SetWizardButtons(kButtonsBackNext);
    UpdateData(FALSE);
    EnableGroups();
    return TRUE;
}

void CKVRConfigRestartPage::EnableGroups()
{
    const BYTE flags = GetConfig()->GetUsedFlags();
    const BOOL groupA = (flags & kUsesOssdA) != 0;
    const BOOL groupB = (flags & kUsesOssdB) != 0;
    for (int i = 0; i < 3; ++i) {
        EnableItem(this, IDC_MODE_A + i, groupA);
        EnableItem(this, IDC_MODE_B + i, groupB);
    }
    // The third button of a group is mode 1, the only mode with a delay.
    EnableItem(this, IDC_DELAY_A, groupA && IsDlgButtonChecked(IDC_MODE_A + 2));
    EnableItem(this, IDC_DELAY_B, groupB && IsDlgButtonChecked(IDC_MODE_B + 2));
}

void CKVRConfigRestartPage::OnModeClicked(UINT) { EnableGroups(); }

BOOL CKVRConfigRestartPage::OnKillActive()
{
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    // The exchange writes into the configuration; a refused pass must leave it whole.
    const CModeDelay a = config->GetModeDelay1();
    const CModeDelay b = config->GetModeDelay2();
    const BYTE restart = config->GetOptionV4();
    if (UpdateData(TRUE)) return TRUE;
    config->GetModeDelay1() = a;
    config->GetModeDelay2() = b;
    config->SetOptionV4(restart);
    return FALSE;
}

// ------------------------------------------------------------------ list pages

CKVRConfigListPage::CKVRConfigListPage(UINT nIDTemplate, int nListId, const KVRConfigList& list,
                                       UINT nIDEmptyPrompt)
    : CKVRListPageBase(nIDTemplate, nListId, list, FALSE), m_nIDEmptyPrompt(nIDEmptyPrompt)
{
}

BOOL CKVRConfigListPage::OnSetActive()
{
    if (!GetConfig()) return FALSE;
    m_bLeavingBack = false;
    SetWizardButtons(kButtonsBackNext);
    Refresh(Count() > 0 ? 0 : -1);
    return TRUE;
}

BOOL CKVRConfigListPage::OnKillActive()
{
    if ((!m_bLeavingBack || EmptyHoldsBack()) && Count() == 0) {
        AfxMessageBox(m_nIDEmptyPrompt);
        return FALSE;
    }
    return TRUE;
}

LRESULT CKVRConfigListPage::OnWizardBack()
{
    m_bLeavingBack = true;
    return CKVRListPageBase::OnWizardBack();
}

LRESULT CKVRConfigListPage::OnWizardNext()
{
    m_bLeavingBack = false;
    return CKVRListPageBase::OnWizardNext();
}

// ------------------------------------------------------------------ 178 sensors

BEGIN_MESSAGE_MAP(CKVRConfigSensorListPage, CKVRConfigListPage)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_RENAME, OnRename)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_LBN_DBLCLK(IDC_LIST, OnRename)
END_MESSAGE_MAP()

CKVRConfigSensorListPage::CKVRConfigSensorListPage() : CKVRConfigListPage(IDD, IDC_LIST, kKVRSensorList, IDP_EMPTY) {}

BOOL CKVRConfigSensorListPage::OnSetActive()
{
    if (!CKVRConfigListPage::OnSetActive()) return FALSE;
    CString text;
    AfxFormatString1(text, IDS_MODEL, GetConfig()->GetSensorType().GetModelName());
    SetDlgItemText(IDC_MODEL, text);
    return TRUE;
}

// ------------------------------------------------------------------ 179 field pairs

BEGIN_MESSAGE_MAP(CKVRConfigShelterListPage, CKVRConfigListPage)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_RENAME, OnRename)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_LBN_DBLCLK(IDC_LIST, OnRename)
END_MESSAGE_MAP()

CKVRConfigShelterListPage::CKVRConfigShelterListPage()
    : CKVRConfigListPage(IDD, IDC_LIST, kKVRShelterList, IDP_EMPTY)
{
}

void CKVRConfigShelterListPage::OnAdd()
{
    CKVRConfig* config = GetConfig();
    KVRWizardHelpers* helpers = GetHelpers();
    if (!helpers || !config || Count() >= m_kind.maxCount) return;
    CString name;
    auto pair = helpers->NewFieldPair(this, *config, DefaultName(), name);
    if (!pair || !pair->GetShelter(kProtective) || !pair->GetShelter(kWarning)) return;
    if (!IsNameFree(name)) return;
    config->AddShelterConfig(name, std::move(pair));
    RefreshAfterAdd();
}

// ------------------------------------------------------------------ 180 cases

BEGIN_MESSAGE_MAP(CKVRConfigControlListPage, CKVRConfigListPage)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_RENAME, OnRename)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_EDIT, OnEdit)
    ON_BN_CLICKED(IDC_TABLE, OnTable)
    ON_BN_CLICKED(IDC_CHECK, OnCheck)
    ON_LBN_DBLCLK(IDC_LIST, OnEdit)
END_MESSAGE_MAP()

CKVRConfigControlListPage::CKVRConfigControlListPage()
    : CKVRConfigListPage(IDD, IDC_LIST, kKVRControlList, IDP_EMPTY)
{
}

// Edit follows the entry count like the other buttons, so that it opens as soon as a
// first case is added.
void CKVRConfigControlListPage::EnableButtons(int count)
{
    CKVRConfigListPage::EnableButtons(count);
    const BOOL withHelpers = GetHelpers() != nullptr;
    EnableItem(IDC_EDIT, withHelpers && count > 0);
    EnableItem(IDC_TABLE, withHelpers);
}

void CKVRConfigControlListPage::OnAdd()
{
    CKVRConfig* config = GetConfig();
    KVRWizardHelpers* helpers = GetHelpers();
    if (!helpers || !config || Count() >= m_kind.maxCount) return;
    CString name;
    auto control = helpers->NewCase(this, *config, name);
    if (!control) return;
    config->AddControlConfig(name, std::move(control));
    RefreshAfterAdd();
}

void CKVRConfigControlListPage::OnEdit()
{
    CKVRConfig* config = GetConfig();
    KVRWizardHelpers* helpers = GetHelpers();
    const int n = Selected();
    if (!helpers || !config || n < 0) return;
    auto control = helpers->EditCase(this, *config, n);
    if (!control) return;
    if (CKVRControlConfig* old = config->GetControlConfig(n)) *old = *control;
    Refresh(n);
}

void CKVRConfigControlListPage::OnTable()
{
    if (KVRWizardHelpers* helpers = GetHelpers())
        helpers->ShowCaseTable(this, *GetConfig());
}

void CKVRConfigControlListPage::OnCheck()
{
    if (CKVRConfig::CheckControlConfigs(*GetConfig(), TRUE)) AfxMessageBox(IDP_CHECK_PASSED, MB_OK | MB_ICONINFORMATION);
}

BOOL CKVRConfigControlListPage::OnKillActive()
{
    return CKVRConfigListPage::OnKillActive() && CKVRConfig::CheckControlConfigs(*GetConfig(), TRUE);
}

// ------------------------------------------------------------------ 181 end

CKVRConfigFinishPage::CKVRConfigFinishPage() : CKVRConfigWizardPage(IDD) {}

BOOL CKVRConfigFinishPage::OnSetActive()
{
    SetFinishButtons();
    return TRUE;
}
