#include "app/CTalisoApp.h"

#include "app/CAboutDialog.h"
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CSplashDialog.h"
#include "app/CTalisoMDIChildWnd.h"
#include "app/CTalisoMDIFrameWnd.h"
#include "app/settings/CTalisoSetup.h"
#include "app/StatusPaneText.h"
#include "app/CZOKDoc.h"
#include "app/CZOKView.h"
#include "app/CCommonDoc.h"
#include "device/CAPISensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CSensor.h"
#include "device/DeviceProcedures.h"
#include "dialogs/CComWizard.h"
#include "dialogs/CDeviceFamilyDialog.h"
#include "dialogs/CTalisoSetupDialog.h"
#include "driver/orudrv.h"
#include "framework/core/CException.h"
#include "framework/core/InstanceLock.h"
#include "framework/core/Library.h"
#include "framework/core/Profile.h"
#include "framework/core/ProfileBatch.h"
#include "framework/core/Resources.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/WinHelp.h"
#include "simulator/orusim.h"

#include <sys/stat.h>

const char* const kLanguageLibraryMissingText =
    "The language conversion will not be effective since the required DLL was not found!";

namespace {

constexpr const char* kLanguageSection = "LANGUAGE";
constexpr const char* kDefaultLanguageLibrary = "LAN_GER.DLL";
constexpr const char* kDefaultHelpFile = "HELP_ENG.HLP";
constexpr const char* kNoLanguageText = "No language found";
constexpr const char* kInstanceLockName = "TEST";
constexpr DWORD kMainFrameStyle = 0xCF8000;
constexpr UINT kSettingsPages = 3;

bool FileExists(const CString& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A library name as the loader would find it in a directory: the ".DLL" of a name the
// INI file gives stands for the ".so" beside it.
bool LibraryFileExists(const CString& directory, const CString& name)
{
    return FileExists(CString(LibraryPathForName(name.c_str(), directory.c_str()).c_str()));
}

} // namespace

IMPLEMENT_DYNAMIC(CTalisoApp, CWinAppExt)

BEGIN_MESSAGE_MAP(CTalisoApp, CWinAppExt)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
    ON_COMMAND(ID_HELP_INDEX, CWinApp::OnHelpIndex)
    ON_COMMAND(ID_HELP_USING, CWinApp::OnHelpUsing)
    ON_COMMAND(ID_CONTEXT_HELP, CWinApp::OnContextHelp)
    ON_COMMAND(ID_DEFAULT_HELP, CWinApp::OnHelpIndex)
    ON_COMMAND(ID_HELP_SEARCH, OnHelpSearch)
    ON_COMMAND(ID_HELP_TOPIC_FIELDS, OnHelpFields)
    ON_COMMAND(ID_HELP_TOPIC_DEVICES, OnHelpDevices)
    ON_COMMAND(ID_DEVICE_TYPE, OnDeviceType)
    ON_UPDATE_COMMAND_UI(ID_DEVICE_TYPE, OnUpdateDeviceType)
    ON_COMMAND(ID_LOGIN, OnLogin)
    ON_COMMAND(ID_SETTINGS, OnSettings)
    ON_UPDATE_COMMAND_UI(ID_SETTINGS, OnUpdateSettings)
    ON_COMMAND(ID_DRIVER_SETUP, OnDriverSetup)
    ON_UPDATE_COMMAND_UI(ID_DRIVER_SETUP, OnUpdateDriverSetup)
    ON_COMMAND(ID_CONNECT, OnConnect)
    ON_COMMAND(ID_COM_WIZARD, OnComWizard)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpenDocument)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
    ON_COMMAND_EX_RANGE(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, OnLanguage)
    ON_UPDATE_COMMAND_UI(ID_PANE_DEVICE_FAMILY, OnUpdateDeviceTypePane)
END_MESSAGE_MAP()

CTalisoApp::CTalisoApp() = default;

CTalisoApp::~CTalisoApp()
{
    if (GetProcedureApplication() == this)
        SetProcedureApplication(nullptr);
    theLoginDialog.SetApplication(nullptr);
    if (m_hLanguage != nullptr) {
        OruDrvSetResourceHandle(0);
        OruSimSetResourceHandle(0);
        FreeLibrary(m_hLanguage);
    }
    m_pInstanceLock.reset();
}

CTalisoApp* GetTalisoApp()
{
    return dynamic_cast<CTalisoApp*>(AfxGetApp());
}

