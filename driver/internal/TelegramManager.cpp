#include "driver/internal/TelegramManager.h"

#include "driver/internal/DriverLastError.h"
#include "framework/core/TickCount.h"

#include <algorithm>
#include <cstdint>

namespace {

// The most a read may bring: the receive buffer.
constexpr DWORD kLargestRead = DWORD(kFrameBufferSize);
// STX, address and the length word: what a receiver needs before it knows the frame's size.
constexpr DWORD kFrameHeaderSize = 4;
constexpr DWORD kChecksumSize = 2;
// A frame whose length field says more than this would not fit the frame buffer.
constexpr WORD kMaxReceivedLength = kMaxFrameLength;

// Deadlines are compared by signed difference, so the 32-bit tick count may wrap.
bool IsPast(DWORD now, DWORD deadline)
{
    return std::int32_t(now - deadline) > 0;
}

void ReportReceiveFailure()
{
    SetLastErrorText(IDS_DRV_RECEIVE_FAILED);
}

// An answer of the other family stays a quiet failure: the session probes the family
// that way.
void ReportUnusableAnswer(AnswerError error)
{
    if (error != AnswerError::FamilyMismatch)
        SetLastErrorText(IDS_DRV_ANSWER_UNUSABLE);
}

} // namespace

struct TelegramManager::Pass {
    explicit Pass(FrameSpan target) : frame(target) {}

    FrameSpan frame;
    bool receiveOnly = false;
    ReceiveState state = ReceiveState::WaitStx;
    DWORD ackDeadline = 0;
    DWORD wholeDeadline = 0;
    bool ackPending = false; // an ACK ended the last read; the next byte decides
    std::size_t stored = 0;
    WORD remaining = 0;
    TelegramCrc crc;
};

TelegramManager::TelegramManager(std::unique_ptr<ComPort> port)
    : m_port(port ? std::move(port) : std::make_unique<ComPort>()), m_clock(GetTickCount)
{
}

TelegramManager::~TelegramManager() = default;

void TelegramManager::SetTickSource(TickSource clock)
{
    m_clock = clock ? std::move(clock) : TickSource(GetTickCount);
}

BOOL TelegramManager::OpenPort()
{
    ResetReceiveState();
    return m_port->OpenComPort();
}

BOOL TelegramManager::ClosePort()
{
    ResetReceiveState();
    return m_port->CloseComPort();
}

void TelegramManager::ResetReceiveState()
{
    m_receiveCount = 0;
    m_receiveIndex = 0;
}

BOOL TelegramManager::ExchangeTelegram(RequestSpan request, AnswerSpan answer)
{
    if (PrepareRequest(request) != RequestError::None)
        return FALSE;
    const std::size_t frameLength = BuildTelegramFrame(request, m_sendBuffer);
    if (frameLength == 0)
        return FALSE;
    if (!SendAndReceiveTelegram(m_sendBuffer.data(), DWORD(frameLength), m_answerFrame))
        return FALSE;
    const AnswerError error = ParseAnswerFrame(m_answerFrame, request, answer);
    if (error != AnswerError::None) {
        ReportUnusableAnswer(error);
        return FALSE;
    }
    SetRecordWord(answer, AnswerOffset::Marker, kAnswerMarker);
    return TRUE;
}

BOOL TelegramManager::ExchangeTelegram(AnswerSpan answer)
{
    m_port->ClearComPortBuffer();
    if (ReceiveWithRepeats(m_answerFrame)) {
        // Unpacked into a copy: the poll still succeeds, but a refused frame must not leave
        // its command and length in the caller's record as if its data had come.
        SensorAnswer unpacked;
        std::copy(answer.begin(), answer.end(), unpacked.Bytes().begin());
        const AnswerError error = ParseAnswerFrame(m_answerFrame, unpacked.Bytes());
        if (error == AnswerError::None)
            std::copy(unpacked.Bytes().begin(), unpacked.Bytes().end(), answer.begin());
        else
            ReportUnusableAnswer(error);
    }
    SetRecordWord(answer, AnswerOffset::Marker, kAnswerMarker);
    return TRUE;
}

