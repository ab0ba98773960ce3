#include "framework/ui/CWinApp.h"

#include "framework/core/Resources.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <memory>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_application = nullptr;

} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    if (lpszAppName != nullptr)
        SetAppName(lpszAppName);
    g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

void CWinApp::SetAppName(LPCTSTR lpszAppName)
{
    m_strAppName = lpszAppName;
    m_pszAppName = m_strAppName.c_str();
}

void CWinApp::SetProfileName(LPCTSTR lpszProfileName)
{
    m_strProfileName = lpszProfileName;
    m_pszProfileName = m_strProfileName.c_str();
}

void CWinApp::SetHelpFilePath(LPCTSTR lpszHelpFilePath)
{
    m_strHelpFilePath = lpszHelpFilePath;
    m_pszHelpFilePath = m_strHelpFilePath.c_str();
}

void CWinApp::SetCommandLine(int argc, char** argv)
{
    m_arguments.clear();
    m_strCmdLine.Empty();
    if (argc > 0 && argv != nullptr && argv[0] != nullptr) {
        m_strExeName = argv[0];
        const int slash = m_strExeName.ReverseFind('/');
        if (slash >= 0)
            m_strExeName = m_strExeName.Mid(slash + 1);
        m_pszExeName = m_strExeName.c_str();
    }
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        if (argv[i] == nullptr)
            continue;
        m_arguments.emplace_back(argv[i]);
        if (!m_strCmdLine.IsEmpty())
            m_strCmdLine += ' ';
        m_strCmdLine += argv[i];
    }
    m_lpCmdLine = m_strCmdLine.c_str();
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

int CWinApp::Run()
{
    if (!AfxEnsureGuiApplication())
        return ExitInstance();
    // The program ends when its main window is destroyed, not when Qt sees no window.
    QApplication::setQuitOnLastWindowClosed(false);
    RequestIdle();
    QApplication::exec();
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* mainWnd = m_pMainWnd;
        if (mainWnd != nullptr && mainWnd->m_hWnd != nullptr && mainWnd->IsWindowVisible()) {
            mainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            mainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    return lCount < 1;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

void CWinApp::DoWaitCursor(int nCode)
{
    AfxApplyWaitCursor(nCode);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursor(AfxGetResourceHandle(), TALISO_INTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursor(AfxGetResourceHandle(), lpszResourceName);
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return ::LoadCursor(nullptr, lpszCursorName);
}

// Each idle step runs from a zero timer, so that messages arriving meanwhile run first
// and start the count again at 0.
void CWinApp::RequestIdle()
{
    m_idleCount = 0;
    if (m_idleScheduled || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    m_idleScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [app = this] {
        if (g_application == app)
            app->RunIdleStep();
    });
}

void CWinApp::RunIdleStep()
{
    m_idleScheduled = false;
    const LONG count = m_idleCount++;
    if (!OnIdle(count)) {
        m_idleCount = 0;
        return;
    }
    if (m_idleScheduled)
        return;
    m_idleScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [app = this] {
        if (g_application == app)
            app->RunIdleStep();
    });
}

CWinApp* AfxGetApp()
{
    return g_application;
}

CWnd* AfxGetMainWnd()
{
    return g_application != nullptr ? g_application->m_pMainWnd : nullptr;
}

LPCTSTR AfxGetAppName()
{
    return g_application != nullptr ? g_application->m_pszAppName : "";
}

void AfxPostQuitMessage(int nExitCode)
{
    if (QCoreApplication::instance() == nullptr)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [nExitCode] { QCoreApplication::exit(nExitCode); }, Qt::QueuedConnection);
}

void AfxRequestIdleProcessing()
{
    if (g_application != nullptr)
        g_application->RequestIdle();
}

int AfxWinMain(int argc, char** argv)
{
    // Qt keeps a reference to the count for the life of the application object.
    static int s_argc = 0;
    s_argc = argc;
    std::unique_ptr<QApplication> qtApplication;
    if (QCoreApplication::instance() == nullptr)
        qtApplication = std::make_unique<QApplication>(s_argc, argv);

    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->SetCommandLine(argc, argv);
    if (!app->InitApplication() || !app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
