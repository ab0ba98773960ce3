#include "driver/internal/ComPort.h"

#include "driver/internal/DriverLastError.h"
#include "framework/core/SerialPortNames.h"

#include <cerrno>

namespace {

constexpr int PORT_CALL_TRIES = 10;
constexpr BYTE FIRST_PORT = 1;
constexpr BYTE LAST_PORT = 9;

// At these two adapter codes the devices need a pause after every character. The pause
// used to be a busy loop of 35000 iterations, a count without a time; each character is
// now drained and followed by this pause.
constexpr DWORD PACED_CODE_500K = 56000;
constexpr DWORD PACED_CODE_1M = 65312;
constexpr DWORD PACING_PAUSE_MICROSECONDS = 100;

// A read interval of all ones with both read totals 0 returns what has arrived at once.
constexpr DWORD READ_RETURNS_AT_ONCE = 0xFFFFFFFFu;

bool IsPacedCode(DWORD baudCode)
{
    return baudCode == PACED_CODE_500K || baudCode == PACED_CODE_1M;
}

// Linux reports a line fault or a hang-up of a still present device as EIO: the port is
// closed and opened again so that the next telegram finds a working line.
bool NeedsReopen(int errorCode)
{
    return errorCode == EIO;
}

} // namespace

ComPort::ComPort(BYTE portNumber, DWORD baudCode)
    : m_portNumber(portNumber), m_baudCode(baudCode)
{
}

ComPort::~ComPort()
{
    CloseDevice();
}

CString ComPort::DevicePathForPort(BYTE portNumber, const char* iniPath)
{
    return SerialPortDevicePath(portNumber, iniPath);
}

BOOL ComPort::OpenComPort()
{
    return OpenDevice();
}

BOOL ComPort::CloseComPort()
{
    return CloseDevice();
}

BOOL ComPort::IsOpen() const
{
    return m_device.IsOpen() ? TRUE : FALSE;
}

BOOL ComPort::OpenDevice()
{
    if (m_portNumber < FIRST_PORT || m_portNumber > LAST_PORT) {
        SetLastErrorText(IDS_DRV_OPEN_FAILED);
        return FALSE;
    }
    CloseDevice();
    if (m_device.Open(DevicePathForPort(m_portNumber, m_iniPath).str()) != 0) {
        SetLastErrorText(IDS_DRV_OPEN_FAILED);
        return FALSE;
    }
    SerialLineSettings line;
    const bool ready = APIPurgeComm() && APISetupComm() && APISetCommTimeouts() && APIGetCommState(line)
        && APISetCommState(LineSettings());
    if (!ready) {
        CloseDevice();
        return FALSE;
    }
    return TRUE;
}

BOOL ComPort::CloseDevice()
{
    if (!m_device.IsOpen())
        return TRUE;
    return m_device.Close() == 0 ? TRUE : FALSE;
}

SerialLineSettings ComPort::LineSettings() const
{
    return SerialLineSettings{m_baudCode, m_dataBits, m_parity, m_stopBits};
}

BOOL ComPort::SetPortProperties(DWORD baudCode, BYTE dataBits, BYTE parity, BYTE stopBits,
                                DWORD receiveBufferSize, DWORD transmitBufferSize)
{
    m_baudCode = baudCode;
    m_dataBits = dataBits;
    m_parity = parity;
    m_stopBits = stopBits;
    m_receiveBufferSize = receiveBufferSize;
    m_transmitBufferSize = transmitBufferSize;
    if (!IsOpen())
        return TRUE;
    SerialLineSettings line;
    if (!APIGetCommState(line)) {
        SetLastErrorText(IDS_DRV_LINE_STATE_UNREADABLE);
        return FALSE;
    }
    // The line is always set whole: raw, without XON/XOFF or CTS/DSR flow control.
    return APISetCommState(LineSettings());
}

BOOL ComPort::SetTimeoutProperties(DWORD readInterval, DWORD readMultiplier, DWORD readConstant,
                                   DWORD writeMultiplier, DWORD writeConstant)
{
    m_timeouts = SerialTimeouts{readInterval, readMultiplier, readConstant, writeMultiplier, writeConstant};
    if (!IsOpen())
        return TRUE;
    return APISetCommTimeouts();
}

