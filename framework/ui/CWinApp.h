#pragma once
// The application object and its message loop. One object per program; its constructor
// makes it the object AfxGetApp returns.
#include "framework/core/CString.h"
#include "framework/ui/CCmdTarget.h"
#include "framework/ui/UiDefs.h"

#include <vector>

class CWnd;

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

    // Schedules the idle work after the messages now queued (the window layer calls it
    // whenever it delivers a message).
    void RequestIdle();

private:
    void RunIdleStep();

    CString m_strAppName;
    CString m_strProfileName;
    CString m_strHelpFilePath;
    CString m_strExeName;
    CString m_strCmdLine;
    LONG m_idleCount = 0;
    bool m_idleScheduled = false;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();
// Ends the message loop with the code once the messages now queued have run.
void AfxPostQuitMessage(int nExitCode);
// The program's start: the application object's InitApplication and InitInstance, then
// Run; when InitInstance fails, ExitInstance runs at once (as classic) and its result
// is returned.
int AfxWinMain(int argc, char** argv);
// Tells the application, if any, that a message was delivered.
void AfxRequestIdleProcessing();