BOOL TelegramManager::ExchangeTelegram(BYTE* request, BYTE* answer)
{
    if (!answer)
        return FALSE;
    const AnswerSpan answerRecord(answer, kAnswerRecordSize);
    if (!request)
        return ExchangeTelegram(answerRecord);
    return ExchangeTelegram(RequestSpan(request, kRequestRecordSize), answerRecord);
}

BOOL TelegramManager::SendAndReceiveTelegram(const BYTE* frame, DWORD frameLength,
                                             FrameSpan answerFrame)
{
    for (DWORD attempt = 0; attempt < m_settings.repeatCounter; ++attempt) {
        if (!m_port->SendTelegram(frame, frameLength))
            continue;
        if (!StringReceive(answerFrame, false, true))
            continue;
        if (StringReceive(answerFrame, false, false))
            return TRUE;
    }
    return FALSE;
}

BOOL TelegramManager::SendTelegram(const BYTE* frame, DWORD frameLength)
{
    FrameBuffer scratch{};
    for (DWORD attempt = 0; attempt < m_settings.repeatCounter; ++attempt) {
        // The port drops what it received before the write; so do we, or a frame left
        // over from an earlier answer would count as the answer to this one.
        ResetReceiveState();
        if (!m_port->SendTelegram(frame, frameLength))
            continue;
        if (StringReceive(scratch, false, false))
            return TRUE;
    }
    return FALSE;
}

BOOL TelegramManager::ReceiveWithRepeats(FrameSpan answerFrame)
{
    for (DWORD attempt = 0; attempt < m_settings.repeatCounter; ++attempt) {
        if (StringReceive(answerFrame, true, false))
            return TRUE;
    }
    return FALSE;
}

BOOL TelegramManager::StringReceive(FrameSpan answerFrame, bool receiveOnly, bool ackPhase)
{
    Pass pass(answerFrame);
    pass.receiveOnly = receiveOnly;
    if (ackPhase) {
        ResetReceiveState();
        pass.state = ReceiveState::WaitAck;
    }
    // Receive-only gets the same whole limit, measured from the start of the pass: a line
    // that keeps sending bytes which never form a frame must not hold the caller.
    const DWORD t0 = Now();
    pass.ackDeadline = t0 + m_settings.ackResponseTimeout;
    pass.wholeDeadline = t0 + m_settings.stxTimeout + m_settings.readTimeout * kLargestRead;

    for (;;) {
        if (m_receiveIndex >= m_receiveCount && !ReadIntoBuffer(pass))
            return FALSE;
        while (m_receiveIndex < m_receiveCount) {
            const BYTE value = m_receiveBuffer[m_receiveIndex++];
            const ByteVerdict verdict = TakeByte(pass, value, m_receiveIndex == m_receiveCount);
            if (verdict != ByteVerdict::Continue)
                return verdict == ByteVerdict::Success;
        }
        if (IsPast(Now(), CurrentDeadline(pass))) {
            ReportReceiveFailure();
            return FALSE;
        }
    }
}

BOOL TelegramManager::ReadIntoBuffer(Pass& pass)
{
    // Each read waits only for the time left before the deadline, so a peer that trickles
    // bytes cannot stretch the pass beyond it.
    const DWORD now = Now();
    const DWORD deadline = CurrentDeadline(pass);
    DWORD wait = IsPast(now, deadline) ? 0 : deadline - now;
    // Receive-only gives up after a quiet ACKResponseTimeout, so a quiet poll ends soon.
    if (pass.receiveOnly)
        wait = std::min(wait, m_settings.ackResponseTimeout);
    const DWORD size = BytesStillNeeded(pass);
    DWORD received = 0;
    const BOOL ok = m_port->ReceiveWithin(m_receiveBuffer.data(), size, &received, wait);
    if (!ok || received == 0 || received > size) {
        ResetReceiveState();
        ReportReceiveFailure();
        return FALSE;
    }
    m_receiveCount = received;
    m_receiveIndex = 0;
    return TRUE;
}

