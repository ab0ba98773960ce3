#include "dialogs/CKVRControlListPage.h"

#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/CKVRControlSheet.h"
#include "dialogs/CKVRControlTableDialog.h"
#include "dialogs/KVREntryWizards.h"
#include "framework/ui/MessageBox.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRControlListPage, CKVRListPage)

namespace {

constexpr UINT IDD_KVR_CONTROLS = 134;
constexpr int IDC_CONTROL_EDIT = 2062;
constexpr int IDC_CONTROL_TABLE = 2177;
constexpr int IDC_CONTROL_TEST = 2181;
constexpr UINT IDP_CONTROLS_PASSED = 466;

} // namespace

BEGIN_MESSAGE_MAP(CKVRControlListPage, CKVRListPage)
    ON_BN_CLICKED(IDC_CONTROL_EDIT, OnEdit)
    ON_BN_CLICKED(IDC_CONTROL_TABLE, OnTable)
    ON_BN_CLICKED(IDC_CONTROL_TEST, OnTest)
END_MESSAGE_MAP()

CKVRControlListPage::CKVRControlListPage() : CKVRListPage(IDD_KVR_CONTROLS, kKVRControlList) {}

void CKVRControlListPage::EnableButtons(int count)
{
    CKVRListPage::EnableButtons(count);
    EnableControl(IDC_CONTROL_EDIT, count > 0);
}

void CKVRControlListPage::AddEntry()
{
    KVREntryWizards* wizards = GetSheet()->GetEntryWizards();
    if (!wizards) return;
    CKVRConfig* config = GetConfig();
    CString name;
    std::unique_ptr<CKVRControlConfig> control;
    if (!wizards->RunControlWizard(this, *config, name, control) || !control) return;
    config->AddControlConfig(name, std::make_unique<CKVRControlConfig>(*control));
    RefreshAfterAdd();
}

// The case sheet edits a copy of the whole configuration; OK takes the copy back.
void CKVRControlListPage::OnEdit()
{
    const int n = Selected();
    CKVRConfig* config = GetConfig();
    if (n == LB_ERR || !config) return;
    CKVRControlSheet sheet(this);
    sheet.m_config = *config;
    sheet.m_nCaseIndex = n;
    if (sheet.DoModal() != IDOK) return;
    *config = sheet.m_config;
    Refresh(n);
}

void CKVRControlListPage::OnListDoubleClick()
{
    OnEdit();
}

void CKVRControlListPage::OnTable()
{
    if (const CKVRConfig* config = GetConfig()) {
        CKVRControlTableDialog table(config, this);
        table.DoModal();
    }
}

void CKVRControlListPage::OnTest()
{
    const CKVRConfig* config = GetConfig();
    if (config && CKVRConfig::CheckControlConfigs(*config, TRUE)) AfxMessageBox(IDP_CONTROLS_PASSED, MB_OK);
}

BOOL CKVRControlListPage::OnKillActive()
{
    if (!CKVRListPage::OnKillActive()) return FALSE;
    const CKVRConfig* config = GetConfig();
    return !config || CKVRConfig::Check(*config, TRUE);
}