BOOL CTalisoApp::InitInstance()
{
    SetIniFileName();
    if (!LoadLanguageLibrary()) {
        AfxMessageBox(kLanguageLibraryMissingText, MB_ICONHAND);
        return FALSE;
    }
    CString title;
    title.LoadString(IDS_APP_TITLE);

    m_pInstanceLock = std::make_unique<InstanceLock>(kInstanceLockName);
    if (!m_pInstanceLock->IsHeld()) {
        AfxMessageBox(IDP_ALREADY_RUNNING, MB_ICONHAND);
        return FALSE;
    }
    if (!title.IsEmpty())
        SetAppName(title.c_str());
    LoadStdProfileSettings(4);

    CSplashDialog* splash = nullptr;
    CSplashDialog::Open(&splash);

    GetTalisoSetup().Load(m_pszProfileName);
    m_bSettingsLoaded = TRUE;
    SetProcedureApplication(this);
    theLoginDialog.SetApplication(this);
    theLoginDialog.SetStartLevel();

    AddTemplates();

    auto frame = std::make_unique<CTalisoMDIFrameWnd>();
    if (!frame->LoadFrame(IDR_MAINFRAME, kMainFrameStyle)) {
        CSplashDialog::CloseIfOpen(splash);
        return FALSE;
    }
    m_pMainWnd = frame.release(); // the window owns itself from here on

    BOOL found = ProbeDevice();
    BuildLanguageMenu();
    m_pMainWnd->ShowWindow(SW_MAXIMIZE);
    OnIdle(0); // the bars as they stand, before the first paint and the questions below
    m_pMainWnd->UpdateWindow();
    OpenCommandLineDocument();
    CSplashDialog::CloseIfOpen(splash);

    if (!found)
        found = RunFindDevice();
    BOOL newDocument = TRUE;
    if (found && AfxMessageBox(IDP_READ_FROM_DEVICE, MB_YESNO | MB_ICONQUESTION) == IDYES && ConnectAndOpen())
        newDocument = FALSE;
    theLoginDialog.RunLogin();
    if (newDocument && theLoginDialog.CanCreateDocument())
        m_pMainWnd->PostMessage(WM_COMMAND, ID_FILE_NEW, 0);
    return TRUE;
}

int CTalisoApp::ExitInstance()
{
    return CWinAppExt::ExitInstance(); // saves the settings with the recent-file list
}

void CTalisoApp::WriteStdProfileSettings(ProfileBatch& ini)
{
    // Settings that were never loaded are the built-in defaults: writing them would
    // overwrite the user's file after a failed start.
    if (m_bSettingsLoaded)
        GetTalisoSetup().Write(ini);
    CWinAppExt::WriteStdProfileSettings(ini);
}

BOOL CTalisoApp::SaveSettings()
{
    ProfileBatch ini(m_pszProfileName);
    GetTalisoSetup().Write(ini);
    if (ini.Commit())
        return TRUE;
    AfxReportProfileWriteError(m_pszProfileName, ini.Error());
    return FALSE;
}

BOOL CTalisoApp::SaveAllModified()
{
    for (int i = 0; i < GetDocTemplateCount(); ++i) {
        CDocTemplate* docTemplate = GetDocTemplate(i);
        POSITION pos = docTemplate->GetFirstDocPosition();
        while (pos != nullptr) {
            auto* document = dynamic_cast<CCommonDoc*>(docTemplate->GetNextDoc(pos));
            if (document != nullptr && document->GetMode() != 0)
                document->AbortActiveMode();
        }
    }
    return CWinAppExt::SaveAllModified();
}

void CTalisoApp::CloseAllDocuments()
{
    CWinApp::CloseAllDocuments(FALSE);
}

void CTalisoApp::ShowMessageBarText(const CString& text, BOOL repaintNow)
{
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    frame->SetMessageText(text.c_str());
    if (repaintNow)
        frame->UpdateWindow();
}

void CTalisoApp::AddTemplates()
{
    m_pZOKTemplate = AddDocTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_ZOKTYPE, RUNTIME_CLASS(CZOKDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(CZOKView)));
    m_pKVRTemplate = AddDocTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_KVRTYPE, RUNTIME_CLASS(CKVRDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(CKVRView)));
}

BOOL CTalisoApp::ProbeDevice()
{
    CWaitCursor wait;
    CSensor sensor(CSensor::kUnknownFamily);
    sensor.SetSimulated(IsSimulating());
    BOOL found = FALSE;
    if (sensor.Load(m_pszProfileName)) {
        if (sensor.Open()) {
            found = sensor.EnsureFamily(FALSE);
            sensor.Close();
        }
        sensor.Free();
    }
    return found;
}

