// The simulated unit's configuration block (0x38, 0x70, 0x71) and monitoring-case
// records (0x39, 0x72, 0x73).
#include "simulator/internal/CKVRDevice.h"

#include "simulator/internal/SimAnswer.h"
#include "simulator/internal/SimSettings.h"
#include "shared/KVRRecordLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kNameLength = kKVRNameLength;
constexpr std::size_t kNameSlot = kKVRNameBytes;

// The block lies at answer byte 9 of 0x38 and at request byte 9 of 0x70 and 0x71; a case
// record at the same bytes of 0x39, 0x72 and 0x73.
constexpr std::size_t kRecordAt = RequestOffset::Data;
namespace Block = KVRBlockOffset;
namespace Case = KVRCaseOffset;

// The check answers carry the status at byte 9 and a copy of the request's data behind it.
constexpr std::size_t kCopyAt = 10;

constexpr std::size_t RecordByte(std::size_t n)
{
    return kRecordAt + n;
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
    return request[RecordByte(Block::SensorCount)] <= CKVRDevice::kMaxSensors &&
           request[RecordByte(Block::FieldPairCount)] <= CKVRDevice::kMaxFieldPairs &&
           request[RecordByte(Block::CaseCount)] <= CKVRDevice::kMaxCases;
}

// Case numbers run from 1 to the unit's 15; the case count does not limit a store, as
// the block that sets it may follow.
bool CaseNumberFits(ConstRequestSpan request)
{
    const BYTE number = request[RecordByte(Case::Number)];
    return number >= 1 && number <= CKVRDevice::kMaxCases;
}

// A record of the unit that a check (0x70, 0x72) weighs and a store (0x71, 0x73) takes.
struct RecordRule {
    std::size_t size;
    bool (*fits)(ConstRequestSpan request);
};

constexpr RecordRule kConfigBlockRule{kKVRConfigBlockSize, BlockCountsFit};
constexpr RecordRule kCaseRecordRule{kKVRCaseRecordSize, CaseNumberFits};

// Both answers carry the status and then the request's record; only a store changes the
// unit, and only with a record that fits.
void AnswerRecordCheck(ConstRequestSpan request, AnswerSpan answer, const RecordRule& rule)
{
    answer[AnswerOffset::Data] = rule.fits(request) ? SIM_SETTING_ACCEPTED : SIM_SETTING_REFUSED;
    EchoRequestData(request, answer, rule.size);
}

template <class Store>
void AnswerRecordStore(ConstRequestSpan request, AnswerSpan answer, const RecordRule& rule, Store store)
{
    const bool fits = rule.fits(request);
    if (fits)
        store();
    answer[AnswerOffset::Data] = fits ? SIM_SETTING_STORED : SIM_SETTING_REFUSED;
    EchoRequestData(request, answer, rule.size);
}

// Calls visit(offset, setting) for each one-byte setting of a case record.
template <class Record, class Visit>
void VisitCaseBytes(Record& record, Visit visit)
{
    visit(Case::Sensor, record.sensor);
    visit(Case::FieldPair, record.fieldPair);
    visit(Case::Outputs, record.outputs);
    visit(Case::Scans, record.scans);
    visit(Case::NextCase1, record.nextCase1);
    visit(Case::NextCase2, record.nextCase2);
}

} // namespace

template <class Visit>
void CKVRDevice::VisitBlockBytes(Visit visit)
{
    visit(Block::TypeBits, m_typeBits);
    visit(Block::UsedBits1, m_usedBits1);
    visit(Block::UsedBits2, m_usedBits2);
    visit(Block::OssdBits, m_ossdBits);
    visit(Block::ValueV2, m_value67); // the value of 0x67 as well
    visit(Block::Mode1, m_mode1);
    visit(Block::Delay1, m_delay1);
    visit(Block::Mode2, m_mode2);
    visit(Block::Delay2, m_delay2);
    visit(Block::OptionV4, m_optionV4);
}

