#pragma once
// Polls a KVR unit at a chosen interval and shows its control inputs and two outputs as
// lamps, its two speeds with their difference, and a list of the last 20 readings; every
// reading can be appended to a log file as a tab-separated line. A failed reading or log
// write stops the polling.
//
// The device session is the subclass's business; it keeps its device object for the
// dialog's lifetime.
#include "device/CKVRSensor.h"
#include "dialogs/controls/CExtentListBox.h"
#include "dialogs/controls/CIndicatorButton.h"
#include "dialogs/CPollingDialog.h"
#include "framework/core/CString.h"
#include "framework/core/CTime.h"

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

class CMonitorDialog : public CPollingDialog {
    DECLARE_DYNAMIC(CMonitorDialog)
public:
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

    std::array<CIndicatorButton, kLampCount> m_lamps;
    CExtentListBox m_listReadings;
    int m_nInterval = 500;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OpenSession() override { return StartMonitor(); }
    void CloseSession() override { StopMonitor(); }
    void OnLogFileReady() override;
    void ClearShown() override;
    UINT PollInterval() const override { return UINT(m_nInterval); }
    BOOL PollOnce() override;
    afx_msg void OnInterval();

private:
    void ShowReading(const CMonitorReading& reading);
    void AddListLine(const CString& line);

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
