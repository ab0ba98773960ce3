#include "tools/RequestFrameDecoder.h"

#include "shared/RecordLayout.h"

#include <cstddef>

namespace {

constexpr std::size_t NAME_SIZE = 8;
constexpr std::size_t FRAME_DATA = 5; // STX, address, length word, command
constexpr std::size_t CHECK_VALUE = 750;

// Count bytes 254 and 255 stand for the beam counts 360 and 400.
WORD CountOfCountByte(BYTE countByte)
{
    if (countByte == 255)
        return 400;
    if (countByte == 254)
        return 360;
    return countByte;
}

// Moves the frame's data bytes, in wire order, to their record offsets. The first move
// that runs out of data or past the record spoils the whole decoding.
class WireToRecord {
public:
    WireToRecord(std::span<const BYTE> data, SensorRequest& record) : m_data(data), m_record(record) {}

    void Byte(std::size_t offset) { Bytes(offset, 1); }
    void Word(std::size_t offset) { Bytes(offset, 2); }
    void Bytes(std::size_t offset, std::size_t count)
    {
        if (!m_ok || count > Left() || offset + count > kRequestRecordSize) {
            m_ok = false;
            return;
        }
        for (std::size_t i = 0; i < count; ++i)
            m_record.SetByte(offset + i, m_data[m_position++]);
    }
    // Eight characters as sent, and the NUL the record keeps after them.
    void Name(std::size_t offset)
    {
        Bytes(offset, NAME_SIZE);
        if (m_ok)
            m_record.SetByte(offset + NAME_SIZE, 0);
    }
    // A count byte, stored as the count it stands for, then count + 1 words.
    void CountedWords(std::size_t countOffset, std::size_t wordsOffset)
    {
        if (!m_ok || Left() == 0) {
            m_ok = false;
            return;
        }
        const WORD count = CountOfCountByte(m_data[m_position++]);
        if (countOffset + 2 > kRequestRecordSize) {
            m_ok = false;
            return;
        }
        m_record.SetWord(countOffset, count);
        Bytes(wordsOffset, 2 * (std::size_t(count) + 1));
    }
    void Rest(std::size_t offset) { Bytes(offset, Left()); }

    BYTE At(std::size_t offset) const { return m_record.Byte(offset); }
    std::size_t Left() const { return m_data.size() - m_position; }
    // Every byte used, none missing.
    bool Complete() const { return m_ok && Left() == 0; }

private:
    std::span<const BYTE> m_data;
    SensorRequest& m_record;
    std::size_t m_position = 0;
    bool m_ok = true;
};

void ScanRequest(WireToRecord& w, bool kvr)
{
    if (kvr)
        w.Byte(9);
    w.Byte(10);
    const BYTE kind = w.At(10);
    if (kind == 5 || (kvr && kind != 1))
        w.Byte(11);
}

void FieldWrite(WireToRecord& w, bool kvr)
{
    if (kvr) {
        w.Byte(9);
        w.Name(10);
    }
    w.Byte(19);
    w.Bytes(20, 6);
    const BYTE shape = w.At(19);
    if (shape > 2) {
        w.Rest(26); // shapes the packing does not know go out as they lie
        return;
    }
    if (shape == 0)
        w.Bytes(26, 6);
    else if (shape == 1)
        w.Word(26);
    else
        w.CountedWords(26, 28);
    w.Word(CHECK_VALUE);
}

void TeachIn(WireToRecord& w, bool kvr)
{
    if (kvr) {
        w.Byte(9);
        w.Name(10);
        w.Byte(19);
    }
    w.Byte(20);
    if (w.At(20) == 0)
        w.Bytes(21, 6);
}

void RectangleContour(WireToRecord& w)
{
    w.Byte(9);
    w.Name(10);
    w.Bytes(19, 14);
    w.Bytes(33, 80); // four groups of ten words
    w.Word(113);
}

// A KVR configuration block or case record from request byte 9, by its shared layout.
void Record(WireToRecord& w, std::span<const RecordLayout::Step> steps)
{
    RecordLayout::VisitSteps(steps, RequestOffset::Data, [&w](const RecordLayout::Step& step) {
        if (step.op == RecordLayout::Op::Name)
            w.Name(step.offset);
        else
            w.Bytes(step.offset, step.count);
        return true;
    });
}

void DecodeData(WireToRecord& w, BYTE command, bool kvr)
{
    switch (command) {
    case 0x30:
        ScanRequest(w, kvr);
        return;
    case 0x34:
        w.Bytes(9, 2);
        if (kvr)
            w.Bytes(11, 2);
        w.Byte(13);
        return;
    case 0x36:
    case 0x45:
        if (kvr)
            w.Byte(9);
        w.Byte(10);
        return;
    case 0x37:
        if (kvr)
            w.Byte(9);
        w.Bytes(10, 4);
        return;
    case 0x40:
        FieldWrite(w, kvr);
        return;
    case 0x41:
    case 0x49:
        w.Byte(9);
        if (kvr)
            w.Bytes(10, 2);
        return;
    case 0x43:
        if (kvr)
            w.Byte(9);
        w.CountedWords(10, 12);
        return;
    case 0x46:
        TeachIn(w, kvr);
        return;
    case 0x48:
        RectangleContour(w);
        return;
    case 0x70:
    case 0x71:
        Record(w, RecordLayout::kKVRConfigBlock);
        return;
    case 0x72:
    case 0x73:
        Record(w, RecordLayout::kKVRCaseRecord);
        return;
    default:
        w.Rest(RequestOffset::Data);
        return;
    }
}

} // namespace

std::optional<SensorRequest> DecodeRequestFrame(std::span<const BYTE> frame, BYTE family)
{
    if (frame.size() < FRAME_DATA + 2)
        return std::nullopt;
    const WORD length = WORD(frame[2] | (frame[3] << 8));
    if (length == 0 || frame.size() != std::size_t(length) + FRAME_DATA + 1)
        return std::nullopt;
    const BYTE command = frame[4];
    SensorRequest request(family, command, frame[1]);
    request.SetWord(RequestOffset::Length, length);
    request.SetWord(RequestOffset::LengthCopy, length);
    WireToRecord w(frame.subspan(FRAME_DATA, std::size_t(length) - 1), request);
    DecodeData(w, command, family == kFamilyKVR);
    if (!w.Complete())
        return std::nullopt;
    return request;
}
