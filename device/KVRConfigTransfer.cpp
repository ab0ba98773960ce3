#include "device/KVRConfigTransfer.h"

#include "framework/core/CException.h"
#include "model/CKVRConfig.h"
#include "model/CPolyShelter.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <span>

namespace {

namespace Block = KVRBlockOffset;
namespace Case = KVRCaseOffset;

// Block byte 42.
constexpr BYTE kVariantBit = 0x01;
constexpr BYTE kDeviceBitV3 = 0x02;
// Block byte 43: inputs 1-4 used in bits 0-3, the mode-0 marks of both pairs, speed used.
constexpr BYTE kInputBits = 0x0F;
constexpr BYTE kPair1ModeZero = 0x10;
constexpr BYTE kPair2ModeZero = 0x20;
constexpr BYTE kSpeedUsedBit = 0x40;
// Block byte 44 and the OSSD settings in byte 45.
constexpr BYTE kOssdABit = 0x01;
constexpr BYTE kOssdBBit = 0x02;
// Used flags bit 7 does not travel.
constexpr BYTE kUntransferredUsedBit = 0x80;

// Control word of a case record.
constexpr WORD kSpeedInUse = 0x0C00;
constexpr int kInputCodeBits = 2;
constexpr WORD kInputCodeMask = 0x03;
// An unused speed range travels as this range.
constexpr int kUnusedSpeedLow = -2000;
constexpr int kUnusedSpeedHigh = 2000;
constexpr BYTE kNoFollowingCase = 255;

// The unit's pending field procedures of a field pair.
constexpr int kFieldPairSelector = 1;

void PutWord(std::span<BYTE> bytes, std::size_t offset, WORD value)
{
    bytes[offset] = LOBYTE(value);
    bytes[offset + 1] = HIBYTE(value);
}

WORD GetWord(std::span<const BYTE> bytes, std::size_t offset)
{
    return MAKEWORD(bytes[offset], bytes[offset + 1]);
}

std::span<BYTE> NameSlot(std::span<BYTE> bytes, std::size_t offset)
{
    return bytes.subspan(offset, kKVRNameBytes);
}

CString TrimmedName(std::span<const BYTE> bytes, std::size_t offset)
{
    CString name = GetDeviceName(bytes.subspan(offset, kKVRNameBytes));
    return TrimDeviceName(name);
}

// Every slot is written: a name for the first count slots, blanks for the rest.
void PutNames(std::span<BYTE> block, std::size_t first, int slots, const CKVRConfigList& list)
{
    for (int i = 0; i < slots; ++i) {
        const CString name = i < list.GetCount() ? list.GetName(i) : CString();
        PutDeviceName(NameSlot(block, first + kKVRNameBytes * std::size_t(i)), name);
    }
}

BYTE Flag(BOOL set, BYTE bit)
{
    return set ? bit : BYTE(0);
}

// Input states 0 (don't care), 1 (input at "0") and 2 (input at "1") as codes 3, 2, 1.
WORD InputCode(int state)
{
    switch (state) {
    case kInputDontCare: return 3;
    case kInputLow: return 2;
    case kInputHigh: return 1;
    default: return 0;
    }
}

int InputState(WORD code)
{
    switch (code) {
    case 1: return kInputHigh;
    case 2: return kInputLow;
    default: return kInputDontCare;
    }
}

void PutFollowingCases(KVRCaseRecord& record, const CKVRControlConfig& control)
{
    BYTE first = kNoFollowingCase;
    BYTE second = kNoFollowingCase;
    if (control.GetFollowCount() == 1) {
        first = second = BYTE(control.GetFollow1() + 1);
    } else if (control.GetFollowCount() == 2) {
        first = BYTE(control.GetFollow1() + 1);
        second = BYTE(control.GetFollow2() + 1);
    }
    record[Case::NextCase1] = first;
    record[Case::NextCase2] = second;
}

void TakeFollowingCases(const KVRCaseRecord& record, CKVRControlConfig& control)
{
    const BYTE first = record[Case::NextCase1];
    const BYTE second = record[Case::NextCase2];
    if (first == kNoFollowingCase && second == kNoFollowingCase) {
        control.SetFollowCount(0);
        control.SetFollow1(-1);
        control.SetFollow2(-1);
    } else if (first == second) {
        control.SetFollowCount(1);
        control.SetFollow1(first - 1);
        control.SetFollow2(-1);
    } else {
        control.SetFollowCount(2);
        control.SetFollow1(first - 1);
        control.SetFollow2(second - 1);
    }
}

// A failed step of a read or check: raised and caught inside the operation.
void Require(BOOL ok)
{
    if (!ok)
        AfxThrowUserException();
}

template <typename Operation>
BOOL GuardedSteps(Operation operation)
{
    try {
        return operation();
    } catch (const std::exception&) {
        return FALSE;
    }
}

// A copy of a given case list entry's record; a missing case object cannot be packed.
BOOL PackCaseAt(const CKVRConfig& config, int position, KVRCaseRecord& record)
{
    const CKVRControlConfig* control = config.GetControlConfig(position);
    if (!control)
        return FALSE;
    record = PackCaseRecord(*control, position, config.GetControlConfigName(position));
    return TRUE;
}

// The count the unit returned may shrink the configuration's lists but never reach past
// their last entry or the unit's limits.
BOOL ReturnedCountsFollowable(const KVRConfigBlock& block, const CKVRConfig& config)
{
    return BlockCountsFit(block) && block[Block::FieldPairCount] <= config.GetShelterConfigCount() &&
           block[Block::CaseCount] <= config.GetControlConfigCount();
}

void AddBlockSensors(const KVRConfigBlock& block, CKVRConfig& config)
{
    for (int i = 0; i < block[Block::SensorCount]; ++i)
        config.AddSensorConfig(BlockSensorName(block, i), std::make_unique<CKVRSensorConfig>());
}

} // namespace

