#include "dialogs/CKVRControlWizardPage.h"

#include "dialogs/CKVRControlTableDialog.h"
#include "dialogs/CKVRControlWizard.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CListBox.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"
#include "model/ConfigLimits.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CKVRControlWizardPage, CWizardPage)

namespace {

constexpr int kMaxNameChars = 8;
constexpr int kCaseNumbers = 15;
constexpr LPCTSTR kSpeedUnit = "cm/s";

void FillList(CWnd* page, int nID, void (CKVRConfig::*fill)(CListBox*, BOOL) const, const CKVRConfig& config)
{
    CWnd* control = page->GetDlgItem(nID);
    if (!control) return;
    CListBox list;
    list.Attach(control->GetSafeHwnd());
    (config.*fill)(&list, FALSE);
    list.Detach();
}

} // namespace

// ------------------------------------------------------------------ page base

CKVRControlWizardPage::CKVRControlWizardPage(UINT nIDTemplate) : CWizardPage(nIDTemplate, IDB_SIDE_PICTURE) {}

CKVRControlWizard* CKVRControlWizardPage::GetWizard() const
{
    return dynamic_cast<CKVRControlWizard*>(GetSheet());
}

CKVRConfig* CKVRControlWizardPage::GetConfig() const
{
    CKVRControlWizard* wizard = GetWizard();
    return wizard ? wizard->GetConfig() : nullptr;
}

CKVRControlConfig* CKVRControlWizardPage::GetCase() const
{
    CKVRControlWizard* wizard = GetWizard();
    return wizard ? wizard->GetControlConfig() : nullptr;
}

BOOL CKVRControlWizardPage::OnInitDialog()
{
    if (const CKVRControlConfig* control = GetCase()) ReadCase(*control);
    return CWizardPage::OnInitDialog();
}

BOOL CKVRControlWizardPage::OnSetActive()
{
    if (!CWizardPage::OnSetActive()) return FALSE;
    SetWizardButtons(Buttons());
    return TRUE;
}

BOOL CKVRControlWizardPage::OnKillActive()
{
    if (!CWizardPage::OnKillActive()) return FALSE;
    if (CKVRControlConfig* control = GetCase()) WriteCase(*control);
    return TRUE;
}

void CKVRControlWizardPage::EnableItem(int nID, BOOL bEnable) const
{
    if (CWnd* item = GetDlgItem(nID)) item->EnableWindow(bEnable);
}

void CKVRControlWizardPage::EnableByUsage(int nID, BYTE usageBit) const
{
    const CKVRConfig* config = GetConfig();
    EnableItem(nID, config && (config->GetUsedFlags() & usageBit) != 0);
}

// The copy still holds an edited case as stored, and no new case at all.
void CKVRControlWizardPage::ShowCaseTable()
{
    if (const CKVRConfig* config = GetConfig()) {
        CKVRControlTableDialog table(config, this);
        table.DoModal();
    }
}

// ------------------------------------------------------------------ 164 name

CKVRControlNamePage::CKVRControlNamePage() : CKVRControlWizardPage(IDD) {}

void CKVRControlNamePage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, kMaxNameChars);
}

void CKVRControlNamePage::ReadCase(const CKVRControlConfig&)
{
    if (const CKVRControlWizard* wizard = GetWizard()) m_strName = wizard->GetName();
}

BOOL CKVRControlNamePage::OnSetActive()
{
    if (CKVRControlWizard* wizard = GetWizard()) wizard->ResetTitle();
    return CKVRControlWizardPage::OnSetActive();
}

BOOL CKVRControlNamePage::OnKillActive()
{
    if (!CKVRControlWizardPage::OnKillActive()) return FALSE;
    if (m_strName.IsEmpty()) {
        AfxMessageBox(IDP_NO_NAME, MB_OK);
        return FALSE;
    }
    const CKVRConfig* config = GetConfig();
    if (config && config->FindControlConfigByName(m_strName.c_str()) >= 0) {
        CString message;
        AfxFormatString1(message, IDP_NAME_IN_USE, m_strName.c_str());
        AfxMessageBox(message, MB_OK);
        return FALSE;
    }
    if (CKVRControlWizard* wizard = GetWizard()) wizard->SetName(m_strName);
    return TRUE;
}

// ------------------------------------------------------------------ 165 sensor and field pair

CKVRControlAssignWizardPage::CKVRControlAssignWizardPage() : CKVRControlWizardPage(IDD) {}

BOOL CKVRControlAssignWizardPage::OnInitDialog()
{
    if (const CKVRConfig* config = GetConfig()) {
        FillList(this, IDC_SENSORS, &CKVRConfig::FillSensorListBox, *config);
        FillList(this, IDC_FIELD_PAIRS, &CKVRConfig::FillShelterListBox, *config);
    }
    return CKVRControlWizardPage::OnInitDialog();
}

