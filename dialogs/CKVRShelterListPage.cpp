#include "dialogs/CKVRShelterListPage.h"

#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/KVREntryWizards.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRShelterListPage, CKVRListPage)

namespace {

constexpr UINT IDD_KVR_SHELTERS = 133;
constexpr int kProtectiveKind = 1;
constexpr int kWarningKind = 2;

} // namespace

CKVRShelterListPage::CKVRShelterListPage() : CKVRListPage(IDD_KVR_SHELTERS, kKVRShelterList) {}

// A pair is added only when the wizard made both of its fields.
void CKVRShelterListPage::AddEntry()
{
    KVREntryWizards* wizards = GetSheet()->GetEntryWizards();
    if (!wizards) return;
    CKVRConfig* config = GetConfig();
    std::vector<CString> names;
    for (int n = 0; n < config->GetShelterConfigCount(); ++n) names.push_back(config->GetShelterConfigName(n));
    CString name;
    std::unique_ptr<CShelter> protective;
    std::unique_ptr<CShelter> warning;
    if (!wizards->RunShelterWizard(this, config->GetSensorType(), names, DefaultName(), name,
                                   protective, warning))
        return;
    if (!protective || !warning) return;
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(kProtectiveKind, std::move(protective));
    pair->SetShelter(kWarningKind, std::move(warning));
    config->AddShelterConfig(name, std::move(pair));
    RefreshAfterAdd();
}