KVRConfigBlock PackConfigBlock(const CKVRConfig& config)
{
    KVRConfigBlock block{};
    const BYTE used = config.GetUsedFlags();
    block[Block::TypeCode] = LOBYTE(config.GetSensorType().GetTypeCode());
    block[Block::SensorCount] = BYTE(config.GetSensorConfigCount());
    PutNames(block, Block::SensorNames, kKVRMaxSensorConfigs, config.GetSensorList());
    block[Block::TypeBits] = Flag(config.GetSensorType().GetVariant() & 1, kVariantBit) |
                             Flag(config.GetDeviceBitV3() & 1, kDeviceBitV3);
    block[Block::UsedBits1] = BYTE(used & kInputBits) | Flag(config.GetModeDelay1().GetMode() == 0, kPair1ModeZero) |
                              Flag(config.GetModeDelay2().GetMode() == 0, kPair2ModeZero) |
                              Flag(used & kUsesSpeed, kSpeedUsedBit);
    block[Block::UsedBits2] = Flag(used & kUsesOssdA, kOssdABit) | Flag(used & kUsesOssdB, kOssdBBit);
    block[Block::OssdBits] = Flag(config.GetOssdA() & 1, kOssdABit) | Flag(config.GetOssdB() & 1, kOssdBBit);
    block[Block::FieldPairCount] = BYTE(config.GetShelterConfigCount());
    PutNames(block, Block::FieldPairNames, kKVRMaxFieldPairs, config.GetShelterList());
    block[Block::CaseCount] = BYTE(config.GetControlConfigCount());
    PutWord(block, Block::SpeedScale1, LOWORD(config.GetSpeedScale1()));
    PutWord(block, Block::SpeedScale2, LOWORD(config.GetSpeedScale2()));
    PutWord(block, Block::ValueV1, LOWORD(config.GetValueV1()));
    block[Block::ValueV2] = config.GetValueV2();
    block[Block::Mode1] = config.GetModeDelay1().GetMode();
    block[Block::Delay1] = config.GetModeDelay1().GetDelay();
    block[Block::Mode2] = config.GetModeDelay2().GetMode();
    block[Block::Delay2] = config.GetModeDelay2().GetDelay();
    block[Block::OptionV4] = config.GetOptionV4();
    return block;
}

