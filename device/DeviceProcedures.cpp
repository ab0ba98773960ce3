#include "device/DeviceProcedures.h"

#include "device/CSensor.h"
#include "device/ProcedureApplication.h"

using namespace ProcedureText;

namespace {

struct ModeTexts {
    UINT status;
    UINT retry;
};

// FALSE for a mode the procedures do not send.
BOOL FindModeTexts(BYTE mode, ModeTexts& texts)
{
    switch (mode) {
    case kModeConfiguration: texts = {kMode0Status, kMode0Retry}; return TRUE;
    case kModeAccessCode: texts = {kMode16Status, kMode16Retry}; return TRUE;
    case kModeNormal:
    case kModeDocument2: texts = {kNormalModeStatus, kNormalModeRetry}; return TRUE;
    default: return FALSE;
    }
}

// A refused mode (status 1) says so in the prompt.
BOOL RetryModeRequest(CSensor& sensor, BYTE mode, const std::function<BOOL()>& attempt, BOOL prompt)
{
    ModeTexts texts{};
    if (!FindModeTexts(mode, texts)) return FALSE;
    SetStatusText(texts.status, TRUE);
    return RetryRounds(attempt, 1, prompt, [&sensor, texts] {
        return sensor.GetLastStatus() == 1 ? RetryMessageBox(texts.retry, kModeRefusedNote)
                                           : RetryMessageBox(texts.retry);
    });
}

} // namespace

BOOL ConnectSensor(CAPISensor& sensor, BOOL prompt)
{
    ProcedureApplication* application = GetProcedureApplication();
    sensor.SetSimulated(application && application->IsSimulating() ? 1 : 0);
    const CString iniPath = application ? application->GetIniPath() : CString();

    SetStatusText(kLoadStatus, TRUE);
    if (!RetrySingle([&] { return sensor.Load(iniPath); }, kLoadRetry, prompt)) return FALSE;

    SetStatusText(kOpenStatus, TRUE);
    if (RetrySingle([&] { return sensor.Open(); }, kOpenRetry, prompt)) return TRUE;
    sensor.Free();
    return FALSE;
}

BOOL DisconnectSensor(CAPISensor& sensor, BOOL prompt)
{
    SetStatusText(kCloseStatus, TRUE);
    const BOOL closed = RetrySingle([&] { return sensor.Close(); }, kCloseRetry, prompt);
    SetStatusText(kFreeStatus, TRUE);
    const BOOL freed = RetrySingle([&] { return sensor.Free(); }, kFreeRetry, prompt);
    SetStatusText(kIdleText, TRUE);
    return closed && freed;
}

BOOL IdentifySensor(CSensor& sensor, BOOL prompt)
{
    SetStatusText(kIdentifyStatus, TRUE);
    return RetrySingle([&] { return sensor.EnsureFamily(FALSE); }, kIdentifyRetry, prompt);
}

BOOL TestConnection(CSensor& sensor, BOOL prompt)
{
    SetStatusText(kTestStatus, TRUE);
    return RetrySingle([&] { return sensor.TestConnection(); }, kTestRetry, prompt);
}

BOOL SendMode2Code(CSensor& sensor, LPCTSTR text, BOOL prompt)
{
    SetStatusText(kMode2CodeStatus, TRUE);
    return RetrySingle([&] { return sensor.SendMode2Code(text); }, kMode2CodeRetry, prompt);
}

BOOL ChangeDevicePassword(CSensor& sensor, BYTE kind, LPCTSTR text, BOOL prompt)
{
    SetStatusText(kPasswordStatus, TRUE);
    return RetrySingle([&] { return sensor.ChangePassword(kind, text); }, kPasswordRetry, prompt);
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
    SetStatusText(kErrorListStatus, TRUE);
    return RetryTriple([&] { return sensor.ReadErrorList(list); }, kErrorListRetry, prompt);
}

BOOL ReadErrorListAt(CSensor& sensor, CSensorErrorList& list, BYTE address, BOOL prompt)
{
    SetStatusText(kErrorListStatus, TRUE);
    return RetryTriple([&] { return sensor.ReadErrorListAt(list, address); }, kErrorListRetry, prompt);
}

int ReadSensorTypeCode(CSensor& sensor, BOOL prompt)
{
    SetStatusText(kTypeStatus, TRUE);
    int code = 0;
    RetryTriple(
        [&] {
            code = sensor.GetSensorTypeCode();
            return code != 0;
        },
        kTypeRetry, prompt);
    return code;
}