void CKVRControlAssignWizardPage::ReadCase(const CKVRControlConfig& control)
{
    const CKVRConfig* config = GetConfig();
    m_nSensor = control.GetSensorIndex();
    m_nFieldPair = control.GetShelterIndex();
    if (m_nSensor < 0 && config && config->GetSensorConfigCount() > 0) m_nSensor = 0;
    if (m_nFieldPair < 0 && config && config->GetShelterConfigCount() > 0) m_nFieldPair = 0;
}

void CKVRControlAssignWizardPage::WriteCase(CKVRControlConfig& control)
{
    control.SetSensorIndex(m_nSensor);
    control.SetShelterIndex(m_nFieldPair);
}

void CKVRControlAssignWizardPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    DDX_LBIndex(pDX, IDC_SENSORS, m_nSensor);
    DDX_LBIndex(pDX, IDC_FIELD_PAIRS, m_nFieldPair);
    if (pDX->m_bSaveAndValidate && (m_nSensor < 0 || m_nFieldPair < 0)) {
        AfxMessageBox(IDP_NOT_CHOSEN, MB_OK);
        pDX->Fail();
    }
}

BOOL CKVRControlAssignWizardPage::OnSetActive()
{
    if (CKVRControlWizard* wizard = GetWizard()) wizard->ResetTitle();
    return CKVRControlWizardPage::OnSetActive();
}

DWORD CKVRControlAssignWizardPage::Buttons() const
{
    return IsFirstPage() ? kButtonsNext : kButtonsBackNext;
}

// ------------------------------------------------------------------ 166 inputs

BEGIN_MESSAGE_MAP(CKVRControlInputsWizardPage, CKVRControlWizardPage)
    ON_BN_CLICKED(CKVRControlInputsWizardPage::IDC_TABLE, OnTable)
END_MESSAGE_MAP()

CKVRControlInputsWizardPage::CKVRControlInputsWizardPage() : CKVRControlWizardPage(IDD) {}

BOOL CKVRControlInputsWizardPage::OnInitDialog()
{
    CKVRControlWizardPage::OnInitDialog();
    for (int i = 0; i < 4; ++i) EnableByUsage(IDC_INPUT1 + i, BYTE(kUsesInput1 << i));
    return TRUE;
}

void CKVRControlInputsWizardPage::ReadCase(const CKVRControlConfig& control)
{
    for (int k = 1; k <= 4; ++k) m_nState[std::size_t(k - 1)] = control.GetInputState(k);
}

void CKVRControlInputsWizardPage::WriteCase(CKVRControlConfig& control)
{
    for (int k = 1; k <= 4; ++k) control.SetInputState(k, m_nState[std::size_t(k - 1)]);
}

void CKVRControlInputsWizardPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    for (int i = 0; i < 4; ++i) DDX_InputState(pDX, IDC_INPUT1 + i, m_nState[std::size_t(i)]);
}

void CKVRControlInputsWizardPage::OnTable()
{
    ShowCaseTable();
}

// ------------------------------------------------------------------ 167 inputs and speed

BEGIN_MESSAGE_MAP(CKVRControlSpeedWizardPage, CKVRControlWizardPage)
    ON_BN_CLICKED(CKVRControlSpeedWizardPage::IDC_USE_SPEED, OnUseSpeed)
    ON_BN_CLICKED(CKVRControlSpeedWizardPage::IDC_TABLE, OnTable)
END_MESSAGE_MAP()

CKVRControlSpeedWizardPage::CKVRControlSpeedWizardPage() : CKVRControlWizardPage(IDD) {}

BOOL CKVRControlSpeedWizardPage::OnInitDialog()
{
    CKVRControlWizardPage::OnInitDialog();
    for (int i = 0; i < 2; ++i) EnableByUsage(IDC_INPUT1 + i, BYTE(kUsesInput1 << i));
    OnUseSpeed();
    return TRUE;
}

void CKVRControlSpeedWizardPage::ReadCase(const CKVRControlConfig& control)
{
    for (int k = 1; k <= 2; ++k) m_nState[std::size_t(k - 1)] = control.GetInputState(k);
    m_nUseSpeed = control.GetSpeed().IsSet() ? 1 : 0;
    m_nLow = control.GetSpeed().GetLow();
    m_nHigh = control.GetSpeed().GetHigh();
}

