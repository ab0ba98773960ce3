// ParseAnswerFrame (declared in TelegramFrame.h): checks an answer frame and unpacks its
// data into the answer record by the answer command.
#include "driver/internal/TelegramCrc.h"
#include "driver/internal/TelegramFrame.h"
#include "shared/AnswerLayout.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr BYTE kCountByte400 = 255;
constexpr BYTE kCountByte360 = 254;
constexpr std::size_t kNameSize = 8;
constexpr std::size_t kShortestAnswerLength = 2; // the command and the status byte

WORD CountFromCountByte(BYTE countByte)
{
    if (countByte == kCountByte400)
        return 400;
    if (countByte == kCountByte360)
        return 360;
    return countByte;
}

// Copies data bytes of a frame into a record by the steps of its layout. Every copy is
// bounded by the data the frame holds and by the record; the first one that does not fit
// stops the unpacking.
class AnswerUnpacker {
public:
    AnswerUnpacker(std::span<const BYTE> data, AnswerSpan record) : m_data(data), m_record(record) {}

    // One step; false when the unpacking ends here.
    bool operator()(const AnswerLayout::Step& step)
    {
        using AnswerLayout::Op;
        switch (step.op) {
        case Op::Bytes: Bytes(step.offset, step.count); break;
        case Op::Name:
            Bytes(step.offset, kNameSize);
            Set(step.offset + kNameSize, 0);
            break;
        case Op::Zero: Set(step.offset, 0); break;
        case Op::CountByte: CountByte(step.offset); break;
        case Op::CountWord:
            m_count = Remaining() >= 2 ? MAKEWORD(m_data[m_position], m_data[m_position + 1]) : 0;
            Bytes(step.offset, 2);
            break;
        case Op::CountedWords:
            // A shape whose values did not all come: the fields before them still count
            // (a written field's status among them), the values are not taken.
            if (2 * (m_count + step.count) > Remaining())
                return false;
            Bytes(step.offset, 2 * (m_count + step.count));
            break;
        case Op::RestAsWords:
            // A count that promises more beams than arrived must not leave the missing
            // ones as whatever the record held.
            if (2 * (m_count + step.count) > Remaining())
                Fail(AnswerError::Truncated);
            Bytes(step.offset, Remaining());
            break;
        case Op::Rest: Bytes(step.offset, Remaining()); break;
        case Op::PairCount: PairCount(step.offset); break;
        case Op::RepeatFrom: m_position = std::min<std::size_t>(step.count, m_data.size()); break;
        default: break;
        }
        return !Failed();
    }

    bool Failed() const { return m_error != AnswerError::None; }
    AnswerError Error() const { return m_error; }

private:
    void Bytes(std::size_t offset, std::size_t count)
    {
        if (Failed())
            return;
        if (count > Remaining()) {
            m_error = AnswerError::Truncated;
            return;
        }
        if (offset + count > m_record.size()) {
            m_error = AnswerError::Overflow;
            return;
        }
        std::copy_n(m_data.begin() + std::ptrdiff_t(m_position), count,
                    m_record.begin() + std::ptrdiff_t(offset));
        m_position += count;
    }
    void Set(std::size_t offset, BYTE value)
    {
        if (Failed())
            return;
        if (offset >= m_record.size()) {
            m_error = AnswerError::Overflow;
            return;
        }
        m_record[offset] = value;
    }
    void CountByte(std::size_t offset)
    {
        if (Remaining() == 0) {
            Fail(AnswerError::Truncated);
            return;
        }
        m_count = CountFromCountByte(m_data[m_position]);
        ++m_position;
        Set(offset, LOBYTE(m_count));
        Set(offset + 1, HIBYTE(m_count));
    }
    void PairCount(std::size_t offset)
    {
        const std::size_t pairs = Remaining() / 2;
        if (pairs > 0xFF) {
            Fail(AnswerError::Overflow); // more pairs than a count byte can say
            return;
        }
        Set(offset, BYTE(pairs));
        Bytes(offset + 1, Remaining());
    }
    void Fail(AnswerError error)
    {
        if (!Failed())
            m_error = error;
    }
    std::size_t Remaining() const { return m_data.size() - m_position; }

