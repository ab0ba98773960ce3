#include "dialogs/CKVRControlSheet.h"

#include "dialogs/CKVRControlTableDialog.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CListBox.h"
#include "framework/ui/DDX.h"
#include "model/ConfigLimits.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CKVRControlAssignPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CKVRControlOptionPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CKVRControlInputsPage, CKVRControlOptionPage)
IMPLEMENT_DYNAMIC(CKVRControlSpeedPage, CKVRControlOptionPage)
IMPLEMENT_DYNAMIC(CKVRControlFollowPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CKVRControlScansPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CKVRControlSheet, CPropertySheet)

namespace {

constexpr UINT IDD_CASE_ASSIGN = 140;
constexpr UINT IDD_CASE_INPUTS = 141;
constexpr UINT IDD_CASE_SPEED = 142;
constexpr UINT IDD_CASE_FOLLOW = 143;
constexpr UINT IDD_CASE_SCANS = 144;

constexpr int IDC_SENSOR_LIST = 2167;
constexpr int IDC_SHELTER_LIST = 2169;
constexpr int IDC_STATE1 = 2068;
constexpr int IDC_OUTPUT_A = 2187;
constexpr int IDC_OUTPUT_B = 2188;
constexpr int IDC_TABLE = 2177;
constexpr int IDC_RANGE_SET = 2099;
constexpr int IDC_SPEED_LOW = 2093;
constexpr int IDC_SPEED_HIGH = 2094;
constexpr int IDC_FOLLOW_NONE = 2126;
constexpr int IDC_FOLLOW_ONE = 2128;
constexpr int IDC_FOLLOW_TWO = 2130;
constexpr int IDC_FOLLOW1 = 2127;
constexpr int IDC_FOLLOW2 = 2129;
constexpr int IDC_SCANS = 2186;
constexpr int IDC_RESPONSE_TIME = 2054;

constexpr UINT IDS_CASE_CAPTION = 1177;
constexpr UINT IDS_RESPONSE_TIME = 1178;
constexpr int kMaxCases = 15;
constexpr const char* kSpeedUnit = "cm/s";

void FillNames(CWnd* page, int nID, void (CKVRConfig::*fill)(CListBox*, BOOL) const, const CKVRConfig& config)
{
    CWnd* control = page->GetDlgItem(nID);
    if (!control) return;
    CListBox list;
    list.Attach(control->GetSafeHwnd());
    (config.*fill)(&list, TRUE);
    list.Detach();
}

} // namespace

// Assignment page ------------------------------------------------------------------

CKVRControlAssignPage::CKVRControlAssignPage() : CPropertyPage(IDD_CASE_ASSIGN) {}

BOOL CKVRControlAssignPage::OnInitDialog()
{
    if (m_pConfig) {
        FillNames(this, IDC_SENSOR_LIST, &CKVRConfig::FillSensorListBox, *m_pConfig);
        FillNames(this, IDC_SHELTER_LIST, &CKVRConfig::FillShelterListBox, *m_pConfig);
        if (m_nSensorIndex < 0 && m_pConfig->GetSensorConfigCount() > 0) m_nSensorIndex = 0;
        if (m_nShelterIndex < 0 && m_pConfig->GetShelterConfigCount() > 0) m_nShelterIndex = 0;
    }
    return CPropertyPage::OnInitDialog();
}

void CKVRControlAssignPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_LBIndex(pDX, IDC_SHELTER_LIST, m_nShelterIndex);
    DDX_LBIndex(pDX, IDC_SENSOR_LIST, m_nSensorIndex);
}

// Option radios and table button -------------------------------------------------

BEGIN_MESSAGE_MAP(CKVRControlOptionPage, CPropertyPage)
    ON_BN_CLICKED(IDC_TABLE, OnTable)
END_MESSAGE_MAP()

CKVRControlOptionPage::CKVRControlOptionPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

