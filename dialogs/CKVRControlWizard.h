#pragma once
// Leads the user through one monitoring case of a KVR configuration: its name (new cases
// only), sensor and field pair, input states (or inputs 1 and 2 with a speed range), the
// option, the following cases and the number of scans. It works on its own copy of the
// configuration; after a run that returned true the caller copies the built case and its
// name before the wizard goes.
#include "framework/core/CString.h"
#include "framework/ui/CPropertySheet.h"

#include <memory>

class CKVRConfig;
class CKVRControlConfig;

class CKVRControlWizard : public CPropertySheet {
    DECLARE_DYNAMIC(CKVRControlWizard)
public:
    CKVRControlWizard(UINT nIDCaption, CWnd* pParentWnd);
    ~CKVRControlWizard() override;

    // Builds a new case (bNew) or edits case nIndex of the configuration; true when the
    // wizard ended with Finish and a case is held.
    BOOL RunWizard(const CKVRConfig& config, int nIndex, BOOL bNew);

    // The built case, still the wizard's; null after a cancelled run.
    CKVRControlConfig* GetControlConfig() const { return m_pControl.get(); }
    CString GetName() const { return m_strName; }

    // For the pages.
    CKVRConfig* GetConfig() const { return m_pConfig.get(); }
    int GetCaseIndex() const { return m_nCaseIndex; }
    void SetName(const CString& name) { m_strName = name; }
    // Resets the sheet's title to the wizard's caption.
    void ResetTitle();

private:
    std::unique_ptr<CKVRConfig> m_pConfig;
    int m_nCaseIndex = -1;
    CString m_strName;
    std::unique_ptr<CKVRControlConfig> m_pControl;
    UINT m_nIDCaption;
};

class CNewKVRControlWizard : public CKVRControlWizard {
public:
    static constexpr UINT IDS_CAPTION = 942;
    explicit CNewKVRControlWizard(CWnd* pParentWnd = nullptr) : CKVRControlWizard(IDS_CAPTION, pParentWnd) {}
    BOOL Run(const CKVRConfig& config) { return RunWizard(config, -1, TRUE); }
};

class CEditKVRControlWizard : public CKVRControlWizard {
public:
    static constexpr UINT IDS_CAPTION = 943;
    explicit CEditKVRControlWizard(CWnd* pParentWnd = nullptr) : CKVRControlWizard(IDS_CAPTION, pParentWnd) {}
    BOOL Run(const CKVRConfig& config, int nIndex) { return RunWizard(config, nIndex, FALSE); }
};

// The runs the case lists of the configuration sheet and wizard ask for: a copy of the
// new case and its name, or of the edited case; null when the user cancelled.
std::unique_ptr<CKVRControlConfig> RunNewKVRControlWizard(CWnd* pParent, const CKVRConfig& config, CString& name);
std::unique_ptr<CKVRControlConfig> RunEditKVRControlWizard(CWnd* pParent, const CKVRConfig& config, int nIndex);
