#pragma once
// The application object and its message loop. One object per program; its constructor
// makes it the object AfxGetApp returns.
#include "framework/core/CString.h"
#include "framework/ui/CCmdTarget.h"
#include "framework/ui/UiDefs.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;
class CWnd;
class ProfileBatch;

constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_FILE4 = 0xE113;
constexpr UINT ID_FILE_MRU_LAST = 0xE11F; // the sixteenth entry
constexpr UINT AFX_IDD_NEWTYPEDLG = 30721;
constexpr int AFX_IDC_LISTBOX = 100;
constexpr UINT AFX_IDP_PROFILE_NOT_SAVED = 61736;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // These point into strings the object keeps; change them with the setters.
    LPCTSTR m_pszAppName = "";
    LPCTSTR m_pszProfileName = "";
    LPCTSTR m_pszHelpFilePath = "";
    LPCTSTR m_pszExeName = "";
    // The arguments after the program name, and all of them joined by blanks.
    std::vector<CString> m_arguments;
    LPCTSTR m_lpCmdLine = "";

    void SetAppName(LPCTSTR lpszAppName);
    void SetProfileName(LPCTSTR lpszProfileName);
    void SetHelpFilePath(LPCTSTR lpszHelpFilePath);
    void SetCommandLine(int argc, char** argv);

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: runs until the main window is gone or AfxPostQuitMessage, then
    // returns ExitInstance's result.
    virtual int Run();
    // Idle work after the queue has run empty, lCount counting up from 0 while it returns
    // TRUE; count 0 updates the command user interface of every window.
    virtual BOOL OnIdle(LONG lCount);
    // Every input message passes here before its window gets it; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // 1 begin, -1 end, 0 restore (see CWaitCursor).
    virtual void DoWaitCursor(int nCode);

    CWnd* GetMainWnd() const { return m_pMainWnd; }

    // Cursors from the current resource module, and the standard ones.
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;

    // Document templates, owned by the application from here on; the first added is the
    // first offered.
    CDocTemplate* AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate);
    void AddDocTemplate(CDocTemplate* pTemplate);
    int GetDocTemplateCount() const { return int(m_templates.size()); }
    CDocTemplate* GetDocTemplate(int index) const;
    // Opens the file with the template whose extension matches (else the first); a
    // document already open under that path is activated and returned instead.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    // Every document of every template; FALSE as soon as one declines.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // The open or save dialog for documents: the templates' filters (or the given
    // template's, with its extension as the default), then "all files".
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);
    // Where that dialog opens; empty: the current directory.
    virtual CString GetDocumentDirectory() { return CString(); }

    // Profile values in the INI file m_pszProfileName.
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

    // The recent-file list ("Recent File List", "File1".."FileN") and the preview page
    // count ("Settings", "PreviewPages"); saved by ExitInstance once loaded, in one
    // write of the profile together with what WriteStdProfileSettings adds. A failed
    // save is reported (once) and gives FALSE, as does a program without a profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    BOOL SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    const std::vector<CString>& GetRecentFileList() const { return m_recentFiles; }
    UINT m_nNumPreviewPages = 0;

    // Standard commands an application maps to these handlers.
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    // Closes the main window, which asks to save every modified document first.
    afx_msg void OnAppExit();
    // The print set-up dialog: the PDF file, paper and orientation of later print runs.
    afx_msg void OnFilePrintSetup();
    // Help: the help file m_pszHelpFilePath for a topic or command (see WinHelp.h).
    virtual void WinHelp(ULONG_PTR dwData, UINT nCmd);
    afx_msg void OnHelp();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpUsing();
    afx_msg void OnContextHelp();
    // The recent files replace the menu's ID_FILE_MRU_FILE1 placeholder as "&1 path"
    // items; without entries the placeholder stays, disabled.
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    // Schedules the idle work after the messages now queued (the window layer calls it
    // whenever it delivers a message).
    void RequestIdle();

protected:
    // The values SaveStdProfileSettings writes; an application adds its own settings
    // that are saved at the end, so that they share the one write and its report.
    virtual void WriteStdProfileSettings(ProfileBatch& ini);

private:
    void RunIdleStep();

    CString m_strAppName;
    CString m_strProfileName;
    CString m_strHelpFilePath;
    CString m_strExeName;
    CString m_strCmdLine;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<CString> m_recentFiles;
    UINT m_nMaxMRU = 0;
    bool m_bStdProfileLoaded = false;
    LONG m_idleCount = 0;
    bool m_idleScheduled = false;
    CString m_strRecentPlaceholder; // the menu's own text of the empty list

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Tells the user that settings could not be written to the INI file, with the system's
// reason (an errno value); one call per failed save, however many keys it had.
void AfxReportProfileWriteError(LPCTSTR lpszFileName, int nOsError);
LPCTSTR AfxGetAppName();
// Ends the message loop with the code once the messages now queued have run.
void AfxPostQuitMessage(int nExitCode);
// The program's start: the application object's InitApplication and InitInstance, then
// Run; when InitInstance fails, ExitInstance runs at once to tidy up and its result
// is returned.
int AfxWinMain(int argc, char** argv);
// Tells the application, if any, that a message was delivered.
void AfxRequestIdleProcessing();