// Exactly one of the two options is set: A for radio 2187, B for 2188.
void CKVRControlOptionPage::ExchangeOption(CDataExchange* pDX)
{
    int choice = (m_nOutputB && !m_nOutputA) ? 1 : 0;
    DDX_Radio(pDX, IDC_OUTPUT_A, choice);
    if (pDX->m_bSaveAndValidate && choice >= 0) {
        m_nOutputA = choice == 0 ? 1 : 0;
        m_nOutputB = choice == 1 ? 1 : 0;
    }
}

void CKVRControlOptionPage::EnableControl(int nID, BOOL bEnable) const
{
    if (CWnd* control = GetDlgItem(nID)) control->EnableWindow(bEnable);
}

void CKVRControlOptionPage::EnableByFlags(int inputCount)
{
    const BYTE flags = m_pConfig ? m_pConfig->GetUsedFlags() : 0;
    for (int i = 0; i < inputCount; ++i) EnableControl(IDC_STATE1 + i, (flags & (kUsesInput1 << i)) != 0);
    EnableControl(IDC_OUTPUT_A, (flags & kUsesOssdA) != 0);
    EnableControl(IDC_OUTPUT_B, (flags & kUsesOssdB) != 0);
}

void CKVRControlOptionPage::OnTable()
{
    CKVRControlTableDialog table(m_pConfig, this);
    table.m_nExcluded = m_nCaseIndex;
    table.DoModal();
}

// Inputs page ---------------------------------------------------------------------

CKVRControlInputsPage::CKVRControlInputsPage() : CKVRControlOptionPage(IDD_CASE_INPUTS) {}

BOOL CKVRControlInputsPage::OnInitDialog()
{
    CKVRControlOptionPage::OnInitDialog();
    EnableByFlags(4);
    return TRUE;
}

void CKVRControlInputsPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlOptionPage::DoDataExchange(pDX);
    for (int i = 0; i < 4; ++i) DDX_InputState(pDX, IDC_STATE1 + i, m_nState[std::size_t(i)]);
    ExchangeOption(pDX);
}

// Speed page ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CKVRControlSpeedPage, CKVRControlOptionPage)
    ON_BN_CLICKED(IDC_RANGE_SET, OnRangeClicked)
END_MESSAGE_MAP()

CKVRControlSpeedPage::CKVRControlSpeedPage() : CKVRControlOptionPage(IDD_CASE_SPEED) {}

BOOL CKVRControlSpeedPage::OnInitDialog()
{
    m_nRangeSet = m_speed.IsSet() ? 1 : 0;
    m_nLow = m_speed.GetLow();
    m_nHigh = m_speed.GetHigh();
    CKVRControlOptionPage::OnInitDialog();
    EnableByFlags(2);
    OnRangeClicked();
    return TRUE;
}

void CKVRControlSpeedPage::OnRangeClicked()
{
    const BOOL set = IsDlgButtonChecked(IDC_RANGE_SET) == BST_CHECKED;
    EnableControl(IDC_SPEED_LOW, set);
    EnableControl(IDC_SPEED_HIGH, set);
}

void CKVRControlSpeedPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlOptionPage::DoDataExchange(pDX);
    for (int i = 0; i < 2; ++i) DDX_InputState(pDX, IDC_STATE1 + i, m_nState[std::size_t(i)]);
    DDX_Check(pDX, IDC_RANGE_SET, m_nRangeSet);
    // The bounds matter only while a range is set; unchecked, the case has no range.
    if (!pDX->m_bSaveAndValidate || m_nRangeSet) {
        const int minSpeed = m_pConfig ? m_pConfig->GetMinSpeed() : 10;
        const int maxSpeed = m_pConfig ? m_pConfig->GetMaxSpeed() : 2000;
        DDX_TextWithUnit(pDX, IDC_SPEED_LOW, m_nLow, kSpeedUnit);
        DDV_MinMaxTwoRanges(pDX, m_nLow, -maxSpeed, -minSpeed, minSpeed, maxSpeed, kSpeedUnit);
        DDX_TextWithUnit(pDX, IDC_SPEED_HIGH, m_nHigh, kSpeedUnit);
        DDV_MinMaxTwoRanges(pDX, m_nHigh, -maxSpeed, -minSpeed, minSpeed, maxSpeed, kSpeedUnit);
        if (pDX->m_bSaveAndValidate) DDV_MinMaxWithUnit(pDX, m_nHigh, m_nLow + 1, maxSpeed, kSpeedUnit);
    }
    ExchangeOption(pDX);
    if (pDX->m_bSaveAndValidate) m_speed = m_nRangeSet ? CSpeed(m_nLow, m_nHigh) : CSpeed(0, 0);
}