    std::span<const BYTE> m_data;
    AnswerSpan m_record;
    std::size_t m_position = 0;
    std::size_t m_count = 0;
    AnswerError m_error = AnswerError::None;
};

AnswerError CheckFrame(std::span<const BYTE> frame)
{
    if (frame.size() < FrameOffset::Command)
        return AnswerError::Truncated;
    if (frame[FrameOffset::Stx] != kSTX)
        return AnswerError::NoStx;
    const WORD length = MAKEWORD(frame[FrameOffset::Length], frame[FrameOffset::Length + 1]);
    if (length > kMaxAnswerLength || length < kShortestAnswerLength)
        return AnswerError::BadLength;
    const std::size_t checked = std::size_t(length) + 4;
    if (frame.size() < checked + 2)
        return AnswerError::Truncated;
    const WORD received = MAKEWORD(frame[checked], frame[checked + 1]);
    if (ComputeTelegramCrc(frame.first(checked)) != received)
        return AnswerError::BadChecksum;
    return AnswerError::None;
}

void WriteAnswerHeader(std::span<const BYTE> frame, WORD length, AnswerSpan answer)
{
    SetRecordWord(answer, AnswerOffset::DataLength, WORD(length - 1));
    answer[AnswerOffset::Address] = frame[FrameOffset::Address];
    SetRecordWord(answer, AnswerOffset::FrameLength, length);
    answer[AnswerOffset::Status] = frame[FrameOffset::Command + length - 1];
    answer[AnswerOffset::Command] = frame[FrameOffset::Command];
}

bool FamilyContradictsStatus(BYTE family, BYTE status)
{
    const bool kvrStatus = (status & kStatusKVRBit) != 0;
    return (family == kFamilyKVR && !kvrStatus) || (family == kFamilyZOK && kvrStatus);
}

AnswerError Parse(std::span<const BYTE> frame, std::optional<ConstRequestSpan> request,
                  AnswerSpan answer)
{
    if (AnswerError error = CheckFrame(frame); error != AnswerError::None)
        return error;
    const WORD length = MAKEWORD(frame[FrameOffset::Length], frame[FrameOffset::Length + 1]);
    WriteAnswerHeader(frame, length, answer);

    const BYTE status = answer[AnswerOffset::Status];
    const BYTE family = request ? (*request)[RequestOffset::Family]
                                : ((status & kStatusKVRBit) ? kFamilyKVR : kFamilyZOK);
    if (FamilyContradictsStatus(family, status))
        return AnswerError::FamilyMismatch;

    std::optional<BYTE> requestSubCode;
    if (request)
        requestSubCode = (*request)[10];

    // Unpacked into a copy, so a frame refused half way leaves the data as they were.
    std::array<BYTE, kAnswerRecordSize> unpacked;
    std::copy(answer.begin(), answer.end(), unpacked.begin());
    const auto data = frame.subspan(FrameOffset::Data, std::size_t(length) - kShortestAnswerLength);
    AnswerUnpacker unpacker(data, unpacked);
    // A command without a known layout names none of its data.
    AnswerLayout::Walk(frame[FrameOffset::Command], family == kFamilyKVR, requestSubCode, unpacked, unpacker);
    if (unpacker.Failed())
        return unpacker.Error();
    std::copy(unpacked.begin(), unpacked.end(), answer.begin());
    return AnswerError::None;
}

} // namespace

AnswerError ParseAnswerFrame(std::span<const BYTE> frame, ConstRequestSpan request,
                             AnswerSpan answer)
{
    return Parse(frame, request, answer);
}

AnswerError ParseAnswerFrame(std::span<const BYTE> frame, AnswerSpan answer)
{
    return Parse(frame, std::nullopt, answer);
}
