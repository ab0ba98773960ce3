#include "dialogs/CMonitorIntervalDialog.h"

#include "dialogs/controls/UnitDataExchange.h"

IMPLEMENT_DYNAMIC(CMonitorIntervalDialog, CDialog)

namespace {
constexpr UINT IDD_MONITOR_INTERVAL = 114;
constexpr int IDC_DEFAULTS_BUTTON = 2072;
constexpr int IDC_INTERVAL = 2108;
constexpr const char* kMilliseconds = "ms";
} // namespace

BEGIN_MESSAGE_MAP(CMonitorIntervalDialog, CDialog)
    ON_BN_CLICKED(IDC_DEFAULTS_BUTTON, OnDefaults)
END_MESSAGE_MAP()

CMonitorIntervalDialog::CMonitorIntervalDialog(CWnd* pParentWnd) : CDialog(IDD_MONITOR_INTERVAL, pParentWnd) {}

BOOL CMonitorIntervalDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}

void CMonitorIntervalDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_TextWithUnit(pDX, IDC_INTERVAL, m_nInterval, kMilliseconds);
    DDV_MinMaxWithUnit(pDX, m_nInterval, kMinInterval, kMaxInterval, kMilliseconds);
}

void CMonitorIntervalDialog::OnDefaults()
{
    m_nInterval = kDefaultInterval;
    UpdateData(FALSE);
}
