#include "driver/internal/TelegramFrame.h"

#include "driver/internal/FieldCheckValue.h"
#include "driver/internal/TelegramCrc.h"
#include "driver/internal/TelegramLength.h"
#include "shared/RecordLayout.h"

#include <optional>

namespace {

constexpr std::size_t kNameSize = 8;
constexpr BYTE kBlank = 0x20;
// Count bytes that stand for the two beam counts a byte cannot hold.
constexpr BYTE kCountByte400 = 255;
constexpr BYTE kCountByte360 = 254;

bool IsKVR(ConstRequestSpan request)
{
    return request[RequestOffset::Family] == kFamilyKVR;
}

// A count goes out as one byte; 254 and 255 stand for 360 and 400, so the counts that
// would collide with them, or lose their high byte, cannot be sent.
bool CountFitsCountByte(WORD count)
{
    return count < kCountByte360 || count == 360 || count == 400;
}

BYTE CountByteFor(WORD count)
{
    if (count == 400)
        return kCountByte400;
    if (count == 360)
        return kCountByte360;
    return LOBYTE(count);
}

// Writes the data part of a frame from request fields, refusing to read past the record
// or to write past the room the frame buffer leaves for the checksum.
class FramePacker {
public:
    FramePacker(ConstRequestSpan request, FrameSpan frame) : m_request(request), m_frame(frame) {}

    void Byte(std::size_t offset) { Bytes(offset, 1); }
    void Word(std::size_t offset) { Bytes(offset, 2); }
    void Bytes(std::size_t offset, std::size_t count)
    {
        if (offset + count > m_request.size()) {
            m_ok = false;
            return;
        }
        for (std::size_t i = 0; i < count; ++i)
            Value(m_request[offset + i]);
    }
    // Characters up to the first NUL, then blanks: always 8 bytes on the wire.
    void Name(std::size_t offset)
    {
        bool ended = false;
        for (std::size_t i = 0; i < kNameSize; ++i) {
            ended = ended || m_request[offset + i] == 0;
            Value(ended ? kBlank : m_request[offset + i]);
        }
    }
    void Value(BYTE value)
    {
        if (m_position + 2 > m_frame.size()) {
            m_ok = false;
            return;
        }
        m_frame[m_position++] = value;
    }
    // A count byte followed by count + 1 words from wordsOffset.
    void CountedWords(WORD count, std::size_t wordsOffset)
    {
        Value(CountByteFor(count));
        Bytes(wordsOffset, 2 * (std::size_t(count) + 1));
    }

