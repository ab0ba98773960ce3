#include "dialogs/CKVRRestartPage.h"

#include "dialogs/controls/UnitDataExchange.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"
#include "model/CKVRConfig.h"

#include <tuple>

IMPLEMENT_DYNAMIC(CKVRRestartPage, CKVRConfigPage)

namespace {

constexpr UINT IDD_KVR_RESTART = 139;
// Each group: mode 0, mode 2, mode 1 (with delay), then the delay edit.
constexpr int IDC_RESTART_A_FIRST = 2194;
constexpr int IDC_RESTART_A_DELAYED = 2196;
constexpr int IDC_RESTART_A_DELAY = 2197;
constexpr int IDC_RESTART_B_FIRST = 2198;
constexpr int IDC_RESTART_B_DELAYED = 2200;
constexpr int IDC_RESTART_B_DELAY = 2201;
constexpr int IDC_RESTART_FLAG = 2193;

} // namespace

BEGIN_MESSAGE_MAP(CKVRRestartPage, CKVRConfigPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_RESTART_A_FIRST, IDC_RESTART_A_DELAYED, OnModeClicked)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_RESTART_B_FIRST, IDC_RESTART_B_DELAYED, OnModeClicked)
END_MESSAGE_MAP()

CKVRRestartPage::CKVRRestartPage() : CKVRConfigPage(IDD_KVR_RESTART) {}

void CKVRRestartPage::DoDataExchange(CDataExchange* pDX)
{
    CKVRConfigPage::DoDataExchange(pDX);
    DDX_ModeRadio(pDX, IDC_RESTART_A_FIRST, m_restartA);
    DDX_Delay(pDX, IDC_RESTART_A_DELAY, m_restartA);
    DDV_Delay(pDX, m_restartA);
    DDX_ModeRadio(pDX, IDC_RESTART_B_FIRST, m_restartB);
    DDX_Delay(pDX, IDC_RESTART_B_DELAY, m_restartB);
    DDV_Delay(pDX, m_restartB);
    DDX_Check(pDX, IDC_RESTART_FLAG, m_nRestartFlag);
}

BOOL CKVRRestartPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    const CKVRConfig* config = GetConfig();
    if (!config) return FALSE;
    m_restartA = config->GetModeDelay1();
    m_restartB = config->GetModeDelay2();
    m_nRestartFlag = config->GetOptionV4() == 1 ? 1 : 0;
    UpdateData(FALSE);
    EnableGroups();
    return TRUE;
}

void CKVRRestartPage::EnableGroups()
{
    const CKVRConfig* config = GetConfig();
    const BYTE flags = config ? config->GetUsedFlags() : 0;
    for (const auto& [first, delayed, delay, bit] :
         {std::tuple{IDC_RESTART_A_FIRST, IDC_RESTART_A_DELAYED, IDC_RESTART_A_DELAY, kUsesOssdA},
          std::tuple{IDC_RESTART_B_FIRST, IDC_RESTART_B_DELAYED, IDC_RESTART_B_DELAY, kUsesOssdB}}) {
        const BOOL used = (flags & bit) != 0;
        for (int id = first; id <= delayed; ++id) EnableControl(id, used);
        EnableControl(delay, used && IsDlgButtonChecked(delayed) == BST_CHECKED);
    }
}

void CKVRRestartPage::OnModeClicked(UINT)
{
    EnableGroups();
}

BOOL CKVRRestartPage::OnKillActive()
{
    if (!UpdateData(TRUE)) return FALSE;
    if (CKVRConfig* config = GetConfig()) {
        config->GetModeDelay1() = m_restartA;
        config->GetModeDelay2() = m_restartB;
        config->SetOptionV4(BYTE(m_nRestartFlag ? 1 : 0));
    }
    return TRUE;
}
