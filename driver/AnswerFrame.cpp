// ParseAnswerFrame (declared in TelegramFrame.h): checks an answer frame and unpacks its
// data into the answer record by the answer command.
#include "driver/TelegramCrc.h"
#include "driver/TelegramFrame.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

namespace {

constexpr std::size_t kNameSize = 8;
constexpr BYTE kCountByte400 = 255;
constexpr BYTE kCountByte360 = 254;
constexpr std::size_t kShortestAnswerLength = 2; // the command and the status byte
constexpr std::size_t kLockedContourBeams = 361;

WORD CountFromCountByte(BYTE countByte)
{
    if (countByte == kCountByte400)
        return 400;
    if (countByte == kCountByte360)
        return 360;
    return countByte;
}

// Copies data bytes of a frame into a record. Every copy is bounded by the data the
// frame holds and by the record; the first one that does not fit stops the unpacking.
class AnswerUnpacker {
public:
    AnswerUnpacker(std::span<const BYTE> data, AnswerSpan record) : m_data(data), m_record(record) {}

    void Byte(std::size_t offset) { Bytes(offset, 1); }
    void Word(std::size_t offset) { Bytes(offset, 2); }
    void Words(std::initializer_list<std::size_t> offsets)
    {
        for (std::size_t offset : offsets)
            Word(offset);
    }
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
    // 8 characters and a NUL after them.
    void Name(std::size_t offset)
    {
        Bytes(offset, kNameSize);
        Set(offset + kNameSize, 0);
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
    // All data bytes that are left, up to the status byte.
    void Rest(std::size_t offset) { Bytes(offset, Remaining()); }
    // A count byte stored as a word (254 and 255 stand for 360 and 400); the count.
    WORD CountWord(std::size_t offset)
    {
        if (Failed() || Remaining() == 0) {
            Bytes(offset, 1); // records the failure
            return 0;
        }
        const WORD count = CountFromCountByte(m_data[m_position]);
        Skip(1);
        Set(offset, LOBYTE(count));
        Set(offset + 1, HIBYTE(count));
        return count;
    }
    // A count byte stored as a word, then count + 1 words.
    void CountedWords(std::size_t countOffset, std::size_t wordsOffset)
    {
        const WORD count = CountWord(countOffset);
        Bytes(wordsOffset, 2 * (std::size_t(count) + 1));
    }
    // A count word, then the rest as words; the frame must carry as many as it counts.
    void CountWordThenRest(std::size_t countOffset, std::size_t wordsOffset)
    {
        const WORD count = Remaining() >= 2 ? MAKEWORD(m_data[m_position], m_data[m_position + 1]) : 0;
        Word(countOffset);
        WordsThenRest(count, wordsOffset);
    }
    // A count byte stored as a word, then the rest as words, at least count + 1 of them.
    void CountByteThenRest(std::size_t countOffset, std::size_t wordsOffset)
    {
        const WORD count = CountWord(countOffset);
        WordsThenRest(std::size_t(count) + 1, wordsOffset);
    }
    // The rest as words, at least wordCount of them: a count that promises more beams
    // than arrived must not leave the missing ones as whatever the record held.
    void WordsThenRest(std::size_t wordCount, std::size_t offset)
    {
        if (!Failed() && 2 * wordCount > Remaining())
            m_error = AnswerError::Truncated;
        Rest(offset);
    }
    void Fail(AnswerError error)
    {
        if (!Failed())
            m_error = error;
    }
    void Skip(std::size_t count) { m_position += std::min(count, Remaining()); }
    // Moves back to an earlier data byte (a layout that sends some bytes twice).
    void SeekTo(std::size_t position) { m_position = std::min(position, m_data.size()); }

    std::size_t Remaining() const { return m_data.size() - m_position; }
    bool Failed() const { return m_error != AnswerError::None; }
    AnswerError Error() const { return m_error; }

private:
    std::span<const BYTE> m_data;
    AnswerSpan m_record;
    std::size_t m_position = 0;
    AnswerError m_error = AnswerError::None;
};

// What the unpacking of a command needs to know of the request.
struct UnpackContext {
    bool kvr = false;
    std::optional<BYTE> requestSubCode; // request byte 10, absent in receive-only mode
};

void UnpackIdentificationKVR(AnswerUnpacker& u)
{
    u.Bytes(9, 7);
    u.Set(16, 0);
    u.Byte(17);
    u.Byte(18);
    u.Name(19);
    u.Byte(28);
    u.Word(29);
    u.Bytes(31, 6);
    u.Words({37, 39});
    u.Byte(41);
}

void UnpackIdentificationZOK(AnswerUnpacker& u)
{
    u.Bytes(9, 7);
    u.Set(16, 0);
    u.Byte(17);
    u.Byte(18);
    u.Name(19);
    u.Byte(28);
    u.Bytes(42, 16);  // 8 words
    u.Bytes(58, 8);   // 4 words
    u.Bytes(106, 16); // 8 words
    u.Bytes(122, 8);  // 4 words
    u.Word(66);
    u.Bytes(68, 18); // 9 words
    u.Words({86, 130, 132});
    u.Words({88, 90, 104, 102, 92, 94, 96, 98, 100});
    u.Byte(29);
    u.Word(30);
    u.Byte(32);
    u.Byte(33);
    u.Word(35);
    u.Byte(34);
    for (std::size_t offset : {37, 38, 39, 41, 40})
        u.Byte(offset);
}

void UnpackErrorList(AnswerUnpacker& u)
{
    const std::size_t pairs = u.Remaining() / 2;
    if (pairs > 0xFF) {
        u.Fail(AnswerError::Overflow); // more pairs than a count byte can say
        return;
    }
    u.Set(9, BYTE(pairs));
    u.Rest(10);
}

void UnpackDiagnosisB4(AnswerUnpacker& u, bool kvr)
{
    u.Bytes(9, 4);
    if (kvr) {
        u.Byte(13);
        u.Rest(14);
        return;
    }
    u.SeekTo(2); // the device's layout repeats data bytes 3 and 4 from byte 13 on
    u.Rest(13);
}

void UnpackFieldRead(AnswerUnpacker& u, AnswerSpan record, bool kvr)
{
    u.Byte(9);
    if (kvr) {
        u.Byte(10);
        u.Name(11);
    }
    u.Byte(20);
    u.Bytes(21, 4);
    u.Word(25);
    if (u.Failed())
        return;
    switch (record[20]) {
    case 0:
        u.Words({27, 29, 31});
        break;
    case 1:
        u.Word(27);
        break;
    case 2:
        u.CountedWords(27, 29);
        break;
    default:
        return;
    }
    u.Word(AnswerOffset::CheckValue);
}

void UnpackStoredField(AnswerUnpacker& u, AnswerSpan record, bool kvr, BYTE requestSubCode)
{
    const bool warningField = requestSubCode == 1;
    if (kvr) {
        if (!warningField)
            u.Byte(20);
        u.Byte(9);
        u.Name(10);
    }
    u.Byte(19);
    if (!warningField) {
        u.Bytes(21, 4);
        u.Word(25);
    }
    if (u.Failed())
        return;
    switch (record[19]) {
    case 0:
        u.Words({27, 29, 31});
        break;
    case 1:
        u.Word(27);
        break;
    case 2:
    case 3:
        u.CountByteThenRest(27, 29);
        break;
    case 4:
        u.WordsThenRest(kLockedContourBeams, 27);
        break;
    case 7:
        u.Words({27, 29, 31, 33});
        u.Bytes(35, 80); // four groups of ten words
        break;
    default:
        break;
    }
}

void UnpackConfigurationBlock(AnswerUnpacker& u, std::size_t first)
{
    // The block read (0xB8) starts at 9, its write answer (0xF0) one byte later.
    u.Bytes(first, 2);
    for (std::size_t i = 0; i < 4; ++i)
        u.Name(first + 2 + 9 * i);
    u.Bytes(first + 38, 4);
    u.Bytes(first + 42, 6);
    for (std::size_t i = 0; i < 8; ++i)
        u.Name(first + 48 + 9 * i);
    u.Bytes(first + 120, 2);
    u.Words({first + 122, first + 124, first + 126, first + 128});
    u.Bytes(first + 130, 6);
    u.Word(first + 136);
}

void UnpackCaseRecord(AnswerUnpacker& u, std::size_t first)
{
    // The case read (0xB9) starts at 9, its write answer (0xF2) one byte later.
    u.Byte(first);
    u.Name(first + 1);
    u.Word(first + 10);
    u.Bytes(first + 12, 4);
    u.Word(first + 16);
    u.Bytes(first + 18, 4);
    u.Words({first + 22, first + 24});
}

void UnpackRectangleContour(AnswerUnpacker& u)
{
    u.Bytes(9, 2);
    u.Name(11);
    u.Bytes(20, 4);
    u.Words({24, 26, 28, 30, 32});
    u.Bytes(34, 80); // four groups of ten words
    u.Word(114);
}

void UnpackData(AnswerUnpacker& u, BYTE command, AnswerSpan record, const UnpackContext& context)
{
    const bool kvr = context.kvr;
    switch (command) {
    case 0x90:
        u.Bytes(9, 14);
        u.Set(23, 0);
        return;
    case 0xA0:
    case 0xD0:
        u.Byte(9);
        return;
    case 0xB0:
        if (kvr)
            u.Byte(9);
        u.CountWordThenRest(10, 12);
        return;
    case 0xB1:
        if (kvr)
            UnpackIdentificationKVR(u);
        else
            UnpackIdentificationZOK(u);
        return;
    case 0xB2:
        UnpackErrorList(u);
        return;
    case 0xB4:
        UnpackDiagnosisB4(u, kvr);
        return;
    case 0xB6:
        if (kvr)
            u.Byte(9);
        u.Byte(10);
        u.Word(11);
        u.Rest(13);
        return;
    case 0xB7:
        if (kvr)
            u.Byte(9);
        u.Words({10, 12, 14});
        u.Rest(16);
        return;
    case 0xB8:
        UnpackConfigurationBlock(u, 9);
        return;
    case 0xB9:
        UnpackCaseRecord(u, 9);
        return;
    case 0xC0:
        UnpackFieldRead(u, record, kvr);
        return;
    case 0xC1:
        u.Byte(9);
        if (kvr)
            u.Bytes(10, 2);
        return;
    case 0xC2:
        u.Bytes(9, 2);
        return;
    case 0xC3:
    case 0xC6:
    case 0xCA:
        u.Byte(9);
        if (kvr)
            u.Byte(10);
        return;
    case 0xC4:
    case 0xC9:
        u.Bytes(9, 3);
        return;
    case 0xC5:
        // Its layout depends on the request's sub-code; without a request it is unknown.
        if (context.requestSubCode)
            UnpackStoredField(u, record, kvr, *context.requestSubCode);
        return;
    case 0xC8:
        UnpackRectangleContour(u);
        return;
    case 0xE0:
    case 0xE2:
    case 0xE4:
    case 0xE5:
    case 0xE6:
    case 0xE7:
    case 0xE8:
    case 0xE9:
    case 0xF7:
    case 0xF8:
        u.Bytes(9, 2);
        return;
    case 0xF0:
        u.Byte(9);
        UnpackConfigurationBlock(u, 10);
        return;
    case 0xF2:
        u.Byte(9);
        UnpackCaseRecord(u, 10);
        return;
    case 0xF4:
        u.Byte(9);
        u.Word(10);
        return;
    default:
        return;
    }
}

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

    UnpackContext context;
    context.kvr = family == kFamilyKVR;
    if (request)
        context.requestSubCode = (*request)[10];

    // Unpacked into a copy, so a frame refused half way leaves the data as they were.
    std::array<BYTE, kAnswerRecordSize> unpacked;
    std::copy(answer.begin(), answer.end(), unpacked.begin());
    const auto data = frame.subspan(FrameOffset::Data, std::size_t(length) - kShortestAnswerLength);
    AnswerUnpacker unpacker(data, unpacked);
    UnpackData(unpacker, frame[FrameOffset::Command], unpacked, context);
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
