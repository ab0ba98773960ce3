#pragma once
// A dialog that polls a device session on a timer while it runs. Button 1 starts and stops
// the polling; while it runs the log file, setup and Cancel buttons are disabled and the
// dialog cannot be closed, so the session is never left open behind it. A failed poll
// stops the polling. Subclasses open the session, say what one poll shows and logs, and
// handle their own setup button.
#include "framework/core/CString.h"
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"

// Resources of one kind of polling dialog.
struct PollingDialogResources {
    UINT startText;
    UINT stopText;
    UINT noLogFileText;  // shown for an empty log path
    UINT logFilterText;  // default extension and filter of the log file prompt
    int logHelpContext;
    DWORD logSaveFlags;
};

class CPollingDialog : public CDialog {
    DECLARE_DYNAMIC(CPollingDialog)
public:
    static constexpr UINT_PTR kPollTimer = 1;

    ~CPollingDialog() override;

    BOOL OnInitDialog() override;
    BOOL IsRunning() const { return m_bRunning; }

    CButton m_buttonFile;
    CButton m_buttonSetup; // the interval or the filter settings
    CButton m_buttonCancel;
    CButton m_buttonStart;
    CString m_strLogPath; // empty: no log file
    int m_bRunning = 0;

protected:
    CPollingDialog(UINT nIDTemplate, const PollingDialogResources& resources, CWnd* pParentWnd);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent) override;
    afx_msg void OnChooseFile();

    // Opens the device session; FALSE leaves the dialog stopped.
    virtual BOOL OpenSession() = 0;
    virtual void CloseSession() = 0;
    // Called at start once the chosen log file is ready, before the session opens.
    virtual void OnLogFileReady() {}
    // Empties what the previous run showed.
    virtual void ClearShown() = 0;
    virtual UINT PollInterval() const = 0;
    // One poll; FALSE when the polling must stop.
    virtual BOOL PollOnce() = 0;

    // Appends the text to the log file when one is chosen; FALSE when that failed.
    BOOL AppendToChosenLog(const CString& text) const;
    static CString LoadText(UINT id);

private:
    void StartPolling();
    void StopPolling();
    void EnableSetupButtons(BOOL bEnable);

    const PollingDialogResources& m_resources;

    // A device exchange may dispatch further timer messages; one poll at a time in the
    // program.
    static BOOL s_bPolling;

    DECLARE_MESSAGE_MAP()
};
