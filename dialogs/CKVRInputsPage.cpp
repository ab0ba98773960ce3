#include "dialogs/CKVRInputsPage.h"

#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRInputsPage, CKVRConfigPage)

namespace {

constexpr UINT IDD_KVR_INPUTS = 135;
constexpr std::array<int, 4> IDC_INPUT = {2178, 2180, 2182, 2183};
constexpr int IDC_SPEED = 2176;
constexpr int IDC_SPEED_SECOND = 2102;
constexpr int IDC_OPTION_A = 2184;
constexpr int IDC_OPTION_B = 2185;
constexpr int IDC_EXTRA_A = 2073;
constexpr int IDC_EXTRA_B = 2074;
constexpr int IDC_PICTURE = 2066;
constexpr UINT IDB_INPUTS_PICTURE = 82;
constexpr UINT IDP_NO_OPTION = 460;
constexpr UINT IDP_NOTHING_TO_EVALUATE = 462;
constexpr UINT IDP_EXTRA_WITHOUT_OPTION = 465;
constexpr BYTE kInputBits = 0x0F;
constexpr BYTE kUsesInput3 = 0x04;
constexpr BYTE kUsesInput4 = 0x08;

} // namespace

BEGIN_MESSAGE_MAP(CKVRInputsPage, CKVRConfigPage)
    ON_BN_CLICKED(IDC_SPEED, OnSpeedClicked)
    ON_BN_CLICKED(IDC_SPEED_SECOND, OnSecondSpeedClicked)
    ON_BN_CLICKED(IDC_OPTION_A, OnOptionClicked)
    ON_BN_CLICKED(IDC_OPTION_B, OnOptionClicked)
END_MESSAGE_MAP()

CKVRInputsPage::CKVRInputsPage() : CKVRConfigPage(IDD_KVR_INPUTS) {}

void CKVRInputsPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PICTURE, m_picture);
    for (std::size_t i = 0; i < IDC_INPUT.size(); ++i) DDX_Check(pDX, IDC_INPUT[i], m_nInput[i]);
    // Both speed checks show the one speed bit.
    DDX_Check(pDX, IDC_SPEED, m_nSpeed);
    DDX_Check(pDX, IDC_SPEED_SECOND, m_nSpeed);
    DDX_Check(pDX, IDC_OPTION_A, m_nOptionA);
    DDX_Check(pDX, IDC_OPTION_B, m_nOptionB);
    DDX_Check(pDX, IDC_EXTRA_A, m_nExtraA);
    DDX_Check(pDX, IDC_EXTRA_B, m_nExtraB);
}

BOOL CKVRInputsPage::OnInitDialog()
{
    CKVRConfigPage::OnInitDialog();
    if (m_picture.LoadBitmap(IDB_INPUTS_PICTURE)) m_picture.SizeToContent();
    return TRUE;
}

void CKVRInputsPage::LoadFromConfig(CKVRConfig& config)
{
    // Option A is always used.
    config.SetUsedFlags(BYTE(config.GetUsedFlags() | kUsesOssdA));
    const BYTE flags = config.GetUsedFlags();
    for (std::size_t i = 0; i < m_nInput.size(); ++i) m_nInput[i] = (flags & (kUsesInput1 << i)) ? 1 : 0;
    m_nSpeed = (flags & kUsesSpeed) ? 1 : 0;
    m_nOptionA = 1;
    m_nOptionB = (flags & kUsesOssdB) ? 1 : 0;
    m_nExtraA = config.GetOssdA() ? 1 : 0;
    m_nExtraB = config.GetOssdB() ? 1 : 0;
}

void CKVRInputsPage::DisableUsedItems(const CKVRConfig& config)
{
    const BYTE used = config.GetUsedInputs().bits;
    for (std::size_t i = 0; i < IDC_INPUT.size(); ++i) {
        if (used & (kUsesInput1 << i)) EnableControl(IDC_INPUT[i], FALSE);
    }
    if (used & (kUsesSpeed | kUsesInput3 | kUsesInput4)) {
        EnableControl(IDC_SPEED, FALSE);
        EnableControl(IDC_SPEED_SECOND, FALSE);
    }
    if (used & kUsesOssdB) EnableControl(IDC_OPTION_B, FALSE);
}