void UnpackConfigBlock(const KVRConfigBlock& block, CKVRConfig& config)
{
    CSensorType type = config.GetSensorType();
    type.SetTypeCode(block[Block::TypeCode]);
    type.SetVariant(block[Block::TypeBits] & kVariantBit);
    config.SetSensorType(type);

    const BYTE used1 = block[Block::UsedBits1];
    const BYTE used2 = block[Block::UsedBits2];
    config.SetUsedFlags(BYTE(config.GetUsedFlags() & kUntransferredUsedBit) | BYTE(used1 & kInputBits) |
                        Flag(used1 & kSpeedUsedBit, kUsesSpeed) | Flag(used2 & kOssdABit, kUsesOssdA) |
                        Flag(used2 & kOssdBBit, kUsesOssdB));

    config.SetSpeedScale1(GetWord(block, Block::SpeedScale1));
    config.SetSpeedScale2(GetWord(block, Block::SpeedScale2));
    config.SetValueV1(GetWord(block, Block::ValueV1));
    config.GetModeDelay1().Set(block[Block::Mode1], ClampDelay(block[Block::Delay1]));
    config.GetModeDelay2().Set(block[Block::Mode2], ClampDelay(block[Block::Delay2]));
    config.SetOptionV4(block[Block::OptionV4]);
    config.SetOssdA(block[Block::OssdBits] & kOssdABit ? 1 : 0);
    config.SetOssdB(block[Block::OssdBits] & kOssdBBit ? 1 : 0);
    config.SetDeviceBitV3(block[Block::TypeBits] & kDeviceBitV3 ? 1 : 0);
    config.SetValueV2(block[Block::ValueV2]);
}

BOOL BlockCountsFit(const KVRConfigBlock& block)
{
    return block[Block::SensorCount] <= kKVRMaxSensorConfigs && block[Block::FieldPairCount] <= kKVRMaxFieldPairs &&
           block[Block::CaseCount] <= kKVRMaxCases;
}

BOOL ConfigFitsUnit(const CKVRConfig& config)
{
    return config.GetSensorConfigCount() <= kKVRMaxSensorConfigs &&
           config.GetShelterConfigCount() <= kKVRMaxFieldPairs && config.GetControlConfigCount() <= kKVRMaxCases;
}

CString BlockSensorName(const KVRConfigBlock& block, int i)
{
    return TrimmedName(block, Block::SensorNames + kKVRNameBytes * std::size_t(i));
}

CString BlockFieldPairName(const KVRConfigBlock& block, int i)
{
    return TrimmedName(block, Block::FieldPairNames + kKVRNameBytes * std::size_t(i));
}

KVRCaseRecord PackCaseRecord(const CKVRControlConfig& control, int position, const CString& name)
{
    KVRCaseRecord record{};
    record[Case::Number] = BYTE(position + 1);
    PutDeviceName(NameSlot(record, Case::Name), name);

    WORD controlWord = 0;
    for (int k = 1; k <= CKVRControlConfig::kInputCount; ++k)
        controlWord |= WORD(InputCode(control.GetInputState(k)) << (kInputCodeBits * (k - 1)));
    int low = kUnusedSpeedLow;
    int high = kUnusedSpeedHigh;
    if (control.GetSpeed().IsSet()) {
        controlWord |= kSpeedInUse;
        low = control.GetSpeed().GetLow();
        high = control.GetSpeed().GetHigh();
    }
    PutWord(record, Case::ControlWord, controlWord);
    PutWord(record, Case::SpeedLow, WORD(std::int16_t(low)));
    PutWord(record, Case::SpeedHigh, WORD(std::int16_t(high)));

    record[Case::Sensor] = BYTE(control.GetSensorIndex() + 1);
    record[Case::FieldPair] = BYTE(control.GetShelterIndex() + 1);
    record[Case::Outputs] = Flag(control.GetOutputA() & 1, 0x01) | Flag(control.GetOutputB() & 1, 0x02);
    record[Case::Scans] = control.GetScanCount();
    PutFollowingCases(record, control);
    return record;
}

