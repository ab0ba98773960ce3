#include "dialogs/CZOKConfigWizard.h"

#include "dialogs/CZOKConfigWizardPage.h"
#include "framework/core/CException.h"

#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(CZOKConfigWizard, CPropertySheet)

CZOKConfigWizard::CZOKConfigWizard(UINT nIDCaption, CWnd* pParentWnd)
    : CPropertySheet(nIDCaption, pParentWnd), m_nIDCaption(nIDCaption)
{
}

void CZOKConfigWizard::ResetTitle()
{
    CString caption;
    caption.LoadString(m_nIDCaption);
    SetTitle(caption);
}

std::unique_ptr<CZOKConfig> CZOKConfigWizard::RunWizard(const CZOKConfig* pConfig)
{
    m_bNew = pConfig == nullptr;
    CZOKConfigSensorTypePage typePage;
    CZOKConfigNamesPage namesPage;
    CZOKConfigOptionValuePage optionPage;
    CZOKConfigRestartPage restartPage;
    CZOKConfigScansPage scansPage;
    CZOKConfigVariantPage variantPage;
    CZOKConfigChoicePage choicePage;
    CZOKConfigShelterPage shelterPage;
    CZOKConfigFinishPage finishPage;
    std::vector<CPropertyPage*> pages;
    if (m_bNew) pages.push_back(&typePage);
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&namesPage), static_cast<CPropertyPage*>(&optionPage),
                                static_cast<CPropertyPage*>(&restartPage), static_cast<CPropertyPage*>(&scansPage),
                                static_cast<CPropertyPage*>(&variantPage), static_cast<CPropertyPage*>(&choicePage)})
        pages.push_back(page);
    if (m_bNew) pages.push_back(&shelterPage);
    pages.push_back(&finishPage);
    for (CPropertyPage* page : pages) AddPage(page);

    INT_PTR result = IDCANCEL;
    try {
        m_pConfig = pConfig ? std::make_unique<CZOKConfig>(*pConfig) : std::make_unique<CZOKConfig>();
        SetWizardMode();
        result = CPropertySheet::DoModal();
    } catch (const CException&) {
        result = IDCANCEL;
    } catch (const std::bad_alloc&) {
        result = IDCANCEL;
    }
    // The pages live on this stack frame only.
    for (int i = GetPageCount() - 1; i >= 0; --i) RemovePage(i);
    std::unique_ptr<CZOKConfig> config = std::move(m_pConfig);
    if (result != ID_WIZFINISH) config.reset();
    return config;
}
