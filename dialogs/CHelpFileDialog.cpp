#include "dialogs/CHelpFileDialog.h"

#include "framework/core/Profile.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/WinHelp.h"

IMPLEMENT_DYNAMIC(CHelpFileDialog, CFileDialog)

namespace {
constexpr const char* kDirectorySection = "DIRECTORY";

// The INI file of the program: the application's profile name holds its full path.
CString ProgramIniPath()
{
    const CWinApp* app = AfxGetApp();
    return app != nullptr ? CString(app->m_pszProfileName) : CString();
}
} // namespace

BEGIN_MESSAGE_MAP(CHelpFileDialog, CFileDialog)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CHelpFileDialog::CHelpFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                                 LPCTSTR lpszFilter, CWnd* pParentWnd, int nHelpContextId)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd),
      m_nHelpContextId(nHelpContextId)
{
}

void CHelpFileDialog::SetInitialDirFromProfile(LPCTSTR lpszKey, LPCTSTR lpszIniPath)
{
    const CString iniPath = lpszIniPath != nullptr ? CString(lpszIniPath) : ProgramIniPath();
    m_strInitialDir = iniPath.IsEmpty() ? CString() : ReadProfileString(kDirectorySection, lpszKey, "", iniPath);
    m_ofn.lpstrInitialDir = m_strInitialDir.IsEmpty() ? nullptr : m_strInitialDir.c_str();
}

LRESULT CHelpFileDialog::OnCommandHelp(WPARAM, LPARAM)
{
    ShowHelpTopic(UINT(m_nHelpContextId));
    return TRUE;
}

void CHelpFileDialog::ShowHelpTopic(UINT nContextId)
{
    AfxWinHelp(nContextId, HELP_CONTEXT);
}
