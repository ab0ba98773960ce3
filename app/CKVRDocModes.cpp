#include "app/CKVRDoc.h"

#include "app/settings/CTalisoSetup.h"
#include "app/DeviceModeSessions.h"
#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/ConfigurationProcedures.h"
#include "device/KVRProcedures.h"
#include "dialogs/CQuestionDialog.h"
#include "framework/ui/CCmdUI.h"
#include "model/CKVRIdentity.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/CSensorObject.h"

namespace {

constexpr BYTE kModeMonitorDevice = 37;

} // namespace

// ------------------------------------------------------------ mode 1: editing

int CKVRDoc::RunMode1(int nAction)
{
    return RunEditMode(nAction, GetSelectedScanner() >= 0);
}

std::unique_ptr<CSensorObject> CKVRDoc::FetchScan(WORD wDivisor)
{
    const int scanner = GetSelectedScanner() + 1;
    if (scanner < 1)
        return nullptr;
    const int count = ScanValueCount(wDivisor);
    std::unique_ptr<CScan> scan;
    RunIdentifiedSession<CKVRSensor>([&](CKVRSensor& sensor) {
        scan = GetMode() == kModeEdit ? ReadKVRScanB(sensor, scanner, count, TRUE)
                                      : ReadKVRScan(sensor, scanner, count, TRUE);
        return scan != nullptr;
    });
    return scan;
}

// ------------------------------------------------------------ mode 2: live monitoring

int CKVRDoc::RunMode2(int nAction)
{
    switch (nAction) {
    case kModeActionStart: {
        std::unique_ptr<CKVRConfig> config = ReadMonitoredConfiguration(kModeMonitorDevice, ReadKVRConfiguration);
        if (config == nullptr)
            return 0;
        SetConfiguration(std::move(config), TRUE);
        NotifyFrames(kNotifyRefillCombos);
        m_pMonitor = std::make_unique<CKVRSensor>(0);
        SetCycle(DWORD(std::max(GetTalisoSetup().m_nTimerScan, 1)));
        return 1;
    }
    case kModeActionStop:
    case kModeActionAbort:
        StopCycle();
        m_simulation.Reset();
        ReleaseConfiguration(TRUE);
        if (m_pMonitor != nullptr) {
            DisconnectSensor(*m_pMonitor, TRUE);
            m_pMonitor.reset();
        }
        NotifyFrames(kNotifyRefillCombos);
        return 1;
    case kModeActionTick: return MonitorTick();
    default: return 0;
    }
}

// The tick builds the unit's new state apart: the views, which may repaint while the
// device is asked, keep showing the last complete one until the new one is whole.
BOOL CKVRDoc::MonitorTick()
{
    const CKVRConfig* config = GetConfiguration();
    if (m_pMonitor == nullptr || config == nullptr || !ConnectSensor(*m_pMonitor, TRUE))
        return FALSE;
    CKVRIdentity identity;
    if (!ReadKVRIdentification(*m_pMonitor, identity, TRUE))
        return FALSE;
    CKVRSimulationState next;
    const int cases = config->GetControlConfigCount();
    const int case1 = identity.GetLowNibble25();
    const int case2 = identity.GetHighNibble25();
    auto known = [cases](int number) { return number > 0 && number <= cases; };
    if (known(case1) || known(case2)) {
        const int speed = (int(identity.GetWord28()) + int(identity.GetWord30())) / 2;
        next.TakeDeviceCases(*config, case1, case2, speed);
    }
    const int count = ScanValueCount(GetTalisoSetup().m_nScanDivisor);
    CKVRCaseState& output1 = *next.GetCase(1);
    CKVRCaseState& output2 = *next.GetCase(2);
    if (output1.sensorIndex >= 0)
        ReadCaseScan(1, count, FALSE, output1);
    if (output2.sensorIndex >= 0) {
        if (output2.sensorIndex != output1.sensorIndex) {
            ReadCaseScan(2, count, FALSE, output2);
        } else if (output1.scan != nullptr) {
            ReadCaseScan(2, count, TRUE, output2);
            next.MergeCaseScanFlags();
        }
    }
    m_simulation = std::move(next);
    UpdateAllViews(nullptr, kHintCurrentObjectChanged);
    return TRUE;
}

