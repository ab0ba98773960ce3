#include "tools/AnswerFrameEncoder.h"

#include "shared/AnswerLayout.h"
#include "tools/WireChecksum.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr BYTE STX = 0x02;
constexpr BYTE ANSWER_ADDRESS_BIT = 0x80;
constexpr std::size_t NAME_SIZE = 8;
constexpr std::size_t LARGEST_ANSWER_LENGTH = 773;

// Beam counts 360 and 400 travel as the count bytes 254 and 255.
BYTE CountByteOf(WORD count)
{
    if (count == 400)
        return 255;
    if (count == 360)
        return 254;
    return LOBYTE(count);
}

// Appends record fields to the frame data in wire order, step by step of the answer's
// layout.
class RecordToWire {
public:
    RecordToWire(ConstAnswerSpan record, std::size_t declaredData)
        : m_record(record), m_declaredData(declaredData)
    {
    }

    bool operator()(const AnswerLayout::Step& step)
    {
        using AnswerLayout::Op;
        switch (step.op) {
        case Op::Bytes: Bytes(step.offset, step.count); break;
        case Op::Name: Bytes(step.offset, NAME_SIZE); break;
        case Op::Zero: break;
        case Op::CountByte:
            m_count = WordAt(step.offset);
            m_data.push_back(CountByteOf(WORD(m_count)));
            break;
        case Op::CountWord:
            m_count = WordAt(step.offset);
            Bytes(step.offset, 2);
            break;
        case Op::CountedWords: {
            // A declared length shorter than the counted words sends a frame that stops
            // inside them: what a device that promises more than it sends puts on the line.
            const std::size_t count = 2 * (m_count + step.count);
            if (m_declaredData > 0 && m_data.size() + count > m_declaredData) {
                Rest(step.offset, 0);
                return false;
            }
            Bytes(step.offset, count);
            break;
        }
        case Op::RestAsWords: Rest(step.offset, 2 * (m_count + step.count)); break;
        case Op::Rest: Rest(step.offset, m_repeated); break;
        case Op::PairCount: Rest(step.offset + 1, 2 * std::size_t(m_record[step.offset])); break;
        case Op::RepeatFrom:
            // The record holds the repeated bytes twice; the wire carries them once.
            if (step.count < m_data.size()) {
                m_repeated = m_data.size() - step.count;
                m_data.resize(step.count);
            }
            break;
        default: break;
        }
        return m_ok;
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

    bool Ok() const { return m_ok; }
    const std::vector<BYTE>& Data() const { return m_data; }

private:
    void Bytes(std::size_t offset, std::size_t count)
    {
        if (!m_ok || offset + count > m_record.size()) {
            m_ok = false;
            return;
        }
        m_data.insert(m_data.end(), m_record.begin() + std::ptrdiff_t(offset),
                      m_record.begin() + std::ptrdiff_t(offset + count));
    }
    std::size_t WordAt(std::size_t offset) const
    {
        return offset + 2 <= m_record.size() ? GetRecordWord(m_record, offset) : 0;
    }

    ConstAnswerSpan m_record;
    std::size_t m_declaredData; // data bytes without the status; 0 when not declared
    std::vector<BYTE> m_data;
    std::size_t m_count = 0;    // of the last count field
    std::size_t m_repeated = 0; // data bytes a repeat took back
    bool m_ok = true;
};

} // namespace

std::vector<BYTE> EncodeAnswerFrame(ConstRequestSpan request, ConstAnswerSpan answer)
{
    // Bytes 2-3 count the data after the command with the status; the fields exclude it.
    const std::size_t declared = GetRecordWord(answer, AnswerOffset::DataLength);
    RecordToWire w(answer, declared > 0 ? declared - 1 : 0);
    const BYTE command = answer[AnswerOffset::Command];
    // A command without a known layout sends what the record declares.
    if (!AnswerLayout::Walk(command, request[RequestOffset::Family] == kFamilyKVR, request[10], answer, w))
        w.Rest(AnswerOffset::Data, 0);
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
