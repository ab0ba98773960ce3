#include "dialogs/CKVRConfigWizard.h"

#include "dialogs/CKVRConfigWizardPage.h"
#include "framework/core/CException.h"
#include "model/CKVRConfig.h"

IMPLEMENT_DYNAMIC(CKVRConfigWizard, CPropertySheet)

CKVRConfigWizard::CKVRConfigWizard(UINT nIDCaption, CWnd* pParentWnd, KVRWizardHelpers* pHelpers)
    : CPropertySheet(nIDCaption, pParentWnd), m_nIDCaption(nIDCaption), m_pHelpers(pHelpers)
{
}

CKVRConfigWizard::~CKVRConfigWizard() = default;

void CKVRConfigWizard::ResetTitle()
{
    CString caption;
    caption.LoadString(m_nIDCaption);
    SetTitle(caption);
}

BOOL CKVRConfigWizard::SkipPage(int nPage) const
{
    const int speedPage = m_bNew ? 4 : 3;
    return nPage == speedPage && m_pConfig && (m_pConfig->GetUsedFlags() & kUsesSpeed) == 0;
}

std::unique_ptr<CKVRConfig> CKVRConfigWizard::RunWizard(const CKVRConfig* pConfig)
{
    m_bNew = pConfig == nullptr;

    CKVRConfigSensorTypePage typePage;
    CKVRConfigOptionValuePage optionPage;
    CKVRConfigVariantPage variantPage;
    CKVRConfigInputsPage inputsPage;
    CKVRConfigSpeedPage speedPage;
    CKVRConfigRestartPage restartPage;
    CKVRConfigSensorListPage sensorPage;
    CKVRConfigShelterListPage shelterPage;
    CKVRConfigControlListPage controlPage;
    CKVRConfigFinishPage finishPage;
    if (m_bNew) AddPage(&typePage);
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&optionPage), static_cast<CPropertyPage*>(&variantPage),
                                static_cast<CPropertyPage*>(&inputsPage), static_cast<CPropertyPage*>(&speedPage),
                                static_cast<CPropertyPage*>(&restartPage), static_cast<CPropertyPage*>(&sensorPage),
                                static_cast<CPropertyPage*>(&shelterPage), static_cast<CPropertyPage*>(&controlPage),
                                static_cast<CPropertyPage*>(&finishPage)})
        AddPage(page);

    try {
        m_pConfig = pConfig ? std::make_unique<CKVRConfig>(*pConfig) : std::make_unique<CKVRConfig>();
        SetWizardMode();
        const INT_PTR result = DoModal();
        if (result != ID_WIZFINISH) m_pConfig.reset();
    } catch (CException&) {
        // The run ends quietly; the caller keeps its own configuration.
        m_pConfig.reset();
    }
    // The pages die with this call; the sheet must not keep them.
    while (GetPageCount() > 0) RemovePage(0);
    return std::move(m_pConfig);
}
