#include "framework/ui/WinHelp.h"

#include "framework/core/CString.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <QDesktopServices>
#include <QUrl>

#include <filesystem>
#include <system_error>

namespace {

// A bare name lies beside the program's INI file, as the help key of the INI names it.
std::filesystem::path HelpFilePath(LPCTSTR lpszHelp)
{
    std::filesystem::path path(lpszHelp);
    if (path.is_absolute())
        return path;
    const CWinApp* app = AfxGetApp();
    const std::filesystem::path ini = app != nullptr ? std::filesystem::path(app->m_pszProfileName) : std::filesystem::path();
    return ini.has_parent_path() ? ini.parent_path() / path : path;
}

bool IsReadableFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool OpenWithDesktopViewer(const std::filesystem::path& path)
{
    if (ScriptedUi* script = ScriptedUi::Active()) {
        script->RecordOpenedDocument(CString(path.string().c_str()));
        return true;
    }
    return AfxEnsureGuiApplication() && QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

} // namespace

BOOL WinHelp(HWND, LPCTSTR lpszHelp, UINT uCommand, ULONG_PTR)
{
    if (uCommand == HELP_QUIT)
        return TRUE;
    const CString name = lpszHelp != nullptr ? lpszHelp : "";
    const std::filesystem::path path = HelpFilePath(name.c_str());
    if (!name.IsEmpty() && IsReadableFile(path) && OpenWithDesktopViewer(path))
        return TRUE;
    CString message;
    AfxFormatString1(message, AFX_IDP_FAILED_TO_LAUNCH_HELP, name.IsEmpty() ? "" : path.string().c_str());
    if (message.IsEmpty()) // a library without the framework's texts still names the file
        message = path.string().c_str();
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL AfxWinHelp(ULONG_PTR dwData, UINT uCommand)
{
    const CWinApp* app = AfxGetApp();
    HWND owner = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    return WinHelp(owner, app != nullptr ? app->m_pszHelpFilePath : "", uCommand, dwData);
}
