#include "tools/AnswerFrameEncoder.h"

#include "tools/WireChecksum.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace {

constexpr BYTE STX = 0x02;
constexpr BYTE ANSWER_ADDRESS_BIT = 0x80;
constexpr std::size_t NAME_SIZE = 8;
constexpr std::size_t LARGEST_ANSWER_LENGTH = 773;
constexpr std::size_t CONTOUR_WORDS = 361;

// Beam counts 360 and 400 travel as the count bytes 254 and 255.
BYTE CountByteOf(WORD count)
{
    if (count == 400)
        return 255;
    if (count == 360)
        return 254;
    return LOBYTE(count);
}

// Appends record fields to the frame data in wire order.
class RecordToWire {
public:
    RecordToWire(ConstAnswerSpan record, std::size_t declaredData)
        : m_record(record), m_declaredData(declaredData)
    {
    }

    void Byte(std::size_t offset) { Bytes(offset, 1); }
    void Word(std::size_t offset) { Bytes(offset, 2); }
    void Words(std::initializer_list<std::size_t> offsets)
    {
        for (std::size_t offset : offsets)
            Word(offset);
    }
    void Bytes(std::size_t offset, std::size_t count)
    {
        if (!m_ok || offset + count > m_record.size()) {
            m_ok = false;
            return;
        }
        m_data.insert(m_data.end(), m_record.begin() + std::ptrdiff_t(offset),
                      m_record.begin() + std::ptrdiff_t(offset + count));
    }
    void Name(std::size_t offset) { Bytes(offset, NAME_SIZE); }
    // The count of the word at offset as a count byte; returns the count.
    WORD CountByte(std::size_t offset)
    {
        const WORD count = GetRecordWord(m_record, offset);
        m_data.push_back(CountByteOf(count));
        return count;
    }
    // Bytes up to the declared end of the data, or fallbackCount without a declaration;
    // never past the record.
    void Rest(std::size_t offset, std::size_t fallbackCount)
    {
        std::size_t count = fallbackCount;
        if (m_declaredData > 0)
            count = m_declaredData > m_data.size() ? m_declaredData - m_data.size() : 0;
        if (offset >= m_record.size())
            count = 0;
        else
            count = std::min(count, m_record.size() - offset);
        Bytes(offset, count);
    }

    BYTE At(std::size_t offset) const { return m_record[offset]; }
    WORD WordAt(std::size_t offset) const { return GetRecordWord(m_record, offset); }
    bool Ok() const { return m_ok; }
    std::vector<BYTE>& Data() { return m_data; }

private:
    ConstAnswerSpan m_record;
    std::size_t m_declaredData; // data bytes without the status; 0 when not declared
    std::vector<BYTE> m_data;
    bool m_ok = true;
};

void IdentificationKVR(RecordToWire& w)
{
    w.Bytes(9, 7);
    w.Byte(17);
    w.Byte(18);
    w.Name(19);
    w.Byte(28);
    w.Word(29);
    w.Bytes(31, 6);
    w.Words({37, 39});
    w.Byte(41);
}

void IdentificationZOK(RecordToWire& w)
{
    w.Bytes(9, 7);
    w.Byte(17);
    w.Byte(18);
    w.Name(19);
    w.Byte(28);
    w.Bytes(42, 16);
    w.Bytes(58, 8);
    w.Bytes(106, 16);
    w.Bytes(122, 8);
    w.Word(66);
    w.Bytes(68, 18);
    w.Words({86, 130, 132});
    w.Words({88, 90, 104, 102, 92, 94, 96, 98, 100});
    w.Byte(29);
    w.Word(30);
    w.Byte(32);
    w.Byte(33);
    w.Word(35);
    w.Byte(34);
    for (std::size_t offset : {37, 38, 39, 41, 40})
        w.Byte(offset);
}

void ConfigurationBlock(RecordToWire& w, std::size_t first)
{
    w.Bytes(first, 2);
    for (std::size_t i = 0; i < 4; ++i)
        w.Name(first + 2 + 9 * i);
    w.Bytes(first + 38, 4);
    w.Bytes(first + 42, 6);
    for (std::size_t i = 0; i < 8; ++i)
        w.Name(first + 48 + 9 * i);
    w.Bytes(first + 120, 2);
    w.Words({first + 122, first + 124, first + 126, first + 128});
    w.Bytes(first + 130, 6);
    w.Word(first + 136);
}

void CaseRecord(RecordToWire& w, std::size_t first)
{
    w.Byte(first);
    w.Name(first + 1);
    w.Word(first + 10);
    w.Bytes(first + 12, 4);
    w.Word(first + 16);
    w.Bytes(first + 18, 4);
    w.Words({first + 22, first + 24});
}

void FieldRead(RecordToWire& w, bool kvr)
{
    w.Byte(9);
    if (kvr) {
        w.Byte(10);
        w.Name(11);
    }
    w.Byte(20);
    w.Bytes(21, 4);
    w.Word(25);
    switch (w.At(20)) {
    case 0:
        w.Words({27, 29, 31});
        break;
    case 1:
        w.Word(27);
        break;
    case 2: {
        const WORD count = w.CountByte(27);
        w.Bytes(29, 2 * (std::size_t(count) + 1));
        break;
    }
    default:
        return;
    }
    w.Word(AnswerOffset::CheckValue);
}

