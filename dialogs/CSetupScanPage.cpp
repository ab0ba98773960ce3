#include "dialogs/CSetupScanPage.h"

#include "app/settings/CTalisoSetup.h"
#include "dialogs/CTalisoSetupDialog.h"
#include "dialogs/controls/UnitDataExchange.h"
#include "framework/core/CString.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

IMPLEMENT_DYNAMIC(CSetupScanPage, CPropertyPage)

namespace {

constexpr UINT IDD_OPTIONS_SCAN = 146;
constexpr int IDC_SCAN_DIVISOR = 2097;
constexpr int IDC_SCAN_INTERVAL = 2055;
constexpr UINT IDS_EVERY_BEAM = 980;
constexpr UINT IDS_EVERY_SECOND_BEAM = 981;

constexpr const char* kSeconds = "s";

void FillDivisorCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    for (const UINT textId : {IDS_EVERY_BEAM, IDS_EVERY_SECOND_BEAM}) {
        CString text;
        text.LoadString(textId);
        ::SendMessage(hCombo, CB_ADDSTRING, 0, LPARAM(text.c_str()));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

// Item 0 reads every beam (divisor 1), item 1 every second one (divisor 2); a divisor
// the sheet does not offer shows as item 1.
void DDX_ScanDivisor(CDataExchange* pDX, int nIDC, int& divisor)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        pDX->Store(divisor, ::SendMessage(hCombo, CB_GETCURSEL, 0, 0) == 0 ? 1 : 2);
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != 2) FillDivisorCombo(hCombo);
    ::SendMessage(hCombo, CB_SETCURSEL, divisor == 1 ? 0 : 1, 0);
}

} // namespace

BEGIN_MESSAGE_MAP(CSetupScanPage, CPropertyPage)
    ON_MESSAGE(WM_SETUP_PAGE_DEFAULTS, OnSetDefaults)
END_MESSAGE_MAP()

CSetupScanPage::CSetupScanPage(CTalisoSetup* pSetup) : CPropertyPage(IDD_OPTIONS_SCAN), m_pSetup(pSetup) {}

BOOL CSetupScanPage::OnSetActive()
{
    m_bFirstSetActive = FALSE;
    UpdateData(FALSE);
    return TRUE;
}

void CSetupScanPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_ScanDivisor(pDX, IDC_SCAN_DIVISOR, m_pSetup->m_nScanDivisor);
    DDX_TextWithUnit(pDX, IDC_SCAN_INTERVAL, m_pSetup->m_nEditScanInterval, kSeconds);
    DDV_MinMaxWithUnit(pDX, m_pSetup->m_nEditScanInterval, 5, 65, kSeconds);
}

LRESULT CSetupScanPage::OnSetDefaults(WPARAM, LPARAM)
{
    const CTalisoSetup defaults;
    m_pSetup->m_nScanDivisor = defaults.m_nScanDivisor;
    m_pSetup->m_bViewEditScan = defaults.m_bViewEditScan;
    m_pSetup->m_nEditScanInterval = defaults.m_nEditScanInterval;
    UpdateData(FALSE);
    return 0;
}
