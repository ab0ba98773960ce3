#include "app/CKVRDocWizards.h"

#include "dialogs/CKVRControlTableDialog.h"
#include "dialogs/CKVRControlWizard.h"
#include "dialogs/CShelterWizard.h"
#include "model/CKVRConfig.h"

std::unique_ptr<CKVRShelterConfig> CKVRDocWizards::NewFieldPair(CWnd* pParent, const CKVRConfig& config,
                                                                const CString& proposedName, CString& name)
{
    std::vector<CString> names;
    for (int i = 0; i < config.GetShelterConfigCount(); ++i)
        names.push_back(config.GetShelterConfigName(i));
    std::unique_ptr<CShelter> protective;
    std::unique_ptr<CShelter> warning;
    if (!RunShelterWizard(pParent, config.GetSensorType(), names, proposedName, name, protective, warning))
        return nullptr;
    auto pair = std::make_unique<CKVRShelterConfig>();
    pair->SetShelter(kProtectiveField, std::move(protective));
    pair->SetShelter(kWarningField, std::move(warning));
    return pair;
}

std::unique_ptr<CKVRControlConfig> CKVRDocWizards::NewCase(CWnd* pParent, const CKVRConfig& config, CString& name)
{
    return RunNewKVRControlWizard(pParent, config, name);
}

std::unique_ptr<CKVRControlConfig> CKVRDocWizards::EditCase(CWnd* pParent, const CKVRConfig& config, int index)
{
    return RunEditKVRControlWizard(pParent, config, index);
}

void CKVRDocWizards::ShowCaseTable(CWnd* pParent, const CKVRConfig& config)
{
    CKVRControlTableDialog table(&config, pParent);
    table.DoModal();
}

BOOL CKVRDocWizards::RunShelterWizard(CWnd* pParent, const CSensorType& type, const std::vector<CString>& names,
                                      const CString& defaultName, CString& name,
                                      std::unique_ptr<CShelter>& protective, std::unique_ptr<CShelter>& warning)
{
    return CShelterWizard::RunForNewPair(pParent, type, names, defaultName, name, protective, warning);
}

BOOL CKVRDocWizards::RunControlWizard(CWnd* pParent, const CKVRConfig& config, CString& name,
                                      std::unique_ptr<CKVRControlConfig>& control)
{
    control = RunNewKVRControlWizard(pParent, config, name);
    return control != nullptr;
}