// Without speed the case gets the range (0, 0), whatever the edits hold.
void CKVRControlSpeedWizardPage::WriteCase(CKVRControlConfig& control)
{
    for (int k = 1; k <= 2; ++k) control.SetInputState(k, m_nState[std::size_t(k - 1)]);
    control.SetSpeed(m_nUseSpeed ? CSpeed(m_nLow, m_nHigh) : CSpeed(0, 0));
}

void CKVRControlSpeedWizardPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    for (int i = 0; i < 2; ++i) DDX_InputState(pDX, IDC_INPUT1 + i, m_nState[std::size_t(i)]);
    DDX_Check(pDX, IDC_USE_SPEED, m_nUseSpeed);
    if (pDX->m_bSaveAndValidate && !m_nUseSpeed) return;
    const CKVRConfig* config = GetConfig();
    const int lowest = config ? config->GetMinSpeed() : 10;
    const int highest = config ? config->GetMaxSpeed() : 10;
    DDX_TextWithUnit(pDX, IDC_LOW, m_nLow, kSpeedUnit);
    DDV_MinMaxTwoRanges(pDX, m_nLow, -highest, -lowest, lowest, highest, kSpeedUnit);
    DDX_TextWithUnit(pDX, IDC_HIGH, m_nHigh, kSpeedUnit);
    DDV_MinMaxTwoRanges(pDX, m_nHigh, -highest, -lowest, lowest, highest, kSpeedUnit);
    if (pDX->m_bSaveAndValidate) DDV_MinMaxWithUnit(pDX, m_nHigh, m_nLow + 1, highest, kSpeedUnit);
}

void CKVRControlSpeedWizardPage::OnUseSpeed()
{
    const BOOL used = IsDlgButtonChecked(IDC_USE_SPEED) == BST_CHECKED;
    EnableItem(IDC_LOW, used);
    EnableItem(IDC_HIGH, used);
}

void CKVRControlSpeedWizardPage::OnTable()
{
    if (!UpdateData(TRUE)) return;
    if (CKVRControlConfig* control = GetCase()) WriteCase(*control);
    ShowCaseTable();
}

// ------------------------------------------------------------------ 168 option

CKVRControlOptionWizardPage::CKVRControlOptionWizardPage() : CKVRControlWizardPage(IDD) {}

BOOL CKVRControlOptionWizardPage::OnInitDialog()
{
    CKVRControlWizardPage::OnInitDialog();
    EnableByUsage(IDC_OPTION_A, kUsesOssdA);
    EnableByUsage(IDC_OPTION_B, kUsesOssdB);
    return TRUE;
}

// The case's own option first, else the first option the configuration uses, else A.
void CKVRControlOptionWizardPage::ReadCase(const CKVRControlConfig& control)
{
    const BYTE used = GetConfig() ? GetConfig()->GetUsedFlags() : 0;
    if (control.GetOutputA())
        m_nChoice = 0;
    else if (control.GetOutputB())
        m_nChoice = 1;
    else if (used & kUsesOssdA)
        m_nChoice = 0;
    else
        m_nChoice = (used & kUsesOssdB) ? 1 : 0;
}

void CKVRControlOptionWizardPage::WriteCase(CKVRControlConfig& control)
{
    control.SetOutputA(m_nChoice == 0 ? 1 : 0);
    control.SetOutputB(m_nChoice == 1 ? 1 : 0);
}

void CKVRControlOptionWizardPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OPTION_A, m_nChoice);
}

// ------------------------------------------------------------------ 169 following cases

BEGIN_MESSAGE_MAP(CKVRControlFollowWizardPage, CKVRControlWizardPage)
    ON_BN_CLICKED(CKVRControlFollowWizardPage::IDC_NONE, OnCount)
    ON_BN_CLICKED(CKVRControlFollowWizardPage::IDC_ONE, OnCount)
    ON_BN_CLICKED(CKVRControlFollowWizardPage::IDC_TWO, OnCount)
END_MESSAGE_MAP()

CKVRControlFollowWizardPage::CKVRControlFollowWizardPage() : CKVRControlWizardPage(IDD) {}

BOOL CKVRControlFollowWizardPage::OnInitDialog()
{
    CKVRControlWizardPage::OnInitDialog();
    FillCombo(m_first, m_nFirst);
    FillCombo(m_second, m_nSecond);
    EnableCombos();
    return TRUE;
}

void CKVRControlFollowWizardPage::ReadCase(const CKVRControlConfig& control)
{
    m_nCount = control.GetFollowCount();
    m_nFirst = control.GetFollow1();
    m_nSecond = control.GetFollow2();
}

void CKVRControlFollowWizardPage::WriteCase(CKVRControlConfig& control)
{
    control.SetFollowCount(m_nCount);
    control.SetFollow1(m_nFirst);
    control.SetFollow2(m_nSecond);
}

