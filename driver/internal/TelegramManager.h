#pragma once
// Carries one request to a device and brings its answer back: sends the frame, waits for
// the device's ACK, receives the answer frame byte by byte against two deadlines,
// checking it as it arrives, and repeats the whole attempt a configured number of times.
// Also receives frames that arrive without a request, and sends download telegrams
// answered by any checksum-correct frame.
//
// Failures by time-out or read error leave last-error text 522; a NAK, a bad checksum,
// an overlong length or a foreign address only fail the attempt. Not thread-safe.
#include "driver/internal/ComPort.h"
#include "driver/internal/PortSettings.h"
#include "driver/internal/TelegramCrc.h"
#include "driver/internal/TelegramFrame.h"
#include "framework/core/WinTypes.h"

#include <functional>
#include <memory>

class TelegramManager {
public:
    // Milliseconds since an arbitrary start, wrapping at 32 bits.
    using TickSource = std::function<DWORD()>;

    // Takes the port to use; without one a real ComPort (port 0, closed) is made.
    explicit TelegramManager(std::unique_ptr<ComPort> port = nullptr);
    virtual ~TelegramManager();
    TelegramManager(const TelegramManager&) = delete;
    TelegramManager& operator=(const TelegramManager&) = delete;

    ComPort& Port() { return *m_port; }
    const ComPort& Port() const { return *m_port; }
    // The exchange reads ReadTimeout, STXTimeout, ACKResponseTimeout and RepeatCounter.
    PortSettings& Settings() { return m_settings; }
    const PortSettings& Settings() const { return m_settings; }
    void SetSettings(const PortSettings& settings) { m_settings = settings; }
    // Replaces the millisecond clock (tests); the default is the system's tick count.
    void SetTickSource(TickSource clock);

    // Opening and closing the port empty the receive buffer.
    BOOL OpenPort();
    BOOL ClosePort();
    void ResetReceiveState();

    // One exchange: prepares and sends the request, unpacks the answer and marks it with
    // 753. 0 when the request is refused (nothing is sent), no attempt succeeded, or the
    // answer frame does not unpack.
    BOOL ExchangeTelegram(RequestSpan request, AnswerSpan answer);
    // Receive-only: waits for a frame the device sends on its own and unpacks it. Returns
    // 1 with the marker set in every case; when nothing arrived the rest of the answer is
    // unchanged, so a quiet poll is not an error.
    BOOL ExchangeTelegram(AnswerSpan answer);
    // The exported form: request may be null (receive-only); answer must not be.
    BOOL ExchangeTelegram(BYTE* request, BYTE* answer);

    // Up to RepeatCounter attempts of write, ACK wait and answer receive.
    BOOL SendAndReceiveTelegram(const BYTE* frame, DWORD frameLength, FrameSpan answerFrame);
    // Download: up to RepeatCounter attempts of write and the receipt of any complete,
    // checksum-correct frame (its content is not looked at).
    BOOL SendTelegram(const BYTE* frame, DWORD frameLength);
    // Receive-only: up to RepeatCounter passes.
    BOOL ReceiveWithRepeats(FrameSpan answerFrame);
    // One receive pass: the ACK phase ends after an ACK with the following STX left
    // unread; the answer phase (or receive-only) ends with a whole frame in answerFrame.
    // No read asks for more bytes than the pass can use or waits past its deadline; a
    // receive-only pass ends STXTimeout + ReadTimeout x 780 after its start at the latest.
    BOOL StringReceive(FrameSpan answerFrame, bool receiveOnly, bool ackPhase);

private:
    enum class ReceiveState { WaitAck, WaitStx, Address, LengthLow, LengthHigh, Data, CrcLow, CrcHigh };
    enum class ByteVerdict { Continue, Success, Failure };
    struct Pass; // the state of one StringReceive

    BOOL ReadIntoBuffer(Pass& pass);
    // At most what the pass can use next: the ACK and the frame header while it waits for
    // the ACK, the header while it waits for a frame, then what the frame still lacks.
    DWORD BytesStillNeeded(const Pass& pass) const;
    // The ACK deadline while an ACK is awaited, else the whole deadline.
    DWORD CurrentDeadline(const Pass& pass) const;
    ByteVerdict TakeByte(Pass& pass, BYTE value, bool lastOfRead);
    ByteVerdict TakeFrameByte(Pass& pass, BYTE value);
    DWORD Now() const { return m_clock(); }

    std::unique_ptr<ComPort> m_port;
    PortSettings m_settings;
    TickSource m_clock;

    // Bytes read from the port and not yet used; they carry over from the ACK phase to
    // the answer phase of one attempt.
    FrameBuffer m_receiveBuffer{};
    DWORD m_receiveCount = 0;
    DWORD m_receiveIndex = 0;

    // Per manager rather than per process, so that handles never share a frame.
    FrameBuffer m_sendBuffer{};
    FrameBuffer m_answerFrame{};
};