// Following-case page -------------------------------------------------------------

BEGIN_MESSAGE_MAP(CKVRControlFollowPage, CPropertyPage)
    ON_BN_CLICKED(IDC_FOLLOW_NONE, OnCountClicked)
    ON_BN_CLICKED(IDC_FOLLOW_ONE, OnCountClicked)
    ON_BN_CLICKED(IDC_FOLLOW_TWO, OnCountClicked)
END_MESSAGE_MAP()

CKVRControlFollowPage::CKVRControlFollowPage() : CPropertyPage(IDD_CASE_FOLLOW) {}

// Every number but the case's own, whether or not such a case exists; the configuration
// check finds references to missing cases.
void CKVRControlFollowPage::FillCombo(CComboBox& combo, int selected)
{
    combo.ResetContent();
    for (int n = 0; n < kMaxCases; ++n) {
        if (n == m_nCaseIndex) continue;
        CString text;
        text.Format("%d", n + 1);
        const int item = combo.AddString(text);
        combo.SetItemData(item, DWORD_PTR(n));
        if (n == selected) combo.SetCurSel(item);
    }
}

BOOL CKVRControlFollowPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    FillCombo(m_follow1, m_nFollow1);
    FillCombo(m_follow2, m_nFollow2);
    EnableCombos();
    return TRUE;
}

// An enabled list always has a selection, so no "none" index is stored by mistake.
void CKVRControlFollowPage::EnableCombos()
{
    const int count = GetCheckedRadioButton(IDC_FOLLOW_NONE, IDC_FOLLOW_TWO);
    const BOOL first = count == IDC_FOLLOW_ONE || count == IDC_FOLLOW_TWO;
    const BOOL second = count == IDC_FOLLOW_TWO;
    for (const auto& [combo, enabled] : {std::pair{&m_follow1, first}, std::pair{&m_follow2, second}}) {
        if (!enabled)
            combo->SetCurSel(-1);
        else if (combo->GetCurSel() < 0)
            combo->SetCurSel(0);
        combo->EnableWindow(enabled);
    }
}

void CKVRControlFollowPage::OnCountClicked()
{
    EnableCombos();
}

void CKVRControlFollowPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FOLLOW1, m_follow1);
    DDX_Control(pDX, IDC_FOLLOW2, m_follow2);
    DDX_Radio(pDX, IDC_FOLLOW_NONE, m_nFollowCount);
    if (!pDX->m_bSaveAndValidate) return;
    const auto indexOf = [](const CComboBox& combo) {
        const int item = combo.GetCurSel();
        return item < 0 ? -1 : int(combo.GetItemData(item));
    };
    m_nFollow1 = m_nFollowCount >= 1 ? indexOf(m_follow1) : -1;
    m_nFollow2 = m_nFollowCount == 2 ? indexOf(m_follow2) : -1;
}

// Scans page ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CKVRControlScansPage, CPropertyPage)
    ON_EN_CHANGE(IDC_SCANS, OnScansChanged)
END_MESSAGE_MAP()

CKVRControlScansPage::CKVRControlScansPage() : CPropertyPage(IDD_CASE_SCANS) {}

BOOL CKVRControlScansPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (CWnd* edit = GetDlgItem(IDC_SCANS)) edit->EnableWindow(m_byMinScans != m_byMaxScans);
    OnScansChanged();
    return TRUE;
}

void CKVRControlScansPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_SCANS, m_byScans, "");
    DDV_MinMaxByte(pDX, m_byScans, m_byMinScans, m_byMaxScans);
}

