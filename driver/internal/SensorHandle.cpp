#include "driver/internal/SensorHandle.h"

#include "driver/internal/OrudrvExports.h"
#include "driver/internal/DriverLastError.h"
#include "driver/internal/SensorCaps.h"
#include "framework/core/CException.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr BYTE IDENTIFICATION = 0x31;
constexpr BYTE IDENTIFICATION_ANSWER = 0xB1;
constexpr std::size_t VERSION_TEXT = 9;
constexpr std::size_t VERSION_TEXT_SIZE = 7;
constexpr std::size_t UNIT_SCANNER_TYPE = 28;
constexpr DWORD READ_INTERVAL_MS = 100;
constexpr DWORD WRITE_CONSTANT_MS = 1000;
constexpr BYTE DATA_BITS = 8;
constexpr int FIRST_CAPABILITY = 2;
constexpr int LAST_CAPABILITY = 11;
// As reading "SETUP" bounds it: a longer wait would only look like a hang.
constexpr DWORD MAX_STX_TIMEOUT_MS = 600000;

} // namespace

SensorHandle::SensorHandle(const char* iniPath, std::unique_ptr<ComPort> port)
    : TelegramManager(std::move(port)), m_iniPath(iniPath ? iniPath : "")
{
    Port().SetIniPath(m_iniPath);
    Port().SetPortNumber(1);
    Port().SetBaudCode(9600);
    const PortSettings settings = ReadSetup();
    SetSettings(settings);
    Port().SetPortNumber(BYTE(std::min<DWORD>(settings.port, 255)));
    Port().SetBaudCode(settings.baudCode);
}

PortSettings SensorHandle::ReadSetup() const
{
    PortSettings settings;
    ReadWriteSetupSection(m_iniPath, settings, SETUP_SECTION_READ);
    return settings;
}

BOOL SensorHandle::SaveSetup(const PortSettings& settings) const
{
    const int error = WriteSetupSection(m_iniPath, settings);
    if (error == 0)
        return TRUE;
    SetLastErrorText(IDS_DRV_SETUP_NOT_SAVED, m_iniPath, CFileException::OsErrorText(error));
    return FALSE;
}

BOOL SensorHandle::Open()
{
    if (!OpenPort())
        return FALSE; // the port left its reason
    const PortSettings& s = Settings();
    Port().SetTimeoutProperties(READ_INTERVAL_MS, s.readTotalMultiplier, s.readTotalConstant, s.writeTimeout,
                                WRITE_CONSTANT_MS);
    if (!Port().SetPortProperties(s.baudCode, DATA_BITS, BYTE(s.parity), SERIAL_ONE_STOP_BIT, s.readBufferSize,
                                  s.writeBufferSize))
        return FALSE;
    Port().ClearComPortBuffer();
    return TRUE;
}

BOOL SensorHandle::Query() const
{
    return Port().IsOpen();
}

BOOL SensorHandle::Close()
{
    return ClosePort();
}

BOOL SensorHandle::ReopenIfOpen()
{
    if (!Port().IsOpen())
        return TRUE;
    ResetReceiveState();
    return Port().CloseAndReOpen();
}

BOOL SensorHandle::Setup(const SetupDialogRunner& runDialog)
{
    PortSettings settings = ReadSetup();
    const int result = runDialog ? runDialog(settings) : -1;
    if (result < 0) {
        SetLastErrorText(IDS_DRV_SETUP_UNAVAILABLE);
        return FALSE;
    }
    if (result != 1)
        return FALSE;
    const BOOL saved = SaveSetup(settings);
    SetSettings(settings);
    Port().SetPortNumber(BYTE(std::min<DWORD>(settings.port, 255)));
    Port().SetBaudCode(settings.baudCode);
    return ReopenIfOpen() && saved;
}

DWORD SensorHandle::SetupBaudrate() const
{
    return ReadSetup().baudCode;
}

DWORD SensorHandle::SetupSTXTimeout() const
{
    return ReadSetup().stxTimeout;
}

BOOL SensorHandle::SetBaudrate(DWORD baudCode)
{
    PortSettings settings = ReadSetup();
    settings.baudCode = baudCode;
    const BOOL saved = SaveSetup(settings);
    Port().SetBaudCode(baudCode);
    return ReopenIfOpen() && saved;
}

BOOL SensorHandle::SetSTXTimeout(DWORD milliseconds)
{
    milliseconds = std::min(milliseconds, MAX_STX_TIMEOUT_MS);
    PortSettings settings = ReadSetup();
    settings.stxTimeout = milliseconds;
    const BOOL saved = SaveSetup(settings);
    Settings().stxTimeout = milliseconds;
    return ReopenIfOpen() && saved;
}

BOOL SensorHandle::Telegram(const BYTE* request, BYTE* answer)
{
    if (!answer)
        return FALSE;
    if (!request)
        return ExchangeTelegram(nullptr, answer);
    SensorRequest copy;
    std::memcpy(copy.data(), request, kRequestRecordSize);
    return ExchangeTelegram(copy.data(), answer);
}

DWORD SensorHandle::QueryFirmwareVersion(BYTE family)
{
    SensorRequest request(family, IDENTIFICATION);
    SensorAnswer answer;
    if (!ExchangeTelegram(request.data(), answer.data()) || answer.Command() != IDENTIFICATION_ANSWER)
        return 0;
    char text[VERSION_TEXT_SIZE + 1] = {};
    std::memcpy(text, answer.data() + VERSION_TEXT, VERSION_TEXT_SIZE);
    return ParseFirmwareVersion(text);
}

int SensorHandle::SensorType(int family)
{
    if (family == kFamilyZOK)
        return ScannerTypeOfVersion(QueryFirmwareVersion(kFamilyZOK));
    if (family != kFamilyKVR)
        return kDeviceTypeZOK4;
    SensorRequest request(kFamilyKVR, IDENTIFICATION);
    SensorAnswer answer;
    if (!ExchangeTelegram(request.data(), answer.data()) || answer.Command() != IDENTIFICATION_ANSWER)
        return kDeviceTypeKVR132;
    return UnitTypeOfScannerType(answer.Byte(UNIT_SCANNER_TYPE));
}

int SensorHandle::SensorCaps(int type, int index)
{
    // Indexes outside the table give 0 whatever the device says; no need to ask it.
    if (index < FIRST_CAPABILITY || index > LAST_CAPABILITY)
        return 0;
    const DWORD version = CapabilitiesNeedVersion(type) ? QueryFirmwareVersion(kFamilyZOK) : 0;
    return SensorCapability(type, index, version);
}

DWORD ParseFirmwareVersion(const char* text)
{
    if (!text)
        return 0;
    DWORD value = 0;
    DWORD weight = 1;
    for (std::size_t i = std::strlen(text); i > 0; --i) {
        const char c = text[i - 1];
        if (c < '0' || c > '9')
            continue;
        value += DWORD(c - '0') * weight;
        weight *= 16;
    }
    return value;
}
