#include "dialogs/CTalisoSetupDialog.h"

#include "app/settings/CTalisoSetup.h"
#include "dialogs/CSetupScanPage.h"
#include "dialogs/CSetupViewPage.h"
#include "framework/ui/ControlDefs.h"

IMPLEMENT_DYNAMIC(CTalisoSetupDialog, CCSPropertySheet)

namespace {
constexpr UINT IDS_OPTIONS_CAPTION = 1187;
} // namespace

BEGIN_MESSAGE_MAP(CTalisoSetupDialog, CCSPropertySheet)
    ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
END_MESSAGE_MAP()

CTalisoSetupDialog::CTalisoSetupDialog(CWnd* pParentWnd, UINT iSelectPage)
    : CCSPropertySheet(IDS_OPTIONS_CAPTION, pParentWnd, iSelectPage)
{
}

INT_PTR CTalisoSetupDialog::Edit(UINT pageMask)
{
    CTalisoSetup copy(GetTalisoSetup());
    CSetupViewPage viewPage(&copy);
    CSetupScanPage scanPage(&copy);
    if (pageMask & kSetupViewPage) AddPage(&viewPage);
    if (pageMask & kSetupScanPage) AddPage(&scanPage);
    const INT_PTR result = DoModal();
    if (result == IDOK) GetTalisoSetup() = copy;
    // The pages end with this call; the sheet must not keep them. The shown page goes
    // last, so that removing it never has another page shown in its place.
    CPropertyPage* shown = GetActivePage();
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&viewPage), static_cast<CPropertyPage*>(&scanPage)})
        if (page != shown) RemovePage(page);
    if (shown) RemovePage(shown);
    return result;
}

void CTalisoSetupDialog::OnApplyNow()
{
    if (CPropertyPage* page = GetActivePage()) page->SendMessage(WM_SETUP_PAGE_DEFAULTS, 0, 0);
}