void CKVRControlScansPage::OnScansChanged()
{
    CString text;
    GetDlgItemText(IDC_SCANS, text);
    const long scans = std::strtol(text.c_str(), nullptr, 10);
    CString time;
    time.Format("%ld", long(KVRResponseTime(BYTE(scans < 0 ? 0 : scans > 255 ? 255 : scans))));
    CString line;
    AfxFormatString1(line, IDS_RESPONSE_TIME, time);
    SetDlgItemText(IDC_RESPONSE_TIME, line);
}

// Sheet -----------------------------------------------------------------------------

CKVRControlSheet::CKVRControlSheet(CWnd* pParentWnd) : CPropertySheet("", pParentWnd) {}

INT_PTR CKVRControlSheet::DoModal()
{
    CKVRControlConfig* control = m_config.GetControlConfig(m_nCaseIndex);
    if (!control) return IDCANCEL;
    CString caption;
    AfxFormatString1(caption, IDS_CASE_CAPTION, m_config.GetControlConfigName(m_nCaseIndex));
    SetTitle(caption);

    CKVRControlAssignPage assign;
    assign.m_pConfig = &m_config;
    assign.m_nShelterIndex = control->GetShelterIndex();
    assign.m_nSensorIndex = control->GetSensorIndex();
    CKVRControlInputsPage inputs;
    CKVRControlSpeedPage speed;
    for (CKVRControlOptionPage* page : {static_cast<CKVRControlOptionPage*>(&inputs),
                                        static_cast<CKVRControlOptionPage*>(&speed)}) {
        page->m_pConfig = &m_config;
        page->m_nCaseIndex = m_nCaseIndex;
        page->m_nOutputA = control->GetOutputA();
        page->m_nOutputB = control->GetOutputB();
    }
    for (int k = 1; k <= 4; ++k) inputs.m_nState[std::size_t(k - 1)] = control->GetInputState(k);
    for (int k = 1; k <= 2; ++k) speed.m_nState[std::size_t(k - 1)] = control->GetInputState(k);
    speed.m_speed = control->GetSpeed();
    CKVRControlFollowPage follow;
    follow.m_nCaseIndex = m_nCaseIndex;
    follow.m_nFollowCount = control->GetFollowCount();
    follow.m_nFollow1 = control->GetFollow1();
    follow.m_nFollow2 = control->GetFollow2();
    CKVRControlScansPage scans;
    scans.m_byScans = control->GetScanCount();
    scans.m_byMinScans = m_config.GetSensorType().GetMinScanCount();
    scans.m_byMaxScans = m_config.GetSensorType().GetMaxScanCount();

    const BOOL usesSpeed = (m_config.GetUsedFlags() & kUsesSpeed) != 0;
    AddPage(&assign);
    AddPage(usesSpeed ? static_cast<CPropertyPage*>(&speed) : &inputs);
    AddPage(&follow);
    AddPage(&scans);
    const INT_PTR result = CPropertySheet::DoModal();
    while (GetPageCount() > 0) RemovePage(0);
    if (result != IDOK) return result;

    control->SetSensorIndex(assign.m_nSensorIndex);
    control->SetShelterIndex(assign.m_nShelterIndex);
    const CKVRControlOptionPage& option = usesSpeed ? static_cast<CKVRControlOptionPage&>(speed) : inputs;
    if (usesSpeed) {
        for (int k = 1; k <= 2; ++k) control->SetInputState(k, speed.m_nState[std::size_t(k - 1)]);
        control->SetSpeed(speed.m_speed);
    } else {
        for (int k = 1; k <= 4; ++k) control->SetInputState(k, inputs.m_nState[std::size_t(k - 1)]);
    }
    control->SetOutputA(option.m_nOutputA);
    control->SetOutputB(option.m_nOutputB);
    control->SetFollowCount(follow.m_nFollowCount);
    control->SetFollow1(follow.m_nFollow1);
    control->SetFollow2(follow.m_nFollow2);
    control->SetScanCount(scans.m_byScans);
    return result;
}
