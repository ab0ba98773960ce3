#include "dialogs/CPollingDialog.h"

#include "dialogs/LogFileAppend.h"
#include "framework/ui/DDX.h"

IMPLEMENT_DYNAMIC(CPollingDialog, CDialog)

namespace {
constexpr int IDC_LOG_CHOOSE = 2034;
constexpr int IDC_LOG_PATH = 2036;
constexpr int IDC_SETUP_BUTTON = 2062;

// Runs poll unless another guarded by the same flag is running (then polling goes on);
// the flag is cleared however the poll ends.
template <typename Poll>
BOOL RunGuardedPoll(BOOL& pollingFlag, Poll poll)
{
    if (pollingFlag)
        return TRUE;
    pollingFlag = TRUE;
    struct ClearOnExit {
        BOOL& flag;
        ~ClearOnExit() { flag = FALSE; }
    } clear{pollingFlag};
    return poll();
}
} // namespace

BOOL CPollingDialog::s_bPolling = FALSE;

BEGIN_MESSAGE_MAP(CPollingDialog, CDialog)
    ON_BN_CLICKED(IDC_LOG_CHOOSE, OnChooseFile)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CPollingDialog::CPollingDialog(UINT nIDTemplate, const PollingDialogResources& resources, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_resources(resources)
{
}

CPollingDialog::~CPollingDialog() = default;

CString CPollingDialog::LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

BOOL CPollingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_buttonStart.SetWindowText(LoadText(m_resources.startText).c_str());
    return TRUE;
}

void CPollingDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOG_CHOOSE, m_buttonFile);
    DDX_Control(pDX, IDC_SETUP_BUTTON, m_buttonSetup);
    DDX_Control(pDX, IDCANCEL, m_buttonCancel);
    DDX_Control(pDX, IDOK, m_buttonStart);

    const CString noLogFile = LoadText(m_resources.noLogFileText);
    CString shownPath = m_strLogPath.IsEmpty() ? noLogFile : m_strLogPath;
    DDX_Text(pDX, IDC_LOG_PATH, shownPath);
    if (pDX->m_bSaveAndValidate)
        m_strLogPath = shownPath == noLogFile ? CString() : shownPath;
}

void CPollingDialog::OnOK()
{
    if (m_bRunning)
        StopPolling();
    else
        StartPolling();
}

void CPollingDialog::OnCancel()
{
    if (m_bRunning)
        return;
    CDialog::OnCancel();
}

void CPollingDialog::StartPolling()
{
    // A log file that cannot be made ready shows its prompt; the first poll's write then
    // stops the polling.
    if (!m_strLogPath.IsEmpty() && PrepareLogFile(m_strLogPath))
        OnLogFileReady();
    if (!OpenSession())
        return;
    m_buttonStart.SetWindowText(LoadText(m_resources.stopText).c_str());
    EnableSetupButtons(FALSE);
    ClearShown();
    SetTimer(kPollTimer, PollInterval());
    m_bRunning = 1;
}

void CPollingDialog::StopPolling()
{
    KillTimer(kPollTimer);
    CloseSession();
    m_buttonStart.SetWindowText(LoadText(m_resources.startText).c_str());
    EnableSetupButtons(TRUE);
    m_bRunning = 0;
}

void CPollingDialog::EnableSetupButtons(BOOL bEnable)
{
    m_buttonFile.EnableWindow(bEnable);
    m_buttonSetup.EnableWindow(bEnable);
    m_buttonCancel.EnableWindow(bEnable);
}

void CPollingDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kPollTimer) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    if (!m_bRunning)
        return;
    const BOOL goOn = RunGuardedPoll(s_bPolling, [this] { return PollOnce(); });
    if (!goOn && m_bRunning)
        StopPolling();
}

BOOL CPollingDialog::AppendToChosenLog(const CString& text) const
{
    return m_strLogPath.IsEmpty() || AppendToLogFile(m_strLogPath, text);
}

void CPollingDialog::OnChooseFile()
{
    if (ChooseLogFile(this, m_resources.logFilterText, m_resources.logSaveFlags, m_resources.logHelpContext,
                      m_strLogPath))
        UpdateData(FALSE);
}
