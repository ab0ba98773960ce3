#pragma once
// The dialogs that the KVR configuration wizard opens from its list pages but that live
// elsewhere: the field-pair wizard, the monitoring-case wizard and the case table. The
// caller of the wizard passes them in; without them those buttons do nothing.
#include "framework/core/CString.h"

#include <memory>

class CKVRConfig;
class CKVRControlConfig;
class CKVRShelterConfig;
class CWnd;

class KVRWizardHelpers {
public:
    virtual ~KVRWizardHelpers() = default;

    // A new field pair for the configuration, proposed under proposedName; null when the
    // user cancelled or the pair lacks one of its fields. name gets the chosen name.
    virtual std::unique_ptr<CKVRShelterConfig> NewFieldPair(CWnd* pParent, const CKVRConfig& config,
                                                            const CString& proposedName, CString& name) = 0;
    // A new monitoring case for the configuration and its name; null when cancelled.
    virtual std::unique_ptr<CKVRControlConfig> NewCase(CWnd* pParent, const CKVRConfig& config, CString& name) = 0;
    // Case index edited; null when cancelled.
    virtual std::unique_ptr<CKVRControlConfig> EditCase(CWnd* pParent, const CKVRConfig& config, int index) = 0;
    // The table of every case of the configuration.
    virtual void ShowCaseTable(CWnd* pParent, const CKVRConfig& config) = 0;
};