DWORD TelegramManager::BytesStillNeeded(const Pass& pass) const
{
    // Asking for more than the pass can use would make every read wait out the read
    // interval after the frame's last byte.
    switch (pass.state) {
    case ReceiveState::WaitAck:
        return (pass.ackPending ? 0 : 1) + kFrameHeaderSize;
    case ReceiveState::WaitStx:
        return kFrameHeaderSize;
    case ReceiveState::Address:
        return kFrameHeaderSize - 1;
    case ReceiveState::LengthLow:
        return kFrameHeaderSize - 2;
    case ReceiveState::LengthHigh:
        return kFrameHeaderSize - 3;
    case ReceiveState::Data:
        return DWORD(pass.remaining) + kChecksumSize;
    case ReceiveState::CrcLow:
        return kChecksumSize;
    case ReceiveState::CrcHigh:
        return kChecksumSize - 1;
    }
    return 1;
}

DWORD TelegramManager::CurrentDeadline(const Pass& pass) const
{
    if (pass.state == ReceiveState::WaitAck && !pass.ackPending)
        return pass.ackDeadline;
    return pass.wholeDeadline;
}

TelegramManager::ByteVerdict TelegramManager::TakeByte(Pass& pass, BYTE value, bool lastOfRead)
{
    if (pass.state != ReceiveState::WaitAck)
        return TakeFrameByte(pass, value);

    if (pass.ackPending) {
        pass.ackPending = false;
        if (value == kSTX) {
            --m_receiveIndex; // the STX opens the answer frame
            return ByteVerdict::Success;
        }
    }
    if (value == kACK) {
        if (lastOfRead)
            pass.ackPending = true;
        else if (m_receiveBuffer[m_receiveIndex] == kSTX)
            return ByteVerdict::Success;
        return ByteVerdict::Continue;
    }
    // A NAK counts only as the last byte of a read; anywhere else it is line noise.
    if (value == kNAK && lastOfRead)
        return ByteVerdict::Failure;
    return ByteVerdict::Continue;
}

TelegramManager::ByteVerdict TelegramManager::TakeFrameByte(Pass& pass, BYTE value)
{
    if (pass.state == ReceiveState::WaitStx) {
        if (value != kSTX)
            return ByteVerdict::Continue;
        pass.stored = 0;
        pass.crc.Reset();
    }
    pass.frame[pass.stored++] = value;
    switch (pass.state) {
    case ReceiveState::WaitStx:
        pass.crc.Add(value);
        pass.state = ReceiveState::Address;
        return ByteVerdict::Continue;
    case ReceiveState::Address:
        if (pass.receiveOnly && (value & 0x80) == 0)
            return ByteVerdict::Failure; // only device answers carry bit 7
        pass.crc.Add(value);
        pass.state = ReceiveState::LengthLow;
        return ByteVerdict::Continue;
    case ReceiveState::LengthLow:
        pass.crc.Add(value);
        pass.state = ReceiveState::LengthHigh;
        return ByteVerdict::Continue;
    case ReceiveState::LengthHigh: {
        pass.crc.Add(value);
        const WORD length = MAKEWORD(pass.frame[FrameOffset::Length], value);
        if (length > kMaxReceivedLength)
            return ByteVerdict::Failure;
        pass.remaining = length;
        pass.state = length > 0 ? ReceiveState::Data : ReceiveState::CrcLow;
        return ByteVerdict::Continue;
    }
    case ReceiveState::Data:
        pass.crc.Add(value);
        if (--pass.remaining == 0)
            pass.state = ReceiveState::CrcLow;
        return ByteVerdict::Continue;
    case ReceiveState::CrcLow:
        pass.state = ReceiveState::CrcHigh;
        return ByteVerdict::Continue;
    case ReceiveState::CrcHigh: {
        const WORD received = MAKEWORD(pass.frame[pass.stored - 2], value);
        return received == pass.crc.Value() ? ByteVerdict::Success : ByteVerdict::Failure;
    }
    case ReceiveState::WaitAck:
        break;
    }
    return ByteVerdict::Failure;
}
