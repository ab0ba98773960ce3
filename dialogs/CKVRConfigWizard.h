#pragma once
// Leads the user through a whole KVR configuration page by page. It works on its own
// copy and hands that copy to the caller on Finish; Cancel hands back nothing.
#include "framework/ui/CPropertySheet.h"

#include <memory>

class CKVRConfig;
class KVRWizardHelpers;

class CKVRConfigWizard : public CPropertySheet {
    DECLARE_DYNAMIC(CKVRConfigWizard)
public:
    CKVRConfigWizard(UINT nIDCaption, CWnd* pParentWnd, KVRWizardHelpers* pHelpers);
    ~CKVRConfigWizard() override;

    // Without a configuration a new one is made (and the sensor-type page shown first);
    // with one, a copy is edited. The result on Finish, else null.
    std::unique_ptr<CKVRConfig> RunWizard(const CKVRConfig* pConfig);

    // True for the speed page while the configuration does not use speed.
    virtual BOOL SkipPage(int nPage) const;

    CKVRConfig* GetConfig() const { return m_pConfig.get(); }
    BOOL IsNew() const { return m_bNew; }
    KVRWizardHelpers* GetHelpers() const { return m_pHelpers; }
    // Resets the sheet's title to the wizard's caption.
    void ResetTitle();

private:
    std::unique_ptr<CKVRConfig> m_pConfig;
    BOOL m_bNew = FALSE;
    UINT m_nIDCaption;
    KVRWizardHelpers* m_pHelpers;
};

class CNewKVRConfigWizard : public CKVRConfigWizard {
public:
    static constexpr UINT IDS_CAPTION = 1189;
    explicit CNewKVRConfigWizard(CWnd* pParentWnd = nullptr, KVRWizardHelpers* pHelpers = nullptr)
        : CKVRConfigWizard(IDS_CAPTION, pParentWnd, pHelpers) {}
    std::unique_ptr<CKVRConfig> Run() { return RunWizard(nullptr); }
};

class CEditKVRConfigWizard : public CKVRConfigWizard {
public:
    static constexpr UINT IDS_CAPTION = 1191;
    explicit CEditKVRConfigWizard(CWnd* pParentWnd = nullptr, KVRWizardHelpers* pHelpers = nullptr)
        : CKVRConfigWizard(IDS_CAPTION, pParentWnd, pHelpers) {}
    std::unique_ptr<CKVRConfig> Run(const CKVRConfig& config) { return RunWizard(&config); }
};