BOOL CTalisoApp::RunFindDevice()
{
    CComWizard wizard(m_pMainWnd);
    if (wizard.DoModal() != 0)
        return TRUE;
    CDeviceFamilyDialog familyDialog(m_pMainWnd);
    if (familyDialog.DoModal() != IDOK)
        return FALSE;
    m_simulatedFamily = familyDialog.GetFamilyByte();
    OnIdle(-1);
    return TRUE;
}

BOOL CTalisoApp::ConnectAndOpen()
{
    CSensor sensor(CSensor::kUnknownFamily);
    if (!ConnectSensor(sensor, TRUE))
        return FALSE;
    BYTE family = kNoFamily;
    if (IsSimulating())
        family = m_simulatedFamily;
    else if (sensor.ProbeFamily(0, FALSE))
        family = 0;
    else if (sensor.ProbeFamily(1, FALSE))
        family = 1;
    DisconnectSensor(sensor, TRUE);
    if (family == kNoFamily) {
        AfxMessageBox(IDP_NO_FAMILY_ANSWERED, MB_ICONEXCLAMATION);
        return FALSE;
    }
    CDocTemplate* docTemplate = family == 0 ? m_pZOKTemplate : m_pKVRTemplate;
    m_bConnectOnNew = 1;
    CDocument* document = docTemplate->OpenDocumentFile(nullptr, TRUE);
    m_bConnectOnNew = 0;
    return document != nullptr;
}

void CTalisoApp::OpenCommandLineDocument()
{
    // The shell has split the line: a path with blanks arrives as one argument.
    if (!m_arguments.empty() && !m_arguments.front().IsEmpty())
        OpenDocumentFile(m_arguments.front().c_str());
}

CString CTalisoApp::LanguageSection(int language) const
{
    CString section;
    section.Format("LANGUAGE_%d", language);
    return section;
}

int CTalisoApp::ReadLanguageCount()
{
    const int count = int(GetProfileInt(kLanguageSection, "lan_numbers", 0));
    return count < 0 ? 0 : count;
}

BOOL CTalisoApp::LoadLanguageLibrary()
{
    const int count = ReadLanguageCount();
    m_nLanguage = int(GetProfileInt(kLanguageSection, "language", 1));
    if (m_nLanguage < 1 || m_nLanguage > count)
        m_nLanguage = 1;
    const CString section = LanguageSection(m_nLanguage);
    const CString libraryName = GetProfileString(section.c_str(), "dll", kDefaultLanguageLibrary);
    if (libraryName.IsEmpty())
        return FALSE;
    HINSTANCE library = LoadLibrary(libraryName.c_str());
    if (library == nullptr)
        return FALSE;
    if (m_hLanguage != nullptr)
        FreeLibrary(m_hLanguage);
    m_hLanguage = library;
    AfxSetResourceHandle(library);

    const CString helpName = GetProfileString(section.c_str(), "help", kDefaultHelpFile);
    SetHelpFilePath((GetIniDirectory() + helpName).c_str());

    OruDrvSetResourceHandle(reinterpret_cast<intptr_t>(library));
    OruSimSetResourceHandle(reinterpret_cast<intptr_t>(library));
    return TRUE;
}

void CTalisoApp::BuildLanguageMenu()
{
    const int count = ReadLanguageCount();
    if (count == 0 || m_pMainWnd == nullptr)
        return;
    CMenu* menuBar = m_pMainWnd->GetMenu();
    if (menuBar == nullptr)
        return;
    CString existing;
    if (menuBar->GetMenuString(ID_LANGUAGE_FIRST + 1, existing, MF_BYCOMMAND) > 0)
        return;
    CString itemText;
    if (menuBar->GetMenuString(ID_LANGUAGE_FIRST, itemText, MF_BYCOMMAND) <= 0)
        return;

    CMenu popup;
    popup.CreatePopupMenu();
    const CString section = LanguageSection(m_nLanguage);
    const int shown = count < int(ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST) ? count : int(ID_LANGUAGE_LAST - ID_LANGUAGE_FIRST);
    for (int i = 1; i <= shown; ++i) {
        CString key;
        key.Format("lan_%d", i);
        const CString text = GetProfileString(section.c_str(), key.c_str(), kNoLanguageText);
        popup.AppendMenu(MF_STRING | (i == m_nLanguage ? MF_CHECKED : MF_UNCHECKED), ID_LANGUAGE_FIRST + UINT(i),
                         text.c_str());
    }
    menuBar->ModifyMenu(ID_LANGUAGE_FIRST, MF_BYCOMMAND | MF_POPUP, UINT_PTR(popup.Detach()), itemText.c_str());
    m_pMainWnd->DrawMenuBar();
}

