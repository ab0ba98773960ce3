#include "framework/ui/CWinApp.h"

#include "framework/core/CException.h"
#include "framework/core/Profile.h"
#include "framework/core/ProfileBatch.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CNewTypeDlg.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/WinHelp.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
END_MESSAGE_MAP()

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
        m_strExeName = CString(std::filesystem::path(argv[0]).filename().string());
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
    if (m_bStdProfileLoaded)
        SaveStdProfileSettings();
    return 0;
}

// ==================================================================== documents

CDocTemplate* CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate)
{
    if (!pTemplate)
        return nullptr;
    pTemplate->LoadTemplate();
    m_templates.push_back(std::move(pTemplate));
    return m_templates.back().get();
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    AddDocTemplate(std::unique_ptr<CDocTemplate>(pTemplate));
}

CDocTemplate* CWinApp::GetDocTemplate(int index) const
{
    return index >= 0 && std::size_t(index) < m_templates.size() ? m_templates[std::size_t(index)].get() : nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    if (lpszFileName == nullptr || *lpszFileName == '\0' || m_templates.empty())
        return nullptr;
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    for (const auto& docTemplate : m_templates) {
        CDocument* open = nullptr;
        const CDocTemplate::Confidence match = docTemplate->MatchDocType(lpszFileName, open);
        if (match == CDocTemplate::yesAlreadyOpen && open != nullptr) {
            // Already open: its window comes to the front.
            POSITION pos = open->GetFirstViewPosition();
            if (CView* view = pos != nullptr ? open->GetNextView(pos) : nullptr) {
                if (CFrameWnd* frame = view->GetParentFrame())
                    frame->ActivateFrame();
            }
            return open;
        }
        if (match > bestMatch) {
            bestMatch = match;
            best = docTemplate.get();
        }
    }
    return best != nullptr ? best->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CWinApp::SaveAllModified()
{
    for (const auto& docTemplate : m_templates) {
        if (!docTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (const auto& docTemplate : m_templates)
        docTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew()
{
    if (m_templates.empty())
        return;
    CDocTemplate* chosen = m_templates.front().get();
    if (m_templates.size() > 1) {
        std::vector<CDocTemplate*> templates;
        for (const auto& docTemplate : m_templates)
            templates.push_back(docTemplate.get());
        CNewTypeDlg dialog(std::move(templates), m_pMainWnd);
        if (dialog.DoModal() != IDOK || dialog.m_pSelectedTemplate == nullptr)
            return;
        chosen = dialog.m_pSelectedTemplate;
    }
    chosen->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString fileName;
    if (!DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    OpenDocumentFile(fileName.c_str());
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    const std::size_t index = nID - ID_FILE_MRU_FILE1;
    if (nID < ID_FILE_MRU_FILE1 || index >= m_recentFiles.size())
        return FALSE;
    const CString path = m_recentFiles[index];
    if (OpenDocumentFile(path.c_str()) == nullptr) {
        // A file that cannot be opened leaves the list.
        auto it = std::find(m_recentFiles.begin(), m_recentFiles.end(), path);
        if (it != m_recentFiles.end())
            m_recentFiles.erase(it);
    }
    return TRUE;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

namespace {

// "&" in a path would mark a mnemonic.
CString MenuTextOfRecentFile(std::size_t index, const CString& path)
{
    CString escaped = path;
    escaped.Replace("&", "&&");
    CString text;
    text.Format("&%u %s", unsigned(index + 1), escaped.c_str());
    return text;
}

} // namespace

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    CMenu* menu = pCmdUI->m_pMenu;
    if (menu == nullptr || pCmdUI->m_pSubMenu != nullptr) {
        pCmdUI->Enable(!m_recentFiles.empty());
        return;
    }
    if (m_strRecentPlaceholder.IsEmpty())
        menu->GetMenuString(ID_FILE_MRU_FILE1, m_strRecentPlaceholder, MF_BYCOMMAND);
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_LAST; ++id)
        menu->DeleteMenu(id, MF_BYCOMMAND);
    const UINT at = pCmdUI->m_nIndex;
    const std::size_t count = std::min<std::size_t>(m_recentFiles.size(), ID_FILE_MRU_LAST - ID_FILE_MRU_FILE1 + 1);
    if (count == 0) {
        menu->InsertMenu(at, MF_BYPOSITION | MF_STRING, ID_FILE_MRU_FILE1, m_strRecentPlaceholder.c_str());
        pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
        pCmdUI->Enable(FALSE);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        menu->InsertMenu(at + UINT(i), MF_BYPOSITION | MF_STRING, ID_FILE_MRU_FILE1 + UINT(i),
                         MenuTextOfRecentFile(i, m_recentFiles[i]).c_str());
    }
    pCmdUI->Enable(TRUE);
    // The caller goes on after the last entry.
    pCmdUI->m_nIndex = at + UINT(count) - 1;
    pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    CString filter;
    CString defaultExt;
    auto addTemplate = [&](CDocTemplate* docTemplate) {
        CString name;
        CString ext;
        if (docTemplate->GetDocString(name, CDocTemplate::filterName) &&
            docTemplate->GetDocString(ext, CDocTemplate::filterExt))
            filter += name + "|*" + ext + "|";
    };
    if (pTemplate != nullptr) {
        addTemplate(pTemplate);
        CString ext;
        if (pTemplate->GetDocString(ext, CDocTemplate::filterExt))
            defaultExt = ext.Left(1) == "." ? ext.Mid(1) : ext;
    } else {
        for (const auto& docTemplate : m_templates)
            addTemplate(docTemplate.get());
    }
    CString allFilter;
    allFilter.LoadString(AFX_IDS_ALLFILTER);
    filter += allFilter + "|*.*||";

    CFileDialog dialog(bOpenFileDialog, defaultExt.IsEmpty() ? nullptr : defaultExt.c_str(),
                       fileName.IsEmpty() ? nullptr : fileName.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | lFlags,
                       filter.c_str(), m_pMainWnd);
    CString title;
    title.LoadString(nIDSTitle);
    if (!title.IsEmpty())
        dialog.m_ofn.lpstrTitle = title.c_str();
    const CString directory = GetDocumentDirectory();
    if (!directory.IsEmpty())
        dialog.m_ofn.lpstrInitialDir = directory.c_str();
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}

// ==================================================================== profile

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    return GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    return ReadProfileString(lpszSection, lpszEntry, lpszDefault != nullptr ? lpszDefault : "", m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    CString text;
    text.Format("%d", nValue);
    return WritePrivateProfileString(lpszSection, lpszEntry, text.c_str(), m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

namespace {

constexpr const char* kRecentSection = "Recent File List";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kPreviewPagesKey = "PreviewPages";

CString RecentKey(std::size_t index)
{
    CString key;
    key.Format("File%u", unsigned(index + 1));
    return key;
}

} // namespace

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_bStdProfileLoaded = true;
    m_nMaxMRU = nMaxMRU;
    m_recentFiles.clear();
    for (std::size_t i = 0; i < nMaxMRU; ++i) {
        const CString path = GetProfileString(kRecentSection, RecentKey(i).c_str());
        if (!path.IsEmpty() && std::find(m_recentFiles.begin(), m_recentFiles.end(), path) == m_recentFiles.end())
            m_recentFiles.push_back(path);
    }
    m_nNumPreviewPages = GetProfileInt(kSettingsSection, kPreviewPagesKey, 0);
}

BOOL CWinApp::SaveStdProfileSettings()
{
    if (m_pszProfileName == nullptr || *m_pszProfileName == '\0')
        return FALSE; // a program without a profile keeps nothing
    ProfileBatch ini(m_pszProfileName);
    WriteStdProfileSettings(ini);
    if (ini.Commit())
        return TRUE;
    AfxReportProfileWriteError(m_pszProfileName, ini.Error());
    return FALSE;
}

void CWinApp::WriteStdProfileSettings(ProfileBatch& ini)
{
    // Keys of entries that are gone are removed, so an old name never comes back.
    for (std::size_t i = 0; i < m_nMaxMRU; ++i) {
        ini.WriteString(kRecentSection, RecentKey(i).c_str(),
                        i < m_recentFiles.size() ? m_recentFiles[i].c_str() : nullptr);
    }
    if (m_nNumPreviewPages != 0) {
        CString pages;
        pages.Format("%d", int(m_nNumPreviewPages));
        ini.WriteString(kSettingsSection, kPreviewPagesKey, pages.c_str());
    }
}

void AfxReportProfileWriteError(LPCTSTR lpszFileName, int nOsError)
{
    CString text;
    AfxFormatString2(text, AFX_IDP_PROFILE_NOT_SAVED, lpszFileName != nullptr ? lpszFileName : "",
                     CFileException::OsErrorText(nOsError).c_str());
    AfxMessageBox(text.c_str(), MB_ICONEXCLAMATION, AFX_IDP_PROFILE_NOT_SAVED);
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (lpszPathName == nullptr || *lpszPathName == '\0' || m_nMaxMRU == 0)
        return;
    const CString path = lpszPathName;
    auto it = std::find(m_recentFiles.begin(), m_recentFiles.end(), path);
    if (it != m_recentFiles.end())
        m_recentFiles.erase(it);
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > m_nMaxMRU)
        m_recentFiles.resize(m_nMaxMRU);
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

void CWinApp::WinHelp(ULONG_PTR dwData, UINT nCmd)
{
    AfxWinHelp(dwData, nCmd);
}

void CWinApp::OnHelp()
{
    WinHelp(0, HELP_CONTENTS);
}

void CWinApp::OnHelpIndex()
{
    WinHelp(0, HELP_INDEX);
}

void CWinApp::OnHelpUsing()
{
    WinHelp(0, HELP_HELPONHELP);
}

void CWinApp::OnContextHelp()
{
    WinHelp(0, HELP_CONTENTS);
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* mainWnd = m_pMainWnd;
        if (mainWnd != nullptr && mainWnd->m_hWnd != nullptr && mainWnd->IsWindowVisible()) {
            mainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            mainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            // Frames of their own that the main window owns (the print preview) have bars too.
            for (HWND owned : AfxOwnedHandles(mainWnd->m_hWnd)) {
                auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(owned));
                if (frame != nullptr && frame->IsWindowVisible()) {
                    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
                    frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
                }
            }
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
    if (count == 0)
        AfxReleaseCoveredBackBuffers();
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

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dialog(TRUE, PD_ALLPAGES | PD_NOSELECTION, m_pMainWnd);
    dialog.DoModal();
}