// All fifteen case numbers but the case's own, whether or not such cases exist yet.
void CKVRControlFollowWizardPage::FillCombo(CComboBox& combo, int selected) const
{
    const int own = GetWizard() ? GetWizard()->GetCaseIndex() : -1;
    combo.ResetContent();
    for (int index = 0; index < kCaseNumbers; ++index) {
        if (index == own) continue;
        CString number;
        number.Format("%d", index + 1);
        const int item = combo.AddString(number);
        combo.SetItemData(item, DWORD_PTR(index));
        if (index == selected) combo.SetCurSel(item);
    }
}

// A list that gets enabled shows a case at once; a disabled one shows none.
void CKVRControlFollowWizardPage::EnableCombos()
{
    const int checked = GetCheckedRadioButton(IDC_NONE, IDC_TWO);
    const BOOL first = checked == IDC_ONE || checked == IDC_TWO;
    const BOOL second = checked == IDC_TWO;
    for (const auto& [combo, enabled] : {std::pair{&m_first, first}, std::pair{&m_second, second}}) {
        if (!enabled)
            combo->SetCurSel(-1);
        else if (combo->GetCurSel() < 0)
            combo->SetCurSel(0);
        combo->EnableWindow(enabled);
    }
}

void CKVRControlFollowWizardPage::OnCount()
{
    EnableCombos();
}

void CKVRControlFollowWizardPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIRST, m_first);
    DDX_Control(pDX, IDC_SECOND, m_second);
    DDX_Radio(pDX, IDC_NONE, m_nCount);
    if (!pDX->m_bSaveAndValidate) return;
    const auto chosen = [](const CComboBox& combo) {
        const int item = combo.GetCurSel();
        return item < 0 ? -1 : int(combo.GetItemData(item));
    };
    m_nFirst = m_nCount >= 1 ? chosen(m_first) : -1;
    m_nSecond = m_nCount == 2 ? chosen(m_second) : -1;
}

// ------------------------------------------------------------------ 170 scans

BEGIN_MESSAGE_MAP(CKVRControlScansWizardPage, CKVRControlWizardPage)
    ON_EN_CHANGE(CKVRControlScansWizardPage::IDC_SCANS, OnScansChanged)
END_MESSAGE_MAP()

CKVRControlScansWizardPage::CKVRControlScansWizardPage() : CKVRControlWizardPage(IDD) {}

void CKVRControlScansWizardPage::ReadCase(const CKVRControlConfig& control)
{
    m_byScans = control.GetScanCount();
}

void CKVRControlScansWizardPage::WriteCase(CKVRControlConfig& control)
{
    control.SetScanCount(m_byScans);
}

void CKVRControlScansWizardPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRControlWizardPage::DoDataExchange(pDX);
    const CKVRConfig* config = GetConfig();
    const BYTE fewest = config ? config->GetSensorType().GetMinScanCount() : 2;
    const BYTE most = config ? config->GetSensorType().GetMaxScanCount() : 16;
    DDX_TextWithUnit(pDX, IDC_SCANS, m_byScans, "");
    DDV_MinMaxByte(pDX, m_byScans, fewest, most);
}

// The case may have changed since the page was last shown.
BOOL CKVRControlScansWizardPage::OnSetActive()
{
    if (!m_bFirstSetActive) {
        if (const CKVRControlConfig* control = GetCase()) ReadCase(*control);
    }
    if (!CKVRControlWizardPage::OnSetActive()) return FALSE;
    const CKVRConfig* config = GetConfig();
    EnableItem(IDC_SCANS,
               config && config->GetSensorType().GetMinScanCount() != config->GetSensorType().GetMaxScanCount());
    OnScansChanged();
    return TRUE;
}

void CKVRControlScansWizardPage::OnScansChanged()
{
    CString typed;
    GetDlgItemText(IDC_SCANS, typed);
    const long scans = std::clamp(std::strtol(typed.c_str(), nullptr, 10), 0L, 255L);
    CString time;
    time.Format("%ld", long(KVRResponseTime(BYTE(scans))));
    CString line;
    AfxFormatString1(line, IDS_RESPONSE_TIME, time.c_str());
    SetDlgItemText(IDC_RESPONSE_TIME, line);
}

// ------------------------------------------------------------------ 171 end

CKVRControlFinishPage::CKVRControlFinishPage() : CKVRControlWizardPage(IDD) {}

BOOL CKVRControlFinishPage::OnSetActive()
{
    if (!CKVRControlWizardPage::OnSetActive()) return FALSE;
    SetFinishText("OK");
    return TRUE;
}
