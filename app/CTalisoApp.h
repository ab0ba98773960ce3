#pragma once
// The application object: loads the language library named in the INI file, allows one
// running instance, loads the settings, registers the two document templates, creates the
// main frame and probes the serial line for a device; then it either offers to read the
// device's configuration into a new document or lets the user set the port up and choose
// a simulated device family. It owns the program-wide commands (About, options, login,
// driver set-up, port wizard, simulated family, connect, language, file open) and the
// file-dialog and file-error helpers the documents and dialogs share.
#include "app/CWinAppExt.h"
#include "device/LoginApplication.h"
#include "device/ProcedureApplication.h"

#include <memory>

class CCmdUI;
class CDocTemplate;
class CException;
class InstanceLock;

// Command ids of the application's commands.
constexpr UINT ID_HELP_SEARCH = 32802;
constexpr UINT ID_HELP_TOPIC_FIELDS = 32905;
constexpr UINT ID_HELP_TOPIC_DEVICES = 32904;
constexpr UINT ID_DEVICE_TYPE = 32809;
constexpr UINT ID_LOGIN = 32882;
constexpr UINT ID_SETTINGS = 32880;
constexpr UINT ID_DRIVER_SETUP = 32879;
constexpr UINT ID_CONNECT = 32815;
constexpr UINT ID_COM_WIZARD = 32910;
constexpr UINT ID_LANGUAGE_FIRST = 40000; // the menu item the language popup replaces
constexpr UINT ID_LANGUAGE_LAST = 40020;

// Resource ids of the document templates.
constexpr UINT IDR_KVRTYPE = 4;
constexpr UINT IDR_ZOKTYPE = 5;

// Texts of the application.
constexpr UINT IDS_APP_TITLE = 57344;
constexpr UINT IDS_SIMULATED_ZOK = 930;
constexpr UINT IDS_SIMULATED_KVR = 931;
constexpr UINT IDP_READ_FROM_DEVICE = 334;
constexpr UINT IDP_NO_FAMILY_ANSWERED = 335;
constexpr UINT IDP_ALREADY_RUNNING = 1800;
constexpr UINT IDP_LANGUAGE_NEXT_START = 1802;
constexpr UINT IDP_LANGUAGE_FILE_MISSING = 1803;
// Help topics of the help menu's items "Fields" and "Devices".
constexpr UINT kHelpTopicFields = 119;
constexpr UINT kHelpTopicDevices = 120;

// The one text that does not come from the language library: it cannot be loaded.
extern const char* const kLanguageLibraryMissingText;

class CTalisoApp : public CWinAppExt, public ProcedureApplication, public LoginApplication {
    DECLARE_DYNAMIC(CTalisoApp)
public:
    static constexpr BYTE kNoFamily = 255;

    CTalisoApp();
    ~CTalisoApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Tells the user when the settings could not be written; FALSE then.
    BOOL SaveSettings();
    // Stops every document's running mode first; then the save questions.
    BOOL SaveAllModified() override;
    using CWinApp::CloseAllDocuments;
    void CloseAllDocuments() override;

    BOOL LoadLanguageLibrary();
    void BuildLanguageMenu();

    BOOL IsSimulating() override { return m_simulatedFamily != kNoFamily; }
    BYTE GetSimulatedFamily() const { return m_simulatedFamily; }
    CString GetIniPath() override { return CString(m_pszProfileName); }
    void ShowMessageBarText(const CString& text, BOOL repaintNow) override;

    // 1 only while a new document is opened that is to be read from the device.
    int IsConnectOnNew() const { return m_bConnectOnNew; }
    int GetLanguage() const { return m_nLanguage; }
    HINSTANCE GetLanguageLibrary() const { return m_hLanguage; }
    CDocTemplate* GetZOKTemplate() const { return m_pZOKTemplate; }
    CDocTemplate* GetKVRTemplate() const { return m_pKVRTemplate; }

    // The document file dialog opens in "DIRECTORY"/"Configurations".
    CString GetDocumentDirectory() override;

    afx_msg void OnAppAbout();
    afx_msg void OnHelpSearch();
    afx_msg void OnHelpFields();
    afx_msg void OnHelpDevices();
    afx_msg void OnDeviceType();
    afx_msg void OnUpdateDeviceType(CCmdUI* pCmdUI);
    afx_msg void OnLogin();
    afx_msg void OnSettings();
    afx_msg void OnUpdateSettings(CCmdUI* pCmdUI);
    afx_msg void OnDriverSetup();
    afx_msg void OnUpdateDriverSetup(CCmdUI* pCmdUI);
    afx_msg void OnConnect();
    afx_msg void OnComWizard();
    afx_msg void OnFileOpenDocument();
    afx_msg BOOL OnLanguage(UINT nID);
    afx_msg void OnUpdateDeviceTypePane(CCmdUI* pCmdUI);

protected:
    // The settings go to the INI file in the same write as the recent-file list.
    void WriteStdProfileSettings(ProfileBatch& ini) override;

private:
    // Templates, ZOK first so it is the first one offered.
    void AddTemplates();
    // TRUE when a device answers on the configured port (no message on any failure).
    BOOL ProbeDevice();
    // Port wizard, then the family choice; TRUE when a device was found or a family chosen.
    BOOL RunFindDevice();
    // The connect road: TRUE when a document was opened from the device.
    BOOL ConnectAndOpen();
    void OpenCommandLineDocument();
    CString LanguageSection(int language) const;
    int ReadLanguageCount();

    int m_bConnectOnNew = 0;
    HINSTANCE m_hLanguage = nullptr;
    CDocTemplate* m_pZOKTemplate = nullptr;
    CDocTemplate* m_pKVRTemplate = nullptr;
    BYTE m_simulatedFamily = kNoFamily;
    int m_nLanguage = 1;
    BOOL m_bSettingsLoaded = FALSE; // by this run's start-up
    std::unique_ptr<InstanceLock> m_pInstanceLock;

    DECLARE_MESSAGE_MAP()
};

// The application object, or null when none of this class runs.
CTalisoApp* GetTalisoApp();

// The message box for a failed file or archive operation on the named file: nothing for
// a user-cancelled one; else the prompt by the exception's cause, the caller's default
// for any other, with the file name as its one argument.
void ReportFileException(LPCTSTR fileName, CException* e, BOOL bSaving, UINT nIDPDefault);
