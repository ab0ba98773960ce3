#pragma once
// The wizards that make new field pairs and monitoring cases for the list pages of the KVR
// configuration sheet. The application hands its implementation to the sheet; without one
// the pages add nothing.
#include "framework/core/CString.h"
#include "model/CKVRControlConfig.h"
#include "model/CShelter.h"

#include <memory>
#include <vector>

class CKVRConfig;
class CSensorType;
class CWnd;

class KVREntryWizards {
public:
    virtual ~KVREntryWizards() = default;

    // The field wizard for a new field pair of the type, told the existing pair names and
    // proposing defaultName. TRUE when it ended with Finish; name and the two fields (either
    // may stay null) are then the wizard's.
    virtual BOOL RunShelterWizard(CWnd* pParent, const CSensorType& type, const std::vector<CString>& names,
                                  const CString& defaultName, CString& name, std::unique_ptr<CShelter>& protective,
                                  std::unique_ptr<CShelter>& warning) = 0;

    // The case wizard for a new case of the configuration. TRUE when it succeeded; name and
    // control are then the new case's.
    virtual BOOL RunControlWizard(CWnd* pParent, const CKVRConfig& config, CString& name,
                                  std::unique_ptr<CKVRControlConfig>& control) = 0;
};
