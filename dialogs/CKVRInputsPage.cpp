#include "dialogs/CKVRInputsPage.h"

#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "model/CKVRConfig.h"

#include <array>
#include <utility>

IMPLEMENT_DYNAMIC(CKVRInputsPage, CKVRConfigPage)

namespace {

constexpr UINT IDD_KVR_INPUTS = 135;
constexpr std::array<int, 4> IDC_INPUT = KVRInputsChoice::IDC_INPUTS;
constexpr int IDC_SPEED = 2176;
constexpr int IDC_SPEED_SECOND = 2102;
constexpr int IDC_OPTION_A = KVRInputsChoice::IDC_OPTION_A;
constexpr int IDC_OPTION_B = KVRInputsChoice::IDC_OPTION_B;
constexpr int IDC_EXTRA_A = KVRInputsChoice::IDC_EXTRA_A;
constexpr int IDC_EXTRA_B = KVRInputsChoice::IDC_EXTRA_B;
constexpr int IDC_PICTURE = 2066;
constexpr UINT IDB_INPUTS_PICTURE = 82;
constexpr std::pair<int, int> kOptionExtras[] = {{IDC_OPTION_A, IDC_EXTRA_A}, {IDC_OPTION_B, IDC_EXTRA_B}};

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
    m_choice.Exchange(pDX, IDC_SPEED);
    // Both speed checks show the one speed bit.
    DDX_Check(pDX, IDC_SPEED_SECOND, m_choice.speed);
}

BOOL CKVRInputsPage::OnInitDialog()
{
    CKVRConfigPage::OnInitDialog();
    if (m_picture.LoadBitmap(IDB_INPUTS_PICTURE)) m_picture.SizeToContent();
    return TRUE;
}

void CKVRInputsPage::DisableUsedItems(const CKVRConfig& config)
{
    const KVRInputsInUse inUse = KVRInputsInUse::Of(config);
    for (std::size_t i = 0; i < IDC_INPUT.size(); ++i) {
        if (inUse.input[i]) EnableControl(IDC_INPUT[i], FALSE);
    }
    if (inUse.speed) {
        EnableControl(IDC_SPEED, FALSE);
        EnableControl(IDC_SPEED_SECOND, FALSE);
    }
    if (inUse.optionB) EnableControl(IDC_OPTION_B, FALSE);
}

BOOL CKVRInputsPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    m_choice = KVRInputsChoice::TakeFrom(*config);
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
    for (const auto& [option, extra] : kOptionExtras) EnableControl(extra, IsDlgButtonChecked(option) == BST_CHECKED);
}

void CKVRInputsPage::OnOptionClicked()
{
    // An option switched off takes its extra with it.
    for (const auto& [option, extra] : kOptionExtras) {
        if (IsDlgButtonChecked(option) != BST_CHECKED) CheckDlgButton(extra, BST_UNCHECKED);
    }
    EnableExtras();
}

BOOL CKVRInputsPage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    // Speed measurement is what check 2176 shows; 2102 only mirrors it.
    m_choice.speed = IsDlgButtonChecked(IDC_SPEED) == BST_CHECKED;
    if (!m_choice.Accept()) return FALSE;
    if (CKVRConfig* config = GetConfig()) m_choice.StoreInto(*config);
    return TRUE;
}
