#include "dialogs/CKVRShelterListPage.h"

#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/KVREntryWizards.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRShelterListPage, CKVRListPage)

namespace {

constexpr UINT IDD_KVR_SHELTERS = 133;
constexpr int kMaxShelters = 8;
constexpr UINT IDS_SHELTER_STEM = 1181;
constexpr UINT IDP_SHELTER_USED = 453;
constexpr UINT IDP_DELETE_SHELTER = 458;
constexpr int kProtectiveKind = 1;
constexpr int kWarningKind = 2;

} // namespace

CKVRShelterListPage::CKVRShelterListPage() : CKVRListPage(IDD_KVR_SHELTERS, kMaxShelters) {}

int CKVRShelterListPage::GetEntryCount() const
{
    return GetConfig()->GetShelterConfigCount();
}

void CKVRShelterListPage::FillList()
{
    GetConfig()->FillShelterListBox(&m_list, TRUE);
}

int CKVRShelterListPage::FindEntry(const CString& name) const
{
    return GetConfig()->FindShelterConfig(name);
}

void CKVRShelterListPage::RenameEntry(int n, const CString& name)
{
    GetConfig()->RenameShelterConfig(n, name);
}

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
    if (!wizards->RunShelterWizard(this, config->GetSensorType(), names, DefaultName(IDS_SHELTER_STEM), name,
                                   protective, warning))
        return;
    if (!protective || !warning) return;
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(kProtectiveKind, std::move(protective));
    pair->SetShelter(kWarningKind, std::move(warning));
    config->AddShelterConfig(name, std::move(pair));
    Refresh(config->GetShelterConfigCount() - 1);
}

void CKVRShelterListPage::DeleteEntry(int n)
{
    CKVRConfig* config = GetConfig();
    const CString name = config->GetShelterConfigName(n);
    if (config->IsShelterConfigUsed(n)) {
        ShowRefusal(IDP_SHELTER_USED, name);
        return;
    }
    if (!ConfirmDeletion(IDP_DELETE_SHELTER, name)) return;
    config->RemoveShelterConfig(n);
    Refresh(0);
}
