// The simulated unit's configuration block (0x38, 0x70, 0x71) and monitoring-case
// records (0x39, 0x72, 0x73).
#include "simulator/CKVRDevice.h"

#include "simulator/SimAnswer.h"
#include "simulator/SimSettings.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kNameLength = 8;
constexpr std::size_t kNameSlot = 9;

// The block lies at answer byte 9 of 0x38 and at request byte 9 of 0x70 and 0x71.
constexpr std::size_t kBlockAt = 9;
constexpr std::size_t kBlockSize = 138;
namespace Block {
constexpr std::size_t TypeCode = 0;
constexpr std::size_t SensorCount = 1;
constexpr std::size_t SensorNames = 2;
constexpr std::size_t Byte42 = 42;
constexpr std::size_t Byte43 = 43;
constexpr std::size_t Byte44 = 44;
constexpr std::size_t Byte45 = 45;
constexpr std::size_t FieldPairCount = 47;
constexpr std::size_t FieldPairNames = 48;
constexpr std::size_t CaseCount = 121;
constexpr std::size_t Words = 122; // three words
constexpr std::size_t Value67 = 130;
constexpr std::size_t Byte131 = 131;
constexpr std::size_t Byte132 = 132;
constexpr std::size_t Byte133 = 133;
constexpr std::size_t Byte134 = 134;
constexpr std::size_t Byte135 = 135;
} // namespace Block

// The case record lies at answer byte 9 of 0x39 and at request byte 9 of 0x72 and 0x73.
constexpr std::size_t kCaseRecordSize = 26;
namespace Case {
constexpr std::size_t Number = 9;
constexpr std::size_t Name = 10;
constexpr std::size_t Control = 19;
constexpr std::size_t Sensor = 21;
constexpr std::size_t FieldPair = 22;
constexpr std::size_t Outputs = 24;
constexpr std::size_t Scans = 28;
constexpr std::size_t NextCase1 = 29;
constexpr std::size_t NextCase2 = 30;
constexpr std::size_t HighSpeed = 31;
constexpr std::size_t LowSpeed = 33;
} // namespace Case

// The check answers carry the status at byte 9 and a copy of the request's data behind it.
constexpr std::size_t kCopyAt = 10;

constexpr std::size_t BlockByte(std::size_t n)
{
    return kBlockAt + n;
}

void EchoRequestData(ConstRequestSpan request, AnswerSpan answer, std::size_t size)
{
    std::copy_n(request.begin() + RequestOffset::Data, size, answer.begin() + kCopyAt);
}

LONG ReadSignedWord(ConstRequestSpan request, std::size_t offset)
{
    return LONG(std::int16_t(GetRecordWord(request, offset)));
}

// Counts above the unit's tables are refused by the check as by the store, so that a
// check never agrees to a block the store would refuse.
bool BlockCountsFit(ConstRequestSpan request)
{
    return request[BlockByte(Block::SensorCount)] <= CKVRDevice::kMaxSensors &&
           request[BlockByte(Block::FieldPairCount)] <= CKVRDevice::kMaxFieldPairs &&
           request[BlockByte(Block::CaseCount)] <= CKVRDevice::kMaxCases;
}

// Case numbers run from 1 to the unit's 15; the case count does not limit a store, as
// the block that sets it may follow.
bool CaseNumberFits(ConstRequestSpan request)
{
    const BYTE number = request[Case::Number];
    return number >= 1 && number <= CKVRDevice::kMaxCases;
}

} // namespace

void CKVRDevice::AnswerConfigBlock(ConstRequestSpan, AnswerSpan answer)
{
    answer[BlockByte(Block::TypeCode)] = LOBYTE(WORD(m_typeCode));
    answer[BlockByte(Block::SensorCount)] = BYTE(m_sensorCount);
    for (std::size_t i = 0; i < kMaxSensors; ++i)
        WriteSimText(answer, BlockByte(Block::SensorNames + kNameSlot * i), m_sensorNames[i], kNameLength);
    answer[BlockByte(Block::Byte42)] = m_block42;
    answer[BlockByte(Block::Byte43)] = m_block43;
    answer[BlockByte(Block::Byte44)] = m_block44;
    answer[BlockByte(Block::Byte45)] = m_block45;
    answer[BlockByte(Block::FieldPairCount)] = BYTE(m_fieldPairCount);
    for (std::size_t i = 0; i < kMaxFieldPairs; ++i)
        WriteSimText(answer, BlockByte(Block::FieldPairNames + kNameSlot * i), m_fieldPairNames[i], kNameLength);
    answer[BlockByte(Block::CaseCount)] = BYTE(m_caseCount);
    for (std::size_t i = 0; i < m_blockWords.size(); ++i)
        SetRecordWord(answer, BlockByte(Block::Words + 2 * i), m_blockWords[i]);
    answer[BlockByte(Block::Value67)] = m_value67;
    answer[BlockByte(Block::Byte131)] = m_block131;
    answer[BlockByte(Block::Byte132)] = LOBYTE(m_block132);
    answer[BlockByte(Block::Byte133)] = m_block133;
    answer[BlockByte(Block::Byte134)] = LOBYTE(m_block134);
    answer[BlockByte(Block::Byte135)] = m_block135;
}

