#pragma once
// A serial line device opened exclusively, in raw mode, driven by blocking reads and
// writes that follow the time-out rules of a COM port.
#include "framework/core/WinTypes.h"

#include <string>

// The COM time-out record. A read of n bytes ends when n bytes arrived, when
// readMultiplier * n + readConstant ms passed (when either is set), or when readInterval
// ms passed after a byte without a next one (when set). readInterval MAXDWORD with both
// read totals 0 returns at once with what is there. Writes get
// writeMultiplier * n + writeConstant ms to leave the line (when either is set).
struct SerialTimeouts {
    DWORD readInterval = 0;
    DWORD readMultiplier = 0;
    DWORD readConstant = 0;
    DWORD writeMultiplier = 0;
    DWORD writeConstant = 0;
};

// Parity codes as the line-state record numbers them.
enum : BYTE { SERIAL_PARITY_NONE = 0, SERIAL_PARITY_ODD = 1, SERIAL_PARITY_EVEN = 2 };
// Stop-bit codes as the line-state record numbers them.
enum : BYTE { SERIAL_ONE_STOP_BIT = 0, SERIAL_TWO_STOP_BITS = 2 };

struct SerialLineSettings {
    DWORD baudRate = 9600; // any positive integer rate, passed unchanged to the line
    BYTE dataBits = 8;     // 5..8
    BYTE parity = SERIAL_PARITY_NONE;
    BYTE stopBits = SERIAL_ONE_STOP_BIT;
};

// All operations return 0 on success or an errno code; the object owns its descriptor.
class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens an existing device for exclusive use; never creates a file. An open device
    // is closed first. EBUSY when another user holds it.
    int Open(const std::string& path);
    int Close();
    bool IsOpen() const { return m_fd >= 0; }
    // True for the slave side of a pseudo-terminal, which has no line to set up.
    bool IsPseudoTerminal() const { return m_pseudoTerminal; }

    // Raw mode, no flow control of any kind, receiver on, modem lines ignored, DTR and
    // RTS raised. On a pseudo-terminal the rate and parity are requested but may not stick.
    int ApplyLineSettings(const SerialLineSettings& settings);
    // Reads the rate and framing the device reports now.
    int ReadLineSettings(SerialLineSettings& settings) const;

    // Linux sizes its tty buffers itself: the request is accepted and kept only.
    int SetBufferSizes(DWORD receiveSize, DWORD transmitSize);
    void SetTimeouts(const SerialTimeouts& timeouts) { m_timeouts = timeouts; }

    // Discards received bytes not yet read.
    int PurgeReceive();
    // Writes every byte and waits until they left the line, bounded by the write
    // time-outs; with pauseMicroseconds > 0 each byte is sent and drained on its own and
    // followed by that pause. written counts the bytes handed to the device.
    int Write(const BYTE* data, DWORD count, DWORD* written, DWORD pauseMicroseconds = 0);
    // Reads up to count bytes by the read time-out rule; a time-out is success with
    // fewer bytes. A hang-up or vanished device gives EIO.
    int Read(BYTE* buffer, DWORD count, DWORD* received);
    // Checks that the device still answers; there is no error latch to reset on Linux.
    int ClearError();

private:
    int WriteBytes(const BYTE* data, DWORD count, DWORD* written, long long deadline);
    int DrainOutput(long long deadline);

    int m_fd = -1;
    bool m_pseudoTerminal = false;
    // Whether Open turned the port's low-latency mode on (Close turns it off again).
    bool m_lowLatencySet = false;
    DWORD m_receiveBufferSize = 0;
    DWORD m_transmitBufferSize = 0;
    SerialTimeouts m_timeouts;
};
