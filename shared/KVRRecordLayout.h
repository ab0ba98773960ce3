#pragma once
// The two records of a KVR unit's configuration, byte for byte: the configuration block
// (read by 0x38, checked and stored by 0x70 and 0x71) and a monitoring-case record (read
// by 0x39, checked and stored by 0x72 and 0x73). The device objects, the simulated unit
// and the answer layouts all address them through these offsets.
#include <cstddef>

constexpr std::size_t kKVRConfigBlockSize = 138;
constexpr std::size_t kKVRCaseRecordSize = 26;
// Names in records: 8 characters padded with blanks, then a NUL.
constexpr std::size_t kKVRNameBytes = 9;
constexpr int kKVRNameLength = 8;

// Offsets inside the configuration block.
namespace KVRBlockOffset {
constexpr std::size_t TypeCode = 0;
constexpr std::size_t SensorCount = 1;
constexpr std::size_t SensorNames = 2; // + 9 i, i = 0..3
constexpr std::size_t SensorNameSlots = 4;
constexpr std::size_t TypeBits = 42;   // bit 0 variant, bit 1 device bit V3
constexpr std::size_t UsedBits1 = 43;
constexpr std::size_t UsedBits2 = 44;
constexpr std::size_t OssdBits = 45;
constexpr std::size_t FieldPairCount = 47;
constexpr std::size_t FieldPairNames = 48; // + 9 i, i = 0..7
constexpr std::size_t FieldPairNameSlots = 8;
constexpr std::size_t CaseCount = 121;
constexpr std::size_t SpeedScale1 = 122;
constexpr std::size_t SpeedScale2 = 124;
constexpr std::size_t ValueV1 = 126;
constexpr std::size_t ValueV2 = 130;
constexpr std::size_t Mode1 = 131;
constexpr std::size_t Delay1 = 132;
constexpr std::size_t Mode2 = 133;
constexpr std::size_t Delay2 = 134;
constexpr std::size_t OptionV4 = 135;
} // namespace KVRBlockOffset

// Offsets inside a case record.
namespace KVRCaseOffset {
constexpr std::size_t Number = 0; // 1-based
constexpr std::size_t Name = 1;
constexpr std::size_t ControlWord = 10;
constexpr std::size_t Sensor = 12;    // index + 1
constexpr std::size_t FieldPair = 13; // index + 1
constexpr std::size_t Outputs = 15;
constexpr std::size_t Scans = 19;
constexpr std::size_t NextCase1 = 20; // 1-based, 255 none
constexpr std::size_t NextCase2 = 21;
constexpr std::size_t SpeedHigh = 22; // signed cm/s
constexpr std::size_t SpeedLow = 24;
} // namespace KVRCaseOffset