void CKVRDevice::AnswerCheckConfigBlock(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = BlockCountsFit(request) ? SIM_SETTING_ACCEPTED : SIM_SETTING_REFUSED;
    EchoRequestData(request, answer, kBlockSize);
}

void CKVRDevice::AnswerStoreConfigBlock(ConstRequestSpan request, AnswerSpan answer)
{
    const bool fits = BlockCountsFit(request);
    if (fits)
        StoreConfigBlock(request);
    answer[AnswerOffset::Data] = fits ? SIM_SETTING_STORED : SIM_SETTING_REFUSED;
    EchoRequestData(request, answer, kBlockSize);
}

// The counts are taken as they come; names behind a count keep their earlier contents.
void CKVRDevice::StoreConfigBlock(ConstRequestSpan request)
{
    m_typeCode = request[BlockByte(Block::TypeCode)];
    m_sensorCount = request[BlockByte(Block::SensorCount)];
    for (std::size_t i = 0; i < std::size_t(m_sensorCount); ++i)
        m_sensorNames[i] = ReadSimText(request, BlockByte(Block::SensorNames + kNameSlot * i), kNameLength);
    m_block42 = request[BlockByte(Block::Byte42)];
    m_block43 = request[BlockByte(Block::Byte43)];
    m_block44 = request[BlockByte(Block::Byte44)];
    m_block45 = request[BlockByte(Block::Byte45)];
    m_fieldPairCount = request[BlockByte(Block::FieldPairCount)];
    for (std::size_t i = 0; i < std::size_t(m_fieldPairCount); ++i)
        m_fieldPairNames[i] = ReadSimText(request, BlockByte(Block::FieldPairNames + kNameSlot * i), kNameLength);
    m_caseCount = request[BlockByte(Block::CaseCount)];
    for (std::size_t i = 0; i < m_blockWords.size(); ++i)
        m_blockWords[i] = GetRecordWord(request, BlockByte(Block::Words + 2 * i));
    m_value67 = request[BlockByte(Block::Value67)];
    m_block131 = request[BlockByte(Block::Byte131)];
    m_block132 = request[BlockByte(Block::Byte132)];
    m_block133 = request[BlockByte(Block::Byte133)];
    m_block134 = request[BlockByte(Block::Byte134)];
    m_block135 = request[BlockByte(Block::Byte135)];
}

void CKVRDevice::AnswerCaseRecord(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE number = request[Case::Number];
    if (number == 0 || number > m_caseCount) {
        BeginSimAnswer(answer, kSimStatusKVR, kSimAnswerNotServed);
        return;
    }
    const SimCaseRecord& record = m_cases[number - 1];
    answer[Case::Number] = number;
    WriteSimText(answer, Case::Name, m_caseNames[number - 1], kNameLength);
    SetRecordWord(answer, Case::Control, record.control);
    answer[Case::Sensor] = record.sensor;
    answer[Case::FieldPair] = record.fieldPair;
    answer[Case::Outputs] = record.outputs;
    answer[Case::Scans] = record.scans;
    answer[Case::NextCase1] = record.nextCase1;
    answer[Case::NextCase2] = record.nextCase2;
    SetRecordWord(answer, Case::HighSpeed, LOWORD(DWORD(record.highSpeed)));
    SetRecordWord(answer, Case::LowSpeed, LOWORD(DWORD(record.lowSpeed)));
}

void CKVRDevice::AnswerCheckCaseRecord(ConstRequestSpan request, AnswerSpan answer)
{
    answer[AnswerOffset::Data] = CaseNumberFits(request) ? SIM_SETTING_ACCEPTED : SIM_SETTING_REFUSED;
    EchoRequestData(request, answer, kCaseRecordSize);
}

void CKVRDevice::AnswerStoreCaseRecord(ConstRequestSpan request, AnswerSpan answer)
{
    const bool fits = CaseNumberFits(request);
    if (fits)
        StoreCaseRecord(request);
    answer[AnswerOffset::Data] = fits ? SIM_SETTING_STORED : SIM_SETTING_REFUSED;
    EchoRequestData(request, answer, kCaseRecordSize);
}

void CKVRDevice::StoreCaseRecord(ConstRequestSpan request)
{
    const std::size_t index = request[Case::Number] - 1;
    m_caseNames[index] = ReadSimText(request, Case::Name, kNameLength);
    SimCaseRecord& record = m_cases[index];
    record.sensor = request[Case::Sensor];
    record.fieldPair = request[Case::FieldPair];
    record.control = GetRecordWord(request, Case::Control);
    record.outputs = request[Case::Outputs];
    record.scans = request[Case::Scans];
    record.nextCase1 = request[Case::NextCase1];
    record.nextCase2 = request[Case::NextCase2];
    record.highSpeed = ReadSignedWord(request, Case::HighSpeed);
    record.lowSpeed = ReadSignedWord(request, Case::LowSpeed);
}
