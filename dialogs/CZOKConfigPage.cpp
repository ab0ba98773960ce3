#include "dialogs/CZOKConfigPage.h"

#include "dialogs/CZOKConfigSheet.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CArcShelter.h"
#include "model/ConfigLimits.h"
#include "model/CSensorType.h"
#include "model/CZOKConfig.h"

#include <cstdlib>
#include <memory>

namespace {

constexpr UINT IDD_ZOK_NAMES = 125;
constexpr UINT IDD_ZOK_VARIANT = 127;
constexpr UINT IDD_ZOK_RESTART = 128;
constexpr UINT IDD_ZOK_SCANS = 129;
constexpr UINT IDD_ZOK_OPTION_VALUE = 130;
constexpr UINT IDD_ZOK_CHOICE = 131;

constexpr int IDC_PROTECTIVE_NAME = 2167;
constexpr int IDC_WARNING_NAME = 2169;
constexpr int IDC_OPTION_OFF = 2051;
constexpr int IDC_OPTION_VALUE = 2052;
constexpr int IDC_OPTION_ON = 2053;
constexpr int IDC_SCANS = 2186;
constexpr int IDC_RESPONSE_TIME = 2054;
constexpr int IDC_MODE_0 = 2189;
constexpr int IDC_MODE_2 = 2190;
constexpr int IDC_MODE_1 = 2191;
constexpr int IDC_DELAY = 2192;
constexpr int IDC_RESTART = 2193;
constexpr int IDC_VARIANT_0 = 2157;
constexpr int IDC_VARIANT_1 = 2159;
constexpr int IDC_CHOICE = 2154;

constexpr UINT IDS_RESPONSE_TIME = 1178;
constexpr UINT IDP_ASK_VARIANT_1 = 467;
constexpr UINT IDP_ASK_VARIANT_0 = 468;

constexpr int kMaxNameChars = 8;
constexpr BYTE kMinOptionValue = 1;
constexpr BYTE kMaxOptionValue = 127;
// The sensor type whose variants differ in range and scans, so that a change asks first.
constexpr WORD kTypeWithVariants = 7;
constexpr const char* kNoUnit = "";

// The number of scans a text shows, when it is one that fits a byte.
bool ParseScans(const CString& text, BYTE& scans)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || value < 0 || value > 255) return false;
    scans = BYTE(value);
    return true;
}

void GiveFieldType(CShelter* field, const CSensorType& type)
{
    if (field) field->SetSensorType(type, field->GetFieldKind());
}

} // namespace

// ---- CZOKConfigPage ------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKConfigPage, CPropertyPage)

CZOKConfigPage::CZOKConfigPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

CZOKConfig* CZOKConfigPage::GetConfig() const
{
    const auto* sheet = dynamic_cast<CZOKConfigSheet*>(GetParent());
    return sheet ? sheet->GetConfig() : nullptr;
}

// ---- CZOKNamesPage -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKNamesPage, CZOKConfigPage)

CZOKNamesPage::CZOKNamesPage() : CZOKConfigPage(IDD_ZOK_NAMES) {}

BOOL CZOKNamesPage::OnInitDialog()
{
    if (const CZOKConfig* config = GetConfig()) {
        m_strProtectiveName = config->GetProtectiveName();
        m_strWarningName = config->GetWarningName();
    }
    return CZOKConfigPage::OnInitDialog();
}

void CZOKNamesPage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PROTECTIVE_NAME, m_strProtectiveName);
    DDV_MaxChars(pDX, m_strProtectiveName, kMaxNameChars);
    DDX_Text(pDX, IDC_WARNING_NAME, m_strWarningName);
    DDV_MaxChars(pDX, m_strWarningName, kMaxNameChars);
}

BOOL CZOKNamesPage::OnKillActive()
{
    if (!CZOKConfigPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) {
        config->SetProtectiveName(m_strProtectiveName);
        config->SetWarningName(m_strWarningName);
    }
    return TRUE;
}

// ---- CZOKOptionValuePage -------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKOptionValuePage, CZOKConfigPage)

BEGIN_MESSAGE_MAP(CZOKOptionValuePage, CZOKConfigPage)
    ON_BN_CLICKED(IDC_OPTION_OFF, OnOnOff)
    ON_BN_CLICKED(IDC_OPTION_ON, OnOnOff)
END_MESSAGE_MAP()

CZOKOptionValuePage::CZOKOptionValuePage() : CZOKConfigPage(IDD_ZOK_OPTION_VALUE) {}

BOOL CZOKOptionValuePage::OnInitDialog()
{
    if (const CZOKConfig* config = GetConfig()) {
        const BYTE value = config->GetOption1();
        m_nOn = value != 0 ? 1 : 0;
        m_byValue = value != 0 ? value : kMinOptionValue;
    }
    const BOOL result = CZOKConfigPage::OnInitDialog();
    EnableValueEdit();
    return result;
}

