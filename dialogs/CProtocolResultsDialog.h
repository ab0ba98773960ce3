#pragma once
// Records the results a device sends by itself (free texts, measured contours, error
// lists) while it runs: every second one result is collected, shown as readable text
// under a date and time heading and, when a log file is chosen, appended to it. Button 1
// starts and stops the recording; while it runs the other buttons are disabled and the
// dialog cannot be closed. A failed collection or log write stops the recording.
//
// The device session is the subclasses' business: one per family, each with its own
// device object for the dialog's lifetime.
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "framework/core/CString.h"
#include "framework/core/CTime.h"
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/CEdit.h"
#include "shared/SensorTelegram.h"

class CScan;
class CSensorErrorList;

class CProtocolResultsDialog : public CDialog {
    DECLARE_DYNAMIC(CProtocolResultsDialog)
public:
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT kPollInterval = 1000;

    explicit CProtocolResultsDialog(CWnd* pParentWnd = nullptr);
    ~CProtocolResultsDialog() override;

    BOOL OnInitDialog() override;

    // Opens the device session; non-zero on success.
    virtual BOOL StartProtocol() = 0;
    virtual void StopProtocol() = 0;
    // Collects one result into the cleared answer; non-zero on success.
    virtual BOOL QueryResult(AnswerSpan answer) = 0;

    // The readable text of a result: the heading of the time, then the text, the contour
    // rows within the filter or the error lines; empty for any other kind. broken is set
    // for a contour or error list that does not fit its record.
    struct ContourFilter {
        int firstAngle = 0;
        int lastAngle = 180;
        float angleStep = 0.5f;
    };
    static CString FormatResult(ConstAnswerSpan answer, const ContourFilter& filter, const CTime& time,
                                BOOL& broken);
    static CString FormatHeading(const CTime& time);
    static CString FormatContourTable(const CScan& scan, const ContourFilter& filter);
    static CString FormatErrorLines(const CSensorErrorList& list);

    BOOL IsRunning() const { return m_bRunning; }

    CButton m_buttonFile;
    CButton m_buttonSettings;
    CButton m_buttonCancel;
    CButton m_buttonStart;
    CEdit m_editResult;
    CString m_strLogPath;   // empty: no log file
    CString m_strSettings;  // the filter as shown
    int m_bRunning = 0;
    int m_nFirstAngle = 0;
    int m_nLastAngle = 180;
    float m_fAngleStep = 0.5f;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent) override;
    afx_msg void OnChooseFile();
    afx_msg void OnSettings();

private:
    void StartRecording();
    void StopRecording();
    // One collection; FALSE when the recording must stop.
    BOOL PollOnce();
    void EnableSetupButtons(BOOL bEnable);
    ContourFilter Filter() const { return {m_nFirstAngle, m_nLastAngle, m_fAngleStep}; }

    // A device exchange may dispatch further timer messages; one poll at a time for
    // every dialog of the class.
    static BOOL s_bPolling;

    DECLARE_MESSAGE_MAP()
};

class CZOKProtocolResultsDialog : public CProtocolResultsDialog {
    DECLARE_DYNAMIC(CZOKProtocolResultsDialog)
public:
    using CProtocolResultsDialog::CProtocolResultsDialog;

    BOOL StartProtocol() override;
    void StopProtocol() override;
    BOOL QueryResult(AnswerSpan answer) override;

    CZOKSensor m_sensor;
};

class CKVRProtocolResultsDialog : public CProtocolResultsDialog {
    DECLARE_DYNAMIC(CKVRProtocolResultsDialog)
public:
    using CProtocolResultsDialog::CProtocolResultsDialog;

    BOOL StartProtocol() override;
    void StopProtocol() override;
    BOOL QueryResult(AnswerSpan answer) override;

    CKVRSensor m_sensor;
};
