#include "diagnose/DiagnoseEntry.h"

#include "diagnose/internal/DiagnoseRequest.h"
#include "diagnose/internal/DiagnoseState.h"
#include "diagnose/internal/DiagnoseTexts.h"
#include "diagnose/internal/InputDialogs.h"
#include "driver/orudrv.h"
#include "framework/core/Resources.h"
#include "outside/dravdlg/DravDlg.h"
#include "shared/SensorTelegram.h"

#include <array>
#include <cstring>

namespace {

constexpr UINT IDS_DIAGNOSE_TITLE = 1570;
constexpr int kErrorTextLength = 79;
constexpr std::size_t kTitleSize = 80;

void ShowDriverError(HWND parent, DiagnoseLine& line)
{
    ShowDiagnoseMessage(parent, MB_OK | MB_ICONEXCLAMATION, -1, {line.TakeLastError(kErrorTextLength)});
}

// One exchange with the library's address; false when it failed.
bool Exchange(SensorRequest& request, SensorAnswer& answer)
{
    DiagnoseLine* line = TheDiagnoseState().line;
    return line && line->Telegram(request.data(), answer.data());
}

// The family that answers the error-list probe: KVR when the unit says so, ZOK when only
// the ZOK probe is answered, and KVR when nothing answers.
BYTE ProbeFamily()
{
    SensorRequest kvr(kFamilyKVR, 0x32, 0);
    SensorAnswer answer;
    if (Exchange(kvr, answer))
        return answer.IsKVRStatus() ? kFamilyKVR : kFamilyZOK;
    SensorRequest zok(kFamilyZOK, 0x32, 0);
    answer = SensorAnswer();
    return Exchange(zok, answer) ? kFamilyZOK : kFamilyKVR;
}

} // namespace

extern "C" void SetResourceHandle(HINSTANCE module)
{
    TheDiagnoseState().resources = module;
    DravDlgSetResourceHandle(module);
}

BOOL QueryDeviceAddress(HWND parent)
{
    std::array<BYTE, kDeviceAddressBlockSize> block{};
    block[2] = ProbeFamily();
    if (RunInputDialog(parent, IDD_DEVICE_ADR, DeviceAdrDlgProc, block.data()) != 1)
        return FALSE;
    TheDiagnoseState().address = block[0];
    TheDiagnoseState().family = block[1];
    return TRUE;
}

int EnsureDiagnosisMode(LPARAM)
{
    const DiagnoseState& state = TheDiagnoseState();
    SensorRequest identify(state.family, 0x31, state.address);
    SensorAnswer answer;
    if (!Exchange(identify, answer))
        return 0;
    const BYTE mode = answer.Byte(17);
    if (answer.Command() == 0xB1 && mode >= 0x20 && mode <= 0x25)
        return 1;
    SensorRequest diagnosisMode(state.family, 0x20, state.address);
    diagnosisMode.SetByte(RequestOffset::Data, 0x21);
    answer = SensorAnswer();
    return Exchange(diagnosisMode, answer) && answer.Command() == 0xA0 && answer.Byte(9) == 0 ? 1 : 0;
}

int SetupDriver(HWND parent)
{
    DiagnoseLine* line = TheDiagnoseState().line;
    return line ? line->Setup(parent) : 0;
}

int ShowEditResultDialog(HWND parent, char* text)
{
    if (!text)
        return 0;
    return int(RunInputDialog(parent, IDD_EDIT_RESULT, EditResultDlgProc, text));
}

extern "C" void DialogDiagnose(HWND parent, const char* iniPath, const char* password)
{
    DiagnoseState& state = TheDiagnoseState();
    std::array<char, 9> name{};
    std::memcpy(name.data(), "DIAGNOSE", 8);
    std::array<char, kTitleSize> title{};
    LoadString(state.resources, IDS_DIAGNOSE_TITLE, title.data(), int(title.size()));

    DIALOGINFOSTRUCT info;
    info.RequestCallback = DiagnoseRequest;
    info.EditResultCallback = ShowEditResultDialog;
    info.SetupCallback = SetupDriver;
    info.ModeCheckCallback = EnsureDiagnosisMode;
    info.ResourceHandle = state.resources;
    info.Name = name.data();
    info.IniPath = iniPath;
    info.NameAgain = name.data();
    info.Title = title.data();
    info.Password = password;

    const std::intptr_t handle = LoadSensor(iniPath);
    DriverLine line(handle);
    if (handle == 0) {
        ShowDriverError(parent, line);
        return;
    }
    ScopedDiagnoseLine inUse(line);
    if (!OpenSensor(handle)) {
        ShowDriverError(parent, line);
        FreeSensor(handle);
        return;
    }
    if (QueryDeviceAddress(parent))
        DravDialog(parent, &info);
    if (!CloseSensor(handle))
        ShowDriverError(parent, line);
    if (!FreeSensor(handle))
        ShowDriverError(parent, line);
}