    bool Ok() const { return m_ok; }
    std::size_t DataCount() const { return m_position - FrameOffset::Data; }

private:
    ConstRequestSpan m_request;
    FrameSpan m_frame;
    std::size_t m_position = FrameOffset::Data;
    bool m_ok = true;
};

void PackScanRequest(FramePacker& pack, ConstRequestSpan request, bool kvr)
{
    const BYTE kind = request[10];
    if (kvr)
        pack.Byte(9);
    pack.Byte(10);
    if (kind == 5 || (kvr && kind != 1))
        pack.Byte(11);
}

void PackFieldWrite(FramePacker& pack, ConstRequestSpan request, bool kvr)
{
    if (kvr) {
        pack.Byte(9);
        pack.Name(10);
    }
    pack.Byte(19);
    pack.Bytes(20, 6);
    switch (request[19]) {
    case 0:
        pack.Bytes(26, 6);
        break;
    case 1:
        pack.Word(26);
        break;
    default:
        pack.CountedWords(GetRecordWord(request, 26), 28);
        break;
    }
    pack.Word(RequestOffset::CheckValue);
}

void PackTeachIn(FramePacker& pack, ConstRequestSpan request, bool kvr)
{
    if (kvr) {
        pack.Byte(9);
        pack.Name(10);
        pack.Byte(19);
    }
    pack.Byte(20);
    if (request[20] == 0)
        pack.Bytes(21, 6);
}

void PackRectangleContour(FramePacker& pack)
{
    pack.Byte(9);
    pack.Name(10);
    pack.Bytes(19, 14);
    pack.Bytes(33, 80); // four groups of ten words
    pack.Word(113);
}

// A KVR configuration block or case record from request byte 9, by its shared layout.
void PackRecord(FramePacker& pack, std::span<const RecordLayout::Step> steps)
{
    RecordLayout::VisitSteps(steps, RequestOffset::Data, [&pack](const RecordLayout::Step& step) {
        if (step.op == RecordLayout::Op::Name)
            pack.Name(step.offset);
        else
            pack.Bytes(step.offset, step.count);
        return pack.Ok();
    });
}

// Commands whose data are L - 1 record bytes from byte 9 on, unchanged (L >= 1).
void PackUnchanged(FramePacker& pack, WORD length)
{
    pack.Bytes(RequestOffset::Data, std::size_t(length) - 1);
}

bool HasListedShape(ConstRequestSpan request)
{
    return request[19] <= 2;
}

void PackData(FramePacker& pack, ConstRequestSpan request, WORD length)
{
    const bool kvr = IsKVR(request);
    switch (request[RequestOffset::Command]) {
    case 0x30:
        PackScanRequest(pack, request, kvr);
        return;
    case 0x34:
        pack.Bytes(9, 2);
        if (kvr)
            pack.Bytes(11, 2);
        pack.Byte(13);
        return;
    case 0x36:
    case 0x45:
        if (kvr)
            pack.Byte(9);
        pack.Byte(10);
        return;
    case 0x37:
        if (kvr)
            pack.Byte(9);
        pack.Bytes(10, 4);
        return;
    case 0x40:
        if (HasListedShape(request))
            PackFieldWrite(pack, request, kvr);
        else
            PackUnchanged(pack, length);
        return;
    case 0x41:
    case 0x49: // the same layout as 0x41, so the data always match the length rule
        pack.Byte(9);
        if (kvr)
            pack.Bytes(10, 2);
        return;
    case 0x43:
        if (kvr)
            pack.Byte(9);
        pack.CountedWords(GetRecordWord(request, 10), 12);
        return;
    case 0x44:
    case 0x47:
        PackUnchanged(pack, length);
        return;
    case 0x46:
        PackTeachIn(pack, request, kvr);
        return;
    case 0x48:
        PackRectangleContour(pack);
        return;
    case 0x70:
    case 0x71:
        PackRecord(pack, RecordLayout::kKVRConfigBlock);
        return;
    case 0x72:
    case 0x73:
        PackRecord(pack, RecordLayout::kKVRCaseRecord);
        return;
    default:
        PackUnchanged(pack, length);
        return;
    }
}

// The beam count a request sends through a count byte, when it has one.
std::optional<WORD> CountOfRequest(ConstRequestSpan request)
{
    const BYTE command = request[RequestOffset::Command];
    if (command == 0x40 && request[19] == 2)
        return GetRecordWord(request, 26);
    if (command == 0x43)
        return GetRecordWord(request, 10);
    return std::nullopt;
}

} // namespace

RequestError PrepareRequest(RequestSpan request)
{
    if (GetRecordWord(request, RequestOffset::Marker) != kRequestMarker)
        return RequestError::BadMarker;
    if (RequestError error = SetTelegramLength(request); error != RequestError::None)
        return error;
    const WORD length = GetRecordWord(request, RequestOffset::LengthCopy);
    if (std::size_t(length) + kFrameOverhead >= kFrameBufferSize)
        return RequestError::TooLong;
    if (const auto count = CountOfRequest(request); count && !CountFitsCountByte(*count))
        return RequestError::BadCount;
    const FieldCheck check = FieldCheckValue(request);
    if (check.error != RequestError::None)
        return check.error;
    if (check.value)
        SetRecordWord(request, check.offset, *check.value);
    FrameBuffer scratch{};
    if (BuildTelegramFrame(request, scratch) == 0)
        return RequestError::BadLength;
    return RequestError::None;
}

std::size_t BuildTelegramFrame(ConstRequestSpan request, FrameSpan frame)
{
    const WORD length = GetRecordWord(request, RequestOffset::LengthCopy);
    if (length == 0 || std::size_t(length) + kFrameOverhead >= kFrameBufferSize)
        return 0;
    if (const auto count = CountOfRequest(request); count && !CountFitsCountByte(*count))
        return 0;
    frame[FrameOffset::Stx] = kSTX;
    frame[FrameOffset::Address] = request[RequestOffset::Address];
    frame[FrameOffset::Length] = request[RequestOffset::LengthCopy];
    frame[FrameOffset::Length + 1] = request[RequestOffset::LengthCopy + 1];
    frame[FrameOffset::Command] = request[RequestOffset::Command];
    FramePacker pack(request, frame);
    PackData(pack, request, length);
    // A frame whose data disagree with its length field would be misread by the device.
    if (!pack.Ok() || pack.DataCount() != std::size_t(length) - 1)
        return 0;
    const std::size_t checked = std::size_t(length) + 4;
    const WORD crc = ComputeTelegramCrc(std::span<const BYTE>(frame.data(), checked));
    frame[checked] = LOBYTE(crc);
    frame[checked + 1] = HIBYTE(crc);
    return checked + 2;
}
