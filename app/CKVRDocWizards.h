#pragma once
// The dialogs the KVR configuration wizard and sheet open from their list pages: the field
// wizard for a new field pair, the monitoring-case wizard for a new or edited case, and
// the table of all cases. The KVR document hands one to each wizard and sheet it runs.
#include "dialogs/KVREntryWizards.h"
#include "dialogs/KVRWizardHelpers.h"

class CKVRDocWizards : public KVRWizardHelpers, public KVREntryWizards {
public:
    std::unique_ptr<CKVRShelterConfig> NewFieldPair(CWnd* pParent, const CKVRConfig& config,
                                                    const CString& proposedName, CString& name) override;
    std::unique_ptr<CKVRControlConfig> NewCase(CWnd* pParent, const CKVRConfig& config, CString& name) override;
    std::unique_ptr<CKVRControlConfig> EditCase(CWnd* pParent, const CKVRConfig& config, int index) override;
    void ShowCaseTable(CWnd* pParent, const CKVRConfig& config) override;

    BOOL RunShelterWizard(CWnd* pParent, const CSensorType& type, const std::vector<CString>& names,
                          const CString& defaultName, CString& name, std::unique_ptr<CShelter>& protective,
                          std::unique_ptr<CShelter>& warning) override;
    BOOL RunControlWizard(CWnd* pParent, const CKVRConfig& config, CString& name,
                          std::unique_ptr<CKVRControlConfig>& control) override;
};
