#pragma once
// The request and answer record shared by the program and its libraries. Both travel
// across the library exports as plain byte buffers of exactly these sizes; every
// multi-byte field is little-endian.
#include "framework/core/WinTypes.h"

#include <array>
#include <cstddef>
#include <span>

constexpr std::size_t kRequestRecordSize = 752;
constexpr std::size_t kAnswerRecordSize = 756;

constexpr WORD kRequestMarker = 752; // 0x02F0
constexpr WORD kAnswerMarker = 753;  // 0x02F1

// Device family, byte 2 of every record.
constexpr BYTE kFamilyZOK = 0;
constexpr BYTE kFamilyKVR = 1;

// Device type codes: a ZOK scanner by its type, a KVR unit by the scanner behind it.
constexpr BYTE kDeviceTypeZOK4 = 4;
constexpr BYTE kDeviceTypeZOK7 = 7;
constexpr BYTE kDeviceTypeZOK50 = 50;
constexpr BYTE kDeviceTypeKVR132 = 132;
constexpr BYTE kDeviceTypeKVR135 = 135;
constexpr BYTE kDeviceTypeKVR178 = 178;

// The device sets this status bit when it is a KVR unit.
constexpr BYTE kStatusKVRBit = 0x08;

// Byte offsets of the request record.
namespace RequestOffset {
constexpr std::size_t Marker = 0;
constexpr std::size_t Family = 2;
constexpr std::size_t Length = 3;     // command + data bytes on the wire
constexpr std::size_t Address = 5;
constexpr std::size_t LengthCopy = 6; // what the frame's length field carries
constexpr std::size_t Command = 8;
constexpr std::size_t Data = 9;
constexpr std::size_t CheckValue = 750; // of a field write
} // namespace RequestOffset

// Byte offsets of the answer record.
namespace AnswerOffset {
constexpr std::size_t Marker = 0;
constexpr std::size_t DataLength = 2;  // frame length minus the command byte
constexpr std::size_t Address = 4;
constexpr std::size_t FrameLength = 5; // the answer frame's length field
constexpr std::size_t Status = 7;
constexpr std::size_t Command = 8;
constexpr std::size_t Data = 9;
constexpr std::size_t CheckValue = 751; // of a field read
} // namespace AnswerOffset

using RequestSpan = std::span<BYTE, kRequestRecordSize>;
using ConstRequestSpan = std::span<const BYTE, kRequestRecordSize>;
using AnswerSpan = std::span<BYTE, kAnswerRecordSize>;
using ConstAnswerSpan = std::span<const BYTE, kAnswerRecordSize>;

// Little-endian word access. An offset that leaves no room for the word is a programming
// fault and throws std::out_of_range.
WORD GetRecordWord(std::span<const BYTE> record, std::size_t offset);
void SetRecordWord(std::span<BYTE> record, std::size_t offset, WORD value);

// A record of N bytes, all zero until set, with checked field access.
template <std::size_t N>
class SensorTelegram {
public:
    static constexpr std::size_t Size = N;

    BYTE Byte(std::size_t offset) const { return m_bytes.at(offset); }
    void SetByte(std::size_t offset, BYTE value) { m_bytes.at(offset) = value; }
    WORD Word(std::size_t offset) const { return GetRecordWord(m_bytes, offset); }
    void SetWord(std::size_t offset, WORD value) { SetRecordWord(m_bytes, offset, value); }

    std::span<BYTE, N> Bytes() { return m_bytes; }
    std::span<const BYTE, N> Bytes() const { return m_bytes; }
    BYTE* data() { return m_bytes.data(); }
    const BYTE* data() const { return m_bytes.data(); }

    bool operator==(const SensorTelegram&) const = default;

private:
    std::array<BYTE, N> m_bytes{};
};

// The request a caller fills and hands to the driver or the simulator.
class SensorRequest : public SensorTelegram<kRequestRecordSize> {
public:
    SensorRequest() = default;
    // Marker 752, the family and the command set; every other byte 0.
    SensorRequest(BYTE family, BYTE command, BYTE address = 0);

    WORD Marker() const { return Word(RequestOffset::Marker); }
    BYTE Family() const { return Byte(RequestOffset::Family); }
    BYTE Command() const { return Byte(RequestOffset::Command); }
    WORD Length() const { return Word(RequestOffset::Length); }
};

// The answer the driver or the simulator writes back.
class SensorAnswer : public SensorTelegram<kAnswerRecordSize> {
public:
    WORD Marker() const { return Word(AnswerOffset::Marker); }
    BYTE Status() const { return Byte(AnswerOffset::Status); }
    BYTE Command() const { return Byte(AnswerOffset::Command); }
    bool IsKVRStatus() const { return (Status() & kStatusKVRBit) != 0; }
};
