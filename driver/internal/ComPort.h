#pragma once
// The driver's serial port: opened by number, set up for the device line, writing whole
// frames and reading blocks with blocking reads bounded by the port time-outs.
//
// Port numbers map to device paths: the INI file's section "PORTS", key "COMn", names the
// device of COMn (for example "COM1=/dev/ttyUSB0"); without that key COMn is /dev/ttyS<n-1>.
#include "framework/core/CString.h"
#include "framework/core/SerialDevice.h"
#include "framework/core/WinTypes.h"

class ComPort {
public:
    explicit ComPort(BYTE portNumber = 0, DWORD baudCode = 9600);
    virtual ~ComPort();
    ComPort(const ComPort&) = delete;
    ComPort& operator=(const ComPort&) = delete;

    // The INI file whose "PORTS" section maps port numbers to devices.
    void SetIniPath(const char* iniPath) { m_iniPath = iniPath; }
    const CString& GetIniPath() const { return m_iniPath; }
    // Number and baud code are used by the next open; an open port keeps its line.
    void SetPortNumber(BYTE portNumber) { m_portNumber = portNumber; }
    BYTE GetPortNumber() const { return m_portNumber; }
    void SetBaudCode(DWORD baudCode) { m_baudCode = baudCode; }
    DWORD GetBaudCode() const { return m_baudCode; }
    BYTE GetParity() const { return m_parity; }
    DWORD GetReceiveBufferSize() const { return m_receiveBufferSize; }
    DWORD GetTransmitBufferSize() const { return m_transmitBufferSize; }
    const SerialTimeouts& GetTimeouts() const { return m_timeouts; }

    // The device path that COMn stands for with the given INI file (empty for COM0).
    static CString DevicePathForPort(BYTE portNumber, const char* iniPath);

    // 1..9 only; closes an open port first. Failure leaves the port closed, text 517.
    virtual BOOL OpenComPort();
    // 1 when closed already.
    virtual BOOL CloseComPort();
    virtual BOOL IsOpen() const;
    // Stored for the next open; written to an open port at once (text 516 when the line
    // state cannot be read).
    BOOL SetPortProperties(DWORD baudCode, BYTE dataBits, BYTE parity, BYTE stopBits,
                           DWORD receiveBufferSize, DWORD transmitBufferSize);
    // Read interval, read total multiplier and constant, write total multiplier and
    // constant, in milliseconds; stored, and written to an open port.
    BOOL SetTimeoutProperties(DWORD readInterval, DWORD readMultiplier, DWORD readConstant,
                              DWORD writeMultiplier, DWORD writeConstant);
    // Discards bytes received and not yet read; 1 when closed.
    virtual BOOL ClearComPortBuffer();
    // Purges, writes the whole frame and waits until it left the line.
    virtual BOOL SendTelegram(const BYTE* frame, DWORD length);
    // One blocking read of up to count bytes; *read gets the count (0 on failure).
    virtual BOOL Receive(BYTE* buffer, DWORD count, DWORD* read);
    // Receive that ends at the latest after waitMs instead of the read totals (with 0 it
    // takes only what is there); the read interval still ends it at a pause in the bytes.
    // A receiver with a deadline never waits past it this way.
    virtual BOOL ReceiveWithin(BYTE* buffer, DWORD count, DWORD* read, DWORD waitMs);
    // 0 when closed; text 520 when the close fails, 517 when the open fails.
    virtual BOOL CloseAndReOpen();

protected:
    // The port calls, each tried up to 10 times with error recovery after a failure.
    BOOL APIGetCommState(SerialLineSettings& settings);
    BOOL APISetCommState(const SerialLineSettings& settings);
    BOOL APISetCommTimeouts();
    BOOL APISetupComm();
    BOOL APIPurgeComm();
    // Runs after a failed port call with its errno (0 when none applies); reopens the
    // port when the device reported a hang-up or vanished.
    void APIClearCommError(int errorCode);

private:
    template <typename Call>
    BOOL TryPortCall(Call call);
    BOOL OpenDevice();
    BOOL CloseDevice();
    SerialLineSettings LineSettings() const;

    SerialDevice m_device;
    BYTE m_portNumber;
    DWORD m_baudCode;
    BYTE m_dataBits = 8;
    BYTE m_parity = SERIAL_PARITY_EVEN;
    BYTE m_stopBits = SERIAL_ONE_STOP_BIT;
    DWORD m_receiveBufferSize = 20480;
    DWORD m_transmitBufferSize = 1024;
    SerialTimeouts m_timeouts{5, 0, 0, 0, 5000};
    CString m_iniPath;
    bool m_recovering = false;
};