std::unique_ptr<CKVRControlConfig> UnpackCaseRecord(const KVRCaseRecord& record)
{
    auto control = std::make_unique<CKVRControlConfig>();
    control->SetScanCount(record[Case::Scans]);
    const WORD controlWord = GetWord(record, Case::ControlWord);
    for (int k = 1; k <= CKVRControlConfig::kInputCount; ++k) {
        const WORD code = (controlWord >> (kInputCodeBits * (k - 1))) & kInputCodeMask;
        if (code != 0)
            control->SetInputState(k, InputState(code));
    }
    if ((controlWord & kSpeedInUse) == kSpeedInUse)
        control->GetSpeed().Set(std::int16_t(GetWord(record, Case::SpeedLow)),
                                std::int16_t(GetWord(record, Case::SpeedHigh)));
    else
        control->GetSpeed().Set(0, 0);
    control->SetOutputA(record[Case::Outputs] & 0x01 ? 1 : 0);
    control->SetOutputB(record[Case::Outputs] & 0x02 ? 1 : 0);
    control->SetSensorIndex(int(record[Case::Sensor]) - 1);
    control->SetShelterIndex(int(record[Case::FieldPair]) - 1);
    TakeFollowingCases(record, *control);
    return control;
}

CString CaseRecordName(const KVRCaseRecord& record)
{
    return TrimmedName(record, Case::Name);
}

WORD KVRCaseMask(int caseCount)
{
    const int bits = std::clamp(caseCount, 0, kKVRMaxCases) + 1;
    return WORD((1u << bits) - 1u);
}

namespace {

// The case records (second steps, after the first when checkFirst is set) for the
// positions below caseCount, then the case mask.
BOOL SendCases(CKVRSensor& sensor, const CKVRConfig& config, int caseCount, BOOL checkFirst)
{
    for (int p = 0; p < caseCount; ++p) {
        KVRCaseRecord record{};
        if (!PackCaseAt(config, p, record))
            return FALSE;
        if (checkFirst && !sensor.CheckCaseRecord(record))
            return FALSE;
        if (!sensor.CommitCaseRecord(record))
            return FALSE;
    }
    return sensor.WriteCaseMask(KVRCaseMask(caseCount));
}

// Each field pair: the protective field, the unit's pending field previewed and stored,
// then the warning contour. The unit's copies are not kept.
BOOL SendFieldPairs(CKVRSensor& sensor, const CKVRConfig& config)
{
    for (int p = 0; p < config.GetShelterConfigCount(); ++p) {
        const int number = p + 1;
        const CKVRShelterConfig* pair = config.GetShelterConfig(p);
        const CShelter* protective = pair ? pair->GetShelter(kProtectiveField) : nullptr;
        const CShelter* warning = pair ? pair->GetShelter(kWarningField) : nullptr;
        if (protective && !sensor.WriteField(number, config.GetShelterConfigName(p), protective))
            return FALSE;
        if (!sensor.PreviewPendingField(kFieldPairSelector, number) ||
            !sensor.StorePendingField(kFieldPairSelector, number))
            return FALSE;
        if (warning && !sensor.ExchangeContour(number, warning))
            return FALSE;
    }
    return TRUE;
}

} // namespace