void CKVRDoc::ReadCaseScan(int output, int count, BOOL sameScannerAsOutput1, CKVRCaseState& state)
{
    int deliveredBy = 0;
    std::unique_ptr<CScan> scan = ReadKVRScanWithStatus(*m_pMonitor, output, count, deliveredBy, FALSE);
    if (sameScannerAsOutput1) {
        state.scan = std::move(scan);
        return;
    }
    // A scan another scanner delivered belongs to no case shown.
    if (scan != nullptr && deliveredBy == state.sensorIndex + 1) {
        RecordResult(scan.get());
        state.scan = std::move(scan);
    }
}

// ------------------------------------------------------------ modes 3 and 4

BOOL CKVRDoc::PrepareFieldRecord(int capability, UINT nIDRefusal, CFieldTeachRecord& record)
{
    if (CheckContourDevice<CKVRSensor>(capability, nIDRefusal, GetSelectedScanner() >= 0) && IsProtectiveCurrent()) {
        const int pair = GetCurrentSelection().GetIndex();
        record.SetField(GetSelectedScanner() + 1, pair + 1, GetConfiguration()->GetShelterConfigName(pair));
        if (SaveModified())
            return TRUE;
    }
    record.Reset();
    return FALSE;
}

int CKVRDoc::StartFieldMode(int capability, UINT nIDRefusal, CFieldTeachRecord& record,
                            const std::function<BOOL(CKVRSensor&)>& step)
{
    if (!PrepareFieldRecord(capability, nIDRefusal, record))
        return 0;
    if (BeginLoggedInMode<CKVRSensor>(step))
        return 1;
    StopCycle();
    record.Reset();
    return 0;
}

int CKVRDoc::EndFieldMode(CFieldTeachRecord& record, const std::function<void(CKVRSensor&)>& step)
{
    StopCycle();
    EndLoggedInMode<CKVRSensor>(step);
    record.Reset();
    return 1;
}

int CKVRDoc::RunMode3(int nAction)
{
    CFieldTeachRecord& record = m_teachRecord;
    switch (nAction) {
    case kModeActionStart:
        return StartFieldMode(kTeachInCapability, IDP_NO_TEACH_IN, record, [&](CKVRSensor& sensor) {
            if (!RunKVRCommand46Sub0(sensor, record.GetScannerNumber(), record.GetFieldNumber(), record.GetName(),
                                     TRUE))
                return FALSE;
            StampTeachStart();
            record.SetContour(ReadKVRScanSub3(sensor, record.GetScannerNumber(), TRUE));
            if (record.GetContour() != nullptr && SetCycle(kContourPeriod) == 1)
                return TRUE;
            RunKVRCommand46Sub2(sensor, record.GetScannerNumber(), record.GetFieldNumber(), record.GetName(), TRUE);
            return FALSE;
        });
    case kModeActionTick: {
        record.SetContour(nullptr);
        RunIdentifiedSession<CKVRSensor>([&](CKVRSensor& sensor) {
            record.SetContour(ReadKVRScanSub3(sensor, record.GetScannerNumber(), TRUE));
            return TRUE;
        });
        return record.GetContour() != nullptr ? 1 : 0;
    }
    case kModeActionStop: {
        StopCycle();
        int choice = IDCANCEL;
        BOOL ended = FALSE;
        EndLoggedInMode<CKVRSensor>([&](CKVRSensor& sensor) {
            WaitForTeachEnd();
            ended = RunKVRCommand46Sub1(sensor, record.GetScannerNumber(), record.GetFieldNumber(), record.GetName(),
                                        TRUE);
            if (ended)
                choice = AskTeachInChoice();
            if (choice != CQuestionDialog::IDC_ANSWER_VERIFY)
                RunKVRCommand46Sub2(sensor, record.GetScannerNumber(), record.GetFieldNumber(), record.GetName(), TRUE);
        });
        if (ended && record.GetContour() != nullptr)
            TakeTaughtContour(*record.GetContour(), choice);
        record.Reset();
        return 1;
    }
    case kModeActionAbort:
        return EndFieldMode(record, [&](CKVRSensor& sensor) {
            RunKVRCommand46Sub2(sensor, record.GetScannerNumber(), record.GetFieldNumber(), record.GetName(), TRUE);
        });
    default: return 0;
    }
}

