#pragma once
// Polls a KVR unit at a chosen interval and shows its control inputs and two outputs as
// lamps, its two speeds with their difference, and a list of the last 20 readings; every
// reading can be appended to a log file as a tab-separated line. Button 1 starts and
// stops the polling; while it runs the other buttons are disabled and the dialog cannot
// be closed. A failed reading or log write stops the polling.
//
// The device session is the subclass's business; it keeps its device object for the
// dialog's lifetime.
#include "device/CKVRSensor.h"
#include "dialogs/CExtentListBox.h"
#include "dialogs/CIndicatorButton.h"
#include "framework/core/CString.h"
#include "framework/core/CTime.h"
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"

#include <array>
#include <cstdint>
#include <vector>

class CKVRIdentity;

// One reading of the unit; every field is cleared before a query.
struct CMonitorReading {
    std::int32_t inputA = 0;
    std::int32_t inputB = 0;
    std::int32_t inputC = 0;
    std::int32_t inputD = 0;
    std::int32_t outputA = 0;
    std::int32_t outputB = 0;
    std::int32_t speed1 = 0;
    std::int32_t speed2 = 0;
    std::uint32_t case1 = 0; // 0: no active case
    std::uint32_t case2 = 0;
    CTime time;
};

class CMonitorDialog : public CDialog {
    DECLARE_DYNAMIC(CMonitorDialog)
public:
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr int kLampCount = 6;
    static constexpr int kListLength = 20;

    explicit CMonitorDialog(CWnd* pParentWnd = nullptr);
    ~CMonitorDialog() override;

    BOOL OnInitDialog() override;

    virtual BOOL StartMonitor() = 0;
    virtual void StopMonitor() = 0;
    // Fills the cleared reading; non-zero on success.
    virtual BOOL QueryMonitor(CMonitorReading& reading) = 0;

    static CString FormatListLine(const CMonitorReading& reading);
    static CString FormatLogLine(const CMonitorReading& reading);
    // Sample list lines that set the widths of the list's columns.
    static std::vector<CString> WidestListLines();

    BOOL IsRunning() const { return m_bRunning; }

    CButton m_buttonFile;
    CButton m_buttonInterval;
    CButton m_buttonCancel;
    CButton m_buttonStart;
    CString m_strLogPath; // empty: no log file
    std::array<CIndicatorButton, kLampCount> m_lamps;
    CExtentListBox m_listReadings;
    int m_bRunning = 0;
    int m_nInterval = 500;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent) override;
    afx_msg void OnChooseFile();
    afx_msg void OnInterval();

private:
    void StartMonitoring();
    void StopMonitoring();
    // One reading; FALSE when the polling must stop.
    BOOL PollOnce();
    void ShowReading(const CMonitorReading& reading);
    void AddListLine(const CString& line);
    void EnableSetupButtons(BOOL bEnable);

    // A device exchange may dispatch further timer messages; one poll at a time for
    // every dialog of the class.
    static BOOL s_bPolling;

    DECLARE_MESSAGE_MAP()
};

class CKVRMonitorDialog : public CMonitorDialog {
    DECLARE_DYNAMIC(CKVRMonitorDialog)
public:
    using CMonitorDialog::CMonitorDialog;

    BOOL StartMonitor() override;
    void StopMonitor() override;
    // The unit's identification (0x31), read into the reading with the current time.
    BOOL QueryMonitor(CMonitorReading& reading) override;

    // Inputs from bits 0-3 of byte 27, outputs from bits 0-1 of byte 26, the speeds from
    // the words at 28 and 30, the cases from the nibbles of byte 25.
    static void FillReading(const CKVRIdentity& identity, CMonitorReading& reading);

    CKVRSensor m_sensor;
};