BOOL CKVRInputsPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    LoadFromConfig(*config);
    UpdateData(FALSE);
    for (const int id : IDC_INPUT) EnableControl(id, TRUE);
    EnableControl(IDC_SPEED, TRUE);
    EnableControl(IDC_SPEED_SECOND, TRUE);
    EnableControl(IDC_OPTION_A, FALSE);
    EnableControl(IDC_OPTION_B, TRUE);
    DisableUsedItems(*config);
    ShowSpeedDependents();
    EnableExtras();
    return TRUE;
}

// Speed measurement takes inputs 3 and 4.
void CKVRInputsPage::SetSpeed(BOOL on)
{
    CheckDlgButton(IDC_SPEED, on ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SPEED_SECOND, on ? BST_CHECKED : BST_UNCHECKED);
    if (on) {
        CheckDlgButton(IDC_INPUT[2], BST_UNCHECKED);
        CheckDlgButton(IDC_INPUT[3], BST_UNCHECKED);
    }
    ShowSpeedDependents();
}

void CKVRInputsPage::ShowSpeedDependents()
{
    const BOOL speed = IsDlgButtonChecked(IDC_SPEED) == BST_CHECKED;
    ShowControl(IDC_SPEED_SECOND, speed);
    ShowControl(IDC_INPUT[2], !speed);
    ShowControl(IDC_INPUT[3], !speed);
}

void CKVRInputsPage::OnSpeedClicked()
{
    SetSpeed(IsDlgButtonChecked(IDC_SPEED) == BST_CHECKED);
}

void CKVRInputsPage::OnSecondSpeedClicked()
{
    SetSpeed(IsDlgButtonChecked(IDC_SPEED_SECOND) == BST_CHECKED);
}

void CKVRInputsPage::EnableExtras()
{
    for (const auto& [option, extra] : {std::pair{IDC_OPTION_A, IDC_EXTRA_A}, std::pair{IDC_OPTION_B, IDC_EXTRA_B}}) {
        const BOOL on = IsDlgButtonChecked(option) == BST_CHECKED;
        if (!on) CheckDlgButton(extra, BST_UNCHECKED);
        EnableControl(extra, on);
    }
}

void CKVRInputsPage::OnOptionClicked()
{
    EnableExtras();
}

BOOL CKVRInputsPage::IsComplete() const
{
    const BOOL anyInput = m_nInput[0] || m_nInput[1] || m_nInput[2] || m_nInput[3] || m_nSpeed;
    UINT refusal = 0;
    if (!anyInput)
        refusal = IDP_NOTHING_TO_EVALUATE;
    else if (!m_nOptionA && !m_nOptionB)
        refusal = IDP_NO_OPTION;
    else if ((m_nExtraA && !m_nOptionA) || (m_nExtraB && !m_nOptionB))
        refusal = IDP_EXTRA_WITHOUT_OPTION;
    if (refusal) AfxMessageBox(refusal, MB_OK);
    return refusal == 0;
}

BYTE CKVRInputsPage::FlagsToStore() const
{
    BYTE flags = 0;
    for (std::size_t i = 0; i < m_nInput.size(); ++i) {
        if (m_nInput[i]) flags |= BYTE(kUsesInput1 << i);
    }
    if (m_nSpeed) flags |= kUsesSpeed;
    if (m_nOptionA) flags |= kUsesOssdA;
    if (m_nOptionB) flags |= kUsesOssdB;
    return flags;
}

BOOL CKVRInputsPage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    // Speed measurement is what check 2176 shows; 2102 only mirrors it.
    m_nSpeed = IsDlgButtonChecked(IDC_SPEED) == BST_CHECKED;
    if (!IsComplete()) return FALSE;
    CKVRConfig* config = GetConfig();
    if (!config) return TRUE;
    const BYTE kept = config->GetUsedFlags() & BYTE(~(kInputBits | kUsesSpeed | kUsesOssdA | kUsesOssdB));
    config->SetUsedFlags(BYTE(kept | FlagsToStore()));
    config->SetOssdA(BYTE(m_nExtraA));
    config->SetOssdB(BYTE(m_nExtraB));
    return TRUE;
}
