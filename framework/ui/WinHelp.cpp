#include "framework/ui/WinHelp.h"

#include "framework/core/CString.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>
#include <QProcess>

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

// The desktop's opener for a file of any kind; it exits with an error when no viewer
// takes the file.
constexpr const char* kDesktopOpener = "xdg-open";

void ReportHelpFileFailure(const CString& shownName)
{
    CString message;
    AfxFormatString1(message, AFX_IDP_FAILED_TO_LAUNCH_HELP, shownName.c_str());
    if (message.IsEmpty()) // a library without the framework's texts still names the file
        message = shownName;
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
}

// The opener runs on its own and its exit is watched from the event loop: the program
// goes on at once, and an opener that fails is reported when it ends.
bool OpenWithDesktopViewer(const std::filesystem::path& path)
{
    QString program = QString::fromLatin1(kDesktopOpener);
    if (ScriptedUi* script = ScriptedUi::Active()) {
        if (script->DocumentOpener().IsEmpty()) {
            script->RecordOpenedDocument(CString(path.string().c_str()));
            return true;
        }
        program = QString::fromUtf8(script->DocumentOpener().c_str());
    }
    if (!AfxEnsureGuiApplication())
        return false;
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    const CString name(path.string().c_str());
    QObject::connect(opener, &QProcess::finished, opener, [opener, name](int exitCode, QProcess::ExitStatus status) {
        opener->deleteLater();
        if (status != QProcess::NormalExit || exitCode != 0)
            ReportHelpFileFailure(name);
    });
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, name](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash ends in finished
        opener->deleteLater();
        ReportHelpFileFailure(name);
    });
    opener->start(program, {QString::fromStdString(path.string())});
    return true;
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
    ReportHelpFileFailure(name.IsEmpty() ? CString() : CString(path.string().c_str()));
    return FALSE;
}

BOOL AfxWinHelp(ULONG_PTR dwData, UINT uCommand)
{
    const CWinApp* app = AfxGetApp();
    HWND owner = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    return WinHelp(owner, app != nullptr ? app->m_pszHelpFilePath : "", uCommand, dwData);
}