int CKVRDoc::RunMode4(int nAction)
{
    CFieldTeachRecord& record = m_verifyRecord;
    switch (nAction) {
    case kModeActionStart:
        return StartFieldMode(kVerificationCapability, IDP_NO_VERIFICATION, record, [&](CKVRSensor& sensor) {
            if (!GetCurrentObject()->IsLocked()) {
                std::unique_ptr<CShelter> written =
                    WriteKVRField(sensor, record.GetFieldNumber(), record.GetName(), GetCurrentObject(), TRUE);
                if (written == nullptr)
                    return FALSE;
                SetCurrentObject(written.get());
                UpdateAllViews(nullptr, kHintCurrentObjectChanged);
            }
            if (!RunKVRCommand41Sub1(sensor, record.GetScannerNumber(), record.GetFieldNumber(), TRUE))
                return FALSE;
            if (SetCycle(kContourPeriod) == 1)
                return TRUE;
            RunKVRCommand41Sub0(sensor, record.GetScannerNumber(), record.GetFieldNumber(), TRUE);
            return FALSE;
        });
    case kModeActionTick: {
        record.SetContour(nullptr);
        std::unique_ptr<CScan> scan;
        RunIdentifiedSession<CKVRSensor>([&](CKVRSensor& sensor) {
            record.SetContour(ReadKVRScanSub4(sensor, record.GetScannerNumber(), TRUE));
            if (record.GetContour() != nullptr)
                scan = ReadKVRScan(sensor, record.GetScannerNumber(), kFullScanValues, TRUE);
            return TRUE;
        });
        // Without a contour the verification goes on: the next tick asks again.
        if (record.GetContour() != nullptr && ShowVerification(std::move(scan), *record.GetContour()))
            RequestModeStop(kModeVerify);
        return 1;
    }
    case kModeActionStop:
        return EndFieldMode(record, [&](CKVRSensor& sensor) {
            const int scanner = record.GetScannerNumber();
            const int field = record.GetFieldNumber();
            if (!IsVerifiedFieldWanted()) {
                RunKVRCommand41Sub0(sensor, scanner, field, TRUE);
            } else if (RunKVRCommand41Sub2(sensor, scanner, field, TRUE) && record.GetContour() != nullptr) {
                TakeVerifiedContour(*record.GetContour());
            }
        });
    case kModeActionAbort:
        return EndFieldMode(record, [&](CKVRSensor& sensor) {
            RunKVRCommand41Sub0(sensor, record.GetScannerNumber(), record.GetFieldNumber(), TRUE);
        });
    default: return 0;
    }
}

// ------------------------------------------------------------ mode 5: case simulation

int CKVRDoc::RunMode5(int nAction)
{
    m_simulation.Reset();
    if (nAction == kModeActionStart) {
        const std::array<int, 4>& inputs = m_simulation.GetInputs();
        EvaluateSimulation(inputs[0], inputs[1], inputs[2], inputs[3], m_simulation.GetSpeed());
    }
    return 1;
}

void CKVRDoc::OnModeSimulation()
{
    SetMode(kModeSimulation);
}

void CKVRDoc::OnUpdateModeSimulation(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(theLoginDialog.CanUseMode5() && GetMode() != kModeTeachIn);
    pCmdUI->SetCheck(GetMode() == kModeSimulation);
}

CPolyShelter* CKVRDoc::GetTeachContour() const { return m_teachRecord.GetContour(); }
CPolyShelter* CKVRDoc::GetVerifyContour() const { return m_verifyRecord.GetContour(); }
