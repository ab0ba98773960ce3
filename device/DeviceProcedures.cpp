#include "device/DeviceProcedures.h"

#include "device/CSensor.h"
#include "device/ProcedureApplication.h"
#include "framework/ui/MessageBox.h"

using namespace ProcedureSteps;

namespace {

constexpr BYTE kModeRefusedStatus = 1;
constexpr BYTE kPreviewRefusedStatus = 4;

// nullptr for a mode the procedures do not send.
const ProcedureStep* FindModeStep(BYTE mode)
{
    switch (mode) {
    case kModeConfiguration: return &kMode0;
    case kModeAccessCode: return &kMode16;
    case kModeNormal:
    case kModeDocument2: return &kNormalMode;
    default: return nullptr;
    }
}

BOOL RetryModeRequest(CSensor& sensor, BYTE mode, const std::function<BOOL()>& attempt, BOOL prompt)
{
    const ProcedureStep* step = FindModeStep(mode);
    if (!step) return FALSE;
    return RunProcedureStep(*step, attempt, prompt,
                            AskRetryWithNote(sensor, kModeRefusedStatus, step->promptId, kModeRefusedNote));
}

} // namespace

std::function<int()> AskRetryWithNote(const CSensor& sensor, BYTE status, UINT retryId, UINT noteId)
{
    return [&sensor, status, retryId, noteId] {
        return sensor.GetLastStatus() == status ? RetryMessageBox(retryId, noteId) : RetryMessageBox(retryId);
    };
}

std::function<int()> AskRetryPreview(const CSensor& sensor, UINT retryId)
{
    return [&sensor, retryId] {
        return RetryMessageBox(sensor.GetLastStatus() == kPreviewRefusedStatus ? kPreviewRefusedRetry : retryId);
    };
}

BOOL DeviceTypeMatches(BYTE actual, BYTE expected, BOOL prompt)
{
    if (actual == 0 || expected == 0 || actual == expected) return TRUE;
    if (prompt) AfxMessageBox(kDeviceMismatch, MB_OK);
    return FALSE;
}

BOOL ConnectSensor(CAPISensor& sensor, BOOL prompt)
{
    ProcedureApplication* application = GetProcedureApplication();
    sensor.SetSimulated(application && application->IsSimulating() ? 1 : 0);
    const CString iniPath = application ? application->GetIniPath() : CString();

    if (!RunProcedureStep(kLoad, [&] { return sensor.Load(iniPath); }, prompt)) return FALSE;
    if (RunProcedureStep(kOpen, [&] { return sensor.Open(); }, prompt)) return TRUE;
    sensor.Free();
    return FALSE;
}

BOOL DisconnectSensor(CAPISensor& sensor, BOOL prompt)
{
    const BOOL closed = RunProcedureStep(kClose, [&] { return sensor.Close(); }, prompt);
    const BOOL freed = RunProcedureStep(kFree, [&] { return sensor.Free(); }, prompt);
    SetStatusText(kIdleText, TRUE);
    return closed && freed;
}

BOOL IdentifySensor(CSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kIdentify, [&] { return sensor.EnsureFamily(FALSE); }, prompt);
}

BOOL TestConnection(CSensor& sensor, BOOL prompt)
{
    return RunProcedureStep(kTest, [&] { return sensor.TestConnection(); }, prompt);
}

BOOL SendMode2Code(CSensor& sensor, LPCTSTR text, BOOL prompt)
{
    return RunProcedureStep(kMode2Code, [&] { return sensor.SendMode2Code(text); }, prompt);
}

BOOL ChangeDevicePassword(CSensor& sensor, BYTE kind, LPCTSTR text, BOOL prompt)
{
    return RunProcedureStep(kPassword, [&] { return sensor.ChangePassword(kind, text); }, prompt);
}

BOOL SetOperatingMode(CSensor& sensor, BYTE mode, LPCTSTR text, BOOL prompt)
{
    return RetryModeRequest(sensor, mode, [&] { return sensor.SetOperatingMode(mode, text); }, prompt);
}

BOOL SetOperatingModeValue(CSensor& sensor, BYTE mode, BYTE address, LPCTSTR text, BOOL prompt)
{
    return RetryModeRequest(
        sensor, mode, [&] { return sensor.SetOperatingModeValue(mode, address, text); }, prompt);
}

BOOL ReadErrorList(CSensor& sensor, CSensorErrorList& list, BOOL prompt)
{
    return RunProcedureStep(kErrorList, [&] { return sensor.ReadErrorList(list); }, prompt);
}

BOOL ReadErrorListAt(CSensor& sensor, CSensorErrorList& list, BYTE address, BOOL prompt)
{
    return RunProcedureStep(kErrorList, [&] { return sensor.ReadErrorListAt(list, address); }, prompt);
}

int ReadSensorTypeCode(CSensor& sensor, BOOL prompt)
{
    int code = 0;
    RunProcedureStep(
        kType,
        [&] {
            code = sensor.GetSensorTypeCode();
            return code != 0;
        },
        prompt);
    return code;
}