BOOL CTalisoApp::OnLanguage(UINT nID)
{
    const int language = int(nID - ID_LANGUAGE_FIRST);
    if (language < 1 || ReadLanguageCount() < language)
        return FALSE;
    const CString libraryName =
        GetProfileString(LanguageSection(language).c_str(), "dll", kDefaultLanguageLibrary);
    if (!libraryName.IsEmpty() && LibraryFileExists(GetIniDirectory(), libraryName)) {
        CString number;
        number.Format("%d", language);
        ProfileBatch ini(m_pszProfileName);
        ini.WriteString(kLanguageSection, "language", number);
        if (!ini.Commit()) {
            AfxReportProfileWriteError(m_pszProfileName, ini.Error());
            return TRUE;
        }
        m_nLanguage = language;
        AfxMessageBox(IDP_LANGUAGE_NEXT_START, MB_ICONINFORMATION);
    } else {
        AfxMessageBox(IDP_LANGUAGE_FILE_MISSING, MB_ICONINFORMATION);
    }
    return TRUE;
}

CString CTalisoApp::GetDocumentDirectory()
{
    return GetProfileString("DIRECTORY", "Configurations", "");
}

void CTalisoApp::OnAppAbout()
{
    CAboutDialog about(m_pMainWnd);
    about.DoModal();
}

void CTalisoApp::OnHelpSearch()
{
    WinHelp(0, HELP_PARTIALKEY);
}

void CTalisoApp::OnHelpFields()
{
    WinHelp(kHelpTopicFields, HELP_CONTEXT);
}

void CTalisoApp::OnHelpDevices()
{
    WinHelp(kHelpTopicDevices, HELP_CONTEXT);
}

void CTalisoApp::OnDeviceType()
{
    CDeviceFamilyDialog dialog(m_pMainWnd);
    if (IsSimulating())
        dialog.m_nFamily = m_simulatedFamily;
    if (dialog.DoModal() == IDOK) {
        m_simulatedFamily = dialog.GetFamilyByte();
        return;
    }
    if (theLoginDialog.GetLevel() == CLoginDialog::kStandardLevel) {
        m_simulatedFamily = kNoFamily;
        return;
    }
    if (SaveAllModified()) {
        CWinApp::CloseAllDocuments(FALSE);
        theLoginDialog.SetLevel(CLoginDialog::kStandardLevel);
        m_simulatedFamily = kNoFamily;
    }
}

void CTalisoApp::OnUpdateDeviceType(CCmdUI*)
{
}

void CTalisoApp::OnLogin()
{
    theLoginDialog.RunLogin();
}

void CTalisoApp::OnSettings()
{
    CTalisoSetupDialog sheet(m_pMainWnd);
    if (sheet.Edit(kSettingsPages) != IDOK)
        return;
    SaveSettings();
    for (int i = 0; i < GetDocTemplateCount(); ++i) {
        CDocTemplate* docTemplate = GetDocTemplate(i);
        POSITION pos = docTemplate->GetFirstDocPosition();
        while (pos != nullptr)
            docTemplate->GetNextDoc(pos)->UpdateAllViews(nullptr, 0, nullptr);
    }
}

void CTalisoApp::OnUpdateSettings(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanChangeSettings());
}

void CTalisoApp::OnDriverSetup()
{
    CAPISensor sensor;
    if (!sensor.Load(m_pszProfileName))
        return;
    if (!sensor.Setup(m_pMainWnd)) {
        const CString reason = sensor.TakeDriverError();
        if (!reason.IsEmpty())
            AfxMessageBox(reason.c_str(), MB_ICONEXCLAMATION);
    }
    sensor.Free();
}

void CTalisoApp::OnUpdateDriverSetup(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanSetupDriver());
}

void CTalisoApp::OnConnect()
{
    ConnectAndOpen();
}

void CTalisoApp::OnComWizard()
{
    CComWizard wizard(m_pMainWnd);
    wizard.DoModal();
}

void CTalisoApp::OnFileOpenDocument()
{
    CString fileName;
    if (!DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    OpenDocumentFile(fileName.c_str());
}

void CTalisoApp::OnUpdateDeviceTypePane(CCmdUI* pCmdUI)
{
    CString text;
    if (m_simulatedFamily == 1)
        text.LoadString(IDS_SIMULATED_KVR);
    else if (m_simulatedFamily == 0)
        text.LoadString(IDS_SIMULATED_ZOK);
    if (!text.IsEmpty())
        FitStatusPaneToText(pCmdUI, text);
    pCmdUI->Enable(!text.IsEmpty());
    pCmdUI->SetText(text.c_str());
}

void ReportFileException(LPCTSTR fileName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    AfxReportSaveLoadError(fileName, e, bSaving, nIDPDefault);
}
