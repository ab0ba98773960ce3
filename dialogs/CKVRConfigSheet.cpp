#include "dialogs/CKVRConfigSheet.h"

#include "dialogs/CKVRControlListPage.h"
#include "dialogs/CKVRInputsPage.h"
#include "dialogs/CKVROptionValuePage.h"
#include "dialogs/CKVRRestartPage.h"
#include "dialogs/CKVRSensorListPage.h"
#include "dialogs/CKVRShelterListPage.h"
#include "dialogs/CKVRSpeedPage.h"
#include "dialogs/CKVRVariantPage.h"
#include "framework/core/CException.h"

IMPLEMENT_DYNCREATE(CKVRConfigSheet, CPropertySheet)

namespace {

constexpr UINT IDS_KVR_CONFIG_CAPTION = 1173;

} // namespace

CKVRConfigSheet::CKVRConfigSheet(CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(IDS_KVR_CONFIG_CAPTION, pParentWnd, iSelectPage)
{
}

CKVRConfigSheet::~CKVRConfigSheet() = default;

std::unique_ptr<CKVRConfig> CKVRConfigSheet::Edit(const CKVRConfig* pConfig)
{
    CKVRSensorListPage sensorPage;
    CKVRShelterListPage shelterPage;
    CKVRControlListPage controlPage;
    CKVRInputsPage inputsPage;
    CKVROptionValuePage optionPage;
    CKVRVariantPage variantPage;
    CKVRRestartPage restartPage;
    CKVRSpeedPage speedPage;
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&sensorPage, &shelterPage, &controlPage,
                                                                    &inputsPage, &optionPage, &variantPage,
                                                                    &restartPage, &speedPage})
        AddPage(page);

    try {
        m_pConfig = pConfig ? std::make_unique<CKVRConfig>(*pConfig) : std::make_unique<CKVRConfig>();
        const INT_PTR result = DoModal();
        // OK is taken only after the check passed (AcceptOk); checking again costs nothing.
        if (result != IDOK || !CKVRConfig::Check(*m_pConfig, TRUE)) m_pConfig.reset();
    } catch (CException&) {
        m_pConfig.reset();
    } catch (std::bad_alloc&) {
        m_pConfig.reset();
    }
    while (GetPageCount() > 0) RemovePage(0);
    return std::move(m_pConfig);
}

BOOL CKVRConfigSheet::AcceptOk()
{
    CPropertyPage* page = GetActivePage();
    if (page && !page->OnKillActive()) return FALSE;
    return m_pConfig && CKVRConfig::Check(*m_pConfig, TRUE);
}

BOOL CKVRConfigSheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const BOOL okPressed = LOWORD(DWORD(wParam)) == IDOK && (lParam == 0 || HIWORD(DWORD(wParam)) == BN_CLICKED);
    if (okPressed && !AcceptOk()) return TRUE;
    return CPropertySheet::OnCommand(wParam, lParam);
}