void CZOKOptionValuePage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OPTION_OFF, m_nOn);
    // The number must be valid even while the option is off, as the edit still holds it.
    DDX_TextWithUnit(pDX, IDC_OPTION_VALUE, m_byValue, kNoUnit);
    DDV_MinMaxByte(pDX, m_byValue, kMinOptionValue, kMaxOptionValue);
}

void CZOKOptionValuePage::OnOnOff() { EnableValueEdit(); }

void CZOKOptionValuePage::EnableValueEdit()
{
    if (CWnd* edit = GetDlgItem(IDC_OPTION_VALUE)) edit->EnableWindow(IsDlgButtonChecked(IDC_OPTION_ON) == BST_CHECKED);
}

BOOL CZOKOptionValuePage::OnKillActive()
{
    if (!CZOKConfigPage::OnKillActive()) return FALSE;
    // The shown number stays as it is, so that coming back with the option off still
    // shows a valid number; only the configuration gets 0.
    if (CZOKConfig* config = GetConfig()) config->SetOption1(m_nOn == 1 ? m_byValue : 0);
    return TRUE;
}

// ---- CZOKScansPage -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKScansPage, CZOKConfigPage)

BEGIN_MESSAGE_MAP(CZOKScansPage, CZOKConfigPage)
    ON_EN_CHANGE(IDC_SCANS, OnScansChanged)
END_MESSAGE_MAP()

CZOKScansPage::CZOKScansPage() : CZOKConfigPage(IDD_ZOK_SCANS) {}

BOOL CZOKScansPage::OnSetActive()
{
    if (const CZOKConfig* config = GetConfig()) {
        m_byMinScans = config->GetSensorType().GetMinScanCount();
        m_byMaxScans = config->GetSensorType().GetMaxScanCount();
        m_byScans = config->GetScanCount();
    }
    m_bFirstSetActive = FALSE;
    UpdateData(FALSE);
    if (CWnd* edit = GetDlgItem(IDC_SCANS)) edit->EnableWindow(m_byMinScans != m_byMaxScans);
    OnScansChanged();
    return TRUE;
}

void CZOKScansPage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigPage::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_SCANS, m_byScans, kNoUnit);
    DDV_MinMaxByte(pDX, m_byScans, m_byMinScans, m_byMaxScans);
}

void CZOKScansPage::OnScansChanged()
{
    CString text;
    GetDlgItemText(IDC_SCANS, text);
    CString shown;
    // A text that is no number of scans shows no response time rather than a wrong one.
    if (BYTE scans = 0; ParseScans(text, scans)) {
        CString time;
        time.Format("%ld", long(ZOKResponseTime(scans)));
        AfxFormatString1(shown, IDS_RESPONSE_TIME, time.c_str());
    }
    SetDlgItemText(IDC_RESPONSE_TIME, shown.c_str());
}

BOOL CZOKScansPage::OnKillActive()
{
    if (!CZOKConfigPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) config->SetScanCount(m_byScans);
    return TRUE;
}

// ---- CZOKRestartPage -----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKRestartPage, CZOKConfigPage)

BEGIN_MESSAGE_MAP(CZOKRestartPage, CZOKConfigPage)
    ON_BN_CLICKED(IDC_MODE_0, OnModeClicked)
    ON_BN_CLICKED(IDC_MODE_2, OnModeClicked)
    ON_BN_CLICKED(IDC_MODE_1, OnModeClicked)
END_MESSAGE_MAP()

CZOKRestartPage::CZOKRestartPage() : CZOKConfigPage(IDD_ZOK_RESTART) {}

BOOL CZOKRestartPage::OnInitDialog()
{
    if (const CZOKConfig* config = GetConfig()) {
        m_modeDelay = config->GetModeDelay();
        m_nRestart = config->GetOption3() != 0 ? BST_CHECKED : BST_UNCHECKED;
    }
    const BOOL result = CZOKConfigPage::OnInitDialog();
    EnableDelayEdit();
    return result;
}

void CZOKRestartPage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigPage::DoDataExchange(pDX);
    DDX_ModeRadio(pDX, IDC_MODE_0, m_modeDelay);
    DDX_Delay(pDX, IDC_DELAY, m_modeDelay);
    DDV_Delay(pDX, m_modeDelay);
    DDX_Check(pDX, IDC_RESTART, m_nRestart);
}

void CZOKRestartPage::OnModeClicked() { EnableDelayEdit(); }

void CZOKRestartPage::EnableDelayEdit()
{
    if (CWnd* edit = GetDlgItem(IDC_DELAY)) edit->EnableWindow(IsDlgButtonChecked(IDC_MODE_1) == BST_CHECKED);
}

