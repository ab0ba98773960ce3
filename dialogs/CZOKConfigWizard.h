#pragma once
// The ZOK configuration wizard: the guided alternative to the ZOK configuration sheet.
// It works on its own configuration, a copy of the given one or a default one, and
// hands it to the caller on Finish; any other end deletes it. A new configuration also
// gets its sensor type and both fields in the wizard; an edited one keeps them (apart
// from the variant adjustments).
#include "framework/ui/CPropertySheet.h"
#include "model/CZOKConfig.h"

#include <memory>

class CZOKConfigWizard : public CPropertySheet {
    DECLARE_DYNAMIC(CZOKConfigWizard)
public:
    CZOKConfigWizard(UINT nIDCaption, CWnd* pParentWnd);

    // Runs the pages on a copy of the configuration, or on a default one for none; the
    // configuration on Finish, else null.
    std::unique_ptr<CZOKConfig> RunWizard(const CZOKConfig* pConfig);

    // The configuration being built, null outside a run.
    CZOKConfig* GetConfig() const { return m_pConfig.get(); }
    BOOL IsNew() const { return m_bNew; }
    // Sets the window title back to the wizard's caption.
    void ResetTitle();

private:
    UINT m_nIDCaption;
    BOOL m_bNew = TRUE;
    std::unique_ptr<CZOKConfig> m_pConfig;
};

// A new configuration; caption 1188.
class CNewZOKConfigWizard : public CZOKConfigWizard {
public:
    static constexpr UINT IDS_CAPTION = 1188;
    explicit CNewZOKConfigWizard(CWnd* pParentWnd = nullptr) : CZOKConfigWizard(IDS_CAPTION, pParentWnd) {}
    std::unique_ptr<CZOKConfig> Run() { return RunWizard(nullptr); }
};

// Changes a configuration; caption 1190. The caller's configuration is not touched.
class CEditZOKConfigWizard : public CZOKConfigWizard {
public:
    static constexpr UINT IDS_CAPTION = 1190;
    explicit CEditZOKConfigWizard(CWnd* pParentWnd = nullptr) : CZOKConfigWizard(IDS_CAPTION, pParentWnd) {}
    std::unique_ptr<CZOKConfig> Run(const CZOKConfig& config) { return RunWizard(&config); }
};
