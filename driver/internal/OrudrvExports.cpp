// The exported functions of orudrv.h. Each one turns the handle back into its object and
// keeps every exception inside the library: a caller in C cannot catch one.
#include "driver/orudrv.h"

#include "driver/internal/DeviceTexts.h"
#include "driver/internal/DriverLastError.h"
#include "driver/internal/FirmwareDownload.h"
#include "driver/internal/OrudrvExports.h"
#include "driver/internal/SensorHandle.h"
#include "driver/internal/SetupDialog.h"
#include "driver/internal/SimulatedIdentity.h"

#include <new>

namespace {

SensorHandle* HandleOf(intptr_t handle)
{
    return reinterpret_cast<SensorHandle*>(handle);
}

// Runs body on the handle's object; 0 for a null handle or an escaping exception.
template <typename Body>
int WithHandle(intptr_t handle, Body body)
{
    SensorHandle* sensor = HandleOf(handle);
    if (!sensor)
        return 0;
    try {
        return body(*sensor);
    } catch (...) {
        return 0;
    }
}

} // namespace

extern "C" {

intptr_t LoadSensor(const char* iniPath)
{
    try {
        return reinterpret_cast<intptr_t>(new SensorHandle(iniPath));
    } catch (const std::bad_alloc&) {
        SetLastErrorText(IDS_DRV_NO_MEMORY);
        return 0;
    } catch (...) {
        return 0;
    }
}

int FreeSensor(intptr_t handle)
{
    delete HandleOf(handle); // the destructor closes an open port
    return 1;
}

int OpenSensor(intptr_t handle)
{
    return WithHandle(handle, [](SensorHandle& sensor) { return sensor.Open(); });
}

int QuerySensor(intptr_t handle)
{
    return WithHandle(handle, [](SensorHandle& sensor) { return sensor.Query(); });
}

int CloseSensor(intptr_t handle)
{
    return WithHandle(handle, [](SensorHandle& sensor) { return sensor.Close(); });
}

int SetupSensor(intptr_t handle, intptr_t parentWindow)
{
    const HWND parent = reinterpret_cast<HWND>(parentWindow);
    return WithHandle(handle, [parent](SensorHandle& sensor) {
        return sensor.Setup([parent](PortSettings& settings) { return int(ShowSetupDialog(parent, settings)); });
    });
}

int GetSetupBaudrate(intptr_t handle)
{
    return WithHandle(handle, [](SensorHandle& sensor) { return int(sensor.SetupBaudrate()); });
}

int GetSetupSTXTimeout(intptr_t handle)
{
    return WithHandle(handle, [](SensorHandle& sensor) { return int(sensor.SetupSTXTimeout()); });
}

int SetBaudrate(intptr_t handle, int baudCode)
{
    return WithHandle(handle, [baudCode](SensorHandle& sensor) { return sensor.SetBaudrate(DWORD(baudCode)); });
}

int SetSTXTimeout(intptr_t handle, int milliseconds)
{
    const DWORD value = milliseconds < 0 ? 0 : DWORD(milliseconds);
    return WithHandle(handle, [value](SensorHandle& sensor) { return sensor.SetSTXTimeout(value); });
}

int TelegramSensor(intptr_t handle, const unsigned char* request, unsigned char* answer)
{
    return WithHandle(handle, [request, answer](SensorHandle& sensor) { return sensor.Telegram(request, answer); });
}

int TelegramDownload(intptr_t handle, unsigned char* request)
{
    if (!request)
        return 0; // nothing was sent, so nothing was answered
    return WithHandle(handle, [request](SensorHandle& sensor) {
        return FirmwareDownload(sensor).SendTelegram(RequestSpan(request, kRequestRecordSize));
    });
}

int DownloadHexFile(intptr_t handle, unsigned char* request, const char* hexFilePath)
{
    if (!request)
        return 0;
    return WithHandle(handle, [request, hexFilePath](SensorHandle& sensor) {
        return FirmwareDownload(sensor).SendHexFile(RequestSpan(request, kRequestRecordSize), hexFilePath);
    });
}

int ErrorSensor(intptr_t handle, char* buffer, int size)
{
    (void)handle;
    return CopyAndClearLastErrorText(buffer, size);
}

int TextSensor(int textClass, int code, char* buffer, int size, int extra)
{
    (void)extra;
    try {
        return TextSensorText(textClass, code, buffer, size);
    } catch (...) {
        return 0;
    }
}

int GetSensorType(intptr_t handle, int family)
{
    return WithHandle(handle, [family](SensorHandle& sensor) { return sensor.SensorType(family); });
}

int GetSensorCaps(intptr_t handle, int type, int index)
{
    return WithHandle(handle, [type, index](SensorHandle& sensor) { return sensor.SensorCaps(type, index); });
}

int GetZOKSimData(int unused1, int unused2, unsigned char* record)
{
    (void)unused1;
    (void)unused2;
    if (record)
        FillZOKSimData(std::span<BYTE, kZOKSimDataSize>(record, kZOKSimDataSize));
    return 0;
}

int GetKVRSimData(int unused1, int unused2, unsigned char* record)
{
    (void)unused1;
    (void)unused2;
    if (record)
        FillKVRSimData(std::span<BYTE, kKVRSimDataSize>(record, kKVRSimDataSize));
    return 0;
}

intptr_t OruDrvSetResourceHandle(intptr_t module)
{
    SetDriverResourceHandle(reinterpret_cast<HINSTANCE>(module));
    return module;
}

} // extern "C"
