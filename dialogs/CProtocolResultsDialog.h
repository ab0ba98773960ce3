#pragma once
// Records the results a device sends by itself (free texts, measured contours, error
// lists) while it runs: every second one result is collected, shown as readable text
// under a date and time heading and, when a log file is chosen, appended to it. A failed
// collection or log write stops the recording.
//
// The device session is the subclasses' business: one per family, each with its own
// device object for the dialog's lifetime.
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "dialogs/CPollingDialog.h"
#include "framework/core/CString.h"
#include "framework/core/CTime.h"
#include "framework/ui/CEdit.h"
#include "shared/SensorTelegram.h"

class CScan;
class CSensorErrorList;

class CProtocolResultsDialog : public CPollingDialog {
    DECLARE_DYNAMIC(CProtocolResultsDialog)
public:
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

    CEdit m_editResult;
    CString m_strSettings; // the filter as shown
    int m_nFirstAngle = 0;
    int m_nLastAngle = 180;
    float m_fAngleStep = 0.5f;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OpenSession() override { return StartProtocol(); }
    void CloseSession() override { StopProtocol(); }
    void ClearShown() override;
    UINT PollInterval() const override { return kPollInterval; }
    BOOL PollOnce() override;
    afx_msg void OnSettings();

private:
    ContourFilter Filter() const { return {m_nFirstAngle, m_nLastAngle, m_fAngleStep}; }

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
