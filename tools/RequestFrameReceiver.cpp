#include "tools/RequestFrameReceiver.h"

#include "tools/WireChecksum.h"

namespace {

constexpr BYTE STX = 0x02;
constexpr std::size_t HEADER_AND_CHECKSUM = 6;

} // namespace

void RequestFrameReceiver::Reset()
{
    m_state = State::HuntStx;
    m_length = 0;
    m_frame.clear();
}

RequestFrameReceiver::Result RequestFrameReceiver::Take(BYTE value)
{
    switch (m_state) {
    case State::HuntStx:
        if (value == STX) {
            m_frame.assign(1, value);
            m_state = State::Address;
        }
        return Result::Pending;
    case State::Address:
        m_frame.push_back(value);
        m_state = State::LengthLow;
        return Result::Pending;
    case State::LengthLow:
        m_frame.push_back(value);
        m_state = State::LengthHigh;
        return Result::Pending;
    case State::LengthHigh:
        m_frame.push_back(value);
        m_length = std::size_t(m_frame[2]) | (std::size_t(value) << 8);
        // A frame holds at least its command and never exceeds the largest frame.
        if (m_length == 0 || m_length + HEADER_AND_CHECKSUM > kLargestFrame) {
            Reset();
            return Result::Pending;
        }
        m_state = State::Body;
        return Result::Pending;
    case State::Body:
        m_frame.push_back(value);
        if (--m_length == 0)
            m_state = State::ChecksumLow;
        return Result::Pending;
    case State::ChecksumLow:
        m_frame.push_back(value);
        m_state = State::ChecksumHigh;
        return Result::Pending;
    case State::ChecksumHigh:
        m_frame.push_back(value);
        return Finish();
    }
    return Result::Pending;
}

RequestFrameReceiver::Result RequestFrameReceiver::Finish()
{
    m_state = State::HuntStx;
    const std::size_t checked = m_frame.size() - 2;
    const WORD sent = WORD(m_frame[checked] | (m_frame[checked + 1] << 8));
    const WORD computed = WireChecksum(std::span<const BYTE>(m_frame.data(), checked));
    return sent == computed ? Result::Frame : Result::BadChecksum;
}