void StoredField(RecordToWire& w, bool kvr, BYTE requestSubCode)
{
    const bool warningField = requestSubCode == 1;
    if (kvr) {
        if (!warningField)
            w.Byte(20);
        w.Byte(9);
        w.Name(10);
    }
    w.Byte(19);
    if (!warningField) {
        w.Bytes(21, 4);
        w.Word(25);
    }
    switch (w.At(19)) {
    case 0:
        w.Words({27, 29, 31});
        break;
    case 1:
        w.Word(27);
        break;
    case 2:
    case 3: {
        const WORD countLess1 = w.CountByte(27);
        w.Rest(29, 2 * (std::size_t(countLess1) + 1));
        break;
    }
    case 4:
        w.Rest(27, 2 * CONTOUR_WORDS);
        break;
    case 7:
        w.Words({27, 29, 31, 33});
        w.Bytes(35, 80);
        break;
    default:
        break;
    }
}

void RectangleContour(RecordToWire& w)
{
    w.Bytes(9, 2);
    w.Name(11);
    w.Bytes(20, 4);
    w.Words({24, 26, 28, 30, 32});
    w.Bytes(34, 80);
    w.Word(114);
}

void EncodeData(RecordToWire& w, BYTE command, bool kvr, BYTE requestSubCode)
{
    switch (command) {
    case 0x90:
        w.Bytes(9, 14);
        return;
    case 0xA0:
    case 0xD0:
        w.Byte(9);
        return;
    case 0xB0:
        if (kvr)
            w.Byte(9);
        w.Word(10);
        w.Rest(12, 2 * std::size_t(w.WordAt(10))); // the word counts the values
        return;
    case 0xB1:
        if (kvr)
            IdentificationKVR(w);
        else
            IdentificationZOK(w);
        return;
    case 0xB2:
        w.Rest(10, 2 * std::size_t(w.At(9))); // byte 9 counts the pairs
        return;
    case 0xB4:
        if (kvr) {
            w.Bytes(9, 4);
            w.Byte(13);
            w.Rest(14, 0);
        } else {
            // Record bytes 11-12 repeat 13-14: the wire carries them once.
            w.Bytes(9, 2);
            w.Rest(13, 2);
        }
        return;
    case 0xB6:
        if (kvr)
            w.Byte(9);
        w.Byte(10);
        w.Word(11);
        w.Rest(13, 0);
        return;
    case 0xB7:
        if (kvr)
            w.Byte(9);
        w.Words({10, 12, 14});
        w.Rest(16, 0);
        return;
    case 0xB8:
        ConfigurationBlock(w, 9);
        return;
    case 0xB9:
        CaseRecord(w, 9);
        return;
    case 0xC0:
        FieldRead(w, kvr);
        return;
    case 0xC1:
        w.Byte(9);
        if (kvr)
            w.Bytes(10, 2);
        return;
    case 0xC2:
        w.Bytes(9, 2);
        return;
    case 0xC3:
    case 0xC6:
    case 0xCA:
        w.Byte(9);
        if (kvr)
            w.Byte(10);
        return;
    case 0xC4:
    case 0xC9:
        w.Bytes(9, 3);
        return;
    case 0xC5:
        StoredField(w, kvr, requestSubCode);
        return;
    case 0xC8:
        RectangleContour(w);
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
        w.Bytes(9, 2);
        return;
    case 0xF0:
        w.Byte(9);
        ConfigurationBlock(w, 10);
        return;
    case 0xF2:
        w.Byte(9);
        CaseRecord(w, 10);
        return;
    case 0xF4:
        w.Byte(9);
        w.Word(10);
        return;
    default:
        w.Rest(AnswerOffset::Data, 0);
        return;
    }
}

} // namespace

std::vector<BYTE> EncodeAnswerFrame(ConstRequestSpan request, ConstAnswerSpan answer)
{
    // Bytes 2-3 count the data after the command with the status; the fields exclude it.
    const std::size_t declared = GetRecordWord(answer, AnswerOffset::DataLength);
    RecordToWire w(answer, declared > 0 ? declared - 1 : 0);
    const BYTE command = answer[AnswerOffset::Command];
    EncodeData(w, command, request[RequestOffset::Family] == kFamilyKVR, request[10]);
    if (!w.Ok())
        return {};
    const std::vector<BYTE>& data = w.Data();
    const std::size_t length = data.size() + 2; // command and status
    if (length > LARGEST_ANSWER_LENGTH)
        return {};
    std::vector<BYTE> frame{STX, BYTE(request[RequestOffset::Address] | ANSWER_ADDRESS_BIT), BYTE(length & 0xFF),
                            BYTE(length >> 8), command};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(answer[AnswerOffset::Status]);
    const WORD checksum = WireChecksum(frame);
    frame.push_back(LOBYTE(checksum));
    frame.push_back(HIBYTE(checksum));
    return frame;
}
