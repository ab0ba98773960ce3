#include "dialogs/CZOKConfigSheet.h"

#include "dialogs/CZOKConfigPage.h"
#include "framework/core/CException.h"
#include "framework/ui/ControlDefs.h"

IMPLEMENT_DYNCREATE(CZOKConfigSheet, CPropertySheet)

namespace {
constexpr UINT IDS_ZOK_CONFIG_CAPTION = 1174;
} // namespace

CZOKConfigSheet::CZOKConfigSheet(CWnd* pParentWnd) : CPropertySheet(IDS_ZOK_CONFIG_CAPTION, pParentWnd) {}

std::unique_ptr<CZOKConfig> CZOKConfigSheet::Edit(const CZOKConfig* pConfig)
{
    CZOKNamesPage namesPage;
    CZOKOptionValuePage optionPage;
    CZOKScansPage scansPage;
    CZOKRestartPage restartPage;
    CZOKVariantPage variantPage;
    CZOKChoicePage choicePage;
    CPropertyPage* const pages[] = {&namesPage, &optionPage, &scansPage, &restartPage, &variantPage, &choicePage};

    INT_PTR result = IDCANCEL;
    try {
        m_pConfig = pConfig ? std::make_unique<CZOKConfig>(*pConfig) : std::make_unique<CZOKConfig>();
        for (CPropertyPage* page : pages) AddPage(page);
        result = DoModal();
    } catch (const CException&) {
        result = IDCANCEL;
    }

    // The pages end with this call; the sheet must not keep them. The shown page goes
    // last, so that removing it never has another page shown in its place.
    CPropertyPage* shown = GetActivePage();
    for (CPropertyPage* page : pages)
        if (page != shown && GetPageIndex(page) >= 0) RemovePage(page);
    if (shown) RemovePage(shown);

    std::unique_ptr<CZOKConfig> edited = std::move(m_pConfig);
    if (result != IDOK) edited.reset();
    return edited;
}