std::unique_ptr<CKVRConfig> CKVRSensor::ReadConfiguration()
{
    try {
        KVRConfigBlock block{};
        Require(ReadConfigBlock(block));
        Require(BlockCountsFit(block));
        auto config = std::make_unique<CKVRConfig>();
        UnpackConfigBlock(block, *config);
        AddBlockSensors(block, *config);
        for (int i = 0; i < block[Block::FieldPairCount]; ++i) {
            CString unused;
            std::unique_ptr<CShelter> protective = ReadProtectiveField(i + 1, unused);
            Require(protective != nullptr);
            std::unique_ptr<CShelter> warning = ReadWarningField(i + 1, unused);
            Require(warning != nullptr);
            auto pair = std::make_unique<CKVRShelterConfig>();
            pair->SetShelter(kProtectiveField, std::move(protective));
            pair->SetShelter(kWarningField, std::move(warning));
            config->AddShelterConfig(BlockFieldPairName(block, i), std::move(pair));
        }
        for (int i = 0; i < block[Block::CaseCount]; ++i) {
            KVRCaseRecord record{};
            Require(ReadCaseRecord(i + 1, record));
            config->AddControlConfig(CaseRecordName(record), UnpackCaseRecord(record));
        }
        return config;
    } catch (const std::exception&) {
        return nullptr;
    }
}

BOOL CKVRSensor::WriteConfiguration(const CKVRConfig& config, BOOL withFields)
{
    return GuardedSteps([&] {
        if (!ConfigFitsUnit(config))
            return FALSE;
        KVRConfigBlock block = PackConfigBlock(config);
        if (!CheckConfigBlock(block) || !ReturnedCountsFollowable(block, config) || !CommitConfigBlock(block))
            return FALSE;
        if (!SendCases(*this, config, block[Block::CaseCount], TRUE))
            return FALSE;
        return withFields ? SendFieldPairs(*this, config) : TRUE;
    });
}

BOOL CKVRSensor::CommitConfiguration(const CKVRConfig& config, BOOL withFields)
{
    return GuardedSteps([&] {
        if (!ConfigFitsUnit(config))
            return FALSE;
        const KVRConfigBlock block = PackConfigBlock(config);
        if (!CommitConfigBlock(block) || !SendCases(*this, config, block[Block::CaseCount], FALSE))
            return FALSE;
        return withFields ? SendFieldPairs(*this, config) : TRUE;
    });
}

std::unique_ptr<CKVRConfig> CKVRSensor::CheckConfiguration(const CKVRConfig& config)
{
    try {
        Require(ConfigFitsUnit(config));
        auto checked = std::make_unique<CKVRConfig>(config);
        checked->RemoveAll();

        const KVRConfigBlock sent = PackConfigBlock(config);
        KVRConfigBlock block = sent;
        Require(CheckConfigBlock(block));
        // The simulated unit's answer is not a unit's corrected copy.
        if (IsSimulated())
            block = sent;
        Require(ReturnedCountsFollowable(block, config));

        UnpackConfigBlock(block, *checked);
        AddBlockSensors(block, *checked);
        for (int p = 0; p < block[Block::FieldPairCount]; ++p) {
            const CKVRShelterConfig* pair = config.GetShelterConfig(p);
            checked->AddShelterConfig(BlockFieldPairName(block, p),
                                      pair ? std::make_unique<CKVRShelterConfig>(*pair) : nullptr);
        }
        for (int p = 0; p < block[Block::CaseCount]; ++p) {
            KVRCaseRecord record{};
            Require(PackCaseAt(config, p, record));
            const KVRCaseRecord recordSent = record;
            Require(CheckCaseRecord(record));
            if (IsSimulated())
                record = recordSent;
            checked->AddControlConfig(CaseRecordName(record), UnpackCaseRecord(record));
        }
        return checked;
    } catch (const std::exception&) {
        return nullptr;
    }
}
