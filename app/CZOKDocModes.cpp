#include "app/CZOKDoc.h"

#include "app/settings/CTalisoSetup.h"
#include "app/DeviceModeSessions.h"
#include "device/ConfigurationProcedures.h"
#include "device/CZOKSensor.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CQuestionDialog.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CSensorObject.h"

namespace {

constexpr BYTE kModeMonitorDevice = kModeNormal;

} // namespace

// ------------------------------------------------------------ modes 1 and 2

int CZOKDoc::RunMode1(int nAction)
{
    return RunEditMode(nAction, GetSelectedScanner() > kNoScanner);
}

std::unique_ptr<CSensorObject> CZOKDoc::FetchScan(WORD wDivisor)
{
    const int count = ScanValueCount(wDivisor);
    std::unique_ptr<CScan> scan;
    RunIdentifiedSession<CZOKSensor>([&](CZOKSensor& sensor) {
        scan = ReadZOKScan(sensor, count, TRUE);
        return scan != nullptr;
    });
    return scan;
}

int CZOKDoc::RunMode2(int nAction)
{
    switch (nAction) {
    case kModeActionStart: {
        std::unique_ptr<CZOKConfig> config = ReadMonitoredConfiguration(kModeMonitorDevice, ReadZOKConfiguration);
        if (config == nullptr)
            return 0;
        SetConfiguration(std::move(config), TRUE);
        NotifyFrames(kNotifyRefillCombos);
        SetCycle(DWORD(std::max(GetTalisoSetup().m_nTimerScan, 1)));
        return 1;
    }
    case kModeActionStop:
    case kModeActionAbort:
        StopCycle();
        ReleaseConfiguration(TRUE);
        NotifyFrames(kNotifyRefillCombos);
        return 1;
    // The mode ends at the first tick that brings no result (the settings may ask for a
    // kind of result the scanner has no source for).
    case kModeActionTick: return FetchResult();
    default: return 0;
    }
}

// ------------------------------------------------------------ modes 3 and 4

BOOL CZOKDoc::CheckContourStart(int capability, UINT nIDPrompt)
{
    return CheckContourDevice<CZOKSensor>(capability, nIDPrompt, GetSelectedScanner() != kNoScanner)
        && SaveModified();
}

int CZOKDoc::RunMode3(int nAction)
{
    switch (nAction) {
    case kModeActionStart: {
        if (!CheckContourStart(kTeachInCapability, IDP_NO_TEACH_IN))
            return 0;
        const BOOL started = BeginLoggedInMode<CZOKSensor>([&](CZOKSensor& sensor) {
            if (!RunZOKCommand46Sub0(sensor, TRUE))
                return FALSE;
            StampTeachStart();
            m_pTeachContour = ReadZOKScanSub3(sensor, TRUE);
            if (m_pTeachContour != nullptr && SetCycle(kContourPeriod) == 1)
                return TRUE;
            RunZOKCommand46Sub2(sensor, TRUE);
            return FALSE;
        });
        if (!started) {
            StopCycle();
            m_pTeachContour.reset();
        }
        return started ? 1 : 0;
    }
    case kModeActionTick:
        m_pTeachContour.reset();
        RunIdentifiedSession<CZOKSensor>([&](CZOKSensor& sensor) {
            m_pTeachContour = ReadZOKScanSub3(sensor, TRUE);
            return TRUE;
        });
        return m_pTeachContour != nullptr ? 1 : 0;
    case kModeActionStop: {
        StopCycle();
        int choice = IDCANCEL;
        BOOL ended = FALSE;
        EndLoggedInMode<CZOKSensor>([&](CZOKSensor& sensor) {
            WaitForTeachEnd();
            ended = RunZOKCommand46Sub1(sensor, TRUE);
            if (ended)
                choice = AskTeachInChoice();
            if (choice != CQuestionDialog::IDC_ANSWER_VERIFY)
                RunZOKCommand46Sub2(sensor, TRUE);
        });
        if (ended && m_pTeachContour != nullptr)
            TakeTaughtContour(*m_pTeachContour, choice);
        m_pTeachContour.reset();
        return 1;
    }
    case kModeActionAbort: {
        StopCycle();
        EndLoggedInMode<CZOKSensor>([](CZOKSensor& sensor) { RunZOKCommand46Sub2(sensor, TRUE); });
        m_pTeachContour.reset();
        return 1;
    }
    default: return 0;
    }
}

int CZOKDoc::RunMode4(int nAction)
{
    switch (nAction) {
    case kModeActionStart: {
        if (!CheckContourStart(kVerificationCapability, IDP_NO_VERIFICATION))
            return 0;
        const BOOL started = BeginLoggedInMode<CZOKSensor>([&](CZOKSensor& sensor) {
            const CShelter* field = GetField(kProtectiveField);
            if (field == nullptr)
                return FALSE;
            if (!field->IsLocked()) {
                std::unique_ptr<CShelter> written = WriteZOKField(sensor, field, TRUE);
                if (written == nullptr)
                    return FALSE;
                CShelterSelection protective;
                protective.SetIndexKind(0, kProtectiveField);
                PutField(protective, written.get());
                UpdateAllViews(nullptr, kHintCurrentObjectChanged);
            }
            if (!RunZOKCommand41Sub1(sensor, TRUE))
                return FALSE;
            if (SetCycle(kContourPeriod) == 1)
                return TRUE;
            RunZOKCommand41Sub0(sensor, TRUE);
            return FALSE;
        });
        if (!started)
            StopCycle();
        return started ? 1 : 0;
    }
    case kModeActionTick: {
        m_pVerifyContour.reset();
        std::unique_ptr<CScan> scan;
        RunIdentifiedSession<CZOKSensor>([&](CZOKSensor& sensor) {
            m_pVerifyContour = ReadZOKScanSub4(sensor, TRUE);
            if (m_pVerifyContour != nullptr)
                scan = ReadZOKScan(sensor, kFullScanValues, TRUE);
            return TRUE;
        });
        if (m_pVerifyContour == nullptr)
            return 0;
        if (ShowVerification(std::move(scan), *m_pVerifyContour))
            RequestModeStop(kModeVerify);
        return 1;
    }
    case kModeActionStop: {
        StopCycle();
        EndLoggedInMode<CZOKSensor>([&](CZOKSensor& sensor) {
            if (!IsVerifiedFieldWanted())
                RunZOKCommand41Sub0(sensor, TRUE);
            else if (RunZOKCommand41Sub2(sensor, TRUE) && m_pVerifyContour != nullptr)
                TakeVerifiedContour(*m_pVerifyContour);
        });
        m_pVerifyContour.reset();
        return 1;
    }
    case kModeActionAbort: {
        StopCycle();
        EndLoggedInMode<CZOKSensor>([](CZOKSensor& sensor) { RunZOKCommand41Sub0(sensor, TRUE); });
        m_pVerifyContour.reset();
        return 1;
    }
    default: return 0;
    }
}

CPolyShelter* CZOKDoc::GetTeachContour() const { return m_pTeachContour.get(); }
CPolyShelter* CZOKDoc::GetVerifyContour() const { return m_pVerifyContour.get(); }
void CZOKDoc::SetVerifyContour(std::unique_ptr<CPolyShelter> contour) { m_pVerifyContour = std::move(contour); }