BOOL CZOKRestartPage::OnKillActive()
{
    if (!CZOKConfigPage::OnKillActive()) return FALSE;
    if (CZOKConfig* config = GetConfig()) {
        config->GetModeDelay() = m_modeDelay;
        config->SetOption3(m_nRestart == BST_CHECKED ? 1 : 0);
    }
    return TRUE;
}

// ---- CZOKVariantPage -----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKVariantPage, CZOKConfigPage)

BEGIN_MESSAGE_MAP(CZOKVariantPage, CZOKConfigPage)
    ON_BN_CLICKED(IDC_VARIANT_0, OnVariant0)
    ON_BN_CLICKED(IDC_VARIANT_1, OnVariant1)
END_MESSAGE_MAP()

CZOKVariantPage::CZOKVariantPage() : CZOKConfigPage(IDD_ZOK_VARIANT) {}

BOOL CZOKVariantPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    if (const CZOKConfig* config = GetConfig()) m_nVariant = config->GetSensorType().GetVariant() == 1 ? 1 : 0;
    ShowVariant(m_nVariant);
    return TRUE;
}

BOOL CZOKVariantPage::OnKillActive()
{
    if (CZOKConfig* config = GetConfig()) {
        CSensorType type = config->GetSensorType();
        type.SetVariant(WORD(m_nVariant));
        config->SetSensorType(type);
    }
    return TRUE;
}

void CZOKVariantPage::ShowVariant(int variant)
{
    m_nVariant = variant;
    CheckRadioButton(IDC_VARIANT_0, IDC_VARIANT_1, variant == 1 ? IDC_VARIANT_1 : IDC_VARIANT_0);
}

void CZOKVariantPage::OnVariant0()
{
    if (m_bBusy) return;
    m_bBusy = true;
    SwitchToVariant0();
    m_bBusy = false;
}

void CZOKVariantPage::OnVariant1()
{
    if (m_bBusy) return;
    m_bBusy = true;
    SwitchToVariant1();
    m_bBusy = false;
}

void CZOKVariantPage::SwitchToVariant0()
{
    CZOKConfig* config = GetConfig();
    if (!config || m_nVariant != 1 || config->GetSensorType().GetTypeCode() != kTypeWithVariants) {
        ShowVariant(0);
        return;
    }
    if (AfxMessageBox(IDP_ASK_VARIANT_0, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        ShowVariant(1);
        GotoDlgCtrl(GetDlgItem(IDC_VARIANT_1));
        return;
    }
    CSensorType type = config->GetSensorType();
    type.SetVariant(0);
    // A protective field beyond the new type's reach becomes an arc of that reach.
    if (CShelter* protective = config->GetShelter(kProtectiveField)) {
        const WORD maxDistance = type.GetProtectiveMaxDistance();
        if (protective->GetMaxExtent() > maxDistance) {
            auto arc = std::make_unique<CArcShelter>();
            arc->Initialize(type, maxDistance, kProtectiveField);
            config->SetShelter(kProtectiveField, std::move(arc));
        } else {
            GiveFieldType(protective, type);
        }
    }
    GiveFieldType(config->GetShelter(kWarningField), type);
    ShowVariant(0);
}

void CZOKVariantPage::SwitchToVariant1()
{
    CZOKConfig* config = GetConfig();
    if (!config || m_nVariant != 0 || config->GetSensorType().GetTypeCode() != kTypeWithVariants) {
        ShowVariant(1);
        return;
    }
    if (AfxMessageBox(IDP_ASK_VARIANT_1, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        ShowVariant(0);
        GotoDlgCtrl(GetDlgItem(IDC_VARIANT_0));
        return;
    }
    CSensorType type = config->GetSensorType();
    type.SetVariant(1);
    config->SetScanCount(type.GetMinScanCount());
    GiveFieldType(config->GetShelter(kProtectiveField), type);
    GiveFieldType(config->GetShelter(kWarningField), type);
    ShowVariant(1);
}

// ---- CZOKChoicePage ------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CZOKChoicePage, CZOKConfigPage)

CZOKChoicePage::CZOKChoicePage() : CZOKConfigPage(IDD_ZOK_CHOICE) {}

BOOL CZOKChoicePage::OnInitDialog()
{
    if (const CZOKConfig* config = GetConfig()) m_nChoice = config->GetOption5();
    return CZOKConfigPage::OnInitDialog();
}

void CZOKChoicePage::DoDataExchange(CDataExchange* pDX)
{
    CZOKConfigPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_CHOICE, m_nChoice);
}

BOOL CZOKChoicePage::OnKillActive()
{
    if (!CZOKConfigPage::OnKillActive()) return FALSE;
    // No button checked (a byte the device gave that the page has no button for) keeps it.
    if (CZOKConfig* config = GetConfig(); config && m_nChoice >= 0) config->SetOption5(BYTE(m_nChoice));
    return TRUE;
}