BOOL ComPort::ClearComPortBuffer()
{
    if (!IsOpen())
        return TRUE;
    return APIPurgeComm();
}

BOOL ComPort::SendTelegram(const BYTE* frame, DWORD length)
{
    if (!IsOpen() || !frame) {
        // A send that cannot happen is a failed port call, so the caller has a reason to show.
        SetLastErrorText(IDS_DRV_PORT_CALL_FAILED);
        return FALSE;
    }
    if (!ClearComPortBuffer())
        return FALSE;
    DWORD written = 0;
    const int error = m_device.Write(frame, length, &written, IsPacedCode(m_baudCode) ? PACING_PAUSE_MICROSECONDS : 0);
    if (error != 0) {
        SetLastErrorText(IDS_DRV_PORT_CALL_FAILED);
        APIClearCommError(error);
        return FALSE;
    }
    // Only a frame that left the line whole counts as sent.
    return written == length ? TRUE : FALSE;
}

BOOL ComPort::Receive(BYTE* buffer, DWORD count, DWORD* read)
{
    DWORD received = 0;
    const int error = buffer ? m_device.Read(buffer, count, &received) : EINVAL;
    if (error != 0) {
        APIClearCommError(0);
        received = 0;
    }
    if (read)
        *read = received;
    return error == 0 ? TRUE : FALSE;
}

BOOL ComPort::ReceiveWithin(BYTE* buffer, DWORD count, DWORD* read, DWORD waitMs)
{
    SerialTimeouts bounded = m_timeouts;
    bounded.readMultiplier = 0;
    bounded.readConstant = waitMs;
    if (waitMs == 0)
        bounded.readInterval = READ_RETURNS_AT_ONCE;
    m_device.SetTimeouts(bounded);
    const BOOL result = Receive(buffer, count, read);
    m_device.SetTimeouts(m_timeouts);
    return result;
}

BOOL ComPort::CloseAndReOpen()
{
    if (!IsOpen())
        return FALSE;
    if (!CloseDevice()) {
        SetLastErrorText(IDS_DRV_CLOSE_FAILED);
        return FALSE;
    }
    if (!OpenDevice()) {
        SetLastErrorText(IDS_DRV_OPEN_FAILED);
        return FALSE;
    }
    return TRUE;
}

template <typename Call>
BOOL ComPort::TryPortCall(Call call)
{
    for (int attempt = 0; attempt < PORT_CALL_TRIES; ++attempt) {
        const int error = call();
        if (error == 0)
            return TRUE;
        SetLastErrorText(IDS_DRV_PORT_CALL_FAILED);
        APIClearCommError(error);
        if (!m_device.IsOpen())
            break; // recovery lost the port: further tries cannot succeed
    }
    return FALSE;
}

BOOL ComPort::APIGetCommState(SerialLineSettings& settings)
{
    return TryPortCall([&] { return m_device.ReadLineSettings(settings); });
}

BOOL ComPort::APISetCommState(const SerialLineSettings& settings)
{
    return TryPortCall([&] { return m_device.ApplyLineSettings(settings); });
}

BOOL ComPort::APISetCommTimeouts()
{
    return TryPortCall([&] {
        if (!m_device.IsOpen())
            return EBADF;
        m_device.SetTimeouts(m_timeouts);
        return 0;
    });
}

BOOL ComPort::APISetupComm()
{
    return TryPortCall([&] { return m_device.SetBufferSizes(m_receiveBufferSize, m_transmitBufferSize); });
}

BOOL ComPort::APIPurgeComm()
{
    return TryPortCall([&] { return m_device.PurgeReceive(); });
}

void ComPort::APIClearCommError(int errorCode)
{
    if (m_device.ClearError() != 0 || !NeedsReopen(errorCode) || m_recovering)
        return;
    // Reopening runs port calls that may fail and recover again: one level only.
    m_recovering = true;
    OpenDevice();
    m_recovering = false;
}
