#include "driver/TelegramManager.h"

#include "driver/DriverLastError.h"
#include "framework/core/TickCount.h"

#include <cstdint>

namespace {

constexpr DWORD kAckReadSize = 10;
constexpr DWORD kFrameReadSize = DWORD(kFrameBufferSize);
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

} // namespace

struct TelegramManager::Pass {
    explicit Pass(FrameSpan target) : frame(target) {}

    FrameSpan frame;
    bool receiveOnly = false;
    ReceiveState state = ReceiveState::WaitStx;
    DWORD readSize = kFrameReadSize;
    DWORD ackDeadline = 0;
    DWORD wholeDeadline = 0;
    DWORD lastClock = 0;
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
    if (ParseAnswerFrame(m_answerFrame, request, answer) != AnswerError::None)
        return FALSE;
    SetRecordWord(answer, AnswerOffset::Marker, kAnswerMarker);
    return TRUE;
}

BOOL TelegramManager::ExchangeTelegram(AnswerSpan answer)
{
    m_port->ClearComPortBuffer();
    if (ReceiveWithRepeats(m_answerFrame))
        ParseAnswerFrame(m_answerFrame, answer); // a frame that does not unpack is ignored
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
        pass.readSize = kAckReadSize;
    }
    const DWORD frameTime = m_settings.readTimeout * kFrameReadSize;
    const DWORD t0 = Now();
    pass.lastClock = t0;
    if (receiveOnly) {
        pass.wholeDeadline = t0 + frameTime;
        pass.readSize = kAckReadSize;
    } else {
        pass.ackDeadline = t0 + m_settings.ackResponseTimeout;
        pass.wholeDeadline = t0 + m_settings.stxTimeout + frameTime;
    }

    for (;;) {
        if (m_receiveIndex >= m_receiveCount && !ReadIntoBuffer(pass))
            return FALSE;
        while (m_receiveIndex < m_receiveCount) {
            const BYTE value = m_receiveBuffer[m_receiveIndex++];
            const ByteVerdict verdict = TakeByte(pass, value, m_receiveIndex == m_receiveCount);
            if (verdict != ByteVerdict::Continue)
                return verdict == ByteVerdict::Success;
        }
        pass.lastClock = Now();
        if (DeadlinePassed(pass, pass.lastClock)) {
            ReportReceiveFailure();
            return FALSE;
        }
    }
}

BOOL TelegramManager::ReadIntoBuffer(Pass& pass)
{
    DWORD received = 0;
    const BOOL ok = m_port->Receive(m_receiveBuffer.data(), pass.readSize, &received);
    if (!ok || received == 0 || received > pass.readSize) {
        ResetReceiveState();
        ReportReceiveFailure();
        return FALSE;
    }
    m_receiveCount = received;
    m_receiveIndex = 0;
    if (pass.receiveOnly)
        pass.wholeDeadline =
            pass.lastClock + m_settings.stxTimeout + m_settings.readTimeout * kFrameReadSize;
    return TRUE;
}

bool TelegramManager::DeadlinePassed(const Pass& pass, DWORD now) const
{
    if (pass.state == ReceiveState::WaitAck && !pass.ackPending)
        return IsPast(now, pass.ackDeadline);
    return IsPast(now, pass.wholeDeadline);
}

TelegramManager::ByteVerdict TelegramManager::TakeByte(Pass& pass, BYTE value, bool lastOfRead)
{
    if (pass.state != ReceiveState::WaitAck)
        return TakeFrameByte(pass, value);

    pass.readSize = kFrameReadSize;
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