void CKVRDevice::AnswerConfigBlock(ConstRequestSpan, AnswerSpan answer)
{
    answer[RecordByte(Block::TypeCode)] = LOBYTE(WORD(m_typeCode));
    answer[RecordByte(Block::SensorCount)] = BYTE(m_sensorCount);
    for (std::size_t i = 0; i < kMaxSensors; ++i)
        WriteSimText(answer, RecordByte(Block::SensorNames + kNameSlot * i), m_sensorNames[i], kNameLength);
    VisitBlockBytes([&](std::size_t offset, BYTE& setting) { answer[RecordByte(offset)] = setting; });
    answer[RecordByte(Block::FieldPairCount)] = BYTE(m_fieldPairCount);
    for (std::size_t i = 0; i < kMaxFieldPairs; ++i)
        WriteSimText(answer, RecordByte(Block::FieldPairNames + kNameSlot * i), m_fieldPairNames[i], kNameLength);
    answer[RecordByte(Block::CaseCount)] = BYTE(m_caseCount);
    for (std::size_t i = 0; i < m_blockWords.size(); ++i)
        SetRecordWord(answer, RecordByte(Block::SpeedScale1 + 2 * i), m_blockWords[i]);
}

void CKVRDevice::AnswerCheckConfigBlock(ConstRequestSpan request, AnswerSpan answer)
{
    AnswerRecordCheck(request, answer, kConfigBlockRule);
}

void CKVRDevice::AnswerStoreConfigBlock(ConstRequestSpan request, AnswerSpan answer)
{
    AnswerRecordStore(request, answer, kConfigBlockRule, [&] { StoreConfigBlock(request); });
}

// The counts are taken as they come; names behind a count keep their earlier contents.
void CKVRDevice::StoreConfigBlock(ConstRequestSpan request)
{
    m_typeCode = request[RecordByte(Block::TypeCode)];
    m_sensorCount = request[RecordByte(Block::SensorCount)];
    for (std::size_t i = 0; i < std::size_t(m_sensorCount); ++i)
        m_sensorNames[i] = ReadSimText(request, RecordByte(Block::SensorNames + kNameSlot * i), kNameLength);
    VisitBlockBytes([&](std::size_t offset, BYTE& setting) { setting = request[RecordByte(offset)]; });
    m_fieldPairCount = request[RecordByte(Block::FieldPairCount)];
    for (std::size_t i = 0; i < std::size_t(m_fieldPairCount); ++i)
        m_fieldPairNames[i] = ReadSimText(request, RecordByte(Block::FieldPairNames + kNameSlot * i), kNameLength);
    m_caseCount = request[RecordByte(Block::CaseCount)];
    for (std::size_t i = 0; i < m_blockWords.size(); ++i)
        m_blockWords[i] = GetRecordWord(request, RecordByte(Block::SpeedScale1 + 2 * i));
}

void CKVRDevice::AnswerCaseRecord(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE number = request[RecordByte(Case::Number)];
    if (number == 0 || number > m_caseCount) {
        AnswerNotServed(answer);
        return;
    }
    const SimCaseRecord& record = m_cases[number - 1];
    answer[RecordByte(Case::Number)] = number;
    WriteSimText(answer, RecordByte(Case::Name), m_caseNames[number - 1], kNameLength);
    SetRecordWord(answer, RecordByte(Case::ControlWord), record.control);
    VisitCaseBytes(record, [&](std::size_t offset, BYTE setting) { answer[RecordByte(offset)] = setting; });
    SetRecordWord(answer, RecordByte(Case::SpeedHigh), LOWORD(DWORD(record.highSpeed)));
    SetRecordWord(answer, RecordByte(Case::SpeedLow), LOWORD(DWORD(record.lowSpeed)));
}

void CKVRDevice::AnswerCheckCaseRecord(ConstRequestSpan request, AnswerSpan answer)
{
    AnswerRecordCheck(request, answer, kCaseRecordRule);
}

void CKVRDevice::AnswerStoreCaseRecord(ConstRequestSpan request, AnswerSpan answer)
{
    AnswerRecordStore(request, answer, kCaseRecordRule, [&] { StoreCaseRecord(request); });
}

void CKVRDevice::StoreCaseRecord(ConstRequestSpan request)
{
    const std::size_t index = request[RecordByte(Case::Number)] - 1;
    m_caseNames[index] = ReadSimText(request, RecordByte(Case::Name), kNameLength);
    SimCaseRecord& record = m_cases[index];
    VisitCaseBytes(record, [&](std::size_t offset, BYTE& setting) { setting = request[RecordByte(offset)]; });
    record.control = GetRecordWord(request, RecordByte(Case::ControlWord));
    record.highSpeed = ReadSignedWord(request, RecordByte(Case::SpeedHigh));
    record.lowSpeed = ReadSignedWord(request, RecordByte(Case::SpeedLow));
}
